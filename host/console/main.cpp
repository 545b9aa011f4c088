// kickmark-host: plays the game host's part on a developer's machine, so that the plugin can
// be run, watched and tested without the game.
#include <clocale>
#include <iostream>
#include <locale>
#include <memory>
#include <system_error>

#include "AbsolutePath.h"
#include "Arguments.h"
#include "FreeplaySimulation.h"
#include "HostedPlugin.h"
#include "PathWord.h"
#include "Shell.h"
#include "StandardOutput.h"
#include "TextLines.h"
#include "WideText.h"

#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#else
#include <csignal>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr int exitRefused = 1;
constexpr int exitCannotStart = 2;

int cannotStart(const std::string& message) {
    std::cerr << "kickmark-host: " << message << '\n';
    return exitCannotStart;
}

// The data folder as the host hands it to plugins: absolute, ending in a separator, and
// wide.
struct DataFolder {
    fs::path path;
    std::wstring wide;
};

// The folder made is the one handed over: the name is resolved as the system resolves it
// first, so that no folder named on the way ("missing/..") is made too. A folder whose name
// cannot be handed to plugins is refused before anything is made.
std::optional<DataFolder> prepareDataFolder(const std::string& dir, std::string& error) {
    const auto given = pluginsdk::pathFromUtf8(dir);
    std::error_code ec;
    const auto folder = given ? pluginsdk::absolutePath(*given, ec) : fs::path();
    if (!ec) {
        auto wide = given ? pluginsdk::wideText(folder / "") : std::nullopt;
        if (!wide) {
            error = "data folder " + unusablePath(dir);
            return std::nullopt;
        }
        fs::create_directories(folder, ec);
        if (!ec)
            return DataFolder{folder / "", std::move(*wide)};
    }
    error = "cannot create data folder " + dir + ": " + ec.message();
    return std::nullopt;
}

// The last line names the file, and how many speeds it holds, only when this session's save
// wrote it.
void runDemo(Shell& shell) {
    shell.runLine(std::string(hostedPlugin::enabledVariable) + " 1", "demo");
    shell.simulate(60.0, freeplay::FreeplaySimulation::defaultSeed);
    const auto file = pluginsdk::displayPath(shell.shotsFile());
    if (shell.save()) {
        const auto speeds = shell.announcedSpeeds();
        std::cerr << hostedPlugin::shotsFile << ": " << file << " (" << speeds
                  << (speeds == 1 ? " speed)\n" : " speeds)\n");
    } else
        std::cerr << hostedPlugin::shotsFile << " was not written: " << file << '\n';
}

// Like the game's own process, the host takes on the user's locale; nothing that writes or
// reads numbers may depend on it.
void adoptUserLocale() {
    std::setlocale(LC_ALL, "");
    try {
        std::locale::global(std::locale(""));
    } catch (const std::runtime_error&) {
        // A locale the C++ library cannot build: keep the classic one.
    }
}

int run(const std::vector<std::string>& words) {
    adoptUserLocale();
    std::string error;
    auto arguments = parseArguments(words, error);
    if (!arguments) {
        std::cerr << "kickmark-host: " << error << '\n' << usage;
        return exitCannotStart;
    }
    StandardOutput buffer;
    std::ostream out(&buffer);
    // Made after the user's locale was adopted: keep it from grouping any number written here.
    out.imbue(std::locale::classic());
    if (arguments->help || arguments->version) {
        if (arguments->help)
            out << usage;
        else
            out << "kickmark-host " << KICKMARK_VERSION << '\n';
        return flushOutput(out, std::cerr) ? 0 : exitRefused;
    }
    // Every script must be readable before anything runs.
    std::vector<std::unique_ptr<TextLines>> scripts;
    for (const auto& script : arguments->scripts) {
        scripts.push_back(script == "-" ? TextLines::standardInput("stdin")
                                        : TextLines::open(script, error));
        if (!scripts.back())
            return cannotStart(error);
    }
    if (scripts.empty() && !arguments->demo)
        scripts.push_back(TextLines::standardInput("stdin"));
    auto dataFolder = prepareDataFolder(arguments->dataDir, error);
    if (!dataFolder)
        return cannotStart(error);

    pluginsdk::Host host;
    host.setDataFolder(dataFolder->wide);
    Shell shell(host, arguments->plugin, dataFolder->path / hostedPlugin::shotsFile, out,
                std::cerr);
    if (!shell.loadPlugin(error))
        return cannotStart(error);

    if (arguments->demo)
        runDemo(shell);
    for (const auto& script : scripts) {
        if (shell.quitRequested())
            break;
        const bool prompt = script->file().empty() && isatty(0);
        if (!shell.runSource(*script, prompt, error))
            return cannotStart(error);
    }
    const bool written = !shell.outputFailed() && flushOutput(out, std::cerr);
    return shell.anyRefused() || !written ? exitRefused : 0;
}

} // namespace

#if defined(_WIN32)
namespace {

// An argument as UTF-8. A lone surrogate, which no UTF-8 holds, keeps its three bytes (as
// WTF-8 does) where WideCharToMultiByte would put U+FFFD and so name another file: the word is
// then no UTF-8, and refused as a name as bytes that are not UTF-8 are on Linux.
std::string utf8Argument(std::wstring_view wide) {
    std::string word;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        if (c < 0x80) {
            word += static_cast<char>(c);
            continue;
        }
        const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        constexpr unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
        word += static_cast<char>(lead[continuations] | c >> (6 * continuations));
        for (int k = continuations - 1; k >= 0; --k)
            word += static_cast<char>(0x80 | (c >> (6 * k) & 0x3F));
    }
    return word;
}

} // namespace

// Wide arguments, so that paths outside the ANSI code page arrive intact.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i)
        words.push_back(utf8Argument(argv[i]));
    return run(words);
}
#else
int main(int argc, char** argv) {
    // A reader that quits early (a pager, "head") must not end the session unsaved: a write
    // to its pipe then fails like any other, is said once, and the lines after it still run.
    std::signal(SIGPIPE, SIG_IGN);
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
