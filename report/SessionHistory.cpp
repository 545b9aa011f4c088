#include "SessionHistory.h"

#include "NumberFormat.h"
#include "Statistics.h"
#include "VisibleText.h"

#include <algorithm>

namespace kickmark {

namespace {

std::string signedNumber(double value) {
    return (value >= 0 ? "+" : "") + formatNumber(value, 2);
}

// Once per session, rather than each time the chart is drawn.
void summarizeOnce(Session& session) {
    if (!session.summary && !session.speeds.empty()) {
        session.summary = summarize(session.speeds);
    }
}

} // namespace

SessionHistory::SessionHistory(std::vector<Session> sessions) : sessions_(std::move(sessions)) {
    for (auto& session : sessions_) {
        summarizeOnce(session);
    }
    for (std::size_t i = 0; i + 1 < sessions_.size(); ++i) {
        before_.insert(before_.end(), sessions_[i].speeds.begin(), sessions_[i].speeds.end());
        sessionsBefore_ += sessions_[i].speeds.empty() ? 0 : 1;
    }
    std::ranges::sort(before_);
}

void SessionHistory::add(Session session, bool continuesNewest) {
    summarizeOnce(session);
    if (continuesNewest && !sessions_.empty()) {
        sessions_.back() = std::move(session);
        return;
    }
    if (!sessions_.empty()) {
        std::vector<double> newest = sessions_.back().speeds;
        std::ranges::sort(newest);
        const auto middle = before_.insert(before_.end(), newest.begin(), newest.end());
        std::inplace_merge(before_.begin(), middle, before_.end());
        sessionsBefore_ += newest.empty() ? 0 : 1;
    }
    sessions_.push_back(std::move(session));
}

std::string SessionHistory::newestLine() const {
    if (sessions_.empty()) {
        return {};
    }
    const Session& newest = sessions_.back();
    std::string line = newest.date + "  " + text::visibleText(newest.name) + "  " +
                       std::to_string(newest.speeds.size()) + " shots";
    if (newest.speeds.empty()) {
        return line;
    }
    const double fastest = newest.summary->fastest;
    const double median = newest.summary->median;
    line += "  fastest " + formatNumber(fastest, 2) + "  median " + formatNumber(median, 2) +
            " units/s";
    if (before_.empty()) {
        return line + "  (the first session)";
    }
    return line + "  against the " + std::to_string(before_.size()) + " shots of " +
           std::to_string(sessionsBefore_) + (sessionsBefore_ == 1 ? " session" : " sessions") +
           " before: fastest " + signedNumber(fastest - before_.back()) + "  median " +
           signedNumber(median - percentile(before_, 0.5));
}

} // namespace kickmark
