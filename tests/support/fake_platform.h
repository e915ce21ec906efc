// The launcher's platform in memory: the folder's files, batch jobs that end as scripted, and
// message boxes that are recorded and answered. Every file and job call is logged in order.
#pragma once

#include "core/ports.h"
#include "core/text.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kestrin::testing {

struct ShownBox {
    std::string text, title;
    Buttons buttons;
    bool operator==(const ShownBox&) const = default;
};

// Message boxes recorded and answered from a queue instead of blocking.
struct RecordingMessageBoxes : MessageBoxes {
    Answer show(const std::string& text, const std::string& title, Buttons buttons) override {
        shown.push_back({text, title, buttons});
        const Answer next = answers.empty() ? Answer::Ok : answers.front();
        answers.erase(answers.begin(), answers.begin() + !answers.empty());
        return next;
    }
    std::vector<ShownBox> shown;
    std::deque<Answer> answers; // answered in order; Ok once empty
};

// What one started job does when it ends, and how it ends: its error lines, which a job
// started to report its errors shows in a box.
struct ScriptedJob {
    std::function<void()> run;
    std::optional<std::string> failure = {};
    bool startFails = false;
};

struct FakePlatform : Files, Jobs {
    std::optional<std::string> replace(const std::string& name, std::string_view text) override {
        log.push_back("replace " + name);
        if (unwritable.contains(name))
            return unwritable[name];
        files[name] = text;
        return std::nullopt;
    }
    std::optional<FileLines> readLines(const std::string& name, const LineLimits& l) override {
        log.push_back("read " + name);
        if (!files.contains(name) || (l.interpreterFile && links.contains(name)))
            return std::nullopt;
        FileLines read;
        read.failure = unreadable.contains(name) ? unreadable[name] : "";
        std::size_t kept = 0;
        for (std::string_view text = files[name]; !text.empty();) {
            std::string_view line = text.substr(0, text.find('\n'));
            text.remove_prefix(std::min(line.size() + 1, text.size()));
            line = line.substr(0, line.ends_with('\r') ? line.size() - 1 : line.size());
            line = line.substr(0, cutLength(line, l.maxLineBytes));
            if (kept == l.maxLines) {
                read.linesLeft += l.countLinesLeft;
                continue;
            }
            ++kept;
            const std::string_view part = l.keep ? l.keep(line) : line;
            if (l.each)
                l.each(part);
            else
                read.lines.emplace_back(part);
        }
        return read;
    }
    void remove(const std::string& name) override {
        log.push_back("remove " + name);
        files.erase(name);
    }
    void removeLeftovers(const std::vector<std::string>& names) override {
        for (const std::string& name : names)
            log.push_back("leftovers " + name);
    }

    // One job runs at a time; a wait or a pause lets the user act and the job end.
    std::optional<TaskId> start(const std::string& file, WindowStyle style, bool report) override {
        log.push_back("start " + file + " " + std::to_string(static_cast<int>(style)));
        running = jobs.empty() ? ScriptedJob{} : jobs.front();
        jobs.erase(jobs.begin(), jobs.begin() + !jobs.empty());
        reportErrors = report;
        return running->startFails ? std::nullopt : std::optional<TaskId>(++lastTask);
    }
    std::optional<std::string> waitUntilEnded(TaskId task) override {
        endJob("wait " + std::to_string(task));
        return std::exchange(failure, std::nullopt);
    }
    void waitForUserReturn(TaskId task) override { endJob("return " + std::to_string(task)); }
    void pause(double seconds) override { endJob("pause " + std::to_string(seconds).substr(0, 3)); }
    bool holdsOpen(TaskId task, const std::string& name) override {
        log.push_back("holds " + std::to_string(task) + " " + name);
        return holding;
    }
    void endJob(const std::string& wait) {
        log.push_back(wait);
        if (duringWait)
            duringWait();
        const auto job = std::exchange(running, std::nullopt);
        if (!job || job->startFails)
            return;
        if (job->run)
            job->run();
        if (!job->failure)
            return;
        if (reportErrors)
            boxes.show(*job->failure, "Kestrin", Buttons::Ok);
        else
            failure = job->failure; // kept until the caller asks
    }

    std::map<std::string, std::string> files;      // name -> bytes
    std::map<std::string, std::string> unwritable; // name -> why a replace fails
    std::map<std::string, std::string> unreadable; // name -> why a read fails after its lines
    std::set<std::string> links;                   // names that are links to outside files
    std::vector<ScriptedJob> jobs; // one per start; none left: a job that ends well, doing nothing
    std::function<void()> duringWait; // what the user does while the launcher waits
    std::vector<std::string> log;
    RecordingMessageBoxes boxes;
    std::optional<ScriptedJob> running;
    bool reportErrors = false;
    std::optional<std::string> failure; // how the last silent job failed
    TaskId lastTask = 0;
    bool holding = false; // whether a job holds the file asked about
};

} // namespace kestrin::testing
