#include "core/command_line.h"

namespace kestrin {

namespace {

bool isSet(int checkState) {
    return checkState == 1;
}

std::string flag(bool on, const char* fragment) {
    return on ? fragment : "";
}

// A switch followed by its text, only when the text is not empty.
std::string valued(bool on, const char* switchText, const std::string& value) {
    return on && !value.empty() ? switchText + value : "";
}

std::string joystickFragment(const SettingsSnapshot& s) {
    if (s.keyboardOnly)
        return " -j0";
    return flag(s.reversed, " -j2");
}

// The paddle number follows the method switch even when it is empty.
std::string paddleMethodFragment(const SettingsSnapshot& s) {
    if (!isSet(s.paddleEnabled))
        return "";
    if (s.paddleMethod == 0)
        return " -k" + s.paddleNumber;
    if (s.paddleMethod == 1)
        return " -m" + s.paddleNumber;
    return "";
}

// No selection counts as PAL.
std::string tvStandardFragment(const SettingsSnapshot& s) {
    return s.tvStandard == 0 ? " -c0" : " -c1";
}

std::string dspFragment(const SettingsSnapshot& s) {
    if (s.dspHigh)
        return " -d1";
    return flag(s.dspLow, " -d2");
}

std::string keyboardSideFragment(const SettingsSnapshot& s) {
    if (!isSet(s.keyboardEmulationEnabled))
        return "";
    switch (s.keyboardEmulationSide) {
    case 0:
        return " -y1";
    case 1:
        return " -y2";
    case 2:
        return " -y3";
    default:
        return "";
    }
}

} // namespace

bool isReportingMode(const SettingsSnapshot& s) {
    return isSet(s.showScanlineCount) ||
           (isSet(s.performanceTest) && !s.performanceFrames.empty()) || s.printChecksum;
}

std::string composeCommandLine(const SettingsSnapshot& s, const std::string& shortName) {
    const bool capture = isReportingMode(s);
    std::string line = "marlo";
    line += flag(s.printChecksum, " -x");
    line += joystickFragment(s);
    line += valued(isSet(s.paddleEnabled), " -p", s.paddleSpeed);
    line += paddleMethodFragment(s);
    line += valued(true, " -v", s.videoMode);
    line += flag(isSet(s.blackAndWhite), " -b");
    line += tvStandardFragment(s);
    line += flag(s.palColorLossEnabled && isSet(s.palColorLoss), " -o");
    line += flag(isSet(s.showScanlineCount), " -n");
    line += valued(true, " -r", s.speedAdjustment);
    line += valued(isSet(s.performanceTest), " -f", s.performanceFrames);
    line += flag(s.pcSpeaker, " -s1");
    // The diagnostics would mix into the captured report, so a reporting run drops them.
    line += flag(s.soundDiagnostics && !capture, " -s0");
    line += dspFragment(s);
    line += flag(s.forceSampleRate15700, " -s2");
    line += flag(s.quietSound, " -q");
    line += valued(isSet(s.lightgunEnabled), " -l", s.lightgunCycles);
    line += valued(isSet(s.lightgunEnabled), " -a", s.lightgunScanlines);
    line += keyboardSideFragment(s);
    line += flag(s.drivingController, " -w");
    line += " " + shortName;
    line += flag(capture, " > results.dat");
    return line;
}

} // namespace kestrin
