#include "ReplayFile.h"

#include <optional>
#include <string_view>

#include "NumberText.h"
#include "TextLines.h"
#include "Trim.h"

namespace {

// Line ends were taken off by TextLines; a carriage return left is a stray blank.
std::string_view trim(std::string_view text) {
    return kickmark::text::trim(text, " \t\r");
}

std::optional<ReplayEvent> parseEvent(std::string_view line) {
    if (line == "none")
        return ReplayEvent{false};
    float values[3];
    for (int i = 0; i < 3; ++i) {
        const auto comma = line.find(',');
        if ((comma == std::string_view::npos) != (i == 2))
            return std::nullopt;
        auto value = kickmark::text::parseFloat(trim(line.substr(0, comma)));
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
    auto lines = TextLines::open(file, error);
    if (!lines) {
        error = "replay: " + error;
        return false;
    }
    std::string text;
    for (;;) {
        const auto next = lines->next(text, error);
        if (next == TextLines::Next::end)
            return true;
        if (next == TextLines::Next::failed) {
            error = "replay: " + error;
            return false;
        }
        const auto line = trim(text);
        if (line.empty() || (lines->lineNumber() == 1 && line == "vx,vy,vz"))
            continue;
        auto event = parseEvent(line);
        if (!event) {
            error = "replay: " + lines->name() + ":" + std::to_string(lines->lineNumber()) +
                    ": expected VX,VY,VZ or none: " + std::string(line);
            return false;
        }
        onEvent(*event);
    }
}
