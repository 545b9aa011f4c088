#include "WideText.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace pluginsdk {

#if defined(_WIN32)

std::optional<std::wstring> wideText(const std::filesystem::path& path) {
    return path.wstring();
}

#else

namespace {

// The length of the UTF-8 sequence a lead byte starts and the payload bits it carries.
bool leadByte(unsigned char byte, int& length, char32_t& value) {
    if (byte < 0x80)
        return length = 1, value = byte, true;
    if (byte >= 0xC2 && byte < 0xE0)
        return length = 2, value = byte & 0x1F, true;
    if (byte >= 0xE0 && byte < 0xF0)
        return length = 3, value = byte & 0x0F, true;
    if (byte >= 0xF0 && byte < 0xF5)
        return length = 4, value = byte & 0x07, true;
    return false;
}

} // namespace

std::optional<std::wstring> wideText(const std::filesystem::path& path) {
    const std::string& bytes = path.native();
    std::wstring wide;
    for (std::size_t i = 0; i < bytes.size();) {
        int length = 0;
        char32_t value = 0;
        if (!leadByte(static_cast<unsigned char>(bytes[i]), length, value) ||
            i + length > bytes.size())
            return std::nullopt;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            value = (value << 6) | (next & 0x3F);
        }
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return std::nullopt;
        wide += static_cast<wchar_t>(value);
        i += length;
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
