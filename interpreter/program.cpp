#include "interpreter/program.h"

#include "interpreter/short_names.h"

#include "core/text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrin::cmd {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// The end of what a program writes on its standard error: never more than twice what is kept.
class ErrorTail {
public:
    void add(std::string_view bytes) {
        kept_.append(bytes);
        if (kept_.size() >= 2 * errorTailBytes)
            dropAllButTheEnd();
    }
    std::vector<std::string> lines() {
        dropAllButTheEnd();
        return lastErrorLines(kept_, startsInsideLine_);
    }

private:
    void dropAllButTheEnd() {
        if (kept_.size() <= errorTailBytes)
            return;
        const std::size_t dropped = kept_.size() - errorTailBytes;
        startsInsideLine_ = kept_[dropped - 1] != '\n';
        kept_.erase(0, dropped);
    }
    std::string kept_;
    bool startsInsideLine_ = false;
};

// Reads what is waiting in the non-blocking `fd` into `tail`; false once it is at its end.
bool readAvailable(int fd, ErrorTail& tail) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            tail.add(std::string_view(buffer, static_cast<std::size_t>(got)));
        else if (got < 0 && errno == EINTR)
            continue;
        else
            return got < 0 && errno == EAGAIN;
    }
}

// Reads the program's standard error from `fd` as it comes, so that the program never waits
// for the reader, until the program `child` has ended; then what it left in the pipe. What the
// program's own children write after that is not waited for. Without a process descriptor (an
// old kernel), until the pipe is at its end.
void readUntilEnded(pid_t child, int fd, ErrorTail& tail) {
    const int ended = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    pollfd watched[2] = {{fd, POLLIN, 0}, {ended, POLLIN, 0}};
    for (bool open = true; open;) {
        if (::poll(watched, ended >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        open = readAvailable(fd, tail) && (ended < 0 || (watched[1].revents & POLLIN) == 0);
    }
    if (ended >= 0)
        ::close(ended);
}

} // namespace

std::optional<std::string> findProgram(std::string_view name, std::string_view searchPath) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string_view::npos) {
        std::string path(name);
        return isExecutableFile(path) ? std::optional(path) : std::nullopt;
    }
    if (std::string local = "./" + std::string(name); isExecutableFile(local)) {
        return local;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = searchPath.find(':', start);
        const std::string_view folder = searchPath.substr(
            start, colon == std::string_view::npos ? std::string_view::npos : colon - start);
        std::string candidate = folder.empty() ? "./" + std::string(name)
                                               : std::string(folder) + "/" + std::string(name);
        if (isExecutableFile(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        start = colon + 1;
    }
}

std::optional<std::string> whyNotExecutable(std::string_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    const std::string shown(name);
    const std::string path = name.find('/') == std::string_view::npos ? "./" + shown : shown;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    if (S_ISDIR(info.st_mode)) {
        return shown + " is a folder, not a program";
    }
    if (!S_ISREG(info.st_mode)) {
        return shown + " is not a program: it is not a regular file";
    }
    if ((info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) == 0) {
        return shown + " is not executable: chmod +x " + shown;
    }
    return shown + " cannot be run: " + std::strerror(EACCES); // a noexec mount, another owner
}

bool hasResolvableArgument(const std::vector<std::string>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (!words[i].empty() && words[i].front() != '-') {
            return true;
        }
    }
    return false;
}

std::vector<std::string> resolveArguments(std::vector<std::string> words,
                                          const ShortNameIndex& index) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i].empty() || words[i].front() == '-') {
            continue;
        }
        if (auto longName = index.longNameFor(words[i])) {
            // A long name that begins with "-" goes as a path, so that no program reads it as
            // a switch.
            words[i] = longName->front() == '-' ? "./" + *longName : std::move(*longName);
        }
    }
    return words;
}

RunResult runProgram(const std::string& path, const std::vector<std::string>& words, int outputFd,
                     bool keepErrorTail) {
    RunResult result;
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (const auto& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    }
    int errorPipe[2] = {-1, -1};
    if (keepErrorTail && ::pipe2(errorPipe, O_CLOEXEC) == 0) {
        // A larger pipe lets a fast writer go on with fewer waits for the reader.
        ::fcntl(errorPipe[1], F_SETPIPE_SZ, 1 << 20);
        posix_spawn_file_actions_adddup2(&actions, errorPipe[1], STDERR_FILENO);
    }
    pid_t child = 0;
    const int spawnError =
        ::posix_spawn(&child, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (errorPipe[1] >= 0) {
        ::close(errorPipe[1]);
    }
    ErrorTail tail;
    if (errorPipe[0] >= 0) {
        if (spawnError == 0 && ::fcntl(errorPipe[0], F_SETFL, O_NONBLOCK) == 0) {
            readUntilEnded(child, errorPipe[0], tail);
        }
        ::close(errorPipe[0]);
    }
    if (spawnError == ENOEXEC) {
        result.error = "is not a program this system can run (neither a binary for it nor a "
                       "script whose first line begins with \"#!\")";
        return result;
    }
    if (spawnError == ENOENT) {
        result.error = "cannot be run: the interpreter its \"#!\" line names, or a library it "
                       "needs, is missing";
        return result;
    }
    if (spawnError != 0) {
        result.error = "cannot be run: " + std::string(std::strerror(spawnError));
        return result;
    }
    result.started = true;

    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            result.status = 128;
            return result;
        }
    }
    if (WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
        result.status = 128 + result.signal;
    }
    if (keepErrorTail) {
        result.errorLines = tail.lines();
    }
    return result;
}

} // namespace kestrin::cmd
