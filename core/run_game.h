// Run Game: store the settings, write and start run.bat, wait, and show the run's report.
#pragma once

#include "core/holders.h"
#include "core/ports.h"

#include <string>

namespace kestrin {

// The main window's game list as Run Game sees it.
class GameList {
public:
    virtual ~GameList() = default;
    virtual int selectedIndex() const = 0;       // List1's current index, -1 when none
    virtual std::string displayName() const = 0; // List1's current text
    virtual std::string shortName() const = 0;   // List2's current text, "" when none
};

inline constexpr const char* runBatchFileName = "run.bat";

// The whole game run. A failure to save config.dat or run.bat is shown in a message box naming
// the file and the reason, and nothing is started after it; from the start of the job on, a
// failing step is skipped and the run goes on.
void runGame(Holders& holders, const GameList& games, Files& files, Jobs& jobs,
             MessageBoxes& boxes);

// Replaces a file of the working folder; on failure shows "Could not save NAME: REASON" under
// the title "Kestrin" and returns false.
bool saveOrReport(Files& files, MessageBoxes& boxes, const std::string& name,
                  const std::string& content);

} // namespace kestrin
