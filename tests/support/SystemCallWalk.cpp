#include "SystemCallWalk.h"

#include <type_traits>
#include <utility>

namespace {

using kickmark::files::SystemCalls;

struct Walk {
    SystemCalls below{};
    int calls = 0;
    int failAt = 0;
    int alsoAt = 0;
    bool stop = false;
    std::error_code error;
};

Walk walk;

template <auto Entry, auto Other> constexpr bool same() {
    if constexpr (std::is_same_v<decltype(Entry), decltype(Other)>)
        return Entry == Other;
    else
        return false;
}

// A descriptor or listing is gone after its close whatever the close reports.
template <auto Entry> constexpr bool releases() {
#if defined(_WIN32)
    return same<Entry, &SystemCalls::closeHandle>() || same<Entry, &SystemCalls::findClose>();
#else
    return same<Entry, &SystemCalls::close>() || same<Entry, &SystemCalls::closedir>();
#endif
}

template <auto Entry, typename Function> struct Counted;

template <auto Entry, typename... Arguments>
struct Counted<Entry, std::error_code (*)(Arguments...)> {
    static std::error_code call(Arguments... arguments) {
        const int number = ++walk.calls;
        const bool failing =
            walk.failAt != 0 &&
            (walk.stop ? number >= walk.failAt : number == walk.failAt || number == walk.alsoAt);
        if (!failing)
            return (walk.below.*Entry)(arguments...);
        if constexpr (releases<Entry>())
            (walk.below.*Entry)(arguments...);
        return walk.stop ? std::make_error_code(std::errc::io_error) : walk.error;
    }
};

template <auto Entry>
using CountedEntry =
    Counted<Entry, std::remove_reference_t<decltype(std::declval<SystemCalls&>().*Entry)>>;

} // namespace

SystemCallWalk::SystemCallWalk() {
    walk = Walk{kickmark::files::nativeSystemCalls(), 0, 0, 0, false, {}};
    auto& table = kickmark::files::systemCalls();
#define KICKMARK_COUNT(name) table.name = &CountedEntry<&SystemCalls::name>::call;
    KICKMARK_FILES_SYSTEM_CALLS(KICKMARK_COUNT)
#undef KICKMARK_COUNT
}

SystemCallWalk::~SystemCallWalk() {
    kickmark::files::systemCalls() = kickmark::files::nativeSystemCalls();
}

SystemCalls& SystemCallWalk::below() {
    return walk.below;
}

void SystemCallWalk::reset() {
    walk.calls = 0;
    walk.failAt = 0;
    walk.alsoAt = 0;
    walk.stop = false;
}

void SystemCallWalk::failAt(int call, std::error_code error, int second) {
    reset();
    walk.failAt = call;
    walk.alsoAt = second;
    walk.error = error;
}

void SystemCallWalk::stopAt(int call) {
    reset();
    walk.failAt = call;
    walk.stop = true;
}

int SystemCallWalk::calls() const {
    return walk.calls;
}
