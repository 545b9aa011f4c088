#include "FileStatus.h"

#include <chrono>

namespace kickmark::files {

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) noexcept {
    FileStatus first, second;
    return !fileStatus(a, first) && !fileStatus(b, second) && first.id == second.id &&
           first.id != FileId{};
}

FileTime currentTime() noexcept {
    using namespace std::chrono;
    const auto since = system_clock::now().time_since_epoch();
    const auto seconds = floor<std::chrono::seconds>(since);
    return {seconds.count(),
            static_cast<std::int32_t>(duration_cast<nanoseconds>(since - seconds).count())};
}

} // namespace kickmark::files
