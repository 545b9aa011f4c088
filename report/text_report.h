#pragma once

#include <cstddef>
#include <ostream>
#include <span>

namespace kickmark {

// Summary statistics, a histogram drawn with block characters (UTF-8), and how the last
// `recent_count` shots compare with the ones before. `speeds` must not be empty.
void write_text_report(std::ostream& out, std::span<const double> speeds, std::size_t recent_count);

} // namespace kickmark
