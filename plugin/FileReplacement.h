#pragma once

#include <filesystem>
#include <string>

namespace kickmark {

// Replaces a file's whole content with text written through a text-mode stream, so that no
// reader ever sees half of it and a failure at any point leaves the previous content as it
// was. The text goes to a temporary beside the file, created new under a name of its own, and
// is swapped in with one rename. The player's set-up survives: a symbolic link stays a link and
// its target is replaced; the new file takes the old one's permission bits; a file that may not
// be written is not replaced. Where the swap is impossible (the folder takes no new file, or
// the file is held open by a program that forbids replacing it) the file is written in place,
// and its old content is put back if that write fails. Returns whether the file now holds the
// text; never throws.
bool replaceFile(const std::filesystem::path& file, const std::string& text) noexcept;

} // namespace kickmark
