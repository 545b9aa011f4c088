#include "Shell.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>

#include "FileReading.h"
#include "FileStatus.h"
#include "FreeplaySimulation.h"
#include "HostedPlugin.h"
#include "NumberText.h"
#include "PathText.h"
#include "PathWord.h"
#include "ReplayFile.h"
#include "StandardOutput.h"
#include "TextLines.h"
#include "Trim.h"

namespace {

using hostedPlugin::saveCommand;
using hostedPlugin::tickEvent;
constexpr int maxExecDepth = 16;
constexpr double maxSimulatedSeconds = 86400.0;
// A day of game time, as for simulate.
constexpr unsigned long long maxTicks = 10368000;

// Words are split at blanks; double quotes keep blanks inside a word, so that file names
// with spaces can be given. Nothing when a quote is left open.
std::optional<std::vector<std::string>> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f')) {
            if (inWord)
                words.push_back(std::exchange(word, {}));
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

bool isComment(std::string_view line) {
    line = kickmark::text::trim(line, " \t\r");
    return line.empty() || line.starts_with("//") || line.starts_with("#");
}

// A whole number written with digits only, at most `max`.
bool parseCount(std::string_view text, unsigned long long max, unsigned long long& value) {
    const auto number = kickmark::text::parseWhole(text);
    if (!number || *number > max)
        return false;
    value = *number;
    return true;
}

// Whether two sources of lines are one; standard input is the empty path. Linux also names
// standard input /dev/stdin, which leads to whatever it reads, a pipe or a terminal included;
// Windows knows it only as "-".
bool sameSource(const std::filesystem::path& a, const std::filesystem::path& b) {
    const std::filesystem::path standardInput = "/dev/stdin";
    if (a.empty() && b.empty())
        return true;
    return kickmark::files::sameFile(a.empty() ? standardInput : a, b.empty() ? standardInput : b);
}

} // namespace

Shell::Shell(pluginsdk::Host& host, std::filesystem::path modulePath,
             std::filesystem::path shotsFile, std::ostream& out, std::ostream& err)
    : host_(host), modulePath_(std::move(modulePath)), shotsFile_(std::move(shotsFile)), out_(out),
      err_(err) {}

bool Shell::runLine(std::string_view line, std::string_view where) {
    if (isComment(line))
        return true;
    const auto words = splitWords(line);
    if (words && words->empty())
        return true;
    std::string error = "unterminated quote";
    const bool done = words && hostLine(*words, error);
    flushChat();
    if (!done) {
        err_ << where << (where.empty() ? "" : ": ") << error << '\n';
        refused_ = true;
    }
    checkOutput();
    return done;
}

bool Shell::runSource(TextLines& source, bool prompt, std::string& error) {
    running_.push_back(source.file());
    std::string line;
    bool readable = true;
    while (!quit_) {
        if (prompt)
            err_ << "> " << std::flush;
        const auto next = source.next(line, error);
        if (next != TextLines::Next::line) {
            readable = next == TextLines::Next::end;
            break;
        }
        runLine(line, source.name() + ":" + std::to_string(source.lineNumber()));
    }
    running_.pop_back();
    return readable;
}

void Shell::checkOutput() {
    if (!outputFailed_)
        outputFailed_ = !flushOutput(out_, err_);
}

bool Shell::hostLine(const Words& words, std::string& error) {
    using Line = bool (Shell::*)(const Words&, std::string&);
    static constexpr std::pair<std::string_view, Line> hostLines[] = {
        {"ball", &Shell::ball},
        {"tick", &Shell::tick},
        {"mode", &Shell::mode},
        {"replay", &Shell::replay},
        {"simulate", &Shell::simulateLine},
        {"plugin", &Shell::plugin},
        {"exec", &Shell::exec},
        {"quit", &Shell::quit},
    };
    for (const auto& [name, line] : hostLines)
        if (words.front() == name)
            return (this->*line)(words, error);
    return consoleName(words, error);
}

bool Shell::quit(const Words& words, std::string& error) {
    if (words.size() != 1) {
        error = "quit: takes no arguments";
        return false;
    }
    quit_ = true;
    return true;
}

bool Shell::consoleName(const Words& words, std::string& error) {
    const std::string& name = words.front();
    if (auto variable = host_.variable(name)) {
        if (words.size() == 1) {
            out_ << name << " = " << variable->value << '\n';
            return true;
        }
        if (words.size() > 2) {
            error = name + " takes one value";
            return false;
        }
        if (host_.setVariable(name, words[1]) == pluginsdk::SetResult::notANumber) {
            error = name + ": not a number: " + words[1];
            return false;
        }
        return true;
    }
    if (words.front() == saveCommand && host_.command(saveCommand))
        return saveLine(words, error);
    if (host_.runCommand(words)) {
        if (words.front() == hostedPlugin::resetCommand)
            announced_.clear();
        return true;
    }
    error = "unknown name: " + name;
    if (!host_.pluginLoaded())
        error += " (no plugin is loaded)";
    return false;
}

bool Shell::saveLine(const Words& words, std::string& error) {
    host_.runCommand(words);
    // The plugin is silent about a save that fails; the file tells: it must hold every speed
    // announced, and nothing else, whatever it held before.
    kickmark::files::FileContent content;
    if (!kickmark::files::readFile(shotsFile_, content) && announced_.heldBy(content.bytes))
        return true;
    error = std::string(saveCommand) + ": " + std::string(hostedPlugin::shotsFile) +
            " was not written: " + kickmark::text::visiblePath(shotsFile_);
    return false;
}

bool Shell::save() {
    std::string error;
    const bool saved = saveLine({std::string(saveCommand)}, error);
    refused_ = refused_ || !saved;
    return saved;
}

void Shell::raise() {
    host_.raiseEvent(tickEvent);
}

void Shell::flushChat() {
    if (host_.chat().empty())
        return;
    for (const auto& line : host_.chat()) {
        announced_.heard(line.text);
        out_ << '[' << line.sender << "] " << line.text << '\n';
    }
    host_.clearChat();
    checkOutput();
}

bool Shell::ball(const Words& words, std::string& error) {
    if (words.size() == 2 && words[1] == "none") {
        host_.setBall(false);
        raise();
        return true;
    }
    float velocity[3];
    if (words.size() != 4) {
        error = "ball: expected VX VY VZ or none";
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        auto value = kickmark::text::parseFloat(words[i + 1]);
        if (!value) {
            error = "ball: not a number: " + words[i + 1];
            return false;
        }
        velocity[i] = *value;
    }
    host_.setBall(true);
    host_.setBallVelocity(velocity[0], velocity[1], velocity[2]);
    raise();
    return true;
}

bool Shell::tick(const Words& words, std::string& error) {
    unsigned long long count = 1;
    if (words.size() > 2 || (words.size() == 2 && !parseCount(words[1], maxTicks, count))) {
        error = "tick: expected a whole number of ticks from 0 to " + std::to_string(maxTicks);
        return false;
    }
    for (unsigned long long i = 0; i < count; ++i)
        raise();
    return true;
}

bool Shell::mode(const Words& words, std::string& error) {
    const auto mode = words.size() == 2 ? std::string_view(words[1]) : std::string_view();
    if (mode == "freeplay" || mode == "online" || mode == "none") {
        host_.setFreeplay(mode == "freeplay");
        host_.setMatch(mode != "none");
        return true;
    }
    error = "mode: expected freeplay, online or none";
    return false;
}

bool Shell::replay(const Words& words, std::string& error) {
    if (words.size() != 2) {
        error = "replay: expected one FILE";
        return false;
    }
    const auto file = pathOfWord(words[1], error);
    if (!file) {
        error = "replay: " + error;
        return false;
    }
    return replayFile(*file, error, [this](const ReplayEvent& event) {
        host_.setBall(event.ball);
        if (event.ball)
            host_.setBallVelocity(event.x, event.y, event.z);
        raise();
        flushChat();
    });
}

bool Shell::simulateLine(const Words& words, std::string& error) {
    double seconds = 60.0;
    unsigned long long seed = freeplay::FreeplaySimulation::defaultSeed;
    if (words.size() > 3) {
        error = "simulate: expected [SECONDS] [SEED]";
        return false;
    }
    if (words.size() >= 2) {
        const auto given = kickmark::text::parseDouble(words[1]);
        if (!given || !(*given >= 0.0 && *given <= maxSimulatedSeconds)) {
            error = "simulate: SECONDS must be a number from 0 to " +
                    kickmark::text::shortestText(maxSimulatedSeconds) + ": " + words[1];
            return false;
        }
        seconds = *given;
    }
    if (words.size() == 3 && !parseCount(words[2], UINT64_MAX, seed)) {
        error = "simulate: SEED must be a whole number from 0 to " + std::to_string(UINT64_MAX) +
                ": " + words[2];
        return false;
    }
    simulate(seconds + 0.0, seed); // -0 is 0 seconds
    return true;
}

void Shell::simulate(double seconds, std::uint64_t seed) {
    freeplay::FreeplaySimulation game(seed);
    std::size_t announced = 0;
    const auto ticks = std::llround(seconds * freeplay::FreeplaySimulation::ticksPerSecond);
    for (long long i = 0; i < ticks; ++i) {
        game.step();
        auto& state = host_.ballState();
        state.Location = {static_cast<float>(game.position().x),
                          static_cast<float>(game.position().y),
                          static_cast<float>(game.position().z)};
        host_.setBall(true);
        host_.setBallVelocity(static_cast<float>(game.velocity().x),
                              static_cast<float>(game.velocity().y),
                              static_cast<float>(game.velocity().z));
        raise();
        announced += host_.chat().size();
        flushChat();
    }
    double fastest = 0.0;
    for (double speed : game.strikes())
        fastest = std::max(fastest, speed);
    const auto strikes = game.strikes().size();
    err_ << "simulate: " << strikes << (strikes == 1 ? " strike" : " strikes") << " in "
         << kickmark::text::shortestText(seconds) << " s (seed " << seed << "), " << announced
         << " announced, fastest strike " << kickmark::text::fixedText(fastest, 2) << '\n';
}

bool Shell::loadPlugin(std::string& error) {
    try {
        host_.loadPlugin(modulePath_);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    announced_.clear();
    const auto* info = host_.pluginInfo();
    err_ << "loaded " << info->pluginName << ' ' << info->pluginVersion << " from "
         << kickmark::text::visiblePath(modulePath_) << '\n';
    return true;
}

bool Shell::plugin(const Words& words, std::string& error) {
    const auto action = words.size() == 2 ? std::string_view(words[1]) : std::string_view();
    if (action != "load" && action != "unload" && action != "reload") {
        error = "plugin: expected load, unload or reload";
        return false;
    }
    if (action != "load") {
        if (!host_.pluginLoaded()) {
            error = "plugin: no plugin is loaded";
            return false;
        }
        host_.unloadPlugin();
        err_ << "unloaded " << kickmark::text::visiblePath(modulePath_) << '\n';
        if (action == "unload")
            return true;
    }
    return loadPlugin(error);
}

bool Shell::exec(const Words& words, std::string& error) {
    if (words.size() != 2) {
        error = "exec: expected one FILE";
        return false;
    }
    // "-" is standard input, as on the command line: the empty path.
    const auto file = words[1] == "-" ? std::filesystem::path() : pathOfWord(words[1], error);
    if (!file) {
        error = "exec: " + error;
        return false;
    }
    for (const auto& running : running_) {
        if (sameSource(running, *file)) {
            error = "exec: " + words[1] + " is already running";
            return false;
        }
    }
    if (running_.size() > maxExecDepth) {
        error = "exec: files nested more than " + std::to_string(maxExecDepth) + " deep";
        return false;
    }
    auto lines = file->empty() ? TextLines::standardInput("stdin") : TextLines::open(*file, error);
    if (!lines || !runSource(*lines, false, error)) {
        error = "exec: " + error;
        return false;
    }
    return true;
}
