#include "KeepFolder.h"

#include "FileReplacement.h"
#include "SessionFiles.h"
#include "SessionOrder.h"
#include "ShotsFile.h"
#include "Temporary.h"
#include "UtcTime.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace kickmark {

namespace fs = std::filesystem;

namespace {

bool isDigits(std::string_view text) {
    return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// Whether keeping a session of this time could have given it this name.
bool isKeptName(const std::string& name, files::FileTime modified) {
    const std::string base = utcTimeText(modified, TimeText::name);
    std::string_view rest = name;
    if (!rest.starts_with(base) || !rest.ends_with(".csv")) {
        return false;
    }
    rest = rest.substr(base.size(), rest.size() - base.size() - 4);
    return rest.empty() || (rest.starts_with('-') && isDigits(rest.substr(1)) && rest[1] != '0');
}

// Whether keeping a session of any time could have given it this name: the name's time is
// "YYYY-MM-DD-HHMMSS" (more digits or a minus sign for the year where needed).
bool looksKept(const fs::path& path) {
    const auto& native = path.native();
    if (!std::ranges::all_of(native, [](auto c) { return static_cast<unsigned long>(c) < 0x80; })) {
        return false;
    }
    const std::string name(native.begin(), native.end());
    std::string_view rest = name;
    if (!rest.ends_with(".csv")) {
        return false;
    }
    rest.remove_suffix(4);
    if (rest.starts_with('-')) {
        rest.remove_prefix(1);
    }
    std::vector<std::string_view> parts;
    for (std::size_t dash; (dash = rest.find('-')) != std::string_view::npos;) {
        parts.push_back(rest.substr(0, dash));
        rest.remove_prefix(dash + 1);
    }
    parts.push_back(rest);
    return (parts.size() == 4 || parts.size() == 5) &&
           std::ranges::all_of(parts, [](std::string_view part) { return isDigits(part); }) &&
           parts[1].size() == 2 && parts[2].size() == 2 && parts[3].size() == 6;
}

// A copy that a stopped run of an older version left: empty, or its last line without its
// line end. It holds no session, and its name stays taken.
bool isTorn(const SessionFile& file) {
    return file.bytes.empty() || file.bytes.back() != '\n';
}

std::size_t hashOf(const std::string& bytes) {
    return std::hash<std::string_view>()(bytes);
}

} // namespace

fs::path keptName(files::FileTime modified, int attempt) {
    std::string name = utcTimeText(modified, TimeText::name);
    if (attempt > 1) {
        name += '-';
        name += std::to_string(attempt);
    }
    return name + ".csv";
}

KeepFolder::KeepFolder(fs::path folder) : folder_(std::move(folder)) {
    std::error_code error;
    const auto status = fs::status(folder_, error);
    if (status.type() == fs::file_type::not_found) {
        return;
    }
    if (error) {
        throw CannotRead("cannot open " + folder_.string() + ": " + error.message());
    }
    if (!fs::is_directory(status)) {
        throw CannotKeep("cannot keep sessions in " + folder_.string() + ": not a folder");
    }
    // What runs that were stopped while copying left, an hour ago or more.
    files::removeAbandonedTemporaries(folder_, looksKept);
    const auto paths = findSessionFiles(std::vector{folder_.string()});
    for (const auto& path : paths) {
        takenNames_.insert(path.filename().string());
    }
    files_ = readSessionFiles(paths, LineEnd::optional);
    std::erase_if(files_, isTorn);
}

KeepFolder::~KeepFolder() {
    // Only what is still the very file this run made: never another file under its name.
    for (const auto& made : made_) {
        files::FileStatus status;
        std::error_code ignored;
        if (!files::fileStatus(made.path, status) && status.id == made.id) {
            fs::remove(made.path, ignored);
        }
    }
}

bool KeepFolder::isOwnCopy(const SessionFile& input) const {
    const fs::path parent = input.path.has_parent_path() ? input.path.parent_path() : ".";
    return isKeptName(input.path.filename().string(), input.status.modified) &&
           files::sameFile(parent, folder_);
}

std::string KeepFolder::keep(std::span<const SessionFile> inputs) {
    std::vector<bool> ownCopy(inputs.size());
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        ownCopy[i] = isOwnCopy(inputs[i]);
        if (!ownCopy[i]) {
            liveInputs_.insert(inputs[i].status.id);
        }
    }
    // Every session's bytes, looked up at once rather than compared with each file in turn.
    std::unordered_multimap<std::size_t, std::size_t> byBytes;
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (!liveInputs_.contains(files_[i].status.id)) {
            byBytes.emplace(hashOf(files_[i].bytes), i);
        }
    }
    std::string lines;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const SessionFile& input = inputs[i];
        if (input.speeds.empty()) {
            continue;
        }
        if (ownCopy[i]) {
            lines += input.path.string() + " is kept already as " + input.path.string() + "\n";
            continue;
        }
        const std::size_t hash = hashOf(input.bytes);
        // The oldest of several, whatever the table's order.
        std::optional<std::size_t> same;
        const auto [first, last] = byBytes.equal_range(hash);
        for (auto entry = first; entry != last; ++entry) {
            if (files_[entry->second].bytes == input.bytes && (!same || entry->second < *same)) {
                same = entry->second;
            }
        }
        if (same) {
            lines +=
                input.path.string() + " is kept already as " + files_[*same].path.string() + "\n";
            continue;
        }
        files_.push_back(copy(input));
        byBytes.emplace(hash, files_.size() - 1);
        lines += "kept " + input.path.string() + " as " + files_.back().path.string() + "\n";
    }
    return lines;
}

SessionFile KeepFolder::copy(const SessionFile& input) {
    const auto fail = [&](const std::error_code& error) {
        throw CannotKeep("cannot keep " + input.path.string() + " in " + folder_.string() + ": " +
                         error.message());
    };
    std::error_code error;
    // Made with the first copy, so that a run that keeps nothing makes nothing.
    if (made_.empty()) {
        fs::create_directories(folder_, error);
        if (error) {
            fail(error);
        }
    }
    for (int attempt = 1;; ++attempt) {
        const fs::path name = keptName(input.status.modified, attempt);
        if (takenNames_.contains(name.string())) {
            continue;
        }
        const fs::path path = folder_ / name;
        // The copy's status comes from the file as it was written, so that nothing left to
        // check after it can fail and strand it.
        files::FileStatus status;
        error = files::createFile(path, input.bytes, input.status.modified, &status);
        if (error == std::errc::file_exists) {
            takenNames_.insert(name.string());
            continue;
        }
        if (error) {
            fail(error);
        }
        takenNames_.insert(name.string());
        made_.push_back({path, status.id});
        return {path, input.bytes, status, input.speeds};
    }
}

std::vector<SessionFile> KeepFolder::takeSessions() {
    std::vector<SessionFile> sessions;
    for (auto& file : files_) {
        if (!liveInputs_.contains(file.status.id)) {
            sessions.push_back(std::move(file));
        }
    }
    files_.clear();
    std::ranges::sort(sessions, happenedBefore);
    return sessions;
}

} // namespace kickmark
