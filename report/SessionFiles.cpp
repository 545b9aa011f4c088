#include "SessionFiles.h"

#include "SessionOrder.h"
#include "ShotsFile.h"
#include "UtcTime.h"

#include <algorithm>
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

// A folder's other entries, pipes and devices named .csv included, are not sessions.
void addFolder(const fs::path& folder, std::vector<fs::path>& files) {
    std::vector<fs::path> found;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code ignored;
        if (isCsv(entries->path()) && entries->is_regular_file(ignored)) {
            found.push_back(entries->path());
        }
    }
    if (error) {
        throw CannotRead("cannot open " + folder.string() + ": " + error.message());
    }
    std::ranges::sort(found);
    files.insert(files.end(), found.begin(), found.end());
}

} // namespace

std::vector<fs::path> findSessionFiles(std::span<const std::string> paths) {
    std::vector<fs::path> files;
    for (const auto& text : paths) {
        const fs::path path(text);
        // Anything but a folder is for reading to refuse, with its reason: missing, a device...
        std::error_code ignored;
        if (fs::is_directory(path, ignored)) {
            addFolder(path, files);
        } else {
            files.push_back(path);
        }
    }
    return files;
}

std::vector<SessionFile> readSessionFiles(std::span<const fs::path> paths, LineEnd lineEnd) {
    std::vector<SessionFile> read = readSettled(paths, lineEnd);
    std::vector<SessionFile> files;
    std::set<files::FileId> seen;
    for (auto& file : read) {
        if (seen.insert(file.status.id).second) {
            file.speeds = parseShots(file.bytes, file.path.string());
            files.push_back(std::move(file));
        }
    }
    std::ranges::sort(files, happenedBefore);
    return files;
}

std::vector<Session> sessionsOf(std::vector<SessionFile> files) {
    std::vector<Session> sessions;
    sessions.reserve(files.size());
    for (auto& file : files) {
        sessions.push_back({
            .name = file.path.filename().string(),
            .date = utcTimeText(file.status.modified, TimeText::minutes),
            .speeds = std::move(file.speeds),
            .time = file.status.modified.seconds,
        });
    }
    return sessions;
}

} // namespace kickmark
