#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "Host.h"

// Runs console lines against a host: the plugin's variables and commands, and the host's own
// lines that drive the game (ball, tick, mode, replay, simulate), the module (plugin) and the
// session (exec, quit). Chat lines and variable values go to `out`; refusals and the host's
// own messages go to `err`.
class Shell {
public:
    Shell(pluginsdk::Host& host, std::filesystem::path modulePath, std::ostream& out,
          std::ostream& err);

    // Runs one line; `where` names it in a refusal ("script.txt:3"). False when refused.
    bool runLine(std::string_view line, std::string_view where);
    // Runs lines until the stream ends or a line says "quit"; `name` stands for the file in
    // refusals.
    void runStream(std::istream& in, std::string_view name, bool prompt);

    // Loads the module; says what was loaded on `err`, or why it was not in `error`.
    bool loadPlugin(std::string& error);
    // The built-in practice session: `seconds` of game time at the game's tick rate.
    void simulate(double seconds, std::uint64_t seed);

    bool anyRefused() const { return refused_; }
    bool quitRequested() const { return quit_; }

private:
    using Words = std::vector<std::string>;

    bool hostLine(const Words& words, std::string& error);
    bool ball(const Words& words, std::string& error);
    bool tick(const Words& words, std::string& error);
    bool mode(const Words& words, std::string& error);
    bool replay(const Words& words, std::string& error);
    bool simulateLine(const Words& words, std::string& error);
    bool plugin(const Words& words, std::string& error);
    bool exec(const Words& words, std::string& error);
    bool quit(const Words& words, std::string& error);
    bool consoleName(const Words& words, std::string& error);

    void raise();
    void flushChat();

    pluginsdk::Host& host_;
    std::filesystem::path modulePath_;
    std::ostream& out_;
    std::ostream& err_;
    bool refused_ = false;
    bool quit_ = false;
    int execDepth_ = 0;
};
