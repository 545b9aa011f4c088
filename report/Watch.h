#pragma once

#include "CommandLine.h"

namespace kickmark {

// kickmark-report --watch: until stopped, each save of the shots file is read once it has
// settled, kept, drawn and told in one line. Returns the exit status: 0 once stopped, 2 when
// standard output was lost. Throws as the report does when the keep folder cannot be used at
// the start.
int watch(const Options& options);

} // namespace kickmark
