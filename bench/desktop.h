// What the start-up benchmark needs to run the real launcher: a virtual X display with a window
// manager and a session bus, and child processes with bounded waits.
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

// Xvfb on a free display, a private session bus and openbox, awaited. While it lives, this
// process's environment points every child at them.
class Desktop {
public:
    static bool available(); // false when Xvfb is not installed
    Desktop();

private:
    std::unique_ptr<Process> xvfb_, bus_, wm_; // destroyed in reverse order
};

} // namespace e2e
