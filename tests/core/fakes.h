// Test doubles for the core: holders that log every write, files in memory, scripted jobs.
#pragma once

#include "core/holders.h"
#include "core/ports.h"
#include "core/run_game.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrin::testing {

const char* nameOf(MenuMark item);
const char* nameOf(CheckBox box);
const char* nameOf(TextBox box);
const char* nameOf(OptionGroup group);

// Holds every control's state as the windows would and logs each write call, in order, as
// "setMark NAME 0|1", "setCheck NAME 0|1", "setText NAME [TEXT]", "select NAME INDEX" and
// "perform NAME". The two menu commands Clear All performs behave as the Options menu's do;
// selecting "NTSC" or "PAL" enables "Simulate Pal Color Loss" only for PAL. No other reactions.
class FakeHolders : public Holders {
public:
    bool mark(MenuMark item) const override;
    void setMark(MenuMark item, bool checked) override;
    void performMenuCommand(MenuMark item) override;
    int check(CheckBox box) const override;
    bool enabled(CheckBox box) const override;
    void setCheck(CheckBox box, int value) override;
    std::string text(TextBox box) const override;
    void setText(TextBox box, const std::string& text) override;
    int selected(OptionGroup group) const override;
    void select(OptionGroup group, int index) override;

    std::map<MenuMark, bool> marks;
    std::map<CheckBox, int> checks;
    std::map<CheckBox, bool> enabledBoxes; // missing means enabled
    std::map<TextBox, std::string> texts;
    std::map<OptionGroup, int> selections; // missing means noneSelected
    std::vector<std::string> calls;
};

// Files in memory. Every operation is appended to `events` ("replace NAME", "read NAME",
// "remove NAME"), which the fake jobs and boxes share so that tests see the order of all steps.
class FakeFiles : public Files {
public:
    explicit FakeFiles(std::vector<std::string>& events) : events_(events) {}

    std::optional<std::string> replace(const std::string& name, std::string_view content) override;
    std::optional<std::vector<std::string>> readLines(const std::string& name, std::size_t maxLines,
                                                      std::size_t maxLineBytes) override;
    void remove(const std::string& name) override;

    std::map<std::string, std::string> contents;
    std::map<std::string, std::string> failures; // name -> reason a replace gives
    std::size_t lastMaxLines = 0;
    std::size_t lastMaxLineBytes = 0;

private:
    std::vector<std::string>& events_;
};

// Jobs that log "start FILE", "waitForUserReturn ID" and "pause SECONDS" into `events`, and
// run `whileRunning` (the emulator's and the user's doings) during the wait.
class FakeJobs : public Jobs {
public:
    explicit FakeJobs(std::vector<std::string>& events) : events_(events) {}

    std::optional<TaskId> start(const std::string& batchFile, WindowStyle style,
                                bool reportErrors) override;
    void waitUntilEnded(TaskId task) override;
    void waitForUserReturn(TaskId task) override;
    void pause(double seconds) override;

    bool startFails = false;
    std::optional<WindowStyle> lastStyle;
    bool lastReportErrors = false;
    std::function<void()> whileRunning;

private:
    void runningTime();
    std::vector<std::string>& events_;
};

struct FakeGameList : GameList {
    int index = -1;
    std::string display;
    std::string shortText;
    int selectedIndex() const override { return index; }
    std::string displayName() const override { return display; }
    std::string shortName() const override { return shortText; }
};

// Splits a file text into its lines at CR LF; a text without a final CR LF is rejected.
std::vector<std::string> crlfLines(const std::string& text);

} // namespace kestrin::testing
