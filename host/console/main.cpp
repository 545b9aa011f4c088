// kickmark-host: plays the game host's part on a developer's machine, so that the plugin can
// be run, watched and tested without the game.
#include <clocale>
#include <iostream>
#include <locale>
#include <memory>
#include <system_error>

#include "AbsolutePath.h"
#include "Arguments.h"
#include "CommandLineWords.h"
#include "FreeplaySimulation.h"
#include "HostedPlugin.h"
#include "PathText.h"
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
    const auto given = kickmark::text::pathFromUtf8(dir);
    std::error_code ec;
    const auto folder = given ? pluginsdk::absolutePath(*given, ec) : fs::path();
    if (!ec) {
        auto wide = given ? pluginsdk::wideText(folder / "") : std::nullopt;
        if (!wide) {
            error = "data folder " + kickmark::text::unusablePath(dir);
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
    const auto file = kickmark::text::visiblePath(shell.shotsFile());
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
// Wide arguments, so that paths outside the ANSI code page arrive intact.
int wmain(int argc, wchar_t** argv) {
    return run(kickmark::text::commandLineWords(argc, argv));
}
#else
int main(int argc, char** argv) {
    // A reader that quits early (a pager, "head") must not end the session unsaved: a write
    // to its pipe then fails like any other, is said once, and the lines after it still run.
    std::signal(SIGPIPE, SIG_IGN);
    return run(kickmark::text::commandLineWords(argc, argv));
}
#endif
