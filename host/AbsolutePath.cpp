#include "AbsolutePath.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace pluginsdk {

namespace fs = std::filesystem;

#if defined(_WIN32)

fs::path absolutePath(const fs::path& path, std::error_code& ec) {
    ec.clear();
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), full.size(), full.data(), nullptr);
        if (length == 0) {
            ec = std::error_code(static_cast<int>(GetLastError()), std::system_category());
            return {};
        }
        // Too small a buffer gives the size needed, terminator included.
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

#else

fs::path absolutePath(const fs::path& path, std::error_code& ec) {
    const fs::path absolute = fs::absolute(path, ec);
    if (ec)
        return {};
    fs::path result = absolute.root_path();
    for (const auto& part : absolute.relative_path()) {
        if (part.empty() || part == ".")
            continue;
        if (part != "..") {
            result /= part;
            continue;
        }
        const auto status = fs::status(result, ec);
        if (status.type() == fs::file_type::not_found) {
            ec.clear();
        } else if (fs::is_directory(status)) {
            result = fs::canonical(result, ec);
        } else if (!ec) {
            ec = std::make_error_code(std::errc::not_a_directory);
        }
        if (ec)
            return {};
        result = result.parent_path();
    }
    return result;
}

#endif

} // namespace pluginsdk
