#pragma once

#include "SystemCalls.h"

#include <system_error>

// Counts the calls the file library makes to the system and makes one fail on request, through
// the library's own table: the nth call from the last reset fails with a given error, or it and
// every later one is refused, as a process stopped there makes none (a descriptor is still
// released, as the system releases a stopped process's). Puts the system's calls back when it
// goes.
class SystemCallWalk {
public:
    SystemCallWalk();
    ~SystemCallWalk();
    SystemCallWalk(const SystemCallWalk&) = delete;
    SystemCallWalk& operator=(const SystemCallWalk&) = delete;

    // What the counted calls call: the system's own, or whatever a test sets for a situation
    // (a folder that takes no new file, a file system without links).
    kickmark::files::SystemCalls& below();

    // Counting from zero again, with nothing failing.
    void reset();
    // The call fails, and the second one too when given.
    void failAt(int call, std::error_code error, int second = 0);
    void stopAt(int call);
    int calls() const;
};
