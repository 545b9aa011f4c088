#include "FileReplacement.h"
#include "KeepFolder.h"
#include "KeptName.h"
#include "SessionFiles.h"
#include "TestFiles.h"
#include "UtcTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using namespace kickmark;
namespace fs = std::filesystem;

namespace {

class Sessions : public ScratchFolder {
protected:
    // 2026-12-DAY 18:MINUTE:SECOND UTC
    static files::FileTime at(int day, int minute, int second = 0) {
        using namespace std::chrono;
        const sys_days date = year(2026) / December / day;
        const auto time = date + hours(18) + minutes(minute) + seconds(second);
        return {time.time_since_epoch().count(), 0};
    }

    fs::path session(const std::string& name, const std::string& text, files::FileTime time) {
        const fs::path path = folder_ / name;
        fs::create_directories(path.parent_path());
        EXPECT_FALSE(files::createFile(path, text, time)) << path;
        return path;
    }

    static std::vector<std::string> names(const std::vector<SessionFile>& files) {
        std::vector<std::string> result;
        for (const auto& file : files) {
            result.push_back(file.path.filename().string());
        }
        return result;
    }

    static std::vector<SessionFile> read(const std::vector<fs::path>& paths) {
        return readSessionFiles(findSessionFiles(paths), LineEnd::optional);
    }
};

} // namespace

TEST_F(Sessions, happen_in_the_order_of_their_times_then_of_their_names) {
    session("in/late.csv", "1\n", at(3, 0));
    session("in/early.CSV", "1\n", at(1, 0));
    session("in/notes.txt", "1\n", at(2, 0));
    session("in/tie-b.csv", "1\n", at(2, 0));
    session("in/tie-a.csv", "1\n", at(2, 0));
    // Kept copies of one second, named as keeping names them.
    session("in/2026-12-02-190000-10.csv", "1\n", at(2, 60));
    session("in/2026-12-02-190000-2.csv", "1\n", at(2, 60));
    session("in/2026-12-02-190000.csv", "1\n", at(2, 60));
    const fs::path single = session("single.csv", "1\n", at(2, 30));
    EXPECT_EQ(names(read({(folder_ / "in").string(), single.string()})),
              (std::vector<std::string>{"early.CSV", "tie-a.csv", "tie-b.csv", "single.csv",
                                        "2026-12-02-190000.csv", "2026-12-02-190000-2.csv",
                                        "2026-12-02-190000-10.csv", "late.csv"}));
}

TEST_F(Sessions, a_file_is_one_session_whatever_names_lead_to_it) {
    const fs::path file = session("in/a.csv", "1\n", at(1, 0));
    fs::create_hard_link(file, folder_ / "hard.csv");
    std::vector<fs::path> paths = {(folder_ / "in").string(), file.string(),
                                   (folder_ / "in" / ".." / "in" / "a.csv").string(),
                                   (folder_ / "hard.csv").string()};
#ifndef _WIN32
    fs::create_symlink(file, folder_ / "link.csv");
    paths.push_back((folder_ / "link.csv").string());
#endif
    const auto files = read(paths);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].path, file);
}

TEST_F(Sessions, are_labelled_with_their_name_and_utc_time) {
    const fs::path file = session("x.csv", "1500\n2500\n", at(7, 5));
    const auto sessions = sessionsOf(read({file.string()}));
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].name, "x.csv");
    EXPECT_EQ(sessions[0].date, "2026-12-07 18:05");
    EXPECT_EQ(sessions[0].speeds, (std::vector{1500.0, 2500.0}));
}

TEST(UtcTimeText, names_every_time_the_system_can_give) {
    const struct {
        std::int64_t seconds;
        std::string text;
    } cases[] = {
        {0, "1970-01-01 00:00:00"},
        {-1, "1969-12-31 23:59:59"},
        {951782400, "2000-02-29 00:00:00"},
        // The last second that 64-bit nanoseconds since 1970 hold, and the next.
        {9223372036, "2262-04-11 23:47:16"},
        {9223372037, "2262-04-11 23:47:17"},
        {253402300800, "10000-01-01 00:00:00"},
        {std::numeric_limits<std::int64_t>::max(), "292277026596-12-04 15:30:07"},
        {std::numeric_limits<std::int64_t>::min(), "-292277022657-01-27 08:29:52"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(utcTimeText({seconds, 0}, TimeText::seconds), text) << seconds;
    }
    EXPECT_EQ(utcTimeText({951782400 + 3723, 999999999}, TimeText::minutes), "2000-02-29 01:02");
    EXPECT_EQ(utcTimeText({951782400 + 3723, 0}, TimeText::name), "2000-02-29-010203");
}

TEST_F(Sessions, a_kept_copy_is_named_after_its_time_and_keeps_it) {
    EXPECT_EQ(keptName(at(8, 4, 9), 1), "2026-12-08-180409.csv");
    EXPECT_EQ(keptName(at(8, 4), 3), "2026-12-08-180400-3.csv");

    const fs::path shots = session("data/shots.csv", "1500.000000\n", at(8, 4));
    const fs::path copy = folder_ / "kept" / "2026-12-08-180400.csv";
    KeepFolder folder(folder_ / "kept");
    EXPECT_EQ(folder.keep(read({shots.string()})),
              "kept " + shots.string() + " as " + copy.string() + "\n");
    folder.commit();
    EXPECT_EQ(readBytes(copy), "1500.000000\n");
    files::FileStatus status;
    ASSERT_FALSE(files::fileStatus(copy, status));
    EXPECT_EQ(status.modified, at(8, 4));
}

TEST_F(Sessions, the_same_session_is_kept_once_whatever_its_name) {
    const fs::path shots = session("data/shots.csv", "1500.000000\n", at(8, 4));
    session("kept/renamed.csv", "1500.000000\n", at(1, 0));
    KeepFolder folder(folder_ / "kept");
    EXPECT_EQ(folder.keep(read({shots.string()})), shots.string() + " is kept already as " +
                                                       (folder_ / "kept" / "renamed.csv").string() +
                                                       "\n");
    EXPECT_EQ(names(folder.takeSessions()), std::vector<std::string>{"renamed.csv"});
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "kept"), fs::directory_iterator()), 1);
}

TEST_F(Sessions, another_session_with_the_same_time_gets_a_new_name_and_replaces_nothing) {
    const fs::path taken = session("kept/2026-12-08-180400.csv", "1000.000000\n", at(8, 4));
    const fs::path shots = session("data/shots.csv", "2000.000000\n", at(8, 4));
    KeepFolder folder(folder_ / "kept");
    folder.keep(read({shots.string()}));
    folder.commit();
    EXPECT_EQ(names(folder.takeSessions()),
              (std::vector<std::string>{"2026-12-08-180400.csv", "2026-12-08-180400-2.csv"}));
    EXPECT_EQ(readBytes(taken), "1000.000000\n");
    EXPECT_EQ(readBytes(folder_ / "kept" / "2026-12-08-180400-2.csv"), "2000.000000\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_ / "kept"), fs::directory_iterator()), 2);
}

TEST_F(Sessions, a_kept_copy_goes_by_the_time_in_its_name_whatever_its_file_time) {
    // A copied or unzipped history: every file dated when it was copied, in any order.
    session("kept/2026-12-01-180000.csv", "1\n", at(9, 3));
    session("kept/2026-12-02-180000-2.csv", "2\n", at(9, 1));
    session("kept/2026-12-02-180000.csv", "3\n", at(9, 2));
    session("kept/2026-12-03-180000.csv", "4\n", at(1, 0));
    // Other files go by their modification time.
    session("kept/summer.csv", "5\n", at(1, 30));
    const auto files = read({(folder_ / "kept").string()});
    EXPECT_EQ(names(files), (std::vector<std::string>{
                                "2026-12-01-180000.csv", "summer.csv", "2026-12-02-180000.csv",
                                "2026-12-02-180000-2.csv", "2026-12-03-180000.csv"}));
    const auto sessions = sessionsOf(files);
    EXPECT_EQ(sessions.front().date, "2026-12-01 18:00");
    EXPECT_EQ(sessions.back().date, "2026-12-03 18:00");
}
