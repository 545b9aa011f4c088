#pragma once

#include "SessionFile.h"

#include <filesystem>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace kickmark {

// What() is "cannot keep FILE in FOLDER: reason", or "cannot keep sessions in FOLDER: reason".
class CannotKeep : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The name a session gets in the keep folder: its modification time in UTC,
// "YYYY-MM-DD-HHMMSS.csv", and "-2", "-3" ... before ".csv" when that name holds another session.
std::filesystem::path keptName(files::FileTime modified, int attempt);

// The folder that --keep copies sessions into, looked over once however many sessions it holds.
class KeepFolder {
public:
    // Reads and checks every session in the folder; none when it does not exist yet. Throws
    // CannotKeep when it is not a folder, and CannotRead or NotASpeed as readSessionFiles.
    explicit KeepFolder(std::filesystem::path folder);
    KeepFolder(const KeepFolder&) = delete;
    KeepFolder& operator=(const KeepFolder&) = delete;
    // Removes the copies made unless the run succeeded.
    ~KeepFolder();

    // Copies each session of `inputs` that has shots, oldest first, under keptName with its
    // time, unless the folder holds its bytes under another file already. An input in the
    // folder is never its own copy, unless keeping named it so. Never replaces a file. Returns a
    // line for each session saying where it is kept. Throws CannotKeep.
    std::string keep(std::span<const SessionFile> inputs);

    // Every session kept in the folder, in the order they happened; the inputs themselves are
    // left out, as a copy stands for them. Takes them out of this object.
    std::vector<SessionFile> takeSessions();

    // The run succeeded: the copies stay.
    void commit() { made_.clear(); }

private:
    struct Made {
        std::filesystem::path path;
        files::FileId id;
    };

    bool isOwnCopy(const SessionFile& input) const;
    SessionFile copy(const SessionFile& input);

    std::filesystem::path folder_;
    std::vector<SessionFile> files_;
    std::set<std::string> takenNames_;
    // Inputs that are not kept copies themselves, such as a shots.csv that the next save
    // replaces: never a session's kept copy, and not one of the sessions kept.
    std::set<files::FileId> liveInputs_;
    std::vector<Made> made_;
};

} // namespace kickmark
