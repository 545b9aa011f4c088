#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct Arguments {
    std::filesystem::path plugin;
    // As given: what it names is for the system to say, once it can be checked and made.
    std::string dataDir = "data";
    bool demo = false;
    bool help = false;
    bool version = false;
    std::vector<std::filesystem::path> scripts;
};

extern const std::string usage;

// Reads the command line (UTF-8 words, the program's name left out). Nothing, with the reason
// in `error`, when it is malformed.
std::optional<Arguments> parseArguments(const std::vector<std::string>& words, std::string& error);
