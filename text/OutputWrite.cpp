#include "OutputWrite.h"

#include <cerrno>
#include <cstdio>

namespace kickmark::text {

std::error_code writeStandardOutput(std::string_view text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written)
        return {};
    // A C library may fail a write without saying why.
    return errno != 0 ? std::error_code(errno, std::generic_category())
                      : std::make_error_code(std::errc::io_error);
}

} // namespace kickmark::text
