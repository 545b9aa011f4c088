// Paths from the programs' UTF-8 words, and back into their messages.
#include <gtest/gtest.h>

#include "PathText.h"

#include <optional>
#include <string>

using namespace kickmark::text;
namespace fs = std::filesystem;

namespace {

TEST(PathText, a_word_names_the_file_it_spells_and_comes_back_as_given) {
    const struct {
        std::string word;
        std::optional<fs::path> path;
    } cases[] = {
        {"shots.csv", fs::path(u8"shots.csv")},
        {"", fs::path()},
        {"Zo\xC3\xAB/\xD0\x94\xD0\xB0\xD0\xBD/\xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9F\x8F\x8E.csv",
         fs::path(u8"Zo\u00EB/\u0414\u0430\u043D/\u65E5\u672C/\U0001F3CE.csv")},
        // The system would read the name only up to the NUL.
        {std::string("a\0b", 3), std::nullopt},
    };
    for (const auto& [word, path] : cases) {
        const auto named = pathFromUtf8(word);
        EXPECT_EQ(named, path) << word;
        if (named) {
            EXPECT_EQ(utf8Path(*named), word);
        }
    }
    // Windows names are UTF-16: bytes that are no UTF-8 (a lone surrogate's three included)
    // name no file there, while on Linux they are the name.
    for (const std::string word : {"bad\xFF", "lone\xED\xA0\x80x"}) {
        EXPECT_EQ(pathFromUtf8(word).has_value(), fs::path::preferred_separator == '/') << word;
    }
    EXPECT_EQ(unusablePath(std::string("a\0b", 3)), "a\\x00b is not usable as a path");
}

TEST(PathText, a_path_in_a_message_has_nothing_a_terminal_would_act_on) {
    const fs::path folder = fs::path(u8"Zo\u00EB") / "x";
    const std::string separator = fs::path::preferred_separator == '\\' ? "\\" : "/";
    EXPECT_EQ(visiblePath(folder / "a\x1B[2J\r\n.csv"),
              "Zo\xC3\xAB" + separator + "x" + separator + "a\\x1B[2J\\r\\x0A.csv");
    EXPECT_EQ(visiblePath(fs::path(u8"a\u00A0b.csv")), "a\\u{00A0}b.csv");
    // A backslash is a name's own character only where it is no separator.
    EXPECT_EQ(visiblePath(fs::path("C:\\x.csv")),
              fs::path::preferred_separator == '\\' ? "C:\\x.csv" : "C:\\\\x.csv");
}

} // namespace
