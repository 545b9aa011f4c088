// "kickmark_save": what lands in "shots.csv", and that a failed save loses nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "DecimalCommaLocale.h"
#include "Files.h"
#include "PluginHost.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
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

TEST_F(MeasurementFile, each_save_replaces_the_file_whatever_the_arguments) {
    writeBytes(shots(), "old content that is longer than the new\n");
    save();
    EXPECT_EQ(readBytes(shots()), "");

    record({1500.0f});
    run({"kickmark_save", "other.csv", "--append"});
    run({"kickmark_save"});
    EXPECT_EQ(readBytes(shots()), textLines({"1500.000000"}));

    run({"kickmark_reset"});
    save();
    EXPECT_EQ(readBytes(shots()), "");
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

#if defined(_WIN32)
TEST_F(MeasurementFile, a_file_another_program_holds_open_is_kept_until_it_lets_go) {
    record({1500.0f});
    save();
    const auto previous = readBytes(shots());
    record({2000.0f});

    // Opened the way a spreadsheet opens it: others may read and write, but not delete it or
    // rename another file over it.
    HANDLE held = CreateFileW(shots().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    save();
    CloseHandle(held);

    EXPECT_EQ(readBytes(shots()), previous);
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
    EXPECT_THAT(plugin().measurements, ElementsAre(1500.0f, 2000.0f));
    EXPECT_EQ(host.chat().size(), 2u);

    save();
    EXPECT_EQ(readBytes(shots()), textLines({"1500.000000", "2000.000000"}));
}
#else
TEST_F(MeasurementFile, a_write_that_fails_midway_keeps_the_previous_file) {
    record({1500.0f});
    save();
    const auto previous = readBytes(shots());
    for (int i = 0; i < 100; ++i)
        record({2000.0f + i});

    // A child process whose files may not grow past 64 bytes: the save fails in the middle
    // of writing, like a full disk.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        save();
        const bool listKept = plugin().measurements.size() == 101;
        _exit(listKept ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the list changed";
    EXPECT_EQ(readBytes(shots()), previous);
    EXPECT_THAT(strayFiles(), testing::IsEmpty());
}
#endif

} // namespace
