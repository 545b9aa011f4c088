// A player may load and unload the plugin many times in one game session: nothing may pile up.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "Console.h"
#include "Files.h"
#include "Host.h"
#include "PluginHost.h"

#if defined(__linux__)
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

#if defined(__linux__)

long residentKiB() {
    long pages = 0;
    long resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long openDescriptors() {
    long count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// AddressSanitizer holds freed memory back to catch late use of it, so resident memory says
// nothing about leaks there; LeakSanitizer reports those instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool freedMemoryIsHeldBack = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool freedMemoryIsHeldBack = true;
#else
constexpr bool freedMemoryIsHeldBack = false;
#endif
#else
constexpr bool freedMemoryIsHeldBack = false;
#endif

void cycle(pluginsdk::Host& host) {
    host.loadPlugin(PluginHost::modulePath());
    host.setVariable(kickmark::enabledVariable, "1");
    host.setBallVelocity(0, 0, 0);
    host.raiseEvent(kickmark::tickEvent);
    host.setBallVelocity(2500, 0, 0);
    host.raiseEvent(kickmark::tickEvent);
    host.runCommand({kickmark::saveCommand});
    host.unloadPlugin();
    // The chat box scrolls: the host keeps no history of its own.
    host.clearChat();
}

// Each save flushes the file to disk; on a memory file system that costs nothing, and the
// soak is about memory and descriptors, not the disk.
fs::path memoryBackedFolder() {
    const fs::path shm = "/dev/shm";
    if (!fs::is_directory(shm))
        return testFolder("data");
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    auto folder = shm / ("kickmark-tests-" + std::to_string(getpid())) / info->name();
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(LoadUnloadSoak, ten_thousand_cycles_leave_memory_and_descriptors_where_they_settled) {
    const auto data = memoryBackedFolder();
    pluginsdk::Host host;
    host.setDataFolder((data / "").wstring());

    // The first hundred cycles warm up the allocator, the loader and the stream buffers.
    for (int i = 0; i < 100; ++i)
        cycle(host);
    // Measured the same way at both ends; the first measurement's own buffers come earlier.
    residentKiB();
    openDescriptors();
    const long settledKiB = residentKiB();
    const long settledDescriptors = openDescriptors();

    for (int i = 100; i < 10'000; ++i)
        cycle(host);
    const long finalKiB = residentKiB();
    const long finalDescriptors = openDescriptors();

    RecordProperty("resident_kib_after_100", std::to_string(settledKiB));
    RecordProperty("resident_kib_after_10000", std::to_string(finalKiB));
    RecordProperty("descriptors_after_100", std::to_string(settledDescriptors));
    RecordProperty("descriptors_after_10000", std::to_string(finalDescriptors));
    EXPECT_EQ(finalDescriptors, settledDescriptors);
    // One leaked allocation per cycle, at 32 bytes or more each, would add over 300 KiB.
    if (!freedMemoryIsHeldBack) {
        EXPECT_LE(finalKiB - settledKiB, 128) << settledKiB << " KiB grew to " << finalKiB;
    }
    EXPECT_EQ(readBytes(data / "shots.csv"), textLines({"2500.000000"}));
    std::error_code ignored;
    fs::remove_all(data.parent_path(), ignored);
}

#else

TEST(LoadUnloadSoak, ten_thousand_cycles_leave_memory_and_descriptors_where_they_settled) {
    GTEST_SKIP() << "resident memory and open descriptors are read from Linux's /proc";
}

#endif

} // namespace
