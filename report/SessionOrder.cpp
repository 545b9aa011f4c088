#include "SessionOrder.h"

#include "PathText.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace kickmark {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view digitRun(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && isDigit(text[end])) {
        ++end;
    }
    return text.substr(at, end - at);
}

// Below zero when a comes first: character by character, except that runs of digits compare
// by their value, and a name that is the start of another comes first.
int compareNaturally(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::string_view x = digitRun(a, i);
            std::string_view y = digitRun(b, j);
            i += x.size();
            j += y.size();
            x.remove_prefix(std::min(x.find_first_not_of('0'), x.size()));
            y.remove_prefix(std::min(y.find_first_not_of('0'), y.size()));
            if (x.size() != y.size()) {
                return x.size() < y.size() ? -1 : 1;
            }
            if (const int order = x.compare(y); order != 0) {
                return order;
            }
            continue;
        }
        if (a[i] != b[j]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        }
        ++i;
        ++j;
    }
    return (i < a.size()) - (j < b.size());
}

} // namespace

bool happenedBefore(const SessionFile& a, const SessionFile& b) {
    if (a.time != b.time) {
        return a.time < b.time;
    }
    const std::string aStem = text::utf8Path(a.path.stem());
    const std::string bStem = text::utf8Path(b.path.stem());
    if (const int order = compareNaturally(aStem, bStem); order != 0) {
        return order < 0;
    }
    return a.path.filename() != b.path.filename() ? a.path.filename() < b.path.filename()
                                                  : a.path < b.path;
}

} // namespace kickmark
