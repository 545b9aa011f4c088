#pragma once

#include "SessionFile.h"

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace kickmark {

// What() is "cannot keep FILE in FOLDER: reason", or "cannot keep sessions in FOLDER: reason".
class CannotKeep : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The folder that --keep copies sessions into, looked over once however many sessions it holds
// and however many saves are kept into it afterwards.
//
// A session is kept once. A save whose bytes the folder holds already, under any name, is not
// copied again. A save that continues the session kept last (the newest copy that keeping
// named: the save's bytes begin with that copy's bytes whole, as when the player saves again
// without starting a new session) takes that copy's place under its name: the one case in which
// anything in the folder is replaced, and only by a file that holds the old copy whole. Any
// other save with shots is copied under keptName with its modification time; a save without
// shots is not kept. Another program keeping into the same folder at the same time (a watcher
// and a run by hand) is met by name: a copy it made of the same session counts as kept.
class KeepFolder {
public:
    // Reads and checks every session in the folder; none when it does not exist yet. A *.csv
    // file that is not a session (a line that is no speed, or unreadable) is left out and left
    // alone, and said in leftOut(). Throws CannotKeep when the folder is not a folder, and
    // CannotRead when it cannot be listed.
    explicit KeepFolder(std::filesystem::path folder);
    KeepFolder(const KeepFolder&) = delete;
    KeepFolder& operator=(const KeepFolder&) = delete;
    // Takes back what keeping did unless the run succeeded: copies made are removed and copies
    // replaced get their old bytes again.
    ~KeepFolder();

    // One warning line for each *.csv file of the folder that is not a session.
    const std::vector<std::string>& leftOut() const { return leftOut_; }

    // Keeps one save (read by readSessionFiles) as the class says. Returns the line that says
    // where it is kept, empty when it has no shots. Throws CannotKeep; a failed copy or
    // replacement leaves the folder as it was.
    std::string keep(const SessionFile& save);
    // Each of `inputs` in turn, oldest first, and the lines for all. An input in the folder is
    // never its own copy, unless keeping named it so.
    std::string keep(std::span<const SessionFile> inputs);

    // Every session kept in the folder, in the order they happened; inputs that are not kept
    // copies themselves (a shots.csv inside the folder) are left out. Valid until the next call
    // that changes this object.
    std::span<const SessionFile* const> sessions() const { return ordered_; }
    // The same sessions, taken out of this object.
    std::vector<SessionFile> takeSessions();

    // The run succeeded: what keeping did stays.
    void commit() { made_.clear(); }

private:
    struct Made {
        std::filesystem::path path;
        files::FileId id;
        // The bytes a replaced copy held, to put back.
        std::optional<std::string> replaced;
    };

    bool isOwnCopy(const SessionFile& input) const;
    void setAside(const SessionFile& input);
    const SessionFile* sameBytes(const std::string& bytes) const;
    SessionFile* lastCopy() const;
    std::optional<std::string> continueLastCopy(const SessionFile& save);
    SessionFile& add(SessionFile file);
    std::string copy(const SessionFile& input);

    std::filesystem::path folder_;
    std::vector<std::string> leftOut_;
    // Every session read or kept, where it stays: ordered_ and byBytes_ point into it.
    std::deque<SessionFile> files_;
    std::vector<SessionFile*> ordered_;
    std::unordered_multimap<std::size_t, SessionFile*> byBytes_;
    // Every *.csv name in the folder, sessions or not.
    std::set<std::string> takenNames_;
    std::vector<Made> made_;
};

} // namespace kickmark
