#pragma once

#include <filesystem>
#include <string>

#include "sdk_export.h"

namespace pluginsdk {

// A dynamic library opened through the platform's loader and closed with the object.
class PLUGINSDK_API Module {
public:
    // Throws std::runtime_error naming the path and the loader's reason.
    explicit Module(const std::filesystem::path& path);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    void* symbol(const char* name) const;

private:
    void* handle_;
};

} // namespace pluginsdk
