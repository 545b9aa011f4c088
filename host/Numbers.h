#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sdk_export.h"

namespace pluginsdk {

// Reads a whole text as one float in decimal or exponent notation ("1e20", "nan", "inf",
// "-inf"), whatever the process locale. An optional leading '+' is accepted. Text with
// anything else in it, or a value outside the float range, gives nothing.
PLUGINSDK_API std::optional<float> parseFloat(std::string_view text);

// The shortest text that reads back as the same float, whatever the process locale.
PLUGINSDK_API std::string formatFloat(float value);

} // namespace pluginsdk
