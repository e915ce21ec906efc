// Running batch lines and batch files in the working folder.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace kestrin::cmd {

// Exit statuses of the interpreter's own errors. A program that ran gives its own status (or
// 128 + the signal that ended it); these lie outside what the launcher's programs return.
namespace status {
inline constexpr int kSuccess = 0;
inline constexpr int kUsage = 120;               // not exactly one argument
inline constexpr int kUnreadableBatchFile = 121; // the batch file cannot be read
inline constexpr int kBadRedirection = 122;      // "> NAME" malformed, or NAME cannot be written
inline constexpr int kBadCommand = 123;          // a NUL in the line, no program, unknown dir form
inline constexpr int kListingFailed = 124;       // the folder cannot be read for dir
inline constexpr int kCannotRun = 126;           // found but could not be started
inline constexpr int kNotFound = 127;            // no such program
} // namespace status

// Writes one error line "kestrin-cmd: MESSAGE" to `errors`, control characters of the message
// (C0, DEL and C1) replaced by "?", so that every error is exactly one line and a file name
// cannot send commands to a terminal.
void reportError(std::ostream& errors, std::string_view message);

// Writes `message` as one line to `errors`, its control characters replaced as above.
void writeCleanLine(std::ostream& errors, std::string_view message);

// Runs one line in the working folder and returns its status. Errors of the interpreter itself
// go to `errors`. A line without words does nothing and returns `kSuccess`.
int runLine(std::string_view line, std::ostream& errors);

// Runs every line of the batch file `path` in turn; the result is the status of the last line
// run (0 for a file without lines).
int runBatchFile(const std::string& path, std::ostream& errors);

} // namespace kestrin::cmd
