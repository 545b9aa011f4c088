#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Host.h"
#include "HostProbe.h"

// Reports the broken rule and aborts, so that the fuzzer keeps the input.
void require(bool holds, const char* rule);

// What must hold at the plugin boundary whatever the host does, checked from the outside:
// the chat box, the console and "shots.csv". A broken rule aborts the process, which the
// fuzzer reports with the input that broke it.
class SessionOracle {
public:
    SessionOracle(pluginsdk::Host& host, std::filesystem::path shots);

    // The plugin was loaded, or its list was reset: numbering starts again at 1.
    void restartNumbering();
    // Every chat line since the last look must announce the next speed, finite and above the
    // minimum in force.
    void checkNewChatLines();
    // The file must hold one line per speed announced since the last restart, in order.
    void checkSavedFile();
    // With no plugin loaded the console must not know its names and the game must not reach
    // it; "shots.csv" must be as it was at unload.
    void checkNothingReachesTheUnloadedPlugin();
    void rememberFileAtUnload();

private:
    float minimumInForce() const;

    pluginsdk::Host& host_;
    pluginsdk::HostProbe probe_;
    std::filesystem::path shots_;
    std::vector<float> announced_;
    std::size_t chatSeen_ = 0;
    std::optional<std::string> fileAtUnload_;
};
