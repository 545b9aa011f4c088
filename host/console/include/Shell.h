#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "AnnouncedSpeeds.h"
#include "Host.h"

class TextLines;

// Runs console lines against a host: the plugin's variables and commands, and the host's own
// lines that drive the game (ball, tick, mode, replay, simulate), the module (plugin) and the
// session (exec, quit). Chat lines and variable values go to `out`; refusals and the host's
// own messages go to `err`.
class Shell {
public:
    // `shotsFile` is where the plugin's save command puts its file: the shell reads it back to
    // tell a save that happened from one that did not.
    Shell(pluginsdk::Host& host, std::filesystem::path modulePath, std::filesystem::path shotsFile,
          std::ostream& out, std::ostream& err);

    // Runs one line; `where` names it in a refusal ("script.txt:3"). False when refused.
    bool runLine(std::string_view line, std::string_view where);
    // Runs lines until the source ends or a line says "quit". False, with the reason in
    // `error`, when the source cannot be read to its end; the lines before have run.
    bool runSource(TextLines& source, bool prompt, std::string& error);

    // Loads the module; says what was loaded on `err`, or why it was not in `error`.
    bool loadPlugin(std::string& error);
    // The built-in practice session: `seconds` of game time at the game's tick rate.
    void simulate(double seconds, std::uint64_t seed);
    // Runs the plugin's save command; true when the file then holds every speed announced
    // since the plugin was loaded or reset. Counts as refused otherwise.
    bool save();
    // How many speeds a save must hold now.
    std::size_t announcedSpeeds() const { return announced_.count(); }

    const std::filesystem::path& shotsFile() const { return shotsFile_; }
    bool anyRefused() const { return refused_; }
    bool quitRequested() const { return quit_; }
    // Standard output could not be written (said once on `err`).
    bool outputFailed() const { return outputFailed_; }

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
    bool saveLine(const Words& words, std::string& error);

    void raise();
    void flushChat();
    void checkOutput();

    pluginsdk::Host& host_;
    std::filesystem::path modulePath_;
    std::filesystem::path shotsFile_;
    std::ostream& out_;
    std::ostream& err_;
    bool refused_ = false;
    bool quit_ = false;
    bool outputFailed_ = false;
    AnnouncedSpeeds announced_;
    // The files whose lines are running, outermost first: none may run inside itself.
    std::vector<std::filesystem::path> running_;
};
