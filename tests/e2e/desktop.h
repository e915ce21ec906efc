// What the end-to-end tests need to drive the real launcher: a virtual X display with a window
// manager and a session bus, child processes with bounded waits, and readers of what the user
// sees (windows through xdotool, texts and states through the accessibility tree).
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Polls `condition` every 50 ms until it holds or `limit` has passed.
bool pollUntil(const std::function<bool()>& condition, Clock::duration limit = 20s);

// Runs `argv` to its end, killed after `seconds`, and returns its standard output.
std::string run(const std::vector<std::string>& argv, int seconds = 10);

std::optional<std::string> readFile(const std::filesystem::path& file);

// A child process in `folder`, in a process group of its own that is killed when destroyed.
class Process {
public:
    Process(const std::vector<std::string>& argv, const std::filesystem::path& folder);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // Its exit status (-1 after a signal) once it has ended within `limit`.
    std::optional<int> wait(Clock::duration limit);

private:
    int pid_ = -1;
    std::optional<int> status_;
};

// One object of the accessibility tree; line feeds in the name are written as "\n".
struct Accessible {
    int depth = 0;
    std::string role, name, states;
};

// Xvfb on a free display, a private session bus and openbox, awaited. While it lives, this
// process's environment points every child at them.
class Desktop {
public:
    static bool available(); // false when Xvfb is not installed
    Desktop();
    // The first visible window with exactly this title, polled until it appears.
    std::optional<std::string> findWindow(const std::string& title,
                                          Clock::duration limit = 20s) const;
    bool activate(const std::string& window) const; // polled until it is the active one
    void key(const std::string& keys) const;
    std::vector<Accessible> tree(const std::string& app) const;

private:
    std::unique_ptr<Process> xvfb_, bus_, wm_; // destroyed in reverse order
};

} // namespace e2e
