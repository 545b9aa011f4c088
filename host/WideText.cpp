#include "WideText.h"

#include "Utf8.h"

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

} // namespace pluginsdk
