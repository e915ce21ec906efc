#include "interpreter/interpreter.h"

#include "interpreter/batch_line.h"
#include "interpreter/dir_command.h"
#include "interpreter/directory.h"
#include "interpreter/listing.h"
#include "interpreter/program.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrin::cmd {

namespace {

// What a name of the working folder is, for the refusal of a redirection target.
std::string kindOf(mode_t mode) {
    if (S_ISLNK(mode)) {
        return "it is a symbolic link";
    }
    if (S_ISDIR(mode)) {
        return "it is a folder";
    }
    if (S_ISFIFO(mode)) {
        return "it is a named pipe (FIFO)";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "it is a device";
    }
    return "it is not a regular file";
}

// Clears O_NONBLOCK again, so that the program the file is handed to writes as usual; closes
// `fd` and gives -1 when that fails.
int writableAsUsual(int fd, std::string& error) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

// Opens the redirection target in the working folder for writing, new or emptied. Only a
// regular file is ever opened: anything else is refused before it is opened, so that no open can
// block (a FIFO without a reader) or write outside the folder (a link). A regular file with
// other hard links is not written through: its name is removed and a new file takes its place,
// so that the other names keep their content. The type is checked again on the opened file
// before it is emptied, in case the name changed in between.
int openOutputFile(const std::string& name, std::string& error) {
    constexpr int kFlags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = ::open(name.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            return writableAsUsual(fd, error);
        }
        if (errno != EEXIST) {
            error = std::strerror(errno);
            return -1;
        }
        struct stat named {};
        if (::lstat(name.c_str(), &named) != 0) {
            continue; // gone since the open: create it
        }
        if (!S_ISREG(named.st_mode)) {
            error = kindOf(named.st_mode);
            return -1;
        }
        if (named.st_nlink > 1) {
            if (::unlink(name.c_str()) != 0 && errno != ENOENT) {
                error = "it has other hard links, and it cannot be replaced by a new file: " +
                        std::string(std::strerror(errno));
                return -1;
            }
            continue;
        }
        fd = ::open(name.c_str(), kFlags);
        if (fd < 0) {
            if (errno == ENOENT || errno == ELOOP || errno == ENXIO) {
                continue; // replaced since the check: look again
            }
            error = std::strerror(errno);
            return -1;
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || opened.st_dev != named.st_dev ||
            opened.st_ino != named.st_ino || opened.st_nlink > 1) {
            ::close(fd);
            continue;
        }
        if (::ftruncate(fd, 0) != 0) {
            error = std::strerror(errno);
            ::close(fd);
            return -1;
        }
        return writableAsUsual(fd, error);
    }
    error = "it changed again and again while being opened";
    return -1;
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string workingFolderLabel() {
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof buffer) != nullptr) {
        return buffer;
    }
    return ".";
}

int runDir(const Command& command, std::ostream& errors) {
    const std::optional<ListingForm> form = dirForm(command.words);
    if (!form) {
        reportError(errors, "dir: only \"dir /On /b *.bin\" and \"dir /On *.bin\" are provided");
        return status::kBadCommand;
    }
    std::string error;
    // The folder is read before the output file is opened, so that a listing of a folder that
    // cannot be read leaves an existing file of that name as it was.
    const std::optional<Folder> folder = readFolder(".", error, scopeFor(*form));
    if (!folder) {
        reportError(errors, "dir: cannot read the working folder: " + error);
        return status::kListingFailed;
    }
    int fd = STDOUT_FILENO;
    if (command.outputFile) {
        fd = openOutputFile(*command.outputFile, error);
        if (fd < 0) {
            reportError(errors, "cannot write " + *command.outputFile + ": " + error);
            return status::kBadRedirection;
        }
    }
    bool written = writeListing(*folder, workingFolderLabel(), *form,
                                [fd](std::string_view piece) { return writeAll(fd, piece); });
    int writeError = written ? 0 : errno;
    if (fd != STDOUT_FILENO && ::close(fd) != 0 && written) {
        writeError = errno; // a full disk can show only when the file is closed
        written = false;
    }
    if (!written) {
        reportError(errors,
                    "dir: cannot write the listing: " + std::string(std::strerror(writeError)));
        return status::kListingFailed;
    }
    return status::kSuccess;
}

int runExternal(const Command& command, std::ostream& errors) {
    const char* searchPath = std::getenv("PATH");
    const std::optional<std::string> path =
        findProgram(command.words.front(), searchPath != nullptr ? searchPath : "");
    if (!path) {
        if (const std::optional<std::string> reason = whyNotExecutable(command.words.front())) {
            reportError(errors, *reason);
            return status::kCannotRun;
        }
        reportError(errors, command.words.front() + ": program not found");
        return status::kNotFound;
    }

    std::vector<std::string> words = command.words;
    if (hasResolvableArgument(words)) {
        std::string ignored;
        // An unreadable folder resolves nothing; the arguments then pass as written.
        if (std::optional<Folder> folder = readFolder(".", ignored)) {
            words = resolveArguments(
                std::move(words), ShortNameIndex(std::move(folder->names), std::move(folder->order),
                                                 std::move(folder->shortNameNumbers)));
        }
    }

    int fd = -1;
    if (command.outputFile) {
        std::string error;
        fd = openOutputFile(*command.outputFile, error);
        if (fd < 0) {
            reportError(errors, "cannot write " + *command.outputFile + ": " + error);
            return status::kBadRedirection;
        }
    }
    // A terminal shows all that the program writes as it comes; anything else gets only the end
    // that the launcher shows, however much the program writes.
    const bool keepErrorTail = ::isatty(STDERR_FILENO) == 0;
    const RunResult result = runProgram(*path, words, fd, keepErrorTail);
    if (fd >= 0) {
        ::close(fd);
    }
    if (!result.started) {
        reportError(errors, command.words.front() + " " + result.error);
        return status::kCannotRun;
    }
    for (const std::string& line : result.errorLines) {
        errors << line << '\n';
    }
    if (result.signal != 0) {
        // A crash is never silent, even when the program said nothing.
        const char* name = ::sigdescr_np(result.signal); // English, whatever the locale
        writeCleanLine(errors, command.words.front() + " ended with signal " +
                                   std::to_string(result.signal) +
                                   (name != nullptr ? " (" + std::string(name) + ")" : ""));
    }
    errors << std::flush;
    return result.status;
}

} // namespace

void reportError(std::ostream& errors, std::string_view message) {
    writeCleanLine(errors, "kestrin-cmd: " + std::string(message));
}

void writeCleanLine(std::ostream& errors, std::string_view message) {
    std::string line;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const auto u = static_cast<unsigned char>(message[i]);
        // C0 controls and DEL, and the C1 controls U+0080 to U+009F in their UTF-8 form, which
        // a terminal would take as commands as well.
        const bool c1 = u == 0xC2 && i + 1 < message.size() &&
                        (static_cast<unsigned char>(message[i + 1]) & 0xE0) == 0x80;
        if (u < 0x20 || u == 0x7F || c1) {
            line.push_back('?');
            i += c1 ? 1 : 0;
        } else {
            line.push_back(message[i]);
        }
    }
    line.push_back('\n');
    errors << line << std::flush;
}

int runLine(std::string_view line, std::ostream& errors) {
    const ParsedLine parsed = parseLine(line);
    switch (parsed.error) {
    case LineError::None:
        break;
    case LineError::BadRedirection:
        reportError(errors, parsed.message);
        return status::kBadRedirection;
    case LineError::NulCharacter:
        reportError(errors, parsed.message);
        return status::kBadCommand;
    }
    const Command& command = parsed.command;
    if (command.words.empty()) {
        if (command.outputFile) {
            reportError(errors, "no program before the redirection");
            return status::kBadCommand;
        }
        return status::kSuccess;
    }
    return isDirCommand(command.words) ? runDir(command, errors) : runExternal(command, errors);
}

int runBatchFile(const std::string& path, std::ostream& errors) {
    // The descriptor stays open until the interpreter ends: while it is, the launcher can see
    // that this file has been taken, and may replace it by a new one of the same name for the
    // next job. Not passed on to the programs run.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reportError(errors, "cannot read " + path + ": " + std::strerror(errno));
        return status::kUnreadableBatchFile;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int readError = errno;
            reportError(errors, "cannot read " + path + ": " + std::strerror(readError));
            return status::kUnreadableBatchFile;
        }
        if (got == 0) {
            break;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }

    int last = status::kSuccess;
    for (const std::string& line : splitBatchLines(content)) {
        last = runLine(line, errors);
    }
    return last;
}

} // namespace kestrin::cmd
