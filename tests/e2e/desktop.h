// What the end-to-end tests need to drive the real launcher: child processes with bounded
// waits, a virtual X display with a window manager and a session bus, and readers of what the
// user sees (windows through xdotool, texts and states through the accessibility tree).
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A child process. Its standard output and error go to files; it is killed when destroyed.
class Process {
public:
    // Starts `argv` in `folder` with the current environment plus `env` (an empty value removes
    // the variable). When `fd3` is given, the child's descriptor 3 is the write end of that pipe.
    Process(const std::vector<std::string>& argv, const std::filesystem::path& folder,
            const std::map<std::string, std::string>& env, int fd3 = -1);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Waits at most `limit` for the process to end; its exit status, or nothing while it runs
    // (or -1 when it was ended by a signal).
    std::optional<int> wait(Clock::duration limit);
    bool running();
    std::string out() const;
    std::string err() const;

private:
    int pid_ = -1;
    std::optional<int> status_;
    std::filesystem::path outFile_, errFile_;
};

struct RunResult {
    std::optional<int> status; // nothing when it had to be killed
    std::string out;
    std::string err;
};

// Runs a short command to its end, killing it after `limit`.
RunResult run(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
              Clock::duration limit = 10s);

// Polls `condition` every 50 ms until it holds or `limit` has passed.
bool pollUntil(const std::function<bool()>& condition, Clock::duration limit = 20s);

// A temporary folder, removed with its content by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    void write(const std::string& name, const std::string& content, bool executable = false) const;
    std::optional<std::string> read(const std::string& name) const;
    bool exists(const std::string& name) const;
    void remove(const std::string& name) const;
    // Every file name with its content, for before/after comparisons.
    std::map<std::string, std::string> snapshot() const;

private:
    std::filesystem::path path_;
};

// Xvfb on a free display, openbox on it (awaited), and a private session bus.
class Desktop {
public:
    // True when Xvfb can be found; the tests skip without it.
    static bool available();
    Desktop();
    ~Desktop();
    // The environment for programs on this desktop.
    const std::map<std::string, std::string>& env() const { return env_; }

    // xdotool without --sync and with a time limit; returns its output.
    RunResult xdotool(const std::vector<std::string>& args) const;
    // The first window whose title matches `name` exactly, polled until it appears.
    std::optional<std::string> findWindow(const std::string& name,
                                          Clock::duration limit = 30s) const;
    // Activates the window and polls until it is the active one.
    bool activate(const std::string& window) const;
    void key(const std::string& keys) const;

    // The accessibility tree of the application `app`, one line per object:
    // depth, role, name (line feeds as "\n"), states, separated by tabs.
    std::vector<std::string> accessibleTree(const std::string& app) const;

private:
    std::vector<std::unique_ptr<Process>> servers_;
    std::map<std::string, std::string> env_;
};

// One object of the accessibility tree.
struct Accessible {
    int depth = 0;
    std::string role;
    std::string name;
    std::string states;
};
std::vector<Accessible> parseTree(const std::vector<std::string>& lines);

} // namespace e2e
