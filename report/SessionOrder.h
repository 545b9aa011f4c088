#pragma once

#include "SessionFile.h"

namespace kickmark {

// Sessions in the order they happened: by modification time, then by path.
bool happenedBefore(const SessionFile& a, const SessionFile& b);

} // namespace kickmark
