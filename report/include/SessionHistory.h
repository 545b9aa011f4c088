#pragma once

#include "Session.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace kickmark {

// The sessions kept so far and what the newest is compared with, kept up to date save after
// save: a save costs a merge of its shots into the ones before, never a pass over every
// session's file.
class SessionHistory {
public:
    // `sessions` oldest first.
    explicit SessionHistory(std::vector<Session> sessions);

    // A save: a session of its own, or (`continuesNewest`) the newest session again, grown.
    void add(Session session, bool continuesNewest);

    std::span<const Session> sessions() const { return sessions_; }

    // The newest session in one line: its time and name, its shots, fastest and median, and
    // the change against every shot of the sessions before it. Empty without sessions.
    std::string newestLine() const;

private:
    std::vector<Session> sessions_;
    // Every shot of the sessions before the newest, ascending.
    std::vector<double> before_;
    std::size_t sessionsBefore_ = 0;
};

} // namespace kickmark
