#include "CommandLineWords.h"

#include "Utf8.h"

namespace kickmark::text {

#if defined(_WIN32)
std::vector<std::string> commandLineWords(int argc, wchar_t** argv) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        // UTF-16 holds nothing else that UTF-8 cannot.
        words.push_back(*utf8FromWide(argv[i], LoneSurrogates::keep));
    }
    return words;
}
#else
std::vector<std::string> commandLineWords(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}
#endif

} // namespace kickmark::text
