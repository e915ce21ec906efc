// In-memory files, jobs and message boxes for driving the real main window in tests.
#pragma once

#include "tests/support/recording_message_boxes.h"
#include "ui/main/form1.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

namespace kestrin::testing {

struct FakeFiles : Files {
    std::optional<std::string> replace(const std::string& name, std::string_view content) override {
        if (name == unwritable)
            return "Permission denied";
        written.push_back(name);
        contents[name] = std::string(content);
        return std::nullopt;
    }
    std::optional<FileLines> readLines(const std::string& name, const LineLimits& limits) override {
        if (!contents.contains(name))
            return std::nullopt;
        FileLines read;
        std::istringstream text(contents[name]);
        for (std::string line; read.lines.size() < limits.maxLines && std::getline(text, line);) {
            line = line.substr(0, std::min(line.find('\r'), limits.maxLineBytes));
            read.lines.emplace_back(limits.keep ? limits.keep(line) : line);
        }
        return read;
    }
    void remove(const std::string& name) override { contents.erase(name); }
    void removeLeftovers(const std::string&) override {}

    std::map<std::string, std::string> contents;
    std::vector<std::string> written; // names, in the order they were written
    std::string unwritable;           // a name whose writes fail
};

// Jobs that end at once; the listings the scan asks for are in the files beforehand.
struct FakeJobs : Jobs {
    std::optional<TaskId> start(const std::string& batchFile, WindowStyle, bool) override {
        started.push_back(batchFile);
        return static_cast<TaskId>(started.size());
    }
    std::optional<std::string> waitUntilEnded(TaskId) override { return std::nullopt; }
    void waitForUserReturn(TaskId) override {}
    void pause(double) override {
        if (duringPause)
            duringPause();
        QCoreApplication::processEvents();
    }
    std::vector<std::string> started;
    std::function<void()> duringPause;
};

inline void waitUntilActive(QWidget& widget) {
    widget.activateWindow();
    if (!QTest::qWaitForWindowActive(&widget))
        ADD_FAILURE() << "window never became active";
}

// Long name and short name of a game; an empty short name leaves it out of the full listing.
using Games = std::vector<std::pair<std::string, std::string>>;

// A main window on recording ports and the listings of `games` as the interpreter writes them.
// Ending the program is counted instead of leaving.
struct Launcher {
    explicit Launcher(const Games& games = {}) {
        std::string& bare = files.contents["games.dat"];
        std::string& full = files.contents["lgames.dat"] = "\n\n\n\n\n"; // its header
        for (const auto& [longName, shortName] : games) {
            bare += longName + "\r\n";
            if (!shortName.empty())
                full += shortName + " BIN   4,096  08-22-00  12:00a " + longName + "\r\n";
        }
    }

    // Start-up, then the window shown and active, as the program does it.
    Form1& started() {
        form.Form1_Form_Load();
        form.show();
        waitUntilActive(form);
        return form;
    }
    Holders& holders() { return form.holders(); }
    template <typename T> T* find(const char* name) { return form.findChild<T*>(name); }

    RecordingMessageBoxes boxes;
    FakeFiles files;
    FakeJobs jobs;
    int ended = 0;
    Form1 form{boxes, jobs, files, [this] { ++ended; }};
};

// Runs `step` once the next modal window is open (from inside its event loop).
inline void whenModalOpens(std::function<void(QWidget* modal)> step, int triesLeft = 500) {
    QTimer::singleShot(10, [step = std::move(step), triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible())
            step(modal);
        else if (triesLeft > 0)
            whenModalOpens(std::move(step), triesLeft - 1);
        else
            ADD_FAILURE() << "no modal window opened";
    });
}

} // namespace kestrin::testing
