#include "TextLines.h"

#include <cerrno>
#include <system_error>

#include "PathText.h"
#include "Trim.h"

namespace {

std::string reason(int code) {
    return code ? std::generic_category().message(code) : "read failed";
}

} // namespace

TextLines::TextLines(std::FILE* stream, bool owned, std::filesystem::path file, std::string name)
    : stream_(stream), owned_(owned), file_(std::move(file)), name_(std::move(name)) {}

TextLines::~TextLines() {
    if (owned_)
        std::fclose(stream_);
}

std::unique_ptr<TextLines> TextLines::open(const std::filesystem::path& file, std::string& error) {
    const auto name = kickmark::text::visiblePath(file);
    // Some systems open a folder for reading and fail only at the first read; say it the same
    // way everywhere.
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        error = "cannot read " + name + ": " +
                std::make_error_code(std::errc::is_a_directory).message();
        return nullptr;
    }
    errno = 0;
#if defined(_WIN32)
    std::FILE* stream = _wfopen(file.c_str(), L"rb");
#else
    std::FILE* stream = std::fopen(file.c_str(), "rb");
#endif
    if (!stream) {
        error = "cannot read " + name + ": " + reason(errno);
        return nullptr;
    }
    return std::unique_ptr<TextLines>(new TextLines(stream, true, file, name));
}

std::unique_ptr<TextLines> TextLines::standardInput(std::string name) {
    return std::unique_ptr<TextLines>(new TextLines(stdin, false, {}, std::move(name)));
}

TextLines::Next TextLines::next(std::string& line, std::string& error) {
    line.clear();
    bool any = false;
    errno = 0;
    for (int c; (c = std::getc(stream_)) != EOF;) {
        any = true;
        if (c == '\n')
            break;
        // The limit is on the line without its line end, which may be CRLF.
        if (line.size() > maxLineBytes || (line.size() == maxLineBytes && c != '\r')) {
            error = "cannot read " + name_ + ": line " + std::to_string(lineNumber_ + 1) +
                    " is longer than " + std::to_string(maxLineBytes) + " bytes";
            return Next::failed;
        }
        line += static_cast<char>(c);
    }
    if (std::ferror(stream_)) {
        error = "cannot read " + name_ + ": " + reason(errno);
        return Next::failed;
    }
    if (!any)
        return Next::end;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (++lineNumber_ == 1)
        line.erase(0, line.size() - kickmark::text::withoutByteOrderMark(line).size());
    return Next::line;
}
