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
    void waitUntilEnded(kestrin::TaskId task) override { real_.waitUntilEnded(task); }
    // No window takes the focus here, so the run is over when its job has ended.
    void waitForUserReturn(kestrin::TaskId task) override { real_.waitUntilEnded(task); }
    void pause(double seconds) override {
        const auto begin = Clock::now();
        real_.pause(seconds);
        paused += Clock::now() - begin;
    }

    Clock::duration paused{};
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
    std::optional<std::vector<std::string>> readLines(const std::string& name, std::size_t maxLines,
                                                      std::size_t maxLineBytes) override {
        return real_.readLines(name, maxLines, maxLineBytes);
    }
    void remove(const std::string& name) override { real_.remove(name); }

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
        times.push_back(Ms(Clock::now() - begin - jobs.paused).count());
        found = games.displayNames.size();
    }
    std::filesystem::current_path(previous);
    std::printf("scan, %5d images: %8.2f ms (median of %d, pauses excluded; %zu games found)\n",
                images, median(times), runs, found);
}

// From the start of the process until xdotool sees its main window mapped.
double benchStartup(int images, int runs) {
    ImageFolder folder(images);
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        const auto begin = Clock::now();
        Process kestrin({KESTRIN_PATH}, folder.path());
        const bool shown = pollUntil(
            [] {
                return !run({"xdotool", "search", "--onlyvisible", "--name", "^Kestrin v1.1$"})
                            .empty();
            },
            60s);
        const auto end = Clock::now();
        if (!shown) {
            std::fprintf(stderr, "start-up with %d images: no window\n", images);
            return 0;
        }
        times.push_back(Ms(end - begin).count());
    }
    const double m = median(times);
    std::printf("start-up to main window shown, %5d images: %8.1f ms (median of %d)\n", images, m,
                runs);
    return m;
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

int main(int argc, char** argv) {
    // The scan and Run Game run in this process without a window; start-up runs the real
    // program on a virtual display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchScan(10, 15);
    benchScan(1000, 7);
    benchScan(10000, 7);
    benchRunGame(15);
    if (!Desktop::available()) {
        std::printf("start-up: skipped, Xvfb is not installed\n");
        return 0;
    }
    Desktop desktop;
    const double few = benchStartup(10, 7);
    const double many = benchStartup(10000, 7);
    if (few > 0 && many > 0)
        std::printf("start-up ratio 10,000 / 10 images: %.3f\n", many / few);
    return 0;
}
