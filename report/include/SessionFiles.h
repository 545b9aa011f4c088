#pragma once

#include "Session.h"
#include "SessionFile.h"
#include "SettledRead.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kickmark {

// Each path as given, and every *.csv regular file directly in each folder (by name), in that
// order. Throws CannotRead when a folder cannot be listed.
std::vector<std::filesystem::path> findSessionFiles(std::span<const std::filesystem::path> paths);

// Every file read once (see readSettled) and checked, in the order the sessions happened. A
// file that several names lead to is one session, under the first of them. Throws CannotRead,
// or NotASpeed for the first line of any file that is not a speed; with `refused`, such a file
// is left out instead, and why is added there.
std::vector<SessionFile> readSessionFiles(std::span<const std::filesystem::path> paths,
                                          LineEnd lineEnd,
                                          std::vector<std::string>* refused = nullptr);

// What the report and the chart show of a session: its name, its UTC time and its speeds.
Session sessionOf(SessionFile file);

// What the report and the chart show of each: its name, its UTC time and its speeds, taken
// rather than copied, as a session may hold millions.
std::vector<Session> sessionsOf(std::vector<SessionFile> files);

} // namespace kickmark
