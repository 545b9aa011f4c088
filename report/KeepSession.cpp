#include "KeepSession.h"

#include "FileReplacement.h"
#include "SessionFiles.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace kickmark {
namespace fs = std::filesystem;
namespace {

std::string readBytes(const fs::path& path, std::error_code& error) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (in) {
        bytes << in.rdbuf();
    }
    if (!in || in.bad()) {
        error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
    }
    return bytes.str();
}

} // namespace

fs::path keptName(fs::file_time_type modified, int attempt) {
    std::string name = utcTimeText(modified);
    name[10] = '-';
    std::erase(name, ':');
    if (attempt > 1) {
        name += '-';
        name += std::to_string(attempt);
    }
    return name + ".csv";
}

Kept keepSession(const fs::path& shots, const fs::path& folder) {
    const auto fail = [&](const std::string& reason) -> Kept {
        throw CannotKeep("cannot keep " + shots.string() + " in " + folder.string() + ": " +
                         reason);
    };
    std::error_code error;
    const auto modified = fs::last_write_time(shots, error);
    const std::string bytes = error ? std::string() : readBytes(shots, error);
    if (error) {
        return fail(error.message());
    }
    fs::create_directories(folder, error);
    if (error) {
        return fail(error.message());
    }
    const std::string folderText = folder.string();
    for (const auto& file : findSessionFiles(std::span(&folderText, 1))) {
        std::error_code unreadable;
        if (fs::file_size(file.path, unreadable) == bytes.size() &&
            readBytes(file.path, unreadable) == bytes && !unreadable) {
            return {file.path, false};
        }
    }
    for (int attempt = 1;; ++attempt) {
        const fs::path target = folder / keptName(modified, attempt);
        error = files::createFile(target, bytes);
        if (!error) {
            // Sessions are ordered by modification time: the copy keeps the session's.
            fs::last_write_time(target, modified, error);
            return {target, true};
        }
        if (error != std::errc::file_exists) {
            return fail(error.message());
        }
    }
}

} // namespace kickmark
