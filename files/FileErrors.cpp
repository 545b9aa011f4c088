#include "FileErrors.h"

#include <string>

namespace kickmark::files {

namespace {

class Category : public std::error_category {
public:
    const char* name() const noexcept override { return "kickmark-files"; }

    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
        case FileError::notRegularFile:
            return "not a regular file";
        case FileError::readOnly:
            return "the file is read-only";
        case FileError::changedWhileRead:
            return "the file changed while it was read";
        case FileError::notRestored:
            return "the write failed and the previous content could not be put back";
        }
        return "unknown error";
    }
};

} // namespace

const std::error_category& fileErrorCategory() noexcept {
    static const Category category;
    return category;
}

} // namespace kickmark::files
