#include "Watch.h"

#include "FileReplacement.h"
#include "HtmlPage.h"
#include "KeepFolder.h"
#include "PathText.h"
#include "ReportOutput.h"
#include "SessionFiles.h"
#include "SessionHistory.h"
#include "ShotsFile.h"
#include "Statistics.h"
#include "StopRequest.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kickmark {

namespace {

namespace fs = std::filesystem;

// Two looks a second see a save within a second of it; each look is one status query and one
// wake-up, which on a busy machine costs far more than the query.
constexpr std::chrono::milliseconds pollInterval(500);

// What tells one save from the next: a save replaces the file (another identity) or at least
// rewrites it (another time or size).
struct SaveMark {
    files::FileId id;
    std::uint64_t size = 0;
    files::FileTime modified;
    friend bool operator==(const SaveMark&, const SaveMark&) = default;
};

SaveMark markOf(const files::FileStatus& status) {
    return {status.id, status.size, status.modified};
}

std::vector<Session> sessionsIn(const KeepFolder& folder) {
    std::vector<Session> sessions;
    for (const SessionFile* file : folder.sessions()) {
        sessions.push_back(sessionOf(*file));
    }
    return sessions;
}

class Watcher {
public:
    explicit Watcher(const Options& options)
        : options_(options), shots_(options.shotsPaths.front()), folder_(*options.keepFolder),
          history_(sessionsIn(folder_)) {
        if (const auto sessions = folder_.sessions(); !sessions.empty()) {
            newest_ = sessions.back();
            newestSize_ = newest_->bytes.size();
        }
    }

    void start() {
        for (const auto& line : folder_.leftOut()) {
            std::cerr << line << '\n';
        }
        std::cerr << "watching " << shownShots() << ": each save is kept in "
                  << text::visiblePath(*options_.keepFolder) << "; Ctrl+C stops\n";
        draw();
    }

    // One look at the shots file, and the save taken up when there is a new one.
    void check() {
        files::FileStatus status;
        if (const auto error = files::fileStatus(shots_, status)) {
            problem("cannot open " + shownShots() + ": " + error.message());
            return;
        }
        if (!status.regular) {
            problem("cannot open " + shownShots() + ": not a regular file");
            return;
        }
        if (seen_ == markOf(status)) {
            return;
        }
        seen_ = markOf(status);
        try {
            const fs::path paths[] = {shots_};
            std::vector<SessionFile> read = readSettled(paths, LineEnd::required);
            read.front().speeds = parseShots(read.front().bytes, shownShots());
            seen_ = markOf(read.front().status);
            problem_.clear();
            take(read.front());
        } catch (const std::runtime_error& error) {
            // Unreadable, not a speed, or a copy that could not be made: the next save may do.
            problem(error.what());
        }
    }

    bool outputLost() const { return outputLost_; }

private:
    std::string shownShots() const { return text::visiblePath(shots_); }

    // Said once, until the watch sees a save again or another problem.
    void problem(const std::string& message) {
        if (message != problem_) {
            std::cerr << message << "; watching for the next save\n";
            problem_ = message;
        }
    }

    void say(const std::string& line) {
        if (!outputLost_ && !writeStandardOutput(line + "\n")) {
            outputLost_ = true;
        }
    }

    void take(const SessionFile& file) {
        if (file.speeds.empty()) {
            say(shownShots() + " holds no shots: nothing kept");
            return;
        }
        const std::size_t before = folder_.sessions().size();
        const std::string line = folder_.keep(file);
        folder_.commit();
        const auto sessions = folder_.sessions();
        const auto copy = std::ranges::find_if(sessions.rbegin(), sessions.rend(), [&](auto* kept) {
            return kept->bytes == file.bytes;
        });
        // A new session, or the newest one grown in place of its copy: anything else the
        // folder held already, and the line says where.
        const bool added = copy != sessions.rend() && sessions.size() > before;
        const bool continued =
            copy != sessions.rend() && *copy == newest_ && newest_->bytes.size() != newestSize_;
        if (!added && !continued) {
            say(line.substr(0, line.find('\n')));
            return;
        }
        newest_ = *copy;
        newestSize_ = newest_->bytes.size();
        history_.add(sessionOf(*newest_), continued);
        draw();
        say(history_.newestLine());
    }

    void draw() {
        const auto sessions = history_.sessions();
        std::string chart;
        if (!sessions.empty()) {
            const RankedSpeeds newest(sessions.back().speeds);
            chart = chartText(sessions, newest, options_.recentCount,
                              files::currentTime().seconds + clockSlackSeconds);
        }
        if (options_.svgPath && !chart.empty()) {
            write(*options_.svgPath, chart);
        }
        if (options_.htmlPath) {
            const std::string heading =
                sessions.empty() ? "Kickmark: waiting for the first save of " + shownShots()
                                 : "Kickmark: " + history_.newestLine();
            write(*options_.htmlPath, htmlPage(heading, chart));
        }
    }

    void write(const fs::path& path, const std::string& bytes) {
        if (const auto error = files::replaceFile(path, bytes)) {
            std::cerr << "cannot write " << text::visiblePath(path) << ": " << error.message()
                      << '\n';
        }
    }

    const Options& options_;
    const fs::path shots_;
    KeepFolder folder_;
    SessionHistory history_;
    // The newest session's copy as last told, to see it grow.
    const SessionFile* newest_ = nullptr;
    std::size_t newestSize_ = 0;
    std::optional<SaveMark> seen_;
    std::string problem_;
    bool outputLost_ = false;
};

} // namespace

int watch(const Options& options) {
    catchStopRequests();
    Watcher watcher(options);
    watcher.start();
    while (!stopRequested()) {
        watcher.check();
        waitUnlessStopped(pollInterval);
    }
    stopDone();
    return watcher.outputLost() ? 2 : 0;
}

} // namespace kickmark
