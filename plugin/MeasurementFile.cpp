#include "MeasurementFile.h"

#include "FileReplacement.h"
#include "Kickmark.h"
#include "SpeedText.h"

namespace kickmark {

namespace {

#if !defined(_WIN32)
// libstdc++ refuses to convert non-ASCII wide text to a path on Linux, so encode the UTF-32
// code points as UTF-8 here.
std::optional<std::string> toUtf8(const std::wstring& wide) {
    std::string out;
    out.reserve(wide.size());
    for (wchar_t wc : wide) {
        const auto c = static_cast<char32_t>(wc);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            if (c >= 0xD800 && c <= 0xDFFF)
                return std::nullopt;
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x110000) {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return out;
}
#endif

} // namespace

std::optional<std::filesystem::path> measurementFilePath(const std::wstring& dataFolder) {
    if (dataFolder.empty())
        return std::nullopt;
#if defined(_WIN32)
    std::filesystem::path folder(dataFolder);
#else
    auto utf8 = toUtf8(dataFolder);
    if (!utf8)
        return std::nullopt;
    std::filesystem::path folder(*utf8);
#endif
    // kickmark-host watches this name: host/console/HostedPlugin.h.
    return folder / "shots.csv";
}

std::string measurementFileText(const std::vector<float>& speeds) {
    std::string text;
    text.reserve(speeds.size() * 16);
    for (float speed : speeds)
        appendFileLine(text, speed);
    return text;
}

} // namespace kickmark

// Silent by design: the console shows nothing, and the list is never touched.
void Kickmark::saveMeasurements(std::vector<std::string>) {
    try {
        if (auto file = kickmark::measurementFilePath(gameWrapper->GetDataFolderW()))
            kickmark::replaceFile(*file, kickmark::measurementFileText(measurements));
    } catch (...) {
    }
}
