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
#include <unistd.h>

namespace kestrin::cmd {

namespace {

// Opens the redirection target in the working folder, created or emptied. A symbolic link is
// refused rather than followed, so that a line never writes anywhere but the named file.
int openOutputFile(const std::string& name, std::string& error) {
    const int fd =
        ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
    }
    return fd;
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
        reportError(errors, command.words.front() + ": program not found");
        return status::kNotFound;
    }

    std::vector<std::string> words = command.words;
    if (hasResolvableArgument(words)) {
        std::string ignored;
        // An unreadable folder resolves nothing; the arguments then pass as written.
        if (std::optional<Folder> folder = readFolder(".", ignored)) {
            words =
                resolveArguments(std::move(words), ShortNameIndex(std::move(folder->names),
                                                                  std::move(folder->shortNames)));
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
    const RunResult result = runProgram(*path, words, fd);
    if (fd >= 0) {
        ::close(fd);
    }
    if (!result.started) {
        reportError(errors, command.words.front() + ": cannot run: " + result.error);
        return status::kCannotRun;
    }
    return result.status;
}

} // namespace

void reportError(std::ostream& errors, std::string_view message) {
    std::string line = "kestrin-cmd: ";
    for (const char c : message) {
        const auto u = static_cast<unsigned char>(c);
        line.push_back(u < 0x20 || u == 0x7F ? '?' : c);
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
            ::close(fd);
            reportError(errors, "cannot read " + path + ": " + std::strerror(readError));
            return status::kUnreadableBatchFile;
        }
        if (got == 0) {
            break;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);

    int last = status::kSuccess;
    for (const std::string& line : splitBatchLines(content)) {
        last = runLine(line, errors);
    }
    return last;
}

} // namespace kestrin::cmd
