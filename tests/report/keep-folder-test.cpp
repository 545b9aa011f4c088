#include "FileReplacement.h"
#include "KeepFolder.h"
#include "KeptName.h"
#include "PathText.h"
#include "SessionFiles.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace kickmark;
namespace fs = std::filesystem;

namespace {

// 2026-12-08 18:MINUTE:00 UTC
files::FileTime at(int minute) {
    return {1796752800 + 60 * std::int64_t{minute}, 0};
}

class KeepingSaves : public ScratchFolder {
protected:
    // The player's shots.csv as a save leaves it, read as --keep reads it.
    SessionFile save(const std::string& bytes, files::FileTime time) {
        const fs::path shots = folder_ / "data" / "shots.csv";
        fs::create_directories(shots.parent_path());
        fs::remove(shots);
        EXPECT_FALSE(files::createFile(shots, bytes, time));
        return std::move(readSessionFiles(std::vector{shots}, LineEnd::required).front());
    }

    std::map<std::string, std::string> kept() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(folder_ / "kept")) {
            files[entry.path().filename().string()] = readBytes(entry.path());
        }
        return files;
    }

    fs::path keptFolder() const { return folder_ / "kept"; }
};

} // namespace

TEST(KeptName, gives_back_the_time_keeping_wrote_and_no_other_name_does) {
    const struct {
        std::string name;
        std::optional<std::int64_t> seconds;
    } cases[] = {
        {"2026-12-08-180409.csv", 1796752800 + 249},
        {"2026-12-08-180409-2.csv", 1796752800 + 249},
        {"2026-12-08-180409-17.csv", 1796752800 + 249},
        {"2000-02-29-000000.csv", 951782400},
        {"10000-01-01-000000.csv", 253402300800},
        {"1969-12-31-235959.csv", -1},
        {"2026-12-08-180409-1.csv", std::nullopt},
        {"2026-12-08-180409-02.csv", std::nullopt},
        {"2026-12-08-180409.CSV", std::nullopt},
        {"2026-12-08-180409.csv.txt", std::nullopt},
        {"2026-02-29-000000.csv", std::nullopt},
        {"2026-12-08-240000.csv", std::nullopt},
        {"2026-12-08-1804.csv", std::nullopt},
        {"02026-12-08-180409.csv", std::nullopt},
        {"2026-12-08 180409.csv", std::nullopt},
        {"summary.csv", std::nullopt},
        {"99999999999999999-01-01-000000.csv", std::nullopt},
    };
    for (const auto& [name, seconds] : cases) {
        const auto time = timeOfKeptName(fs::path("kept") / name);
        EXPECT_EQ(time.has_value(), seconds.has_value()) << name;
        if (time && seconds) {
            EXPECT_EQ(time->seconds, *seconds) << name;
        }
    }
    for (const std::int64_t seconds : {std::int64_t{0}, std::int64_t{9223372036854775807},
                                       std::int64_t{-9223372036854775807 - 1}}) {
        EXPECT_EQ(timeOfKeptName(keptName({seconds, 0}, 3)), (files::FileTime{seconds, 0}));
    }
}

TEST_F(KeepingSaves, a_session_is_kept_once_and_a_continued_one_takes_its_copys_place) {
    const std::string midway = "1500.000000\n";
    const std::string end = midway + "2500.000000\n";
    const std::string next = "1800.000000\n";
    KeepFolder folder(keptFolder());
    EXPECT_EQ(folder.keep(save(midway, at(0))),
              "kept " + text::visiblePath(folder_ / "data" / "shots.csv") + " as " +
                  text::visiblePath(keptFolder() / "2026-12-08-180000.csv") + "\n");
    EXPECT_NE(folder.keep(save(end, at(30))).find(", in place of the copy it continues"),
              std::string::npos);
    EXPECT_NE(folder.keep(save(end, at(30))).find(" is kept already as "), std::string::npos);
    EXPECT_EQ(folder.keep(save("", at(35))), "");
    folder.keep(save(next, at(40)));
    // A save that begins with an older session whole is no continuation of the last one.
    folder.keep(save(end + "3000.000000\n", at(50)));
    folder.commit();
    EXPECT_EQ(kept(), (std::map<std::string, std::string>{
                          {"2026-12-08-180000.csv", end},
                          {"2026-12-08-184000.csv", next},
                          {"2026-12-08-185000.csv", end + "3000.000000\n"},
                      }));
    ASSERT_EQ(folder.sessions().size(), 3u);
    EXPECT_EQ(folder.sessions().front()->bytes, end);
    EXPECT_EQ(folder.sessions().front()->speeds, (std::vector{1500.0, 2500.0}));

    // A later run goes by the folder alone.
    KeepFolder again(keptFolder());
    again.keep(save(end + "3000.000000\n4000.000000\n", at(55)));
    again.commit();
    EXPECT_EQ(kept().size(), 3u);
    EXPECT_EQ(kept()["2026-12-08-185000.csv"], end + "3000.000000\n4000.000000\n");
}

TEST_F(KeepingSaves, a_run_that_fails_puts_a_continued_copy_back) {
    {
        KeepFolder folder(keptFolder());
        folder.keep(save("1500.000000\n", at(0)));
        folder.commit();
    }
    {
        KeepFolder folder(keptFolder());
        folder.keep(save("1500.000000\n2500.000000\n", at(1)));
    }
    EXPECT_EQ(kept(),
              (std::map<std::string, std::string>{{"2026-12-08-180000.csv", "1500.000000\n"}}));
}

TEST_F(KeepingSaves, two_keeps_at_once_keep_each_session_once) {
    const std::string midway = "1500.000000\n";
    const std::string end = midway + "2500.000000\n";
    {
        // Both looked the folder over before either kept the save.
        KeepFolder watcher(keptFolder());
        KeepFolder byHand(keptFolder());
        EXPECT_NE(watcher.keep(save(midway, at(0))).find("kept "), std::string::npos);
        EXPECT_NE(byHand.keep(save(midway, at(0))).find(" is kept already as "), std::string::npos);
        watcher.commit();
        byHand.commit();
    }
    EXPECT_EQ(kept().size(), 1u);
    {
        // One of them kept the end of the session; the other, behind, never puts the copy
        // back to the midway save, nor keeps the session twice.
        KeepFolder watcher(keptFolder());
        KeepFolder byHand(keptFolder());
        watcher.keep(save(end + "3000.000000\n", at(40)));
        byHand.keep(save(midway, at(0)));
        EXPECT_NE(byHand.keep(save(end, at(30))).find(" is kept already as "), std::string::npos);
        watcher.commit();
        byHand.commit();
    }
    EXPECT_EQ(kept(), (std::map<std::string, std::string>{
                          {"2026-12-08-180000.csv", end + "3000.000000\n"}}));
}

TEST_F(KeepingSaves, files_in_the_folder_that_are_no_session_are_left_out_and_left_alone) {
    fs::create_directories(keptFolder());
    writeBytes(keptFolder() / "summary.csv", "date,fastest\n2026-12-01,4000\n");
    writeBytes(keptFolder() / "2026-12-01-180000.csv", "1000.000000\n");
    KeepFolder folder(keptFolder());
    ASSERT_EQ(folder.leftOut().size(), 1u);
    EXPECT_EQ(folder.leftOut().front(),
              "left out, not a session: " + text::visiblePath(keptFolder() / "summary.csv") +
                  ":1: not a speed: date,fastest");
    folder.keep(save("1500.000000\n", at(0)));
    folder.commit();
    EXPECT_EQ(folder.sessions().size(), 2u);
    EXPECT_EQ(kept().size(), 3u);
    EXPECT_EQ(kept()["summary.csv"], "date,fastest\n2026-12-01,4000\n");
}
