#include "Arguments.h"

#include "Host.h"
#include "HostedPlugin.h"
#include "PathWord.h"

const std::string usage =
    "usage: kickmark-host [--plugin PATH] [--data-dir DIR] [--demo] [SCRIPT ...]\n"
    "       kickmark-host --help | --version\n"
    "  --plugin PATH    the plugin module to load (default: " +
    std::string(hostedPlugin::moduleName) +
    " beside this program)\n"
    "  --data-dir DIR   the host's data folder, created when missing (default: data)\n"
    "  --demo           run a built-in free-play practice session, then save\n"
    "  SCRIPT ...       files of console lines to run; standard input when none\n";

std::optional<Arguments> parseArguments(const std::vector<std::string>& words, std::string& error) {
    Arguments arguments;
    arguments.plugin = pluginsdk::moduleBesideExecutable(hostedPlugin::moduleName);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--plugin" || word == "--data-dir") {
            if (i + 1 == words.size()) {
                error = word + " needs a value";
                return std::nullopt;
            }
            const std::string& value = words[++i];
            if (word == "--data-dir") {
                arguments.dataDir = value;
            } else if (auto plugin = pathOfWord(value, error)) {
                arguments.plugin = std::move(*plugin);
            } else {
                return std::nullopt;
            }
        } else if (word == "--demo") {
            arguments.demo = true;
        } else if (word == "--help" || word == "-h") {
            arguments.help = true;
        } else if (word == "--version") {
            arguments.version = true;
        } else if (word.starts_with("-") && word != "-") {
            error = "unknown option " + word;
            return std::nullopt;
        } else if (auto script = pathOfWord(word, error)) {
            arguments.scripts.push_back(std::move(*script));
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}
