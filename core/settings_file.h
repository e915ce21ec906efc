// config.dat: the settings kept from one start of the launcher to the next.
#pragma once

#include "core/holders.h"
#include "core/ports.h"
#include "core/settings.h"

#include <string>
#include <vector>

namespace kestrin {

inline constexpr const char* settingsFileName = "config.dat";

// The 23 lines a game run stores, each ended by CR LF. Text values are stored as typed, except
// that carriage returns and line feeds are left out of them: a line break inside a value would
// shift every later line of the file.
std::string settingsFileText(const SettingsSnapshot& s);

// The 24 lines Clear All stores: cleared values and a final empty line.
std::string clearAllFileText();

// Applies the first 23 lines of a settings file to the holders, in line order, only ever
// setting (checking a mark, setting a box to 1, selecting a member, filling a text box), each
// change made as a user's action would make it so that the dialogs' reactions run in order.
// Lines past the end of a short file read as empty. Each line is taken whole, commas and quotes
// included, without the blanks around it; the comparisons and the text boxes see that value. A
// line that is not UTF-8 is read as Latin-1 text.
void applySettingsLines(const std::vector<std::string>& lines, Holders& holders);

// The start-up restore: reads config.dat and applies it. A missing file (or no regular file)
// reads as all lines empty, which leaves the first-start state. A regular file that cannot be
// read is applied not at all, and why is returned.
std::optional<std::string> restoreSettings(Files& files, Holders& holders);

} // namespace kestrin
