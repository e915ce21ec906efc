// Finding and running the program a batch line names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::cmd {

// The path of the program `name`: an executable file of that name in the working folder first,
// then in each folder of `searchPath` (a colon-separated list; an empty entry is the working
// folder). A name holding "/" is taken as a path as it stands. Nothing when none is found.
std::optional<std::string> findProgram(std::string_view name, std::string_view searchPath);

// Why `name` cannot be run when `findProgram` found nothing, when there is a reason besides its
// absence: a file of that name in the working folder (or at the path given) that is not
// executable is named as such, with the remedy. Nothing when there is no such file.
std::optional<std::string> whyNotExecutable(std::string_view name);

// Replaces every argument after the program name that is the short name of an entry of the
// working folder by its long name, given as "./NAME" when it begins with "-". Arguments that
// begin with "-" are switches and stay.
class ShortNameIndex;
std::vector<std::string> resolveArguments(std::vector<std::string> words,
                                          const ShortNameIndex& index);

// True when some argument after the program name could be a short name, that is when reading
// the folder for `resolveArguments` can change anything.
bool hasResolvableArgument(const std::vector<std::string>& words);

struct RunResult {
    bool started = false;
    int status = 0;    // the exit status, or 128 + the signal that ended the program
    int signal = 0;    // the signal that ended the program, or 0
    std::string error; // why it could not be started, to follow the program's name
    // The last lines of its standard error, made printable, when only they were kept.
    std::vector<std::string> errorLines;
};

// Runs `path` with `words` as its argument vector (the first word is its name) and waits for it.
// Its standard output goes to `outputFd` when that is not negative. With `keepErrorTail`, its
// standard error goes into a pipe that is read as it comes, of which only the end is kept (in
// memory, however much the program writes) and returned as `errorLines`; else the program
// writes on the interpreter's own.
RunResult runProgram(const std::string& path, const std::vector<std::string>& words, int outputFd,
                     bool keepErrorTail);

} // namespace kestrin::cmd
