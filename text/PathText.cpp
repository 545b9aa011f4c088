#include "PathText.h"

#include "Utf8.h"
#include "VisibleText.h"

namespace kickmark::text {

namespace fs = std::filesystem;

namespace {

// Windows' separator, which no name there can hold, stays as it is.
constexpr Backslash pathBackslash =
    fs::path::preferred_separator == '\\' ? Backslash::separator : Backslash::spelledOut;

} // namespace

std::optional<fs::path> pathFromUtf8(std::string_view word) {
    if (word.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    if constexpr (std::is_same_v<fs::path::value_type, wchar_t>) {
        std::wstring wide;
        wide.reserve(word.size());
        while (!word.empty()) {
            const auto codePoint = firstCodePoint(word);
            if (!codePoint) {
                return std::nullopt;
            }
            if (codePoint->value >= 0x10000) {
                wide += static_cast<wchar_t>(0xD800 + ((codePoint->value - 0x10000) >> 10));
                wide += static_cast<wchar_t>(0xDC00 + ((codePoint->value - 0x10000) & 0x3FF));
            } else {
                wide += static_cast<wchar_t>(codePoint->value);
            }
            word.remove_prefix(codePoint->length);
        }
        return fs::path(std::move(wide));
    } else {
        return fs::path(std::string(word));
    }
}

std::string unusablePath(std::string_view word) {
    return visibleText(word, pathBackslash) + " is not usable as a path";
}

std::string utf8Path(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string visiblePath(const fs::path& path) {
    return visibleText(utf8Path(path), pathBackslash);
}

} // namespace kickmark::text
