// In-memory files and a stand-in interpreter for driving the real main window in tests.
#pragma once

#include "core/ports.h"
#include "tests/support/recording_message_boxes.h"
#include "ui/main/form1.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kestrin::testing {

class FakeFiles : public Files {
public:
    std::optional<std::string> replace(const std::string& name, std::string_view content) override {
        written.push_back(name);
        contents[name] = std::string(content);
        return std::nullopt;
    }

    std::optional<std::vector<std::string>> readLines(const std::string& name, std::size_t maxLines,
                                                      std::size_t maxLineBytes) override {
        const auto found = contents.find(name);
        if (found == contents.end())
            return std::nullopt;
        std::vector<std::string> lines;
        const std::string& text = found->second;
        std::size_t start = 0;
        while (start < text.size() && lines.size() < maxLines) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line.substr(0, maxLineBytes));
            start = end + 1;
        }
        return lines;
    }

    void remove(const std::string& name) override { contents.erase(name); }

    bool exists(const std::string& name) const { return contents.count(name) != 0; }

    std::map<std::string, std::string> contents;
    std::vector<std::string> written; // names, in the order they were written
};

struct RomImage {
    std::string longName;  // as on disk, with its extension
    std::string shortName; // without extension
};

// Plays the command interpreter: a started getlist.bat writes the listing it asks for.
class FakeJobs : public Jobs {
public:
    explicit FakeJobs(FakeFiles& files) : files_(files) {}

    std::optional<TaskId> start(const std::string& batchFile, WindowStyle,
                                bool reportErrors) override {
        started.push_back(batchFile);
        const std::string line = files_.contents[batchFile];
        if (line.find("dir /On /b *.bin > games.dat") == 0)
            files_.contents["games.dat"] = bareListing();
        else if (line.find("dir /On *.bin > lgames.dat") == 0)
            files_.contents["lgames.dat"] = fullListing();
        (void)reportErrors;
        return static_cast<TaskId>(started.size());
    }
    void waitUntilEnded(TaskId) override {}
    void waitForUserReturn(TaskId) override {}
    void pause(double seconds) override {
        pauses.push_back(seconds);
        if (duringPause)
            duringPause();
        QCoreApplication::processEvents();
    }

    std::string bareListing() const {
        std::string text;
        for (const RomImage& rom : roms)
            text += rom.longName + "\r\n";
        return text;
    }
    std::string fullListing() const {
        std::string text = "\r\n Volume in drive C has no label\r\n Volume Serial Number is "
                           "0000-0000\r\n Directory of C:\\GAMES\r\n\r\n";
        for (std::size_t i = 0; i < roms.size() && i < shortNamesListed; ++i) {
            std::string name = roms[i].shortName;
            name.resize(9, ' ');
            text += name + "BIN         4,096  08-22-00  12:00a " + roms[i].longName + "\r\n";
        }
        return text + summary;
    }

    std::vector<RomImage> roms;
    std::size_t shortNamesListed = static_cast<std::size_t>(-1); // fewer to make List2 short
    std::string summary = "         3 file(s)         12,288 bytes\r\n";
    std::vector<std::string> started;
    std::vector<double> pauses;
    std::function<void()> duringPause;

private:
    FakeFiles& files_;
};

// A main window on recording ports. Ending the program is counted instead of leaving.
struct Launcher {
    Launcher() : jobs(files) {}

    Form1& window() {
        if (!form)
            form = std::make_unique<Form1>(boxes, jobs, files, [this] { ++ended; });
        return *form;
    }
    // Start-up, then the window shown and active, as the program does it.
    Form1& started() {
        Form1& form1 = window();
        form1.Form1_Form_Load();
        form1.show();
        form1.activateWindow();
        waitUntilActive(form1);
        return form1;
    }
    static void waitUntilActive(QWidget& widget);

    template <typename T> T* find(const char* name) {
        return window().findChild<T*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) { return find<QAction>(name); }

    RecordingMessageBoxes boxes;
    FakeFiles files;
    FakeJobs jobs;
    int ended = 0;
    std::unique_ptr<Form1> form;
};

// Runs `step` once the next modal window is open (from inside its event loop).
void whenModalOpens(std::function<void(QWidget* modal)> step);

} // namespace kestrin::testing
