#pragma once

#include <filesystem>
#include <functional>
#include <string>

// One recorded event: the ball's velocity then, or no ball at all.
struct ReplayEvent {
    bool ball = true;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Replays a file of events, one per line: "VX,VY,VZ" or "none", after an optional header
// line "vx,vy,vz"; blank lines are skipped. Stops at the first line that is neither, or
// where the file cannot be read further, after the events before it have happened, and says
// why in `error`.
bool replayFile(const std::filesystem::path& file, std::string& error,
                const std::function<void(const ReplayEvent&)>& onEvent);
