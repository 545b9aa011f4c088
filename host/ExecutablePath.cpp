#include "Host.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace pluginsdk {

std::filesystem::path executableDirectory() {
#if defined(_WIN32)
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), buffer.size());
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::filesystem::path(buffer).parent_path();
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

std::filesystem::path moduleBesideExecutable(std::string_view name) {
#if defined(_WIN32)
    constexpr std::string_view suffix = ".dll";
#else
    constexpr std::string_view suffix = ".so";
#endif
    return executableDirectory() / (std::string(name) + std::string(suffix));
}

} // namespace pluginsdk
