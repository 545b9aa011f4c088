#include "Temporary.h"

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
constexpr std::size_t shortDigits = 6;

using Name = std::basic_string_view<fs::path::value_type>;

bool isDigits(Name text) {
    return !text.empty() && std::ranges::all_of(text, [](auto c) { return c >= '0' && c <= '9'; });
}

bool startsWithAscii(Name text, std::string_view ascii) {
    return text.size() >= ascii.size() && std::equal(ascii.begin(), ascii.end(), text.begin());
}

bool endsWithAscii(Name text, std::string_view ascii) {
    return text.size() >= ascii.size() &&
           std::equal(ascii.begin(), ascii.end(), text.end() - static_cast<long>(ascii.size()));
}

// "NAME.PID-STAMP.tmp" or "~km" and six hexadecimal digits.
bool isTemporaryName(Name name, Name targetName) {
    if (name.size() == shortPrefix.size() + shortDigits && startsWithAscii(name, shortPrefix))
        return std::ranges::all_of(name.substr(shortPrefix.size()), [](auto c) {
            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
        });
    if (!name.starts_with(targetName) || !startsWithAscii(name.substr(targetName.size()), ".") ||
        !endsWithAscii(name, usualSuffix))
        return false;
    const Name middle = name.substr(targetName.size() + 1,
                                    name.size() - targetName.size() - 1 - usualSuffix.size());
    const auto dash = middle.find('-');
    return dash != Name::npos && isDigits(middle.substr(0, dash)) &&
           isDigits(middle.substr(dash + 1));
}

// Windows refuses a path of MAX_PATH characters or more unless it is written as \\?\...
bool fitsPathLimit([[maybe_unused]] const fs::path& path) {
#if defined(_WIN32)
    return path.native().size() < 260 || path.native().starts_with(L"\\\\?\\");
#else
    return true;
#endif
}

std::string hexDigits(unsigned long long value) {
    std::string digits(shortDigits, '0');
    // Not views::reverse: clang 14 cannot compile it over libstdc++ 12's std::string.
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        *digit = "0123456789abcdef"[value & 0xF];
        value >>= 4;
    }
    return digits;
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
        bool shortNames = false;
        for (int attempt = 0; attempt < maxNameAttempts; ++attempt) {
            const auto unique = stamp + static_cast<unsigned long long>(attempt);
            fs::path path = target;
            std::string name(shortNames ? shortPrefix : ".");
            if (shortNames) {
                name += hexDigits(unique * 2654435761u);
                path.replace_filename(name);
            } else {
                name += process;
                name += '-';
                name += std::to_string(unique);
                name += usualSuffix;
                path += name;
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
        const auto now = currentTime();
        std::vector<fs::path> names;
        folderEntries(target.parent_path(), names);
        for (const auto& name : names) {
            const fs::path path = target.parent_path() / name;
            FileStatus status;
            // Never through a link: only files this library could have made.
            if (isTemporaryName(name.native(), targetName.native()) && !isLink(path) &&
                !fileStatus(path, status) &&
                now.seconds - status.modified.seconds > abandonedAfterSeconds)
                removeQuietly(path);
        }
    } catch (...) {
    }
}

} // namespace kickmark::files
