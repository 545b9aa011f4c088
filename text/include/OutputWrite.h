#pragma once

#include <string_view>
#include <system_error>

namespace kickmark::text {

// Writes `text` to standard output and flushes it: the system's reason when any of it did not
// get there (a full disk, a closed pipe), so that lost output is never taken for a success.
// errno is left as the failing call set it.
std::error_code writeStandardOutput(std::string_view text);

} // namespace kickmark::text
