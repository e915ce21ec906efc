#include "desktop.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace e2e {

bool pollUntil(const std::function<bool()>& condition, Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

std::string run(const std::vector<std::string>& argv, int seconds) {
    std::string command = "timeout -k 1 " + std::to_string(seconds);
    for (const std::string& arg : argv) {
        command += " '";
        for (char c : arg)
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += "'";
    }
    command += " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return "";
    std::string out;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, got);
    pclose(pipe);
    return out;
}

Process::Process(const std::vector<std::string>& argv, const std::filesystem::path& folder) {
    std::vector<std::string> copies = argv;
    std::vector<char*> args;
    for (std::string& a : copies)
        args.push_back(a.data());
    args.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        setpgid(0, 0);
        if (chdir(folder.c_str()) == 0)
            execvp(args[0], args.data());
        _exit(127);
    }
    setpgid(pid_, pid_);
}

Process::~Process() {
    kill(-pid_, SIGKILL); // with whatever it started
    if (!status_)
        waitpid(pid_, nullptr, 0);
}

std::optional<int> Process::wait(Clock::duration limit) {
    pollUntil(
        [&] {
            int ws = 0;
            if (!status_ && waitpid(pid_, &ws, WNOHANG) == pid_)
                status_ = WIFEXITED(ws) ? WEXITSTATUS(ws) : -1;
            return status_.has_value();
        },
        limit);
    return status_;
}

namespace {

// Starts `command` with its descriptor 3 on a file and returns the first line written there.
std::string startAndReadLine(std::unique_ptr<Process>& server, const std::string& command) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("kestrin-e2e-" + std::to_string(getpid()) + ".line");
    std::filesystem::remove(file);
    server = std::make_unique<Process>(
        std::vector<std::string>{"sh", "-c", "exec " + command + " 3>" + file.string()}, "/");
    std::string text;
    const bool written = pollUntil([&] {
        std::ifstream in(file);
        text.assign(std::istreambuf_iterator<char>(in), {});
        return text.find('\n') != std::string::npos;
    });
    std::filesystem::remove(file);
    if (!written)
        throw std::runtime_error("no line from " + command);
    return text.substr(0, text.find('\n'));
}

} // namespace

bool Desktop::available() {
    return !run({"sh", "-c", "command -v Xvfb"}).empty();
}

Desktop::Desktop() {
    const std::string display = startAndReadLine(
        xvfb_, "Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 2>/dev/null");
    setenv("DISPLAY", (":" + display).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("NO_AT_BRIDGE");
    // The launcher and the accessibility reader meet on this bus.
    const std::string bus =
        startAndReadLine(bus_, "dbus-daemon --session --nofork --print-address=3 2>/dev/null");
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
    wm_ = std::make_unique<Process>(
        std::vector<std::string>{"sh", "-c", "exec openbox 2>/dev/null"}, "/");
    // Without a window manager, keyboard focus is lost when a dialog closes.
    if (!pollUntil([] {
            return run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).find("window id") !=
                   std::string::npos;
        }))
        throw std::runtime_error("openbox did not start");
}

} // namespace e2e
