#include "FileReading.h"

#include "FileErrors.h"
#include "NativeFile.h"

namespace kickmark::files {

std::error_code readFile(const std::filesystem::path& path, FileContent& content) noexcept {
    std::error_code error;
    const NativeFile file = NativeFile::openForReading(path, error);
    if (error)
        return error;
    FileStatus before;
    if ((error = file.status(before)))
        return error;
    if (!before.regular)
        return FileError::notRegularFile;
    if ((error = file.readAll(content.bytes)))
        return error;
    if ((error = file.status(content.status)))
        return error;
    if (content.status.size != before.size || content.status.modified != before.modified ||
        content.bytes.size() != content.status.size)
        return FileError::changedWhileRead;
    return {};
}

} // namespace kickmark::files
