#include "StandardOutput.h"

#include <cerrno>
#include <system_error>

#include "OutputWrite.h"

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
    // The reason stays in errno for flushOutput.
    const bool written = !kickmark::text::writeStandardOutput(pending_);
    pending_.clear();
    return written ? 0 : -1;
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
