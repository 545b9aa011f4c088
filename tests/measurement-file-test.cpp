// "kickmark_save": what lands in "shots.csv", and that a failed save loses nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DecimalCommaLocale.h"
#include "Files.h"
#include "PluginHost.h"
#include "ShotsFile.h"

#include <chrono>
#include <functional>

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using testing::ElementsAre;

namespace {

class MeasurementFile : public testing::Test, public PluginHost {
protected:
    MeasurementFile() { set("kickmark", "1"); }

    fs::path shots() const { return dataFolder / "shots.csv"; }

    void record(std::initializer_list<float> speeds) {
        ball(0, 0, 0);
        for (float speed : speeds)
            ball(speed, 0, 0), ball(0, 0, 0);
    }

    void save() { run({"kickmark_save"}); }

    // Whatever is in the data folder besides "shots.csv": a save must leave nothing behind.
    std::vector<std::string> strayFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dataFolder))
            if (entry.path().filename() != "shots.csv")
                names.push_back(entry.path().filename().string());
        return names;
    }
};

TEST_F(MeasurementFile, holds_one_line_per_speed_oldest_first) {
    record({1523.4f, 2345.678f, 4000.0f});
    save();
    EXPECT_EQ(readBytes(shots()), textLines({"1523.400024", "2345.677979", "4000.000000"}));
    EXPECT_EQ(plugin().measurements.size(), 3u);
    EXPECT_EQ(host.chat().size(), 3u); // saving says nothing
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
}

TEST_F(MeasurementFile, the_report_reads_back_every_saved_speed_with_either_line_end) {
    record({1523.4f, 2345.678f, 4000.0f, 99999.99f});
    save();
    ASSERT_EQ(plugin().measurements.size(), 4u);
    std::string lf;
    for (char c : readBytes(shots()))
        if (c != '\r')
            lf += c;
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);

    for (const auto& text : {lf, crlf}) {
        std::vector<float> speeds;
        for (double speed : kickmark::parseShots(text, "shots.csv"))
            speeds.push_back(static_cast<float>(speed));
        EXPECT_EQ(speeds, plugin().measurements) << text;
    }
}

TEST_F(MeasurementFile, each_save_replaces_the_file_whatever_the_arguments) {
    writeBytes(shots(), "old content that is longer than the new\n");
    save();
    EXPECT_EQ(readBytes(shots()), "");

    record({1500.0f});
    run({"kickmark_save", "other.csv", "--append"});
    EXPECT_EQ(readBytes(shots()), textLines({"1500.000000"}));
    EXPECT_THAT(strayFiles(), testing::IsEmpty());

    run({"kickmark_reset"});
    save();
    EXPECT_EQ(readBytes(shots()), "");
}

TEST_F(MeasurementFile, a_save_leaves_the_previous_sample_alone) {
    record({});
    ball(2000, 0, 0);
    save();
    ball(2500, 0, 0); // judged against 2000: a strike
    save();
    ball(2400, 0, 0); // judged against 2500: none
    EXPECT_THAT(plugin().measurements, ElementsAre(2000.0f, 2500.0f));
}

TEST_F(MeasurementFile, a_folder_without_a_trailing_separator_gets_one) {
    record({2000.0f});
    host.setDataFolder(dataFolder.wstring());
    save();
    EXPECT_EQ(readBytes(shots()), textLines({"2000.000000"}));
}

TEST_F(MeasurementFile, an_empty_folder_text_writes_nothing_anywhere) {
    record({2000.0f});
    const auto previous = fs::current_path();
    fs::current_path(dataFolder);
    host.setDataFolder(L"");
    save();
    fs::current_path(previous);
    EXPECT_FALSE(fs::exists(shots()));
    EXPECT_EQ(plugin().measurements.size(), 1u);
}

TEST_F(MeasurementFile, a_folder_with_non_ascii_characters_works) {
    // The host hands over wide text; the test reaches the same folder through UTF-8.
    const auto folder = dataFolder / fs::path(u8"donn\u00e9es-\u65e5\u672c-\U0001F3CE");
    fs::create_directories(folder);
    host.setDataFolder((dataFolder / "").wstring() + L"donn\u00e9es-\u65e5\u672c-\U0001F3CE/");
    record({2000.0f});
    save();
    EXPECT_EQ(readBytes(folder / "shots.csv"), textLines({"2000.000000"}));
}

TEST_F(MeasurementFile, an_unusable_folder_keeps_the_list_and_says_nothing) {
    record({2000.0f, 3000.0f});
    writeBytes(dataFolder / "file", "a regular file where a folder should be");
    host.setDataFolder((dataFolder / "file" / "").wstring());
    save();
    // Text that is no path at all: a lone surrogate.
    host.setDataFolder(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"/");
    save();
    EXPECT_THAT(plugin().measurements, ElementsAre(2000.0f, 3000.0f));
    EXPECT_EQ(host.chat().size(), 2u);
    // The list is still there for a save that can succeed.
    host.setDataFolder((dataFolder / "").wstring());
    save();
    EXPECT_EQ(readBytes(shots()), textLines({"2000.000000", "3000.000000"}));
}

TEST_F(MeasurementFile, a_missing_folder_is_not_created_and_loses_nothing) {
    record({2000.0f});
    save();
    const auto previous = readBytes(shots());
    record({3000.0f});

    host.setDataFolder((dataFolder / "missing" / "").wstring());
    save();
    EXPECT_FALSE(fs::exists(dataFolder / "missing"));
    EXPECT_THAT(plugin().measurements, ElementsAre(2000.0f, 3000.0f));
    EXPECT_EQ(host.chat().size(), 2u);
    EXPECT_EQ(readBytes(shots()), previous);

    host.setDataFolder((dataFolder / "").wstring());
    save();
    EXPECT_EQ(readBytes(shots()), textLines({"2000.000000", "3000.000000"}));
}

TEST_F(MeasurementFile, a_decimal_comma_locale_does_not_reach_the_file) {
    DecimalCommaLocale comma;
    record({1523.4f, 1234567.0f});
    save();
    EXPECT_EQ(readBytes(shots()), textLines({"1523.400024", "1234567.000000"}));
}

// Read-only as the player's system marks it: mode bits without a write bit, which bind even
// the superuser here, or Windows' read-only attribute.
TEST_F(MeasurementFile, a_read_only_file_is_kept) {
    writeBytes(shots(), "kept\n");
#if defined(_WIN32)
    ASSERT_TRUE(SetFileAttributesW(shots().c_str(), FILE_ATTRIBUTE_READONLY));
#else
    fs::permissions(shots(), fs::perms(0444));
#endif
    record({1500.0f});
    save();
    EXPECT_EQ(readBytes(shots()), "kept\n");
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
    EXPECT_THAT(plugin().measurements, ElementsAre(1500.0f));
#if defined(_WIN32)
    SetFileAttributesW(shots().c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
}

#if defined(_WIN32)
// Another program holds the file open while the body runs.
void whileAnotherProgramHolds(const fs::path& file, const wchar_t* mode,
                              const std::function<void()>& body) {
    const auto signals = testFolder("signals");
    std::wstring commandLine =
        L"\"" + (pluginsdk::executableDirectory() / "hold-open.exe").wstring() + L"\" " + mode +
        L" \"" + file.wstring() + L"\" \"" + signals.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << GetLastError();
    for (int waited = 0; !fs::exists(signals / "held") && waited < 1000; ++waited)
        Sleep(10);
    const bool held = fs::exists(signals / "held");
    if (held)
        body();
    writeBytes(signals / "release", "");
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_TRUE(held) << "hold-open never held the file";
}

TEST_F(MeasurementFile, a_file_another_program_reads_is_written_in_place) {
    record({1500.0f});
    save();
    record({2000.0f});

    whileAnotherProgramHolds(shots(), L"read", [&] { save(); });

    EXPECT_EQ(readBytes(shots()), textLines({"1500.000000", "2000.000000"}));
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
}

TEST_F(MeasurementFile, a_file_another_program_bars_from_writing_is_kept_until_it_lets_go) {
    record({1500.0f});
    save();
    const auto previous = readBytes(shots());
    record({2000.0f});

    whileAnotherProgramHolds(shots(), L"deny-write", [&] { save(); });

    EXPECT_EQ(readBytes(shots()), previous);
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
    EXPECT_THAT(plugin().measurements, ElementsAre(1500.0f, 2000.0f));
    EXPECT_EQ(host.chat().size(), 2u);

    save();
    EXPECT_EQ(readBytes(shots()), textLines({"1500.000000", "2000.000000"}));
}
#else
// Clears every capability of this process: permission bits then bind root as they bind anyone.
bool dropCapabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3]{};
    return syscall(SYS_capset, &header, none) == 0;
}

// Runs the body in a child process with files capped at maxFileSize bytes (a full disk) and,
// when asked, without the superuser's power to write what permission bits forbid; fails the test
// when the body returns false. The child keeps its user, so every folder the tests reach stays
// reachable whatever TMPDIR's own permissions are.
void inChild(std::function<bool()> body, rlim_t maxFileSize = RLIM_INFINITY,
             bool unprivileged = false) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{maxFileSize, maxFileSize};
        setrlimit(RLIMIT_FSIZE, &limit);
        if (unprivileged && !dropCapabilities())
            _exit(2);
        const bool passed = body();
        _exit(passed ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the child's check failed (2: could not drop privileges)";
}

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info.st_mode;
}

// What a reader of the folder can see of a file.
struct Visible {
    std::string bytes;
    off_t size;
    timespec modified;
    ino_t inode;

    bool operator==(const Visible& other) const {
        return bytes == other.bytes && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec && inode == other.inode;
    }
};

Visible visible(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return {readBytes(path), info.st_size, info.st_mtim, info.st_ino};
}

std::vector<float> speeds(std::size_t count, float first) {
    std::vector<float> list;
    for (std::size_t i = 0; i < count; ++i)
        list.push_back(first + static_cast<float>(i));
    return list;
}

TEST_F(MeasurementFile, a_save_that_fails_changes_nothing_visible) {
    struct Case {
        const char* what;
        bool folderTakesNewFiles; // false: the file is written in place
        rlim_t maxFileSize;       // the disk is full beyond this many bytes
        std::size_t oldLines, newLines;
    };
    const Case cases[] = {
        {"swapped, the disk full at once", true, 0, 3, 100},
        {"swapped, the disk full midway", true, 64, 3, 100},
        {"in place, the disk full at once", false, 0, 3, 100},
        {"in place, the disk full mid-number", false, 41, 3, 100},
        {"in place, shorter, the disk full within the old content", false, 64, 40, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::permissions(dataFolder, fs::perms(0755));
        plugin().measurements = speeds(c.oldLines, 3000.0f);
        save();
        fs::last_write_time(shots(), fs::file_time_type::clock::now() - std::chrono::hours(24));
        fs::permissions(dataFolder, fs::perms(c.folderTakesNewFiles ? 0755 : 0555));
        const auto before = visible(shots());

        plugin().measurements = speeds(c.newLines, 2000.0f);
        inChild(
            [&] {
                save();
                return plugin().measurements.size() == c.newLines;
            },
            c.maxFileSize, true);
        EXPECT_TRUE(visible(shots()) == before) << readBytes(shots());
        EXPECT_THAT(strayFiles(), testing::IsEmpty());
    }
    fs::permissions(dataFolder, fs::perms(0755));
}

TEST_F(MeasurementFile, a_linked_file_is_written_through_the_link_which_stays_a_link) {
    const auto synced = testFolder("synced");
    writeBytes(synced / "speeds.csv", "old\n");
    fs::create_symlink(fs::relative(synced / "speeds.csv", dataFolder), shots());
    fs::permissions(synced / "speeds.csv", fs::perms(0600));
    record({1500.0f});
    save();

    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(shots())));
    EXPECT_EQ(readBytes(synced / "speeds.csv"), textLines({"1500.000000"}));
    EXPECT_EQ(modeOf(synced / "speeds.csv") & 07777, 0600u);
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
    EXPECT_EQ(std::distance(fs::directory_iterator(synced), {}), 1);
}

TEST_F(MeasurementFile, the_new_file_keeps_the_old_ones_permission_bits_and_group) {
    record({1500.0f});
    const mode_t mask = umask(022);
    umask(mask);
    save();
    EXPECT_EQ(modeOf(shots()) & 07777, 0666u & ~mask);
    for (unsigned mode : {0600u, 0640u, 0664u}) {
        fs::permissions(shots(), fs::perms(mode));
        save();
        EXPECT_EQ(modeOf(shots()) & 07777, mode);
    }
    // Only the superuser may hand a file to others; then it keeps both owner and group.
    if (geteuid() != 0)
        return;
    ASSERT_EQ(chown(shots().c_str(), 65534, 100), 0);
    save();
    struct stat info {};
    ASSERT_EQ(stat(shots().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 100u);
    EXPECT_EQ(info.st_mode & 07777, 0664u);
}

TEST_F(MeasurementFile, a_planted_temporary_is_never_opened_or_written_through) {
    const auto precious = testFolder("elsewhere") / "precious.txt";
    writeBytes(precious, "precious\n");
    fs::create_symlink(precious, dataFolder / "shots.csv.tmp");
    writeBytes(dataFolder / "shots.csv.0-0.tmp", "stale\n");
    record({1500.0f});
    save();

    EXPECT_EQ(readBytes(precious), "precious\n");
    EXPECT_EQ(readBytes(dataFolder / "shots.csv.0-0.tmp"), "stale\n");
    EXPECT_EQ(readBytes(shots()), textLines({"1500.000000"}));
    EXPECT_THAT(strayFiles(), testing::UnorderedElementsAre("shots.csv.tmp", "shots.csv.0-0.tmp"));
}

TEST_F(MeasurementFile, two_hosts_saving_at_once_never_mix_and_a_reader_sees_a_whole_file) {
    record({1500.0f, 2500.0f});
    save();
    const auto ours = readBytes(shots());
    const auto theirs = textLines({"3000.000000", "3100.000000", "3200.000000"});

    // The other host: the same module in a child process, saving other speeds meanwhile.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        plugin().measurements = {3000.0f, 3100.0f, 3200.0f};
        for (int i = 0; i < 200; ++i)
            save();
        _exit(0);
    }
    int mixed = 0;
    for (int i = 0; i < 200; ++i) {
        save();
        const auto seen = readBytes(shots());
        mixed += seen != ours && seen != theirs;
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(mixed, 0);
    const auto last = readBytes(shots());
    EXPECT_TRUE(last == ours || last == theirs) << last;
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
}

TEST_F(MeasurementFile, a_folder_that_takes_no_new_file_gets_the_file_written_in_place) {
    writeBytes(shots(), "old content, longer than the new\n");
    fs::permissions(shots(), fs::perms(0666));
    fs::permissions(dataFolder, fs::perms(0555));
    const auto inode = visible(shots()).inode;
    record({1500.0f});
    inChild([&] { return save(), true; }, RLIM_INFINITY, true);
    fs::permissions(dataFolder, fs::perms(0755));
    EXPECT_EQ(readBytes(shots()), textLines({"1500.000000"}));
    EXPECT_EQ(visible(shots()).inode, inode);
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
}

TEST_F(MeasurementFile, a_chain_of_links_is_followed_as_far_as_the_system_follows_one) {
    const auto chain = testFolder("chain");
    // shots.csv itself is the first link of the chain.
    for (int links : {1, 40, 41}) {
        SCOPED_TRACE(links);
        fs::remove(shots());
        writeBytes(chain / "target.csv", "old\n");
        fs::path next = chain / "target.csv";
        for (int i = 1; i < links; ++i) {
            const auto link = chain / ("link" + std::to_string(i));
            fs::remove(link);
            fs::create_symlink(next, link);
            next = link;
        }
        fs::create_symlink(next, shots());
        plugin().measurements = {1500.0f};
        save();
        EXPECT_EQ(readBytes(chain / "target.csv"),
                  links <= 40 ? textLines({"1500.000000"}) : "old\n");
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(shots())));
    }
    // A loop is refused the same way.
    fs::remove(shots());
    fs::create_symlink("loop", shots());
    fs::create_symlink("shots.csv", dataFolder / "loop");
    save();
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(shots())));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dataFolder / "loop")));
    EXPECT_THAT(plugin().measurements, ElementsAre(1500.0f));
}

// Where the usual temporary's name would pass the system's limits, a shorter one keeps the
// save a swap: the file gets a new inode, which a write in place would not give it.
TEST_F(MeasurementFile, a_long_path_is_still_replaced_whole) {
    fs::path deep = dataFolder;
    while (deep.native().size() < 4080 - 201)
        deep /= std::string(200, 'd');
    deep /= std::string(4080 - deep.native().size() - 1, 'e');
    ASSERT_EQ(deep.native().size(), 4080u);
    fs::create_directories(deep);
    const auto longName = dataFolder / (std::string(240, 'x') + ".csv");
    fs::create_symlink(longName.filename(), shots());

    struct Case {
        const char* what;
        fs::path folder, file;
    };
    for (const auto& c : {Case{"a folder of 4080 characters", deep, deep / "shots.csv"},
                          Case{"a link to a name of 244 characters", dataFolder, longName}}) {
        SCOPED_TRACE(c.what);
        writeBytes(c.file, "old\n");
        const auto inode = visible(c.file).inode;
        host.setDataFolder((c.folder / "").wstring());
        plugin().measurements = {1500.0f};
        save();
        EXPECT_EQ(readBytes(c.file), textLines({"1500.000000"}));
        EXPECT_NE(visible(c.file).inode, inode);
        EXPECT_EQ(std::distance(fs::directory_iterator(c.folder), {}), c.folder == deep ? 1 : 3);
    }
}

TEST_F(MeasurementFile, temporaries_that_cut_saves_left_are_removed_once_abandoned) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(2);
    const auto fresh = fs::file_time_type::clock::now() - std::chrono::minutes(10);
    struct Case {
        const char* name;
        fs::file_time_type written;
        bool removed;
    };
    const Case cases[] = {
        {"shots.csv.4242-123456789.tmp", old, true},
        {"~km0a1b2c", old, false},                      // another program's, for all this one knows
        {"shots.csv.4242-123456790.tmp", fresh, false}, // a save that may still be running
        {"shots.csv.backup.tmp", old, false},
        {"other.csv.4242-1.tmp", old, false},
        {"~km0A1B2C", old, false},
    };
    for (const auto& c : cases) {
        writeBytes(dataFolder / c.name, "left\n");
        fs::last_write_time(dataFolder / c.name, c.written);
    }
    record({1500.0f});
    save();
    for (const auto& c : cases)
        EXPECT_EQ(fs::exists(dataFolder / c.name), !c.removed) << c.name;
    EXPECT_EQ(readBytes(shots()), textLines({"1500.000000"}));
}
#endif

} // namespace
