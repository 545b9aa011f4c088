#pragma once

#include "SessionFile.h"

namespace kickmark {

// Sessions in the order they happened: by their times (see sessionTime), and at one time by name
// with numbers compared by value ("x.csv", "x-2.csv", "x-10.csv"), the order in which copies kept
// from one second are named; the path decides the rest.
bool happenedBefore(const SessionFile& a, const SessionFile& b);

} // namespace kickmark
