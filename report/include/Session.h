#pragma once

#include <string>
#include <vector>

namespace kickmark {

// One shots file: every save of the plugin replaces the file with the speeds since it was
// loaded or reset, so a file is one practice session.
struct Session {
    std::string name; // the file name, without its folder
    std::string date; // when the file was last written, "YYYY-MM-DD HH:MM" in UTC
    std::vector<double> speeds;
};

} // namespace kickmark
