#include "Temporary.h"

#include "FileReplacement.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace kickmark::files {

namespace fs = std::filesystem;

namespace {

constexpr int maxNameAttempts = 100;
constexpr std::int64_t abandonedAfterSeconds = 60 * 60;
constexpr std::string_view usualSuffix = ".tmp";
constexpr std::string_view shortPrefix = "~km";
constexpr std::size_t hashDigits = 4;
constexpr std::size_t counterDigits = 2;

using Name = std::basic_string_view<fs::path::value_type>;

bool isDigits(Name text) {
    return !text.empty() && std::ranges::all_of(text, [](auto c) { return c >= '0' && c <= '9'; });
}

bool endsWithAscii(Name text, std::string_view ascii) {
    return text.size() >= ascii.size() &&
           std::equal(ascii.begin(), ascii.end(), text.end() - static_cast<long>(ascii.size()));
}

std::string hexDigits(unsigned long long value, std::size_t count) {
    std::string digits(count, '0');
    // Not views::reverse: clang 14 cannot compile it over libstdc++ 12's std::string.
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        *digit = "0123456789abcdef"[value & 0xF];
        value >>= 4;
    }
    return digits;
}

// Where a long name does not fit, the target's name still shows in its temporary's: as FNV-1a
// of its units, so that one target's temporaries are told from anything else's.
std::string shortStart(Name targetName) {
    std::uint32_t hash = 2166136261u;
    for (const auto unit : targetName) {
        hash ^= static_cast<std::uint32_t>(unit);
        hash *= 16777619u;
    }
    return std::string(shortPrefix) + hexDigits(hash, hashDigits);
}

// The target's name in a "NAME.PID-STAMP.tmp" temporary's; empty for any other name.
Name targetOfUsualName(Name name) {
    if (!endsWithAscii(name, usualSuffix))
        return {};
    const Name rest = name.substr(0, name.size() - usualSuffix.size());
    const auto dot = rest.rfind('.');
    if (dot == Name::npos || dot == 0)
        return {};
    const Name middle = rest.substr(dot + 1);
    const auto dash = middle.find('-');
    if (dash == Name::npos || !isDigits(middle.substr(0, dash)) ||
        !isDigits(middle.substr(dash + 1)))
        return {};
    return rest.substr(0, dot);
}

bool isShortNameOf(Name name, Name targetName) {
    const std::string start = shortStart(targetName);
    return name.size() == start.size() + counterDigits &&
           std::equal(start.begin(), start.end(), name.begin()) &&
           std::ranges::all_of(name.substr(start.size()), [](auto c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// Windows refuses a path of MAX_PATH characters or more unless it is written as \\?\...
bool fitsPathLimit([[maybe_unused]] const fs::path& path) {
#if defined(_WIN32)
    return path.native().size() < 260 || path.native().starts_with(L"\\\\?\\");
#else
    return true;
#endif
}

// Removes the folder's temporaries, last written more than an hour ago, whose target is one
// that `isTarget` accepts.
template <typename IsTarget>
void removeAbandoned(const fs::path& folder, IsTarget isTarget) noexcept {
    try {
        const auto now = currentTime();
        std::vector<fs::path> names;
        folderEntries(folder.empty() ? fs::path(".") : folder, names);
        for (const auto& name : names) {
            const fs::path path = folder / name;
            FileStatus status;
            bool link = true;
            // Never through a link: only files this library could have made.
            if (isTarget(name.native()) && !isLink(path, link) && !link &&
                !fileStatus(path, status) &&
                now.seconds - status.modified.seconds > abandonedAfterSeconds)
                removeQuietly(path);
        }
    } catch (...) {
    }
}

} // namespace

Temporary::~Temporary() {
    if (!path_.empty()) {
        file_.close();
        removeQuietly(path_);
    }
}

void Temporary::release() noexcept {
    file_.close();
    path_.clear();
}

Temporary Temporary::createBeside(const fs::path& target, std::error_code& error) noexcept {
    try {
        const auto stamp = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        const std::string process = std::to_string(processId());
        const std::string shortName = shortStart(target.filename().native());
        bool shortNames = false;
        for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
            const auto unique = stamp + static_cast<unsigned long long>(attempt);
            fs::path path = target;
            if (shortNames) {
                path.replace_filename(shortName + hexDigits(unique * 2654435761u, counterDigits));
            } else {
                path += "." + process + "-" + std::to_string(unique) + std::string(usualSuffix);
            }
            if (!shortNames && !fitsPathLimit(path)) {
                shortNames = true;
                continue;
            }
            Temporary temporary;
            temporary.file_ = NativeFile::createNew(path, error);
            if (!error) {
                temporary.path_ = std::move(path);
                return temporary;
            }
            if (error == std::errc::filename_too_long && !shortNames)
                shortNames = true;
            else if (error != std::errc::file_exists)
                return {};
        }
        return {};
    } catch (...) {
        error = std::make_error_code(std::errc::not_enough_memory);
        return {};
    }
}

void removeAbandonedTemporaries(const fs::path& target) noexcept {
    try {
        const fs::path targetName = target.filename();
        removeAbandoned(target.parent_path(), [&](Name name) {
            return targetOfUsualName(name) == Name(targetName.native()) ||
                   isShortNameOf(name, targetName.native());
        });
    } catch (...) {
    }
}

void removeAbandonedTemporaries(const fs::path& folder,
                                const std::function<bool(const fs::path&)>& isTarget) noexcept {
    removeAbandoned(folder, [&](Name name) {
        const Name target = targetOfUsualName(name);
        return !target.empty() && isTarget(fs::path(target));
    });
}

} // namespace kickmark::files
