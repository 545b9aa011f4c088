#include "StopRequest.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <ctime>
#endif

namespace kickmark {

namespace {

std::atomic<bool> stopAsked{false};
std::atomic<bool> done{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

#ifdef _WIN32
BOOL WINAPI onConsoleEvent(DWORD event) {
    stopAsked = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // The system ends the process as soon as this returns, and at the latest after five
        // seconds: meanwhile the program finishes what it is writing.
        for (int waited = 0; !done && waited < 90; ++waited) {
            Sleep(50);
        }
    }
    return TRUE;
}
#else
extern "C" void onSignal(int) {
    stopAsked = true;
}
#endif

} // namespace

void catchStopRequests() {
#ifdef _WIN32
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

bool stopRequested() {
    return stopAsked;
}

void waitUnlessStopped(std::chrono::milliseconds duration) {
    if (stopAsked) {
        return;
    }
#ifdef _WIN32
    Sleep(static_cast<DWORD>(duration.count()));
#else
    // One sleep, which a signal cuts short: waiting costs a wake-up per look, no more.
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    const timespec time{static_cast<time_t>(seconds.count()),
                        static_cast<long>(std::chrono::nanoseconds(duration - seconds).count())};
    nanosleep(&time, nullptr);
#endif
}

void stopDone() {
    done = true;
}

} // namespace kickmark
