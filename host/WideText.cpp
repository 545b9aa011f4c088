#include "WideText.h"

#include "Utf8.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace pluginsdk {

#if defined(_WIN32)

std::optional<std::wstring> wideText(const std::filesystem::path& path) {
    return path.wstring();
}

#else

std::optional<std::wstring> wideText(const std::filesystem::path& path) {
    std::string_view bytes = path.native();
    std::wstring wide;
    while (!bytes.empty()) {
        const auto codePoint = kickmark::text::firstCodePoint(bytes);
        if (!codePoint)
            return std::nullopt;
        wide += static_cast<wchar_t>(codePoint->value);
        bytes.remove_prefix(codePoint->length);
    }
    return wide;
}

#endif

std::optional<std::filesystem::path> pathFromUtf8(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
#if defined(_WIN32)
    if (text.empty())
        return std::filesystem::path();
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length == 0)
        return std::nullopt;
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
    return std::filesystem::path(std::move(wide));
#else
    return std::filesystem::path(std::string(text));
#endif
}

std::string displayPath(const std::filesystem::path& path) {
    auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace pluginsdk
