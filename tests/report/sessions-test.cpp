#include "KeepSession.h"
#include "SessionFiles.h"
#include "ShotsFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace kickmark;
namespace fs = std::filesystem;

namespace {

class Sessions : public ScratchFolder {
protected:
    // 2026-12-0DAY 18:MINUTE:00 UTC
    static fs::file_time_type at(int day, int minute) {
        using namespace std::chrono;
        const sys_days date = year(2026) / December / day;
        return file_clock::from_sys(time_point_cast<seconds>(date + hours(18) + minutes(minute)));
    }

    fs::path session(const std::string& name, const std::string& text, fs::file_time_type time) {
        const fs::path path = folder_ / name;
        fs::create_directories(path.parent_path());
        writeFile(path, text);
        fs::last_write_time(path, time);
        return path;
    }

    std::vector<std::string> names(const std::vector<SessionFile>& files) {
        std::vector<std::string> result;
        for (const auto& file : files) {
            result.push_back(file.path.filename().string());
        }
        return result;
    }
};

} // namespace

TEST_F(Sessions, are_ordered_oldest_first_with_folders_giving_their_csv_files) {
    session("in/late.csv", "1\n", at(3, 0));
    session("in/early.CSV", "1\n", at(1, 0));
    session("in/notes.txt", "1\n", at(2, 0));
    session("in/tie-b.csv", "1\n", at(2, 0));
    session("in/tie-a.csv", "1\n", at(2, 0));
    const fs::path single = session("single.csv", "1\n", at(2, 30));
    const std::vector<std::string> paths = {(folder_ / "in").string(), single.string()};
    EXPECT_EQ(names(findSessionFiles(paths)),
              (std::vector<std::string>{"early.CSV", "tie-a.csv", "tie-b.csv", "single.csv",
                                        "late.csv"}));
}

TEST_F(Sessions, a_file_named_twice_under_any_spelling_is_one_session) {
    const fs::path file = session("in/a.csv", "1\n", at(1, 0));
    const std::vector<std::string> paths = {(folder_ / "in").string(), file.string(),
                                            (folder_ / "in" / ".." / "in" / "a.csv").string()};
    EXPECT_EQ(findSessionFiles(paths).size(), 1u);
}

TEST_F(Sessions, are_labelled_with_their_name_and_utc_time) {
    const fs::path file = session("x.csv", "1500\n2500\n", at(7, 5));
    const auto sessions = readSessions(findSessionFiles(std::vector{file.string()}));
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].name, "x.csv");
    EXPECT_EQ(sessions[0].date, "2026-12-07 18:05");
    EXPECT_EQ(sessions[0].speeds, (std::vector{1500.0, 2500.0}));
}

TEST_F(Sessions, a_kept_copy_is_named_after_its_time_and_keeps_it) {
    EXPECT_EQ(keptName(at(8, 4) + std::chrono::seconds(9), 1), "2026-12-08-180409.csv");
    EXPECT_EQ(keptName(at(8, 4), 3), "2026-12-08-180400-3.csv");

    const fs::path shots = session("data/shots.csv", "1500.000000\n", at(8, 4));
    const Kept kept = keepSession(shots, folder_ / "kept");
    EXPECT_TRUE(kept.copied);
    EXPECT_EQ(kept.path, folder_ / "kept" / "2026-12-08-180400.csv");
    EXPECT_EQ(readFile(kept.path), "1500.000000\n");
    EXPECT_EQ(fs::last_write_time(kept.path), at(8, 4));
}

TEST_F(Sessions, the_same_session_is_kept_once_whatever_its_name) {
    const fs::path shots = session("data/shots.csv", "1500.000000\n", at(8, 4));
    session("kept/renamed.csv", "1500.000000\n", at(1, 0));
    const Kept kept = keepSession(shots, folder_ / "kept");
    EXPECT_FALSE(kept.copied);
    EXPECT_EQ(kept.path.filename(), "renamed.csv");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "kept"), fs::directory_iterator()), 1);
}

TEST_F(Sessions, another_session_with_the_same_time_gets_a_new_name_and_replaces_nothing) {
    const fs::path taken = session("kept/2026-12-08-180400.csv", "1000.000000\n", at(8, 4));
    const fs::path shots = session("data/shots.csv", "2000.000000\n", at(8, 4));
    const Kept kept = keepSession(shots, folder_ / "kept");
    EXPECT_TRUE(kept.copied);
    EXPECT_EQ(kept.path.filename(), "2026-12-08-180400-2.csv");
    EXPECT_EQ(readFile(taken), "1000.000000\n");
    EXPECT_EQ(readFile(kept.path), "2000.000000\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "kept"), fs::directory_iterator()), 2);
}
