#pragma once

#include <system_error>

namespace kickmark::files {

// The failures that are this library's own rather than the system's.
enum class FileError {
    notRegularFile = 1,
    readOnly,
    changedWhileRead,
    notRestored,
};

const std::error_category& fileErrorCategory() noexcept;

inline std::error_code make_error_code(FileError error) noexcept {
    return {static_cast<int>(error), fileErrorCategory()};
}

} // namespace kickmark::files

template <> struct std::is_error_code_enum<kickmark::files::FileError> : std::true_type {};
