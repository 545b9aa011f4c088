#include "KeepFolder.h"

#include "FileReading.h"
#include "FileReplacement.h"
#include "KeptName.h"
#include "PathText.h"
#include "SessionFiles.h"
#include "SessionOrder.h"
#include "ShotsFile.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <system_error>

namespace kickmark {

namespace fs = std::filesystem;

namespace {

// A copy that a stopped run of an older version left: empty, or its last line without its
// line end. It holds no session, and its name stays taken.
bool isTorn(const SessionFile& file) {
    return file.bytes.empty() || file.bytes.back() != '\n';
}

std::size_t hashOf(const std::string& bytes) {
    return std::hash<std::string_view>()(bytes);
}

std::string keptAlready(const SessionFile& input, const SessionFile& copy) {
    return text::visiblePath(input.path) + " is kept already as " + text::visiblePath(copy.path) +
           "\n";
}

// A file another program wrote into the folder, as a session; nothing when it is none.
std::optional<SessionFile> readSession(const fs::path& path) {
    files::FileContent content;
    if (files::readFile(path, content)) {
        return std::nullopt;
    }
    try {
        std::vector<double> speeds = parseShots(content.bytes, text::visiblePath(path));
        const files::FileTime time = sessionTime(path, content.status.modified);
        return SessionFile{path, std::move(content.bytes), content.status, std::move(speeds), time};
    } catch (const NotASpeed&) {
        return std::nullopt;
    }
}

} // namespace

KeepFolder::KeepFolder(fs::path folder) : folder_(std::move(folder)) {
    std::error_code error;
    const auto status = fs::status(folder_, error);
    if (status.type() == fs::file_type::not_found) {
        return;
    }
    if (error) {
        throw CannotRead("cannot open " + text::visiblePath(folder_) + ": " + error.message());
    }
    if (!fs::is_directory(status)) {
        throw CannotKeep("cannot keep sessions in " + text::visiblePath(folder_) +
                         ": not a folder");
    }
    // What runs that were stopped while copying left, an hour ago or more.
    files::removeAbandonedTemporaries(
        folder_, [](const fs::path& target) { return timeOfKeptName(target).has_value(); });
    const auto paths = findSessionFiles(std::vector{folder_});
    for (const auto& path : paths) {
        takenNames_.insert(text::utf8Path(path.filename()));
    }
    std::vector<std::string> refused;
    for (auto& file : readSessionFiles(paths, LineEnd::optional, &refused)) {
        if (timeOfKeptName(file.path.filename()) && isTorn(file)) {
            refused.push_back(text::visiblePath(file.path) +
                              ": empty, or its last line has no line end");
            continue;
        }
        add(std::move(file));
    }
    for (const auto& why : refused) {
        leftOut_.push_back("left out, not a session: " + why);
    }
}

KeepFolder::~KeepFolder() {
    // Only what is still the very file this run made: never another file under its name.
    for (const auto& made : made_) {
        files::FileStatus status;
        if (files::fileStatus(made.path, status) || status.id != made.id) {
            continue;
        }
        std::error_code ignored;
        if (made.replaced) {
            files::replaceFile(made.path, *made.replaced);
        } else {
            fs::remove(made.path, ignored);
        }
    }
}

bool KeepFolder::isOwnCopy(const SessionFile& input) const {
    const fs::path parent = input.path.has_parent_path() ? input.path.parent_path() : ".";
    return timeOfKeptName(input.path) && files::sameFile(parent, folder_);
}

// An input inside the folder that keeping did not name (a shots.csv that the next save
// replaces) is never a session's copy, nor one of the sessions kept.
void KeepFolder::setAside(const SessionFile& input) {
    const auto kept = std::ranges::find_if(
        ordered_, [&](const SessionFile* file) { return file->status.id == input.status.id; });
    if (kept == ordered_.end()) {
        return;
    }
    const auto [first, last] = byBytes_.equal_range(hashOf((*kept)->bytes));
    for (auto entry = first; entry != last; ++entry) {
        if (entry->second == *kept) {
            byBytes_.erase(entry);
            break;
        }
    }
    ordered_.erase(kept);
}

// The oldest session with these bytes, whatever the table's order.
const SessionFile* KeepFolder::sameBytes(const std::string& bytes) const {
    const SessionFile* same = nullptr;
    const auto [first, last] = byBytes_.equal_range(hashOf(bytes));
    for (auto entry = first; entry != last; ++entry) {
        if (entry->second->bytes == bytes && (!same || happenedBefore(*entry->second, *same))) {
            same = entry->second;
        }
    }
    return same;
}

SessionFile* KeepFolder::lastCopy() const {
    const auto last = std::ranges::find_if(ordered_.rbegin(), ordered_.rend(), [](auto* file) {
        return timeOfKeptName(file->path).has_value();
    });
    return last == ordered_.rend() ? nullptr : *last;
}

std::optional<std::string> KeepFolder::continueLastCopy(const SessionFile& save) {
    SessionFile* const last = lastCopy();
    if (!last || save.bytes.size() <= last->bytes.size() || !save.bytes.starts_with(last->bytes)) {
        return std::nullopt;
    }
    // Another program may have kept a later save of the session since the folder was read: go
    // by what the copy holds now, and never replace it by less.
    std::optional<SessionFile> current = readSession(last->path);
    if (!current) {
        return std::nullopt;
    }
    const auto update = [&](SessionFile file) {
        const auto [first, end] = byBytes_.equal_range(hashOf(last->bytes));
        for (auto entry = first; entry != end; ++entry) {
            if (entry->second == last) {
                byBytes_.erase(entry);
                break;
            }
        }
        *last = std::move(file);
        byBytes_.emplace(hashOf(last->bytes), last);
    };
    if (current->bytes.starts_with(save.bytes)) {
        update(std::move(*current));
        return keptAlready(save, *last);
    }
    if (!save.bytes.starts_with(current->bytes)) {
        return std::nullopt;
    }
    const fs::path path = last->path;
    const auto fail = [&](const std::error_code& error) {
        throw CannotKeep("cannot keep " + text::visiblePath(save.path) + " in " +
                         text::visiblePath(folder_) + ": " + error.message());
    };
    if (const auto error = files::replaceFile(path, save.bytes)) {
        fail(error);
    }
    files::FileStatus status;
    if (const auto error = files::fileStatus(path, status)) {
        files::replaceFile(path, current->bytes);
        fail(error);
    }
    made_.push_back({path, status.id, std::move(current->bytes)});
    update({path, save.bytes, status, save.speeds, last->time});
    return "kept " + text::visiblePath(save.path) + " as " + text::visiblePath(path) +
           ", in place of the copy it continues\n";
}

SessionFile& KeepFolder::add(SessionFile file) {
    SessionFile& added = files_.emplace_back(std::move(file));
    ordered_.insert(std::ranges::upper_bound(ordered_, &added,
                                             [](const SessionFile* a, const SessionFile* b) {
                                                 return happenedBefore(*a, *b);
                                             }),
                    &added);
    byBytes_.emplace(hashOf(added.bytes), &added);
    return added;
}

std::string KeepFolder::keep(const SessionFile& save) {
    if (save.speeds.empty()) {
        return {};
    }
    if (isOwnCopy(save)) {
        return keptAlready(save, save);
    }
    setAside(save);
    if (const SessionFile* same = sameBytes(save.bytes)) {
        return keptAlready(save, *same);
    }
    if (auto line = continueLastCopy(save)) {
        return *line;
    }
    return copy(save);
}

std::string KeepFolder::keep(std::span<const SessionFile> inputs) {
    for (const auto& input : inputs) {
        if (!isOwnCopy(input)) {
            setAside(input);
        }
    }
    std::string lines;
    for (const auto& input : inputs) {
        lines += keep(input);
    }
    return lines;
}

std::string KeepFolder::copy(const SessionFile& input) {
    const auto fail = [&](const std::error_code& error) {
        throw CannotKeep("cannot keep " + text::visiblePath(input.path) + " in " +
                         text::visiblePath(folder_) + ": " + error.message());
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
        if (takenNames_.contains(text::utf8Path(name))) {
            continue;
        }
        const fs::path path = folder_ / name;
        // The copy's status comes from the file as it was written, so that nothing left to
        // check after it can fail and strand it.
        files::FileStatus status;
        error = files::createFile(path, input.bytes, input.status.modified, &status);
        if (error == std::errc::file_exists) {
            takenNames_.insert(text::utf8Path(name));
            // Another program keeping the same save at the same time names it the same.
            if (auto other = readSession(path)) {
                const SessionFile& added = add(std::move(*other));
                if (added.bytes == input.bytes) {
                    return keptAlready(input, added);
                }
            }
            continue;
        }
        if (error) {
            fail(error);
        }
        takenNames_.insert(text::utf8Path(name));
        made_.push_back({path, status.id, std::nullopt});
        const SessionFile& added =
            add({path, input.bytes, status, input.speeds, sessionTime(path, status.modified)});
        return "kept " + text::visiblePath(input.path) + " as " + text::visiblePath(added.path) +
               "\n";
    }
}

std::vector<SessionFile> KeepFolder::takeSessions() {
    std::vector<SessionFile> sessions;
    sessions.reserve(ordered_.size());
    for (SessionFile* file : ordered_) {
        sessions.push_back(std::move(*file));
    }
    ordered_.clear();
    byBytes_.clear();
    files_.clear();
    return sessions;
}

} // namespace kickmark
