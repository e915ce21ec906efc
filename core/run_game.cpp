#include "core/run_game.h"

#include "core/command_line.h"
#include "core/reports.h"
#include "core/settings.h"
#include "core/settings_file.h"

#include <optional>
#include <vector>

namespace kestrin {

namespace {

// A checksum run does not wait for the emulator; it gives it this long to write its report.
constexpr double checksumWaitSeconds = 0.5;

void waitForRun(const std::optional<TaskId>& task, bool printChecksum, Jobs& jobs) {
    if (printChecksum)
        jobs.pause(checksumWaitSeconds);
    else if (task)
        jobs.waitForUserReturn(*task);
}

// The report is chosen from the settings as they stand after the wait, not from the snapshot.
void showReport(const Holders& holders, const GameList& games, Files& files, MessageBoxes& boxes) {
    ReportChoice choice{holders.check(CheckBox::Form4_Check1),
                        holders.check(CheckBox::Form3_Check5), holders.mark(MenuMark::mnupcheck)};
    // Only what the interpreter wrote: never an outside file through a link in the folder.
    const auto read = files.readLines(resultsFileName, {.maxLines = reportLinesNeeded(choice),
                                                        .maxLineBytes = reportLineLimit,
                                                        .interpreterFile = true});
    Report report =
        chooseReport(choice, read ? read->lines : std::vector<std::string>{}, games.displayName());
    boxes.show(report.text, report.title, Buttons::Ok);
    files.remove(resultsFileName);
}

} // namespace

bool saveOrReport(Files& files, MessageBoxes& boxes, const std::string& name,
                  const std::string& content) {
    std::optional<std::string> failure = files.replace(name, content);
    if (!failure)
        return true;
    boxes.show("Could not save " + name + ": " + *failure, "Kestrin", Buttons::Ok);
    return false;
}

void runGame(Holders& holders, const GameList& games, Files& files, Jobs& jobs,
             MessageBoxes& boxes) {
    if (games.selectedIndex() < 0) {
        boxes.show("Please Select a game first", "Select a Game", Buttons::Ok);
        return;
    }
    const SettingsSnapshot settings = readSettings(holders);
    if (!saveOrReport(files, boxes, settingsFileName, settingsFileText(settings)))
        return;
    std::string line = composeCommandLine(settings, games.shortName());
    // A line break inside a typed value would let run.bat start a second program.
    std::erase(line, '\r');
    std::erase(line, '\n');
    if (!saveOrReport(files, boxes, runBatchFileName, line + "\r\n"))
        return;

    std::optional<TaskId> task = jobs.start(runBatchFileName, WindowStyle::MaximizedFocus, true);
    waitForRun(task, settings.printChecksum, jobs);
    if (isReportingMode(settings))
        showReport(holders, games, files, boxes);
}

} // namespace kestrin
