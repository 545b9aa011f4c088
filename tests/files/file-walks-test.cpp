// Every system call that replacing or creating a file makes, failed in turn with each error the
// system gives, and the process stopped at each: what is on disk afterwards, and what is said.
#include <gtest/gtest.h>

#include "FileErrors.h"
#include "FileReplacement.h"
#include "FileStatus.h"
#include "Files.h"
#include "SystemCallWalk.h"

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
namespace files = kickmark::files;

namespace {

struct Cause {
    const char* what;
    std::error_code error;
};

#if defined(_WIN32)
// ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers do not name.
constexpr int diskQuotaExceeded = 1295;

const Cause causes[] = {
    {"no space", std::make_error_code(std::errc::no_space_on_device)},
    {"I/O error", std::make_error_code(std::errc::io_error)},
    {"quota", {diskQuotaExceeded, std::system_category()}},
    {"access denied", std::make_error_code(std::errc::permission_denied)},
    {"interrupted", std::make_error_code(std::errc::interrupted)},
};
#else
const Cause causes[] = {
    {"no space", {ENOSPC, std::generic_category()}},
    {"I/O error", {EIO, std::generic_category()}},
    {"quota", {EDQUOT, std::generic_category()}},
    {"access denied", {EACCES, std::generic_category()}},
    {"interrupted", {EINTR, std::generic_category()}},
};
#endif

// What the system is like for one walk, set below the counted calls.
using Situation = void (*)(files::SystemCalls&);

#if defined(_WIN32)
constexpr unsigned long createNew = CREATE_NEW;

// The folder takes no new file.
void folderTakesNoFile(files::SystemCalls& calls) {
    calls.createFile = [](const wchar_t* path, unsigned long access, unsigned long disposition,
                          unsigned long flags, files::SystemCalls::Handle& handle) {
        if (disposition == createNew)
            return std::make_error_code(std::errc::permission_denied);
        return files::nativeSystemCalls().createFile(path, access, disposition, flags, handle);
    };
}

// Another program reads the file without sharing its deletion.
void fileHeldOpen(files::SystemCalls& calls) {
    calls.moveFile = [](const wchar_t* from, const wchar_t* to, unsigned long flags) {
        if (flags & MOVEFILE_REPLACE_EXISTING)
            return std::make_error_code(std::errc::permission_denied);
        return files::nativeSystemCalls().moveFile(from, to, flags);
    };
}

// The file is another user's: only its owner may set its time.
void notOwner(files::SystemCalls& calls) {
    folderTakesNoFile(calls);
    calls.setFileTime = [](files::SystemCalls::Handle, std::uint64_t) {
        return std::make_error_code(std::errc::permission_denied);
    };
}
#else
void folderTakesNoFile(files::SystemCalls& calls) {
    calls.open = [](const char* path, int flags, mode_t mode, int& descriptor) {
        if (flags & O_CREAT)
            return std::error_code(EACCES, std::generic_category());
        return files::nativeSystemCalls().open(path, flags, mode, descriptor);
    };
}

void notOwner(files::SystemCalls& calls) {
    folderTakesNoFile(calls);
    calls.futimens = [](int, const timespec*) {
        return std::error_code(EPERM, std::generic_category());
    };
}

// FAT, as on USB sticks: no hard links, and no move that refuses to replace.
void noLinks(files::SystemCalls& calls) {
    calls.renameNoReplace = [](const char*, const char*) {
        return std::error_code(EINVAL, std::generic_category());
    };
    calls.link = [](const char*, const char*) {
        return std::error_code(EPERM, std::generic_category());
    };
}
#endif

struct Operation {
    const char* what;
    Situation situation;
    bool create;  // createFile of a new name rather than replaceFile
    bool inPlace; // a stopped write may leave the old bytes and the new mixed
    bool linked;  // the name is a link to the file in another folder
    bool refused; // the file must be kept as it is: FileError::readOnly
    std::string old, next;
};

const std::string shortSession = textLines({"1913.765869", "2500.000000"});
const std::string longSession =
    textLines({"1913.765869", "2500.000000", "3101.612549", "5555.000000", "1234.500000"});

const Operation operations[] = {
    {"swapped", nullptr, false, false, false, false, shortSession, longSession},
    {"in place, longer", folderTakesNoFile, false, true, false, false, shortSession, longSession},
    {"in place, shorter", folderTakesNoFile, false, true, false, false, longSession, shortSession},
    {"in place, another user's file", notOwner, false, true, false, true, shortSession,
     longSession},
#if defined(_WIN32)
    {"in place, the file held open", fileHeldOpen, false, true, false, false, shortSession,
     longSession},
#else
    {"through a link", nullptr, false, false, true, false, shortSession, longSession},
    {"created without hard links", noLinks, true, false, false, false, "", longSession},
#endif
    {"created", nullptr, true, false, false, false, "", longSession},
};

const files::FileTime keptTime{1600000000, 123456700};

// What a reader sees of a file.
struct Seen {
    bool exists = false;
    std::string bytes;
    fs::file_time_type modified;
    fs::perms permissions{};
    files::FileId id;
    friend bool operator==(const Seen&, const Seen&) = default;
};

Seen seen(const fs::path& path) {
    std::error_code error;
    files::FileStatus status;
    if (!fs::exists(path, error) || files::fileStatus(path, status))
        return {};
    return {true, readBytes(path), fs::last_write_time(path), fs::status(path).permissions(),
            status.id};
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Each byte the old one or the new one at its place, at the old size or the new.
bool mixOf(const std::string& bytes, const std::string& old, const std::string& next) {
    if (bytes.size() != old.size() && bytes.size() != next.size())
        return false;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (!(i < old.size() && bytes[i] == old[i]) && !(i < next.size() && bytes[i] == next[i]))
            return false;
    return true;
}

class FileWalks : public testing::Test {
protected:
    const fs::path root = fs::temp_directory_path() / ("kickmark-walks-" + std::to_string(
#if defined(_WIN32)
                                                                               GetCurrentProcessId()
#else
                                                                               getpid()
#endif
                                                                                   ));
    const fs::path data = root / "data";
    const fs::path synced = root / "synced";
    const fs::path name = data / "shots.csv";

    ~FileWalks() override {
        fs::remove_all(root);
    }

    fs::path file(const Operation& operation) const {
        return operation.linked ? synced / "target.csv" : name;
    }

    // A fresh folder, the old file in it dated years ago; what a reader then sees of it.
    Seen prepare(const Operation& operation) {
        walk.below() = files::nativeSystemCalls();
        fs::remove_all(root);
        fs::create_directories(data);
        fs::create_directories(synced);
        if (!operation.create) {
            writeBytes(file(operation), operation.old);
            fs::permissions(file(operation), fs::perms(0640));
            fs::last_write_time(file(operation), fs::last_write_time(file(operation)) -
                                                     std::chrono::hours(24 * 900));
            if (operation.linked)
                fs::create_symlink(fs::path("..") / "synced" / "target.csv", name);
        }
        if (operation.situation)
            operation.situation(walk.below());
        return seen(file(operation));
    }

    std::error_code run(const Operation& operation) {
        return operation.create ? files::createFile(name, operation.next, keptTime)
                                : files::replaceFile(name, operation.next);
    }

    // The file holds the new content, dated as asked, and nothing else is left. Only a write
    // in place keeps the file itself: taken when the folder takes no new file.
    void expectWritten(const Operation& operation, const Seen& before, std::error_code cause = {}) {
        const Seen after = seen(file(operation));
        EXPECT_EQ(after.bytes, operation.next);
        if (!operation.create && cause != std::errc::permission_denied) {
            EXPECT_EQ(after.id == before.id, operation.inPlace);
        }
        if (operation.create) {
            files::FileStatus status;
            EXPECT_FALSE(files::fileStatus(name, status));
            EXPECT_EQ(status.modified, keptTime);
        } else {
            EXPECT_EQ(after.permissions, before.permissions);
        }
        // A temporary the system would not remove waits for a later write's sweep.
        auto names = namesIn(data);
        if (cause && cause != std::errc::interrupted)
            std::erase_if(names, [](const std::string& name) {
                return name.starts_with("shots.csv.") && name.ends_with(".tmp");
            });
        EXPECT_EQ(names, std::set<std::string>{"shots.csv"});
        if (operation.linked) {
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(name)));
            EXPECT_EQ(namesIn(synced), std::set<std::string>{"target.csv"});
        }
    }

    // As before: bytes, size, time and permission bits, and nothing else in the folder.
    void expectUnchanged(const Operation& operation, const Seen& before) {
        EXPECT_TRUE(seen(file(operation)) == before) << readBytes(file(operation));
        EXPECT_EQ(namesIn(data),
                  operation.create ? std::set<std::string>{} : std::set<std::string>{"shots.csv"});
    }

    // Calls the undisturbed operation makes.
    int callsOf(const Operation& operation) {
        prepare(operation);
        walk.reset();
        const std::error_code error = run(operation);
        if (operation.refused)
            EXPECT_EQ(error, files::FileError::readOnly);
        else
            EXPECT_FALSE(error) << error.message();
        return walk.calls();
    }

    SystemCallWalk walk;
    int cases = 0;
};

TEST_F(FileWalks, a_failing_call_leaves_the_old_file_or_the_new_one_and_says_why) {
    for (const auto& operation : operations) {
        SCOPED_TRACE(operation.what);
        const int calls = callsOf(operation);
        for (int call = 1; call <= calls; ++call) {
            for (const auto& cause : causes) {
                SCOPED_TRACE(testing::Message() << "call " << call << ", " << cause.what);
                const Seen before = prepare(operation);
                walk.failAt(call, cause.error);
                const std::error_code error = run(operation);
                walk.reset();
                ++cases;
                if (operation.refused) {
                    EXPECT_TRUE(error == files::FileError::readOnly || error == cause.error)
                        << error.message();
                    expectUnchanged(operation, before);
                } else if (cause.error == std::errc::interrupted) {
                    EXPECT_FALSE(error) << error.message();
                    expectWritten(operation, before);
                } else if (error) {
                    const bool refusedAsReadOnly = cause.error == std::errc::permission_denied &&
                                                   error == files::FileError::readOnly;
                    EXPECT_TRUE(error == cause.error || refusedAsReadOnly) << error.message();
                    expectUnchanged(operation, before);
                } else {
                    expectWritten(operation, before, cause.error);
                }
            }
        }
    }
    RecordProperty("cases", cases);
}

TEST_F(FileWalks, a_process_stopped_at_any_call_leaves_what_the_next_write_cleans_up) {
    for (const auto& operation : operations) {
        SCOPED_TRACE(operation.what);
        const int calls = callsOf(operation);
        for (int call = 1; call <= calls; ++call) {
            SCOPED_TRACE(testing::Message() << "stopped at call " << call);
            const Seen before = prepare(operation);
            walk.stopAt(call);
            run(operation);
            walk.reset();
            ++cases;
            const Seen after = seen(file(operation));
            if (operation.inPlace)
                EXPECT_TRUE(mixOf(after.bytes, operation.old, operation.next)) << after.bytes;
            else if (operation.create)
                EXPECT_TRUE(!after.exists || after.bytes == operation.next) << after.bytes;
            else
                EXPECT_TRUE(after == before || after.bytes == operation.next) << after.bytes;

            // An hour later, the next write finds what the stopped one left.
            for (const auto& folder : {data, synced})
                for (const auto& entry : fs::directory_iterator(folder))
                    if (!fs::is_symlink(entry.symlink_status()))
                        fs::last_write_time(entry.path(), fs::last_write_time(entry.path()) -
                                                              std::chrono::hours(2));
            if (operation.refused) {
                EXPECT_TRUE(after == before);
                continue;
            }
            if (operation.create) {
                files::removeAbandonedTemporaries(
                    data, [](const fs::path& target) { return target == "shots.csv"; });
                if (after.exists)
                    fs::last_write_time(name, fs::last_write_time(name) + std::chrono::hours(2));
                else
                    EXPECT_FALSE(run(operation));
            } else {
                EXPECT_FALSE(run(operation));
            }
            expectWritten(operation, before);
        }
    }
    RecordProperty("cases", cases);
}

// A write in place that fails, and then fails again while the old content is put back.
TEST_F(FileWalks, a_file_changed_in_place_never_keeps_its_old_time) {
    for (const auto& operation : operations) {
        if (!operation.inPlace)
            continue;
        SCOPED_TRACE(operation.what);
        const int calls = callsOf(operation);
        for (int first = 1; first <= calls; ++first) {
            for (int second = first + 1; second <= calls; ++second) {
                SCOPED_TRACE(testing::Message() << "calls " << first << " and " << second);
                const Seen before = prepare(operation);
                walk.failAt(first, std::make_error_code(std::errc::io_error), second);
                const std::error_code error = run(operation);
                walk.reset();
                ++cases;
                const Seen after = seen(file(operation));
                if (!error) {
                    EXPECT_EQ(after.bytes, operation.next);
                } else if (error == files::FileError::notRestored) {
                    EXPECT_TRUE(after.bytes == before.bytes || after.modified != before.modified);
                } else {
                    EXPECT_TRUE(after == before) << error.message();
                }
            }
        }
    }
    RecordProperty("cases", cases);
}

} // namespace
