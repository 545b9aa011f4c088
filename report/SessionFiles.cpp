#include "SessionFiles.h"

#include "KeptName.h"
#include "PathText.h"
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
        throw CannotRead("cannot open " + text::visiblePath(folder) + ": " + error.message());
    }
    std::ranges::sort(found);
    files.insert(files.end(), found.begin(), found.end());
}

} // namespace

std::vector<fs::path> findSessionFiles(std::span<const fs::path> paths) {
    std::vector<fs::path> files;
    for (const auto& path : paths) {
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

std::vector<SessionFile> readSessionFiles(std::span<const fs::path> paths, LineEnd lineEnd,
                                          std::vector<std::string>* refused) {
    std::vector<SessionFile> read = readSettled(paths, lineEnd, refused);
    std::vector<SessionFile> files;
    std::set<files::FileId> seen;
    for (auto& file : read) {
        if (!seen.insert(file.status.id).second) {
            continue;
        }
        try {
            file.speeds = parseShots(file.bytes, text::visiblePath(file.path));
        } catch (const NotASpeed& error) {
            if (!refused) {
                throw;
            }
            refused->push_back(error.what());
            continue;
        }
        file.time = sessionTime(file.path, file.status.modified);
        files.push_back(std::move(file));
    }
    std::ranges::sort(files, happenedBefore);
    return files;
}

Session sessionOf(SessionFile file) {
    return {
        .name = text::utf8Path(file.path.filename()),
        .date = utcTimeText(file.time, TimeText::minutes),
        .speeds = std::move(file.speeds),
        .time = file.time.seconds,
    };
}

std::vector<Session> sessionsOf(std::vector<SessionFile> files) {
    std::vector<Session> sessions;
    sessions.reserve(files.size());
    for (auto& file : files) {
        sessions.push_back(sessionOf(std::move(file)));
    }
    return sessions;
}

} // namespace kickmark
