#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

// The lines of a text file or of standard input, one at a time, so that a script may run
// for as long as its source goes on. A read that fails is reported with the system's reason,
// never taken for the end of the file.
class TextLines {
public:
    // A line longer than this (its line end left out) is no console line; it also keeps an endless
    // file without line ends (a device, say) from taking all memory.
    static constexpr std::size_t maxLineBytes = 65536;

    enum class Next { line, end, failed };

    // Opens a file; nothing, with "cannot read NAME: reason" in `error`, when it cannot be
    // read (a folder, for one).
    static std::unique_ptr<TextLines> open(const std::filesystem::path& file, std::string& error);
    // Standard input, named `name` in messages.
    static std::unique_ptr<TextLines> standardInput(std::string name);

    ~TextLines();
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;

    // The next line without its line end; a UTF-8 byte-order mark before the first line is
    // skipped. On `failed`, `error` says "cannot read NAME: reason".
    Next next(std::string& line, std::string& error);

    const std::string& name() const { return name_; }
    // The file read; empty for standard input.
    const std::filesystem::path& file() const { return file_; }
    int lineNumber() const { return lineNumber_; }

private:
    TextLines(std::FILE* stream, bool owned, std::filesystem::path file, std::string name);

    std::FILE* stream_;
    bool owned_;
    std::filesystem::path file_;
    std::string name_;
    int lineNumber_ = 0;
};
