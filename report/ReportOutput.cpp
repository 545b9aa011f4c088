#include "ReportOutput.h"

#include "SvgChart.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <system_error>

namespace kickmark {

bool writeStandardOutput(std::string_view text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written) {
        return true;
    }
    std::cerr << "cannot write standard output: "
              << (errno != 0 ? std::generic_category().message(errno) : "unknown error") << '\n';
    return false;
}

std::string chartText(std::span<const Session> sessions, std::size_t recentCount) {
    std::ostringstream out;
    writeSvgChart(out, {.speeds = sessions.back().speeds,
                        .recentCount = recentCount,
                        .sessions = sessions.size() > 1 ? sessions : std::span<const Session>()});
    return out.str();
}

} // namespace kickmark
