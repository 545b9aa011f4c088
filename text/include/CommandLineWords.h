#pragma once

#include <string>
#include <vector>

namespace kickmark::text {

// The program's arguments, its name left out, as UTF-8 words. Windows hands them over wide
// (from wmain; MinGW links that with -municode), so that a name outside the ANSI code page
// arrives whole rather than with '?' or look-alikes in it. A lone surrogate keeps its three
// bytes (WTF-8) where a conversion would put U+FFFD and so name another file: the word is then
// no UTF-8, and refused as a name as bytes that are not UTF-8 are on Linux. Elsewhere the words
// are the bytes given.
#if defined(_WIN32)
std::vector<std::string> commandLineWords(int argc, wchar_t** argv);
#else
std::vector<std::string> commandLineWords(int argc, char** argv);
#endif

} // namespace kickmark::text
