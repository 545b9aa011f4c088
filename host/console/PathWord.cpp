#include "PathWord.h"

#include "PathText.h"

std::optional<std::filesystem::path> pathOfWord(std::string_view word, std::string& error) {
    auto path = kickmark::text::pathFromUtf8(word);
    if (!path)
        error = kickmark::text::unusablePath(word);
    return path;
}
