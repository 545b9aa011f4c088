#include "Shell.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>

#include "FreeplaySimulation.h"
#include "Numbers.h"
#include "ReplayFile.h"
#include "WideText.h"

namespace {

constexpr std::string_view tickEvent = "Function TAGame.Car_TA.SetVehicleInput";
constexpr int maxExecDepth = 16;

std::vector<std::string> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream in{std::string(line)};
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

bool isComment(std::string_view line) {
    const auto start = line.find_first_not_of(" \t\r");
    if (start == std::string_view::npos)
        return true;
    line.remove_prefix(start);
    return line.starts_with("//") || line.starts_with("#");
}

template <typename T> bool parseWhole(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end;
}

} // namespace

Shell::Shell(pluginsdk::Host& host, std::filesystem::path modulePath, std::ostream& out,
             std::ostream& err)
    : host_(host), modulePath_(std::move(modulePath)), out_(out), err_(err) {}

bool Shell::runLine(std::string_view line, std::string_view where) {
    if (isComment(line))
        return true;
    const auto words = splitWords(line);
    std::string error;
    const bool done = hostLine(words, error);
    flushChat();
    if (!done) {
        err_ << where << (where.empty() ? "" : ": ") << error << '\n';
        refused_ = true;
    }
    return done;
}

void Shell::runStream(std::istream& in, std::string_view name, bool prompt) {
    int number = 0;
    std::string line;
    while (!quit_) {
        if (prompt)
            err_ << "> " << std::flush;
        if (!std::getline(in, line))
            break;
        ++number;
        runLine(line, std::string(name) + ":" + std::to_string(number));
    }
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

bool Shell::quit(const Words&, std::string&) {
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
    if (host_.runCommand(words))
        return true;
    error = "unknown name: " + name;
    if (!host_.pluginLoaded())
        error += " (no plugin is loaded)";
    return false;
}

void Shell::raise() {
    host_.raiseEvent(tickEvent);
}

void Shell::flushChat() {
    for (const auto& line : host_.chat())
        out_ << '[' << line.sender << "] " << line.text << '\n';
    host_.clearChat();
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
        auto value = pluginsdk::parseFloat(words[i + 1]);
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
    if (words.size() > 2 || (words.size() == 2 && !parseWhole(words[1], count))) {
        error = "tick: expected a count of events";
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
    const auto file = pluginsdk::pathFromUtf8(words[1]);
    return replayFile(file, error, [this](const ReplayEvent& event) {
        host_.setBall(event.ball);
        if (event.ball)
            host_.setBallVelocity(event.x, event.y, event.z);
        raise();
        flushChat();
    });
}

bool Shell::simulateLine(const Words& words, std::string& error) {
    double seconds = 60.0;
    std::uint64_t seed = freeplay::FreeplaySimulation::defaultSeed;
    if (words.size() > 3 ||
        (words.size() >= 2 &&
         (!parseWhole(words[1], seconds) || !(seconds >= 0.0 && seconds <= 86400.0))) ||
        (words.size() == 3 && !parseWhole(words[2], seed))) {
        error = "simulate: expected [SECONDS] [SEED], SECONDS from 0 to 86400";
        return false;
    }
    simulate(seconds, seed);
    return true;
}

void Shell::simulate(double seconds, std::uint64_t seed) {
    freeplay::FreeplaySimulation game(seed);
    std::size_t announced = 0;
    const auto ticks =
        static_cast<long long>(seconds * freeplay::FreeplaySimulation::ticksPerSecond + 0.5);
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
    char text[32];
    auto end = std::to_chars(text, text + sizeof text, fastest, std::chars_format::fixed, 2).ptr;
    err_ << "simulate: " << game.strikes().size() << " strikes in " << seconds << " s (seed "
         << seed << "), " << announced << " announced, fastest strike "
         << std::string_view(text, end - text) << '\n';
}

bool Shell::loadPlugin(std::string& error) {
    try {
        host_.loadPlugin(modulePath_);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    const auto* info = host_.pluginInfo();
    err_ << "loaded " << info->pluginName << ' ' << info->pluginVersion << " from "
         << pluginsdk::displayPath(modulePath_) << '\n';
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
        err_ << "unloaded " << pluginsdk::displayPath(modulePath_) << '\n';
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
    if (execDepth_ >= maxExecDepth) {
        error = "exec: files nested more than " + std::to_string(maxExecDepth) + " deep";
        return false;
    }
    std::ifstream in(pluginsdk::pathFromUtf8(words[1]));
    if (!in) {
        error = "exec: cannot read " + words[1];
        return false;
    }
    ++execDepth_;
    runStream(in, words[1], false);
    --execDepth_;
    return true;
}
