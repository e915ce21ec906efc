#include "interpreter/program.h"

#include "interpreter/short_names.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
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

RunResult runProgram(const std::string& path, const std::vector<std::string>& words, int outputFd) {
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
    pid_t child = 0;
    const int spawnError =
        ::posix_spawn(&child, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
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
        result.status = 128 + WTERMSIG(status);
    }
    return result;
}

} // namespace kestrin::cmd
