// Arbitrary shots files through everything kickmark-report does with them: parsing, statistics,
// the terminal report and the chart, for one session and for several.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "Session.h"
#include "SessionsPanel.h"
#include "ShotsFile.h"
#include "Statistics.h"
#include "SvgChart.h"
#include "TextReport.h"

namespace {

void require(bool holds) {
    if (!holds)
        std::abort();
}

void checkSummary(const std::vector<double>& speeds) {
    const kickmark::Summary s = kickmark::summarize(speeds);
    for (const double value :
         {s.slowest, s.fastest, s.mean, s.median, s.percentile90, s.standardDeviation})
        require(std::isfinite(value));
    for (const double level : {s.mean, s.median, s.percentile90})
        require(level >= s.slowest && level <= s.fastest);
    require(s.standardDeviation >= 0 && s.standardDeviation <= s.fastest - s.slowest);
}

void requireNoInfinityOrNan(const std::string& text) {
    require(text.find("inf") == std::string::npos);
    require(text.find("nan") == std::string::npos);
}

// Enough of XML for what the chart writes: nested elements that close in order, quoted
// attributes, escaped text, and characters XML allows.
void requireWellFormed(const std::string& svg) {
    require(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"));
    std::vector<std::string> open;
    std::size_t at = svg.find('\n') + 1;
    while (at < svg.size()) {
        const auto c = static_cast<unsigned char>(svg[at]);
        require(c >= 0x20 || c == '\n');
        if (c == '&') {
            const std::size_t end = svg.find(';', at);
            require(end != std::string::npos);
            const std::string_view entity(svg.data() + at, end - at + 1);
            require(entity == "&amp;" || entity == "&lt;" || entity == "&gt;" ||
                    entity == "&quot;");
            at = end + 1;
            continue;
        }
        if (c == 0xEF && svg.compare(at, 3, "\xEF\xBF\xBE") == 0)
            std::abort(); // U+FFFE
        if (c == 0xEF && svg.compare(at, 3, "\xEF\xBF\xBF") == 0)
            std::abort(); // U+FFFF
        if (c != '<') {
            ++at;
            continue;
        }
        const std::size_t end = svg.find('>', at);
        require(end != std::string::npos);
        const std::string tag = svg.substr(at + 1, end - at - 1);
        require(std::count(tag.begin(), tag.end(), '"') % 2 == 0);
        require(tag.find('<') == std::string::npos);
        if (tag.starts_with('/')) {
            require(!open.empty() && open.back() == tag.substr(1));
            open.pop_back();
        } else if (!tag.ends_with('/')) {
            open.push_back(tag.substr(0, tag.find(' ')));
        }
        at = end + 1;
    }
    require(open.empty());
    require(svg.ends_with("</svg>\n"));
}

} // namespace

// A zero byte separates sessions; the first bytes of each name it, so names with any bytes
// reach the reports and the chart. The first byte of the input picks how many recent shots to
// compare.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t recent = 1 + data[0] % 16;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<kickmark::Session> sessions;
    while (sessions.size() < 4) {
        const std::size_t end = input.find('\0');
        std::string_view chunk = input.substr(0, end);
        // Letters become x, so a name never spells "inf" or "nan" itself.
        std::string name(chunk.substr(0, 8));
        for (char& c : name)
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                c = 'x';
        kickmark::Session session{name, "2026-12-08 18:00", {}};
        try {
            session.speeds = kickmark::parseShots(chunk, "fuzz.csv");
        } catch (const kickmark::NotASpeed& refused) {
            require(std::string_view(refused.what()).starts_with("fuzz.csv:"));
            session.speeds.clear();
        }
        for (const double speed : session.speeds)
            require(std::isfinite(speed) && speed >= 0 && speed <= 3.5e38);
        sessions.push_back(std::move(session));
        if (end == std::string_view::npos)
            break;
        input.remove_prefix(end + 1);
    }

    // With the first byte's top bit set, the sessions repeat past what the panel shows apart,
    // so that it draws runs of them.
    if ((data[0] & 0x80) != 0) {
        for (std::size_t i = 0; sessions.size() <= kickmark::mostSessionPoints; ++i) {
            sessions.push_back(sessions[i]);
        }
    }
    const kickmark::RankedSpeeds newest(sessions.back().speeds);
    if (!newest.inOrder().empty()) {
        checkSummary(sessions.back().speeds);
        std::ostringstream text;
        kickmark::writeTextReport(text, newest, recent);
        requireNoInfinityOrNan(text.str());
    }
    if (sessions.size() > 1) {
        std::ostringstream text;
        kickmark::writeSessionsReport(text, sessions, newest, recent, false);
        requireNoInfinityOrNan(text.str());
    }
    std::ostringstream chart;
    kickmark::writeSvgChart(chart, {.speeds = newest,
                                    .recentCount = recent,
                                    .sessions = sessions.size() > 1
                                                    ? std::span<const kickmark::Session>(sessions)
                                                    : std::span<const kickmark::Session>()});
    requireNoInfinityOrNan(chart.str());
    requireWellFormed(chart.str());
    return 0;
}
