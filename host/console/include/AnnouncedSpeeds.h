#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The speeds the plugin announced in the chat since it was loaded or reset, as the chat showed
// them: what its next save must hold.
class AnnouncedSpeeds {
public:
    // Takes note of a chat line; lines that announce no speed are let pass.
    void heard(std::string_view chatLine);
    void clear() { speeds_.clear(); }
    std::size_t count() const { return speeds_.size(); }

    // Whether a shots file holds exactly these speeds, in order: each line, read as a 32-bit
    // float and rounded as its announcement was, shows what the chat showed.
    bool heldBy(std::string_view fileBytes) const;

private:
    std::vector<std::string> speeds_;
};
