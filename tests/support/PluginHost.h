#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Files.h"
#include "Host.h"
#include "HostProbe.h"
#include "Kickmark.h"

// The real kickmark module loaded into a fresh stand-in host, in free play with a match
// and a ball at rest, with a data folder of its own that is removed afterwards.
class PluginHost {
public:
    PluginHost();
    ~PluginHost();

    static std::filesystem::path modulePath();

    pluginsdk::Host host;
    pluginsdk::HostProbe probe{host};
    std::filesystem::path dataFolder;

    // The plugin object, for looking at its fields.
    Kickmark& plugin();

    void set(std::string_view name, std::string_view value);
    void run(std::vector<std::string> words);
    // The ball's velocity becomes (x, y, z), then the game raises the tick event once.
    void ball(float x, float y, float z);
    std::vector<std::string> chatTexts() const;
};
