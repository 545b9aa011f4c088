#include "SettledRead.h"

#include "FileErrors.h"
#include "FileReading.h"
#include "PathText.h"
#include "ShotsFile.h"

#include <chrono>
#include <numeric>
#include <optional>
#include <thread>

namespace kickmark {

namespace {

// A save takes milliseconds; one that is still going after this is not one to wait for.
constexpr auto moment = std::chrono::milliseconds(100);
constexpr int moments = 20;

enum class Unsettled { changing, noLineEnd };

std::string unsettledText(const std::filesystem::path& path, Unsettled why) {
    if (why == Unsettled::changing) {
        return "cannot read " + text::visiblePath(path) +
               ": it keeps changing while it is read; try again once it is saved";
    }
    return "cannot keep " + text::visiblePath(path) +
           ": its last line has no line end, as if it were still being written; end the line or "
           "save it again";
}

} // namespace

std::vector<SessionFile> readSettled(std::span<const std::filesystem::path> paths, LineEnd lineEnd,
                                     std::vector<std::string>* refused) {
    std::vector<std::optional<SessionFile>> files(paths.size());
    const auto refuse = [&](std::string why) {
        if (!refused) {
            throw CannotRead(why);
        }
        refused->push_back(std::move(why));
    };
    std::vector<std::size_t> pending(paths.size());
    std::iota(pending.begin(), pending.end(), std::size_t{0});
    std::vector<Unsettled> why(paths.size());
    // One moment for every unsettled file at once, however many there are.
    for (int waited = 0;; ++waited) {
        std::vector<std::size_t> unsettled;
        for (const std::size_t i : pending) {
            files::FileContent content;
            const std::error_code error = files::readFile(paths[i], content);
            if (error == files::FileError::changedWhileRead) {
                why[i] = Unsettled::changing;
                unsettled.push_back(i);
            } else if (error) {
                refuse("cannot open " + text::visiblePath(paths[i]) + ": " + error.message());
            } else if (lineEnd == LineEnd::required && !content.bytes.empty() &&
                       !content.bytes.ends_with('\n')) {
                why[i] = Unsettled::noLineEnd;
                unsettled.push_back(i);
            } else {
                files[i] = SessionFile{paths[i], std::move(content.bytes), content.status, {}, {}};
            }
        }
        if (!unsettled.empty() && waited < moments) {
            std::this_thread::sleep_for(moment);
            pending = std::move(unsettled);
            continue;
        }
        for (const std::size_t i : unsettled) {
            refuse(unsettledText(paths[i], why[i]));
        }
        std::vector<SessionFile> settled;
        settled.reserve(files.size());
        for (auto& file : files) {
            if (file) {
                settled.push_back(std::move(*file));
            }
        }
        return settled;
    }
}

} // namespace kickmark
