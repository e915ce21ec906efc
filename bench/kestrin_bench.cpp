// Timings of the launcher's own work: the game scan, start-up to the main window, and Run Game
// up to the started job. Each figure is the median of several runs.
#include "desktop.h"

#include "catalogue/game_catalogue.h"
#include "core/run_game.h"
#include "core/settings.h"
#include "platform/disk_files.h"
#include "platform/process_jobs.h"
#include "ui/main/form1.h"

#include <QApplication>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace e2e;

namespace {

using Ms = std::chrono::duration<double, std::milli>;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class SilentBoxes : public kestrin::MessageBoxes {
public:
    kestrin::Answer show(const std::string& text, const std::string& title,
                         kestrin::Buttons) override {
        std::fprintf(stderr, "message box %s: %s\n", title.c_str(), text.c_str());
        return kestrin::Answer::Ok;
    }
};

// Passes every call to the real jobs and keeps, apart, the time spent in pauses and the time
// each start took, and the moment the last job was started.
class TimedJobs : public kestrin::Jobs {
public:
    explicit TimedJobs(kestrin::Jobs& real) : real_(real) {}
    std::optional<kestrin::TaskId> start(const std::string& batchFile, kestrin::WindowStyle style,
                                         bool reportErrors) override {
        const auto begin = Clock::now();
        auto task = real_.start(batchFile, style, reportErrors);
        started = Clock::now();
        startTime += started - begin;
        return task;
    }
    std::optional<std::string> waitUntilEnded(kestrin::TaskId task) override {
        return real_.waitUntilEnded(task);
    }
    // No window takes the focus here, so the run is over when its job has ended.
    void waitForUserReturn(kestrin::TaskId task) override { real_.waitUntilEnded(task); }
    void pause(double seconds) override { real_.pause(seconds); }
    bool holdsOpen(kestrin::TaskId task, const std::string& name) override {
        return real_.holdsOpen(task, name);
    }

    Clock::duration startTime{};
    Clock::time_point started{};

private:
    kestrin::Jobs& real_;
};

class TimedFiles : public kestrin::Files {
public:
    explicit TimedFiles(kestrin::Files& real) : real_(real) {}
    std::optional<std::string> replace(const std::string& name, std::string_view content) override {
        const auto begin = Clock::now();
        auto result = real_.replace(name, content);
        writes.push_back(Clock::now() - begin);
        return result;
    }
    std::optional<kestrin::FileLines> readLines(const std::string& name,
                                                const kestrin::LineLimits& limits) override {
        return real_.readLines(name, limits);
    }
    void remove(const std::string& name) override { real_.remove(name); }
    void removeLeftovers(const std::vector<std::string>& names) override {
        real_.removeLeftovers(names);
    }

    std::vector<Clock::duration> writes;

private:
    kestrin::Files& real_;
};

// Where the folders of made-up images go: a file system in memory where there is one, so that
// a million files are made in seconds and the figures are the program's, not the disk's.
std::filesystem::path imageParent() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// A temporary folder of made-up images, removed with everything in it at the end.
class ImageFolder {
public:
    explicit ImageFolder(int images) {
        std::string pattern = (imageParent() / "kestrin-bench-XXXXXX");
        path_ = ::mkdtemp(pattern.data());
        for (int i = 0; i < images; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "%s/Game %07d.bin", path_.c_str(), i);
            // Empty: nothing reads an image's content, and a million writes would cost minutes.
            const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd >= 0 && ::close(fd) == 0)
                continue;
            std::fprintf(stderr, "cannot make %s\n", name);
            std::exit(1);
        }
    }
    ~ImageFolder() { std::filesystem::remove_all(path_); }
    ImageFolder(const ImageFolder&) = delete;
    ImageFolder& operator=(const ImageFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void benchScan(int images, int runs) {
    ImageFolder folder(images);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    SilentBoxes boxes;
    kestrin::DiskFiles files;
    kestrin::ProcessJobs processJobs(boxes, KESTRIN_CMD_PATH);
    std::vector<double> times;
    std::size_t found = 0;
    for (int r = 0; r < runs; ++r) {
        TimedJobs jobs(processJobs);
        const auto begin = Clock::now();
        const kestrin::GameCatalogue games = kestrin::scanGames(files, jobs);
        times.push_back(Ms(Clock::now() - begin).count());
        found = games.displayNames.size();
    }
    std::filesystem::current_path(previous);
    // The listing jobs run during the scan's two pauses of 0.1 s; what lies beyond them is the
    // cost a larger folder adds to start-up.
    const double all = median(times);
    std::printf("scan, %6d images: %8.2f ms, %7.2f ms beyond its pauses (median of %d; %zu games "
                "found)\n",
                images, all, all - 200.0, runs, found);
}

// The resident memory of a process in MiB, now and at its peak, from /proc.
std::pair<double, double> residentMiB(const std::string& pid) {
    double now = 0, peak = 0;
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:"))
            now = std::atof(line.c_str() + 6) / 1024;
        else if (line.starts_with("VmHWM:"))
            peak = std::atof(line.c_str() + 6) / 1024;
    }
    return {now, peak};
}

struct Startup {
    double ms = 0;
    double rssMiB = 0, peakMiB = 0;
};

// The window manager's changes of the active window, as `xprop -spy` reports them: waiting for
// them costs no processor time, where searching for the window again and again would take it
// from the launcher and its jobs.
class ActiveWindowWatch {
public:
    ActiveWindowWatch() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            throw std::runtime_error("no pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::execlp("xprop", "xprop", "-root", "-spy", "_NET_ACTIVE_WINDOW",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        fd_ = fds[0];
        next(5s); // the window active now
    }
    ~ActiveWindowWatch() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        ::close(fd_);
    }
    ActiveWindowWatch(const ActiveWindowWatch&) = delete;
    ActiveWindowWatch& operator=(const ActiveWindowWatch&) = delete;

    // The id of the next window made active, or nothing when none is within `limit`.
    std::optional<std::string> next(Clock::duration limit) {
        const auto deadline = Clock::now() + limit;
        for (;;) {
            if (const std::size_t end = pending_.find('\n'); end != std::string::npos) {
                const std::string line = pending_.substr(0, end);
                pending_.erase(0, end + 1);
                return line.substr(line.rfind(' ') + 1);
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd ready{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0)
                return std::nullopt;
            char buffer[512];
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0)
                return std::nullopt;
            pending_.append(buffer, static_cast<std::size_t>(got));
        }
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
    std::string pending_;
};

// From the start of the process until its main window is the active window (the window manager
// gives it the focus once it is shown, ready for keys); then the resident memory of its process.
Startup benchStartup(const ImageFolder& folder, int images, int runs) {
    std::vector<double> times, rss, peak;
    for (int r = 0; r < runs; ++r) {
        ActiveWindowWatch watch;
        const auto begin = Clock::now();
        Process kestrin({KESTRIN_PATH}, folder.path());
        std::optional<std::string> window;
        auto end = begin;
        while ((window = watch.next(60s - (Clock::now() - begin)))) {
            end = Clock::now();
            if (run({"xdotool", "getwindowname", *window}) == "Kestrin v1.1\n")
                break;
        }
        if (!window) {
            std::fprintf(stderr, "start-up with %d images: no window\n", images);
            return {};
        }
        times.push_back(Ms(end - begin).count());
        std::string pid = run({"xdotool", "getwindowpid", *window});
        pid = pid.substr(0, pid.find('\n'));
        const auto [now, high] = residentMiB(pid);
        rss.push_back(now);
        peak.push_back(high);
    }
    const Startup s{median(times), median(rss), median(peak)};
    std::sort(times.begin(), times.end());
    std::printf("start-up to main window active, %7d images: %8.1f ms, resident %5.1f MiB, "
                "peak %5.1f MiB (median of %d, from %.1f to %.1f)\n",
                images, s.ms, s.rssMiB, s.peakMiB, runs, times.front(), times.back());
    return s;
}

// A game list with its first game selected.
class OneGame : public kestrin::GameList {
public:
    int selectedIndex() const override { return 0; }
    std::string displayName() const override { return "Game 00000"; }
    std::string shortName() const override { return "GAME00~1 "; }
};

void benchRunGame(int runs) {
    ImageFolder folder(10);
    std::ofstream(folder.path() / "marlo") << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(folder.path() / "marlo", std::filesystem::perms::owner_all);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    SilentBoxes boxes;
    kestrin::DiskFiles diskFiles;
    kestrin::ProcessJobs processJobs(boxes, KESTRIN_CMD_PATH);
    kestrin::Form1 form(boxes, processJobs, diskFiles, [] {});
    kestrin::Holders& holders = form.holders();
    OneGame game;
    std::vector<double> total, snapshot, config, batch, start;
    for (int r = 0; r < runs; ++r) {
        TimedJobs jobs(processJobs);
        TimedFiles files(diskFiles);
        auto begin = Clock::now();
        const kestrin::SettingsSnapshot s = kestrin::readSettings(holders);
        snapshot.push_back(Ms(Clock::now() - begin).count());
        (void)s;
        begin = Clock::now();
        kestrin::runGame(holders, game, files, jobs, boxes);
        total.push_back(Ms(jobs.started - begin).count());
        if (files.writes.size() >= 2) {
            config.push_back(Ms(files.writes[0]).count());
            batch.push_back(Ms(files.writes[1]).count());
        }
        start.push_back(Ms(jobs.startTime).count());
    }
    std::filesystem::current_path(previous);
    std::printf("Run Game, handler start to job started: %6.2f ms (median of %d)\n", median(total),
                runs);
    std::printf("  settings snapshot %.3f ms, config.dat %.3f ms, run.bat %.3f ms, job start "
                "%.3f ms\n",
                median(snapshot), median(config), median(batch), median(start));
}

} // namespace

// Listings of `games` games as the interpreter writes them, in the working folder.
void writeListings(int games) {
    {
        std::ofstream bare("games.dat", std::ios::binary), full("lgames.dat", std::ios::binary);
        full << "\r\n Volume in drive C has no label\r\n\r\n Directory of C:\\\r\n\r\n";
        char line[128];
        for (int i = 0; i < games; ++i) {
            std::snprintf(line, sizeof line, "Game %07d.bin\r\n", i);
            bare << line;
            std::snprintf(line, sizeof line,
                          "GAME%04X BIN        3 01-01-24  12:00a Game %07d.bin\r\n", i % 65536, i);
            full << line;
        }
    }
}

// The launcher's own share of the scan, without the interpreter: synthetic listings of `games`
// games read and paired as start-up does it.
void benchListingRead(int games, int runs) {
    ImageFolder folder(0);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    writeListings(games);
    kestrin::DiskFiles files;
    std::vector<double> times;
    std::size_t paired = 0;
    for (int r = 0; r < runs; ++r) {
        const auto begin = Clock::now();
        const kestrin::GameCatalogue games = kestrin::readListings(files);
        times.push_back(Ms(Clock::now() - begin).count());
        paired = std::min(games.displayNames.size(), games.shortNames.size());
    }
    std::filesystem::current_path(previous);
    std::printf("listings read and paired, %7d games: %8.2f ms (median of %d; %zu paired)\n", games,
                median(times), runs, paired);
}

// Jobs that do nothing: the listings are written beforehand.
class NoJobs : public kestrin::Jobs {
public:
    std::optional<kestrin::TaskId> start(const std::string&, kestrin::WindowStyle, bool) override {
        return 1;
    }
    std::optional<std::string> waitUntilEnded(kestrin::TaskId) override { return std::nullopt; }
    void waitForUserReturn(kestrin::TaskId) override {}
    void pause(double) override {}
};

// The main window's start-up in this process, the interpreter left out: from the load handler
// to the shown window's first paint, with listings of `games` games written beforehand.
void benchLoad(int games, int runs) {
    ImageFolder folder(0);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    SilentBoxes boxes;
    kestrin::DiskFiles files;
    NoJobs jobs;
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        writeListings(games);
        const auto begin = Clock::now();
        {
            kestrin::Form1 form(boxes, jobs, files, [] {});
            form.Form1_Form_Load();
            form.show();
            form.repaint();
            QCoreApplication::processEvents();
            times.push_back(Ms(Clock::now() - begin).count());
        }
    }
    std::filesystem::current_path(previous);
    std::printf("main window load in process, %7d games: %8.2f ms (median of %d)\n", games,
                median(times), runs);
}

namespace {

// ---------------------------------------------------------------------------------------------
// The same folder at 10, 100,000 and 1,000,000 games: start-up, peak memory, Enter to emulator.

struct Scale {
    int games = 0;
    Startup startup;
    double listingPeakMiB = 0; // kestrin-cmd writing the larger of the two listings
    double enterToEmulatorMs = 0;
};

// The peak resident memory of kestrin-cmd running `line` in `folder`, in MiB, from the kernel's
// own account of the ended child.
double interpreterPeakMiB(const std::filesystem::path& folder, const std::string& line) {
    const std::filesystem::path batch = folder / "bench.bat";
    std::ofstream(batch, std::ios::binary) << line << "\r\n";
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.c_str()) == 0)
            ::execl(KESTRIN_CMD_PATH, KESTRIN_CMD_PATH, "bench.bat", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    std::filesystem::remove(batch);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "kestrin-cmd failed on \"%s\"\n", line.c_str());
    return static_cast<double>(usage.ru_maxrss) / 1024; // ru_maxrss is in KiB
}

// From Run Game's start (as Enter starts it) until the emulator runs, for the last game of the
// folder as a scan lists it, the one the interpreter finds last. The stand-in emulator notes the
// image it was given and the time, and leaves.
double enterToEmulator(const std::filesystem::path& folder, int runs) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    // The file's own time has the resolution of the system's coarse clock; date tells finer.
    std::ofstream("marlo") << "#!/bin/sh\nfor a; do last=$a; done\n"
                              "printf '%s\\n' \"$last\" > started\ndate +%s%N >> started\n";
    std::filesystem::permissions("marlo", std::filesystem::perms::owner_all);
    SilentBoxes boxes;
    kestrin::DiskFiles files;
    kestrin::ProcessJobs processJobs(boxes, KESTRIN_CMD_PATH);
    const kestrin::GameCatalogue games = kestrin::scanGames(files, processJobs);
    class LastGame : public kestrin::GameList {
    public:
        explicit LastGame(const kestrin::GameCatalogue& games)
            : display_(games.displayNames[games.displayNames.size() - 1]),
              short_(games.shortNames[games.displayNames.size() - 1]) {}
        int selectedIndex() const override { return 0; }
        std::string displayName() const override { return display_; }
        std::string shortName() const override { return short_; }

    private:
        std::string display_, short_;
    } game(games);
    kestrin::Form1 form(boxes, processJobs, files, [] {});
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        std::filesystem::remove("started");
        TimedJobs jobs(processJobs);
        const auto begin = std::chrono::system_clock::now();
        kestrin::runGame(form.holders(), game, files, jobs, boxes);
        std::ifstream started("started");
        std::string image, nanoseconds;
        std::getline(started, image);
        std::getline(started, nanoseconds);
        if (image != game.displayName() + ".bin" || nanoseconds.empty()) {
            std::fprintf(stderr, "the emulator was given \"%s\"\n", image.c_str());
            break;
        }
        const std::chrono::system_clock::time_point ranAt(
            std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::nanoseconds(std::stoll(nanoseconds))));
        times.push_back(Ms(ranAt - begin).count());
    }
    for (const char* name : {"marlo", "started", "run.bat", "config.dat"})
        std::filesystem::remove(name);
    std::filesystem::current_path(previous);
    return times.empty() ? 0 : median(times);
}

Scale benchScale(int games, int startupRuns) {
    const auto made = Clock::now();
    ImageFolder folder(games);
    std::fprintf(stderr, "%d images made in %.1f s\n", games,
                 std::chrono::duration<double>(Clock::now() - made).count());
    Scale scale;
    scale.games = games;
    scale.listingPeakMiB =
        std::max(interpreterPeakMiB(folder.path(), "dir /On /b *.bin > games.dat"),
                 interpreterPeakMiB(folder.path(), "dir /On *.bin > lgames.dat"));
    for (const char* name : {"games.dat", "lgames.dat"})
        std::filesystem::remove(folder.path() / name);
    scale.enterToEmulatorMs = enterToEmulator(folder.path(), 5);
    if (Desktop::available()) {
        Desktop desktop;
        scale.startup = benchStartup(folder, games, startupRuns);
    }
    return scale;
}

void printScales(const std::vector<Scale>& scales) {
    std::printf("\n%10s %12s %8s %14s %16s %16s\n", "games", "start-up ms", "ratio", "kestrin peak",
                "kestrin-cmd peak", "Enter->emulator");
    const double base = scales.front().startup.ms;
    for (const Scale& s : scales)
        std::printf("%10d %12.1f %8.2f %10.1f MiB %12.1f MiB %13.1f ms\n", s.games, s.startup.ms,
                    base > 0 ? s.startup.ms / base : 0.0, s.startup.peakMiB, s.listingPeakMiB,
                    s.enterToEmulatorMs);
}

} // namespace

int main(int argc, char** argv) {
    // The scan and Run Game run in this process without a window; start-up runs the real
    // program on a virtual display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "--scale") {
        for (const int games : {1000, 100'000, 1'000'000})
            benchListingRead(games, games > 100'000 ? 3 : 7);
        for (const int games : {10, 1000, 100'000})
            benchLoad(games, 5);
        if (mode == "--in-process")
            return 0;
        benchScan(10, 15);
        benchScan(1000, 7);
        benchScan(10000, 7);
        benchScan(100'000, 5);
        benchRunGame(15);
    }
    // One run, one folder at a time, so that the ratio compares like with like.
    std::vector<Scale> scales;
    for (const int games : {10, 100'000, 1'000'000})
        scales.push_back(benchScale(games, games > 100'000 ? 5 : 7));
    printScales(scales);
    if (!Desktop::available())
        std::printf("start-up: not measured, Xvfb is not installed\n");
    return 0;
}
