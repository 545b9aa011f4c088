#include "StandardOutput.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

StandardOutput::int_type StandardOutput::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof()))
        pending_ += traits_type::to_char_type(c);
    return traits_type::not_eof(c);
}

std::streamsize StandardOutput::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
}

int StandardOutput::sync() {
    const bool written =
        std::fwrite(pending_.data(), 1, pending_.size(), stdout) == pending_.size();
    pending_.clear();
    return written && std::fflush(stdout) == 0 ? 0 : -1;
}

bool flushOutput(std::ostream& out, std::ostream& err) {
    errno = 0;
    if (out.flush())
        return true;
    const int code = errno;
    err << "kickmark-host: cannot write standard output: "
        << (code ? std::generic_category().message(code) : "write failed") << '\n';
    return false;
}
