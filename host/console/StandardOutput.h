#pragma once

#include <ostream>
#include <streambuf>
#include <string>

// Standard output held back until a flush, which writes it all at once: a write error then
// surfaces in the flush itself, with the system's reason still in errno, instead of in the
// middle of some line where nobody looks.
class StandardOutput : public std::streambuf {
protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    std::string pending_;
};

// Flushes `out`; when that fails, says "kickmark-host: cannot write standard output: REASON" on
// `err` and returns false.
bool flushOutput(std::ostream& out, std::ostream& err);
