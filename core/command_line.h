// The emulator command line that a game run writes into run.bat.
#pragma once

#include "core/settings.h"

#include <string>

namespace kestrin {

// True when the run captures the emulator's output into results.dat to show it afterwards:
// scan-line count on, a performance test with a frame count, or the checksum print.
bool isReportingMode(const SettingsSnapshot& s);

// "marlo", the switches in their fixed order, a blank and the short name (which ends in a
// blank; empty when no game is current), and " > results.dat" in a reporting mode. Text values
// are appended exactly as typed.
std::string composeCommandLine(const SettingsSnapshot& s, const std::string& shortName);

} // namespace kestrin
