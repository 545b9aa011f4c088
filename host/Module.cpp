#include "Module.h"

#include "AbsolutePath.h"
#include "PathText.h"

#include <stdexcept>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace pluginsdk {

#if defined(_WIN32)

namespace {

std::string lastErrorText() {
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, GetLastError(), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length ? std::string(buffer, length) : "unknown error";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
    return text;
}

} // namespace

Module::Module(const std::filesystem::path& path) {
    // An absolute path with the altered search order lets the module find the DLLs that
    // lie beside it.
    std::error_code ec;
    const auto absolute = absolutePath(path, ec);
    handle_ =
        ec ? nullptr : LoadLibraryExW(absolute.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!handle_)
        throw std::runtime_error("cannot load plugin " + kickmark::text::visiblePath(path) + ": " +
                                 (ec ? ec.message() : lastErrorText()));
}

Module::~Module() {
#if !defined(PLUGINSDK_KEEP_MODULES_OPEN)
    FreeLibrary(static_cast<HMODULE>(handle_));
#endif
}

void* Module::symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

#else

Module::Module(const std::filesystem::path& path) {
    // A path with a directory part stops dlopen from searching the library path.
    const auto explicitPath = path.has_parent_path() ? path : std::filesystem::path(".") / path;
    handle_ = dlopen(explicitPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* reason = dlerror();
        throw std::runtime_error("cannot load plugin " + kickmark::text::visiblePath(path) + ": " +
                                 (reason ? reason : "unknown error"));
    }
}

Module::~Module() {
    // Sanitizer builds keep modules mapped so that leak reports can still name their code.
#if !defined(PLUGINSDK_KEEP_MODULES_OPEN)
    dlclose(handle_);
#endif
}

void* Module::symbol(const char* name) const {
    return dlsym(handle_, name);
}

#endif

} // namespace pluginsdk
