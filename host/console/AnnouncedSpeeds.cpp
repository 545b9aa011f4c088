#include "AnnouncedSpeeds.h"

#include "HostedPlugin.h"

#include <charconv>

namespace {

// The speed a line of the file holds, rounded to as many decimals as the announcement shows.
bool shows(std::string_view line, std::string_view announced) {
    float speed = 0.0f;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), speed);
    if (error != std::errc() || end != line.data() + line.size())
        return false;
    if (announced == hostedPlugin::nearZeroText)
        return speed >= -hostedPlugin::nearZero && speed <= hostedPlugin::nearZero;
    const auto point = announced.find('.');
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(announced.size() - point - 1);
    char text[64];
    const auto written =
        std::to_chars(text, text + sizeof text, speed, std::chars_format::fixed, decimals);
    return written.ec == std::errc() && std::string_view(text, written.ptr) == announced;
}

} // namespace

void AnnouncedSpeeds::heard(std::string_view chatLine) {
    const auto marker = chatLine.find(hostedPlugin::speedAnnouncement);
    if (marker != std::string_view::npos)
        speeds_.emplace_back(chatLine.substr(marker + hostedPlugin::speedAnnouncement.size()));
}

bool AnnouncedSpeeds::heldBy(std::string_view fileBytes) const {
    std::size_t index = 0;
    while (!fileBytes.empty()) {
        const auto end = fileBytes.find('\n');
        if (end == std::string_view::npos || index == speeds_.size())
            return false;
        std::string_view line = fileBytes.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!shows(line, speeds_[index++]))
            return false;
        fileBytes.remove_prefix(end + 1);
    }
    return index == speeds_.size();
}
