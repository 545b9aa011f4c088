#include "PathWord.h"

#include "WideText.h"

std::string unusablePath(std::string_view word) {
    std::string shown;
    for (const char c : word)
        shown += c == '\0' ? std::string_view("\\0") : std::string_view(&c, 1);
    return shown + " is not usable as a path";
}

std::optional<std::filesystem::path> pathOfWord(std::string_view word, std::string& error) {
    auto path = pluginsdk::pathFromUtf8(word);
    if (!path)
        error = unusablePath(word);
    return path;
}
