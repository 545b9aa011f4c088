#pragma once

#include <string>

namespace pluginsdk {

struct ChatLine {
    std::string sender;
    std::string text;
    bool operator==(const ChatLine&) const = default;
};

} // namespace pluginsdk
