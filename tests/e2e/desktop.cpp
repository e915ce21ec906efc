#include "desktop.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace e2e {

namespace {

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::filesystem::path makeTempFolder(const char* stem) {
    std::string pattern = (std::filesystem::temp_directory_path() / stem).string() + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

// Reads one line from `fd` within `limit`; nothing when it did not come.
std::optional<std::string> readLine(int fd, Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    std::string line;
    while (Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c = 0;
        const ssize_t got = read(fd, &c, 1);
        if (got <= 0)
            return std::nullopt;
        if (c == '\n')
            return line;
        line += c;
    }
    return std::nullopt;
}

} // namespace

Process::Process(const std::vector<std::string>& argv, const std::filesystem::path& folder,
                 const std::map<std::string, std::string>& env, int fd3) {
    static int counter = 0;
    const std::string stem =
        "/tmp/e2e-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
    outFile_ = stem + ".out";
    errFile_ = stem + ".err";

    std::map<std::string, std::string> merged;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq != std::string::npos)
            merged[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [name, value] : env) {
        if (value.empty())
            merged.erase(name);
        else
            merged[name] = value;
    }
    std::vector<std::string> envText;
    for (const auto& [name, value] : merged)
        envText.push_back(name + "=" + value);
    std::vector<char*> envp, args;
    for (std::string& e : envText)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argCopy = argv;
    for (std::string& a : argCopy)
        args.push_back(a.data());
    args.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0)
        throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        setpgid(0, 0);
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 ||
            dup2(err, 2) < 0 || chdir(folder.c_str()) != 0)
            _exit(127);
        if (fd3 >= 0) {
            if (fd3 != 3 && dup2(fd3, 3) < 0)
                _exit(127);
        }
        for (int fd = fd3 >= 0 ? 4 : 3; fd < 1024; ++fd)
            close(fd);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
}

Process::~Process() {
    if (!status_) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
        int ignored = 0;
        waitpid(pid_, &ignored, 0);
    }
    std::error_code ignored;
    std::filesystem::remove(outFile_, ignored);
    std::filesystem::remove(errFile_, ignored);
}

std::optional<int> Process::wait(Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    while (!status_) {
        int wstatus = 0;
        const pid_t done = waitpid(pid_, &wstatus, WNOHANG);
        if (done == pid_)
            status_ = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
        else if (Clock::now() >= deadline)
            break;
        else
            std::this_thread::sleep_for(5ms);
    }
    return status_;
}

bool Process::running() {
    return !wait(0s);
}
std::string Process::out() const {
    return slurp(outFile_);
}
std::string Process::err() const {
    return slurp(errFile_);
}

RunResult run(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
              Clock::duration limit) {
    Process p(argv, std::filesystem::current_path(), env);
    RunResult result;
    result.status = p.wait(limit);
    result.out = p.out();
    result.err = p.err();
    return result;
}

bool pollUntil(const std::function<bool()>& condition, Clock::duration limit) {
    const auto deadline = Clock::now() + limit;
    for (;;) {
        if (condition())
            return true;
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
}

TempFolder::TempFolder() : path_(makeTempFolder("kestrin-e2e")) {}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::write(const std::string& name, const std::string& content, bool executable) const {
    std::ofstream(path_ / name, std::ios::binary) << content;
    if (executable)
        std::filesystem::permissions(path_ / name, std::filesystem::perms::owner_all);
}

std::optional<std::string> TempFolder::read(const std::string& name) const {
    if (!exists(name))
        return std::nullopt;
    return slurp(path_ / name);
}

bool TempFolder::exists(const std::string& name) const {
    return std::filesystem::exists(path_ / name);
}

void TempFolder::remove(const std::string& name) const {
    std::error_code ignored;
    std::filesystem::remove(path_ / name, ignored);
}

std::map<std::string, std::string> TempFolder::snapshot() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        files[entry.path().filename().string()] = slurp(entry.path());
    return files;
}

bool Desktop::available() {
    return run({"sh", "-c", "command -v Xvfb"}, {}, 10s).status == 0;
}

Desktop::Desktop() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    servers_.push_back(std::make_unique<Process>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp",
                                 "-screen", "0", "1024x768x24"},
        "/", std::map<std::string, std::string>{}, pipeFds[1]));
    close(pipeFds[1]);
    const auto display = readLine(pipeFds[0], 20s);
    close(pipeFds[0]);
    if (!display)
        throw std::runtime_error("Xvfb did not report a display: " + servers_[0]->err());
    env_["DISPLAY"] = ":" + *display;
    env_["WAYLAND_DISPLAY"] = "";
    env_["QT_QPA_PLATFORM"] = "xcb";
    env_["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1";
    env_["NO_AT_BRIDGE"] = "";

    // A private session bus: the launcher and the accessibility reader meet on it.
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    servers_.push_back(std::make_unique<Process>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--print-address=3"}, "/",
        env_, pipeFds[1]));
    close(pipeFds[1]);
    const auto bus = readLine(pipeFds[0], 20s);
    close(pipeFds[0]);
    if (!bus)
        throw std::runtime_error("dbus-daemon did not report its address");
    env_["DBUS_SESSION_BUS_ADDRESS"] = *bus;

    servers_.push_back(std::make_unique<Process>(std::vector<std::string>{"openbox"}, "/", env_));
    const bool managed = pollUntil([&] {
        return run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, env_, 5s)
                   .out.find("window id") != std::string::npos;
    });
    if (!managed)
        throw std::runtime_error("openbox did not start");
}

Desktop::~Desktop() {
    // Window manager first, then the bus, then the display.
    while (!servers_.empty())
        servers_.pop_back();
}

RunResult Desktop::xdotool(const std::vector<std::string>& args) const {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return run(argv, env_, 5s);
}

std::optional<std::string> Desktop::findWindow(const std::string& name,
                                               Clock::duration limit) const {
    std::optional<std::string> found;
    pollUntil(
        [&] {
            const RunResult r = xdotool({"search", "--onlyvisible", "--name", "^" + name + "$"});
            std::istringstream lines(r.out);
            std::string id;
            if (std::getline(lines, id) && !id.empty())
                found = id;
            return found.has_value();
        },
        limit);
    return found;
}

bool Desktop::activate(const std::string& window) const {
    return pollUntil(
        [&] {
            xdotool({"windowactivate", window});
            const RunResult r = xdotool({"getactivewindow"});
            return r.out == window + "\n";
        },
        10s);
}

void Desktop::key(const std::string& keys) const {
    xdotool({"key", keys});
}

std::vector<std::string> Desktop::accessibleTree(const std::string& app) const {
    const RunResult r = run({"/usr/bin/python3", ATSPI_TREE_SCRIPT, app}, env_, 15s);
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<Accessible> parseTree(const std::vector<std::string>& lines) {
    std::vector<Accessible> nodes;
    for (const std::string& line : lines) {
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, '\t');)
            fields.push_back(field);
        if (fields.size() < 3)
            continue;
        Accessible a;
        a.depth = std::atoi(fields[0].c_str());
        a.role = fields[1];
        a.name = fields[2];
        a.states = fields.size() > 3 ? fields[3] : "";
        nodes.push_back(a);
    }
    return nodes;
}

} // namespace e2e
