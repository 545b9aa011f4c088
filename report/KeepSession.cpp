#include "KeepSession.h"

#include "FileOutput.h"
#include "SessionFiles.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace kickmark {
namespace fs = std::filesystem;
namespace {

std::string read_bytes(const fs::path& path, std::error_code& error) {
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

fs::path kept_name(fs::file_time_type modified, int attempt) {
    std::string name = utc_time_text(modified);
    name[10] = '-';
    std::erase(name, ':');
    if (attempt > 1) {
        name += '-';
        name += std::to_string(attempt);
    }
    return name + ".csv";
}

Kept keep_session(const fs::path& shots, const fs::path& folder) {
    const auto fail = [&](const std::string& reason) -> Kept {
        throw CannotKeep("cannot keep " + shots.string() + " in " + folder.string() + ": " +
                         reason);
    };
    std::error_code error;
    const auto modified = fs::last_write_time(shots, error);
    const std::string bytes = error ? std::string() : read_bytes(shots, error);
    if (error) {
        return fail(error.message());
    }
    fs::create_directories(folder, error);
    if (error) {
        return fail(error.message());
    }
    const std::string folder_text = folder.string();
    for (const auto& file : find_session_files(std::span(&folder_text, 1))) {
        std::error_code unreadable;
        if (fs::file_size(file.path, unreadable) == bytes.size() &&
            read_bytes(file.path, unreadable) == bytes && !unreadable) {
            return {file.path, false};
        }
    }
    try {
        for (int attempt = 1;; ++attempt) {
            const fs::path target = folder / kept_name(modified, attempt);
            if (create_file(target, bytes)) {
                // Sessions are ordered by modification time: the copy keeps the session's.
                fs::last_write_time(target, modified, error);
                return {target, true};
            }
        }
    } catch (const CannotWrite& write_error) {
        throw CannotKeep(write_error.what());
    }
}

} // namespace kickmark
