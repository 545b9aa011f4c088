#pragma once

#include <chrono>

namespace kickmark {

// From now on Ctrl+C and SIGTERM (on Windows, the console's control events: Ctrl+C, Ctrl+Break,
// closing the window, logging off, shutting down) ask the program to stop rather than end it
// on the spot, so that work under way is finished first.
void catchStopRequests();

bool stopRequested();

// Waits for `duration`, or less once a stop is asked for.
void waitUnlessStopped(std::chrono::milliseconds duration);

// The program is done with its work: a console that is closing may end it now.
void stopDone();

} // namespace kickmark
