// The fuzzer's bytes are a console script, run line by line by kickmark-host's interpreter
// against the real module. Whatever the text: no crash, no sanitizer report, and a line is
// refused exactly when it says why on standard error, in its own refusal line.
//
// Every file a line can name stays inside a scratch folder of the fuzzer's own (the current
// folder while it runs): it holds the golden sessions with their replay files, the data
// folder, and the input itself as "input". Inputs with a path separator are skipped, since
// they could reach devices that never end or large files elsewhere.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "Console.h"
#include "Host.h"
#include "Module.h"
#include "SessionOracle.h"
#include "Shell.h"
#include "TextLines.h"

namespace fs = std::filesystem;

namespace {

// The console takes up to a day of game time in one line; an input gets far less, so that
// every one finishes well within the fuzzer's time limit. An input that has spent it is cut
// short there and not judged further.
constexpr long maxTicksPerInput = 200000;
struct GameTimeSpent {};

fs::path scratchFolder() {
    const fs::path shm = "/dev/shm";
    const auto parent = fs::is_directory(shm) ? shm : fs::temp_directory_path();
    return parent / ("kickmark-console-fuzz-" + std::to_string(getpid()));
}

const fs::path& scratch() {
    static const fs::path folder = scratchFolder();
    return folder;
}

// The refusal line of `where`, when `said` holds one: the last line, "WHERE: REASON".
bool saysWhy(const std::string& said, const std::string& where) {
    if (!said.ends_with('\n'))
        return false;
    const auto start = said.rfind('\n', said.size() - 2);
    const auto last = std::string_view(said).substr(start == std::string::npos ? 0 : start + 1);
    return last.starts_with(where + ": ") && last.size() > where.size() + 3;
}

bool namesLine(const std::string& said, const std::string& where) {
    return said.starts_with(where + ": ") || said.find('\n' + where + ": ") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fs::remove_all(scratch());
    fs::create_directories(scratch() / "data");
    fs::copy(KICKMARK_CONSOLE_SESSIONS, scratch(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    static const auto module = pluginsdk::moduleBesideExecutable("kickmark");
    // Kept mapped for the whole run, as in the other target: coverage counters are
    // registered once.
    static const pluginsdk::Module pinned(module);
    fs::current_path(scratch());
    // "exec -" reads standard input: one that ends at once, rather than a terminal that waits.
    require(std::freopen("/dev/null", "r", stdin) != nullptr, "standard input can be emptied");
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(scratch(), ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (text.find_first_of("/\\") != std::string_view::npos)
        return -1;
    std::ofstream(scratch() / "input", std::ios::binary).write(text.data(), text.size());
    std::string error;
    auto lines = TextLines::open("input", error);
    require(lines != nullptr, "the input file can be read");

    pluginsdk::Host host;
    host.setDataFolder((scratch() / "data" / "").wstring());
    long ticks = 0;
    host.gameWrapper()->HookEvent(kickmark::tickEvent, [&ticks](std::string) {
        if (++ticks > maxTicksPerInput)
            throw GameTimeSpent{};
    });
    std::ostringstream out;
    std::ostringstream err;
    Shell shell(host, pluginsdk::moduleBesideExecutable("kickmark"),
                scratch() / "data" / "shots.csv", out, err);
    require(shell.loadPlugin(error), "the module loads");

    bool refused = false;
    std::string line;
    try {
        while (!shell.quitRequested()) {
            const auto next = lines->next(line, error);
            require(next != TextLines::Next::failed, "a short file reads to its end");
            if (next == TextLines::Next::end)
                break;
            err.str("");
            const auto where = "input:" + std::to_string(lines->lineNumber());
            const bool done = shell.runLine(line, where);
            refused = refused || !done;
            if (done)
                require(!namesLine(err.str(), where), "a line that ran is named in no refusal");
            else
                require(saysWhy(err.str(), where), "a refused line ends with why, after its name");
            require(shell.anyRefused() == refused, "the exit class follows the refused lines");
            require(!shell.outputFailed(), "output to memory never fails");
        }
    } catch (const GameTimeSpent&) {
    }
    return 0;
}
