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
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// A temporary folder of made-up images, removed with everything in it at the end.
class ImageFolder {
public:
    explicit ImageFolder(int images) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrin-bench-XXXXXX");
        path_ = ::mkdtemp(pattern.data());
        for (int i = 0; i < images; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "Game %05d.bin", i);
            std::ofstream(path_ / name) << "rom";
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

// From the start of the process until xdotool sees its main window mapped, polled without a
// pause between the searches; then the resident memory of the shown window's process.
Startup benchStartup(int images, int runs) {
    ImageFolder folder(images);
    std::vector<double> times, rss, peak;
    for (int r = 0; r < runs; ++r) {
        const auto begin = Clock::now();
        Process kestrin({KESTRIN_PATH}, folder.path());
        std::string window;
        while (window.empty() && Clock::now() - begin < 60s)
            window = run({"xdotool", "search", "--onlyvisible", "--name", "^Kestrin v1.1$"});
        const auto end = Clock::now();
        if (window.empty()) {
            std::fprintf(stderr, "start-up with %d images: no window\n", images);
            return {};
        }
        times.push_back(Ms(end - begin).count());
        std::string pid = run({"xdotool", "getwindowpid", window.substr(0, window.find('\n'))});
        pid = pid.substr(0, pid.find('\n'));
        const auto [now, high] = residentMiB(pid);
        rss.push_back(now);
        peak.push_back(high);
    }
    const Startup s{median(times), median(rss), median(peak)};
    std::printf("start-up to main window shown, %6d images: %8.1f ms, resident %5.1f MiB, "
                "peak %5.1f MiB (median of %d)\n",
                images, s.ms, s.rssMiB, s.peakMiB, runs);
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

int main(int argc, char** argv) {
    // The scan and Run Game run in this process without a window; start-up runs the real
    // program on a virtual display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const int games : {1000, 100'000, 1'000'000})
        benchListingRead(games, games > 100'000 ? 3 : 7);
    for (const int games : {10, 1000, 100'000})
        benchLoad(games, 5);
    if (argc > 1 && std::string(argv[1]) == "--in-process")
        return 0;
    benchScan(10, 15);
    benchScan(1000, 7);
    benchScan(10000, 7);
    benchScan(100'000, 5);
    benchRunGame(15);
    if (!Desktop::available()) {
        std::printf("start-up: skipped, Xvfb is not installed\n");
        return 0;
    }
    Desktop desktop;
    const Startup few = benchStartup(10, 7);
    const Startup thousand = benchStartup(1000, 7);
    const Startup tenThousand = benchStartup(10'000, 7);
    const Startup many = benchStartup(100'000, 5);
    if (few.ms > 0 && many.ms > 0) {
        std::printf("start-up ratio 100,000 / 10 images: %.3f\n", many.ms / few.ms);
        std::printf("start-up cost per 1,000 images: %.2f ms from 1,000 to 10,000, %.2f ms from "
                    "10,000 to 100,000\n",
                    (tenThousand.ms - thousand.ms) / 9, (many.ms - tenThousand.ms) / 90);
    }
    return 0;
}
