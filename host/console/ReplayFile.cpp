#include "ReplayFile.h"

#include <fstream>
#include <optional>
#include <string_view>

#include "Numbers.h"
#include "WideText.h"

namespace {

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<ReplayEvent> parseEvent(std::string_view line) {
    if (line == "none")
        return ReplayEvent{false};
    float values[3];
    for (int i = 0; i < 3; ++i) {
        const auto comma = line.find(',');
        if ((comma == std::string_view::npos) != (i == 2))
            return std::nullopt;
        auto value = pluginsdk::parseFloat(trim(line.substr(0, comma)));
        if (!value)
            return std::nullopt;
        values[i] = *value;
        line.remove_prefix(i == 2 ? line.size() : comma + 1);
    }
    return ReplayEvent{true, values[0], values[1], values[2]};
}

} // namespace

bool replayFile(const std::filesystem::path& file, std::string& error,
                const std::function<void(const ReplayEvent&)>& onEvent) {
    const auto name = pluginsdk::displayPath(file);
    std::ifstream in(file);
    if (!in) {
        error = "replay: cannot read " + name;
        return false;
    }
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const auto line = trim(text);
        if (line.empty() || (number == 1 && line == "vx,vy,vz"))
            continue;
        auto event = parseEvent(line);
        if (!event) {
            error = "replay: " + name + ":" + std::to_string(number) +
                    ": expected VX,VY,VZ or none: " + std::string(line);
            return false;
        }
        onEvent(*event);
    }
    return true;
}
