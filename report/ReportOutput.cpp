#include "ReportOutput.h"

#include "OutputWrite.h"
#include "SvgChart.h"

#include <iostream>
#include <sstream>

namespace kickmark {

bool writeStandardOutput(std::string_view text) {
    if (const auto error = text::writeStandardOutput(text)) {
        std::cerr << "cannot write standard output: " << error.message() << '\n';
        return false;
    }
    return true;
}

std::string chartText(std::span<const Session> sessions, const RankedSpeeds& newest,
                      std::size_t recentCount, std::int64_t futureAfter) {
    std::ostringstream out;
    writeSvgChart(out, {.speeds = newest,
                        .recentCount = recentCount,
                        .sessions = sessions.size() > 1 ? sessions : std::span<const Session>(),
                        .futureAfter = futureAfter});
    return out.str();
}

} // namespace kickmark
