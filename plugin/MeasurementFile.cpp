#include "MeasurementFile.h"

#include "FileReplacement.h"
#include "Kickmark.h"
#include "SpeedText.h"
#include "Utf8.h"

namespace kickmark {

std::optional<std::filesystem::path> measurementFilePath(const std::wstring& dataFolder) {
    if (dataFolder.empty())
        return std::nullopt;
#if defined(_WIN32)
    std::filesystem::path folder(dataFolder);
#else
    // libstdc++ refuses to convert non-ASCII wide text to a path on Linux.
    auto utf8 = text::utf8FromWide(dataFolder);
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
            kickmark::files::replaceFile(*file, kickmark::measurementFileText(measurements));
    } catch (...) {
    }
}
