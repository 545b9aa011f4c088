#include "PluginHost.h"

#include <gtest/gtest.h>

#include "Console.h"

namespace fs = std::filesystem;

fs::path PluginHost::modulePath() {
    return pluginsdk::moduleBesideExecutable("kickmark");
}

PluginHost::PluginHost() : dataFolder(testFolder("data")) {
    host.setDataFolder((dataFolder / "").wstring());
    host.loadPlugin(modulePath());
}

PluginHost::~PluginHost() {
    host.unloadPlugin();
    std::error_code ignored;
    fs::remove_all(dataFolder, ignored);
}

Kickmark& PluginHost::plugin() {
    return *static_cast<Kickmark*>(probe.plugin());
}

void PluginHost::set(std::string_view name, std::string_view value) {
    ASSERT_EQ(host.setVariable(name, value), pluginsdk::SetResult::done) << name << " " << value;
}

void PluginHost::run(std::vector<std::string> words) {
    ASSERT_TRUE(host.runCommand(std::move(words)));
}

void PluginHost::ball(float x, float y, float z) {
    host.setBallVelocity(x, y, z);
    host.raiseEvent(kickmark::tickEvent);
}

std::vector<std::string> PluginHost::chatTexts() const {
    std::vector<std::string> texts;
    for (const auto& line : host.chat())
        texts.push_back(line.text);
    return texts;
}
