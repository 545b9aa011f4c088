// The fuzzer's bytes drive the host's side of the plugin boundary against the real module,
// read front to back. Each action is one byte (taken modulo the number of actions) followed
// by its operands:
//   0 tick         three numbers, the ball's velocity; then the game raises the tick event
//   1 free play    one byte, its lowest bit on or off
//   2 match        one byte, likewise
//   3 ball         one byte, likewise
//   4 "kickmark"            set to one text
//   5 "kickmark_minspeed"   set to one text
//   6 kickmark_reset        one byte, the number of arguments modulo 4, then that many texts
//   7 kickmark_save         likewise
//   8 unload
//   9 load
// A number is a selector byte: below 16 one of the edge values below, below 128 two more
// bytes giving a speed in tenths from -1000, otherwise four bytes of raw float bits. A text is
// a selector byte: below 128 one of the console words below, otherwise up to 31 raw bytes.
// Past the end of the input every byte reads as zero.
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "Console.h"
#include "Host.h"
#include "Module.h"
#include "SessionOracle.h"

namespace fs = std::filesystem;

namespace {

using limits = std::numeric_limits<float>;

constexpr std::array<float, 16> edgeValues = {
    0.0f,
    -0.0f,
    limits::quiet_NaN(),
    -limits::quiet_NaN(),
    limits::infinity(),
    -limits::infinity(),
    limits::denorm_min(),
    -limits::denorm_min(),
    limits::min(),
    limits::max(),
    -limits::max(),
    1.0e19f,
    1.8446743e19f, // about the square root of the largest float
    2.0e19f,       // its square overflows
    1000.0f,
    6000.0f,
};

constexpr std::array<const char*, 20> consoleWords = {
    "0",   "1",    "-1",  "0.5",   "1000", "1500", "6000", "7000", "-5",   "nan",
    "inf", "-inf", "1e3", "1e-45", "fast", "",     "+1",   "1,5",  "0x10", " 1",
};

class InputBytes {
public:
    InputBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return next_ >= size_; }

    std::uint8_t byte() { return next_ < size_ ? data_[next_++] : 0; }

    float number() {
        const auto selector = byte();
        if (selector < edgeValues.size())
            return edgeValues[selector];
        if (selector < 128) {
            const unsigned low = byte();
            const unsigned high = byte();
            return static_cast<float>(low | high << 8) / 10.0f - 1000.0f;
        }
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits = bits << 8 | byte();
        return std::bit_cast<float>(bits);
    }

    std::string text() {
        const auto selector = byte();
        if (selector < 128)
            return consoleWords[selector % consoleWords.size()];
        std::string raw;
        for (int length = selector & 0x1f; length > 0 && !empty(); --length)
            raw += static_cast<char>(byte());
        return raw;
    }

    std::vector<std::string> commandLine(const char* command) {
        std::vector<std::string> words{command};
        for (int count = byte() % 4; count > 0; --count)
            words.push_back(text());
        return words;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t next_ = 0;
};

// A data folder of the fuzzer's own, in memory where the system has a memory file system:
// every save flushes the file to disk.
struct ScratchFolder {
    fs::path path;
    ScratchFolder() {
        const fs::path shm = "/dev/shm";
        const auto parent = fs::is_directory(shm) ? shm : fs::temp_directory_path();
        path = parent / ("kickmark-fuzz-" + std::to_string(getpid()));
        fs::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

const ScratchFolder& scratch() {
    static const ScratchFolder folder;
    return folder;
}

void setVariable(pluginsdk::Host& host, const char* name, const std::string& text) {
    const auto result = host.setVariable(name, text);
    require((result == pluginsdk::SetResult::unknownVariable) == !host.pluginLoaded(),
            "the plugin's variables exist exactly while it is loaded");
}

void act(pluginsdk::Host& host, SessionOracle& oracle, InputBytes& in) {
    const bool loaded = host.pluginLoaded();
    switch (in.byte() % 10) {
    case 0: {
        const float x = in.number();
        const float y = in.number();
        const float z = in.number();
        host.setBallVelocity(x, y, z);
        host.raiseEvent(kickmark::tickEvent);
        break;
    }
    case 1:
        host.setFreeplay(in.byte() & 1);
        break;
    case 2:
        host.setMatch(in.byte() & 1);
        break;
    case 3:
        host.setBall(in.byte() & 1);
        break;
    case 4:
        setVariable(host, kickmark::enabledVariable, in.text());
        break;
    case 5:
        setVariable(host, kickmark::minSpeedVariable, in.text());
        break;
    case 6:
        require(host.runCommand(in.commandLine(kickmark::resetCommand)) == loaded,
                "the reset command exists exactly while the plugin is loaded");
        if (loaded)
            oracle.restartNumbering();
        break;
    case 7:
        require(host.runCommand(in.commandLine(kickmark::saveCommand)) == loaded,
                "the save command exists exactly while the plugin is loaded");
        if (loaded)
            oracle.checkSavedFile();
        break;
    case 8:
        host.unloadPlugin();
        if (loaded)
            oracle.rememberFileAtUnload();
        break;
    case 9:
        if (loaded) {
            try {
                host.loadPlugin(pluginsdk::moduleBesideExecutable("kickmark"));
                require(false, "a second load is refused");
            } catch (const std::runtime_error&) {
            }
        } else {
            host.loadPlugin(pluginsdk::moduleBesideExecutable("kickmark"));
            oracle.restartNumbering();
        }
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    scratch();
    // libFuzzer registers a module's coverage counters when it is first mapped; keeping one
    // reference for the whole run stops each unload from unmapping it.
    static const pluginsdk::Module pinned(pluginsdk::moduleBesideExecutable("kickmark"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto shots = scratch().path / "shots.csv";
    fs::remove(shots);

    pluginsdk::Host host;
    host.setDataFolder((scratch().path / "").wstring());
    SessionOracle oracle(host, shots);
    host.loadPlugin(pluginsdk::moduleBesideExecutable("kickmark"));

    InputBytes in(data, size);
    // A bound on the actions keeps every input quick; longer inputs add nothing new.
    for (int step = 0; step < 1024 && !in.empty(); ++step) {
        act(host, oracle, in);
        if (host.pluginLoaded())
            oracle.checkNewChatLines();
        else
            oracle.checkNothingReachesTheUnloadedPlugin();
    }
    return 0;
}
