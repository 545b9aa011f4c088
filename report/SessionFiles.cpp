#include "SessionFiles.h"

#include "ShotsFile.h"

#include <algorithm>
#include <chrono>
#include <set>
#include <system_error>

namespace kickmark {
namespace fs = std::filesystem;
namespace {

bool isCsv(const fs::path& path) {
    std::string extension = path.extension().string();
    std::ranges::transform(extension, extension.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return extension == ".csv";
}

[[noreturn]] void cannotOpen(const fs::path& path, const std::error_code& error) {
    throw CannotRead("cannot open " + path.string() + ": " + error.message());
}

fs::file_time_type modified(const fs::path& path) {
    std::error_code error;
    const auto time = fs::last_write_time(path, error);
    if (error) {
        cannotOpen(path, error);
    }
    return time;
}

void addFolder(const fs::path& folder, std::vector<SessionFile>& files) {
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code ignored;
        if (isCsv(entries->path()) && entries->is_regular_file(ignored)) {
            files.push_back({entries->path(), modified(entries->path())});
        }
    }
    if (error) {
        cannotOpen(folder, error);
    }
}

// The same file under another spelling or through a link has the same canonical path.
fs::path identity(const fs::path& path) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(path, error);
    return error ? path : canonical;
}

std::string twoDigits(unsigned value) {
    return {char('0' + value / 10 % 10), char('0' + value % 10)};
}

} // namespace

std::vector<SessionFile> findSessionFiles(std::span<const std::string> paths) {
    std::vector<SessionFile> found;
    for (const auto& text : paths) {
        const fs::path path(text);
        std::error_code error;
        const auto status = fs::status(path, error);
        if (error) {
            cannotOpen(path, error);
        }
        if (fs::is_directory(status)) {
            addFolder(path, found);
        } else {
            found.push_back({path, modified(path)});
        }
    }
    std::vector<SessionFile> files;
    std::set<fs::path> seen;
    for (auto& file : found) {
        if (seen.insert(identity(file.path)).second) {
            files.push_back(std::move(file));
        }
    }
    std::ranges::sort(files, [](const SessionFile& a, const SessionFile& b) {
        return a.modified != b.modified ? a.modified < b.modified : a.path < b.path;
    });
    return files;
}

std::vector<Session> readSessions(std::span<const SessionFile> files) {
    std::vector<Session> sessions;
    for (const auto& file : files) {
        sessions.push_back({
            .name = file.path.filename().string(),
            .date = utcTimeText(file.modified).substr(0, 16),
            .speeds = readShots(file.path.string()),
        });
    }
    return sessions;
}

std::string utcTimeText(fs::file_time_type time) {
    using namespace std::chrono;
    const auto system = time_point_cast<seconds>(file_clock::to_sys(time));
    const auto day = floor<days>(system);
    const year_month_day date(day);
    const hh_mm_ss clock(system - day);
    return std::to_string(static_cast<int>(date.year())) + "-" +
           twoDigits(static_cast<unsigned>(date.month())) + "-" +
           twoDigits(static_cast<unsigned>(date.day())) + " " +
           twoDigits(static_cast<unsigned>(clock.hours().count())) + ":" +
           twoDigits(static_cast<unsigned>(clock.minutes().count())) + ":" +
           twoDigits(static_cast<unsigned>(clock.seconds().count()));
}

} // namespace kickmark
