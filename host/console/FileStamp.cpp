#include "FileStamp.h"

#include "FileReading.h"

FileStamp stampOf(const std::filesystem::path& file) {
    FileStamp stamp;
    kickmark::files::FileContent content;
    if (!kickmark::files::readFile(file, content)) {
        stamp.status = content.status;
        stamp.bytes = std::move(content.bytes);
    } else if (kickmark::files::FileStatus status; !kickmark::files::fileStatus(file, status)) {
        stamp.status = status;
    }
    return stamp;
}
