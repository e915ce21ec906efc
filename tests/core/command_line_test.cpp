#include "core/command_line.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

// The holders' state after a start without config.dat.
SettingsSnapshot firstStart() {
    SettingsSnapshot s;
    s.paddleMethod = 0;
    s.tvStandard = 0;
    s.palColorLossEnabled = false;
    return s;
}

// The switches between "marlo" and the game, for a game whose short name is "ABC ".
std::string switchesOf(const SettingsSnapshot& s) {
    std::string line = composeCommandLine(s, "ABC ");
    std::string head = "marlo";
    std::string tail = " ABC ";
    if (isReportingMode(s))
        tail += " > results.dat";
    EXPECT_EQ(line.substr(0, head.size()), head);
    EXPECT_GE(line.size(), head.size() + tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
    return line.substr(head.size(), line.size() - head.size() - tail.size());
}

TEST(CommandLine, WorkedExamples) {
    EXPECT_EQ(composeCommandLine(firstStart(), "ABC "), "marlo -c0 ABC ");

    SettingsSnapshot checksum = firstStart();
    checksum.printChecksum = true;
    checksum.keyboardOnly = true;
    checksum.videoMode = "5";
    checksum.tvStandard = 1;
    checksum.palColorLossEnabled = true;
    checksum.soundDiagnostics = true;
    EXPECT_EQ(composeCommandLine(checksum, "ABC "), "marlo -x -j0 -v5 -c1 ABC  > results.dat");

    SettingsSnapshot paddle = firstStart();
    paddle.paddleEnabled = 1;
    paddle.paddleSpeed = "7";
    paddle.paddleMethod = 1;
    paddle.paddleNumber = "2";
    paddle.performanceTest = 1;
    paddle.performanceFrames = "500";
    EXPECT_EQ(composeCommandLine(paddle, "ABC "), "marlo -p7 -m2 -c0 -f500 ABC  > results.dat");
}

TEST(CommandLine, EverySwitchInItsFixedOrder) {
    SettingsSnapshot s;
    s.printChecksum = true;
    s.reversed = true;
    s.paddleEnabled = 1;
    s.paddleSpeed = "9";
    s.paddleMethod = 0;
    s.paddleNumber = "3";
    s.videoMode = "12";
    s.blackAndWhite = 1;
    s.tvStandard = 1;
    s.palColorLoss = 1;
    s.palColorLossEnabled = true;
    s.showScanlineCount = 1;
    s.speedAdjustment = "60";
    s.performanceTest = 1;
    s.performanceFrames = "100";
    s.pcSpeaker = true;
    s.dspLow = true;
    s.forceSampleRate15700 = true;
    s.quietSound = true;
    s.lightgunEnabled = 1;
    s.lightgunCycles = "-4";
    s.lightgunScanlines = "2";
    s.keyboardEmulationEnabled = 1;
    s.keyboardEmulationSide = 2;
    s.drivingController = true;
    EXPECT_EQ(composeCommandLine(s, "GAME~1 "),
              "marlo -x -j2 -p9 -k3 -v12 -b -c1 -o -n -r60 -f100 -s1 -d2 -s2 -q -l-4 -a2 -y3 -w "
              "GAME~1  > results.dat");
}

TEST(CommandLine, JoystickAndDspPreferTheFirstNamedMark) {
    SettingsSnapshot s = firstStart();
    s.keyboardOnly = true;
    s.reversed = true;
    s.dspHigh = true;
    s.dspLow = true;
    EXPECT_EQ(switchesOf(s), " -j0 -c0 -d1");
    s.keyboardOnly = false;
    s.dspHigh = false;
    EXPECT_EQ(switchesOf(s), " -j2 -c0 -d2");
}

TEST(CommandLine, PaddleSwitchesCountOnlyWhileEnabled) {
    SettingsSnapshot s = firstStart();
    s.paddleSpeed = "5";
    s.paddleNumber = "1";
    EXPECT_EQ(switchesOf(s), " -c0");

    s.paddleEnabled = 1;
    EXPECT_EQ(switchesOf(s), " -p5 -k1 -c0");
    // The number follows the method switch even when empty; an empty speed gives no switch.
    s.paddleSpeed.clear();
    s.paddleNumber.clear();
    EXPECT_EQ(switchesOf(s), " -k -c0");
    s.paddleMethod = 1;
    EXPECT_EQ(switchesOf(s), " -m -c0");
    s.paddleMethod = noneSelected;
    EXPECT_EQ(switchesOf(s), " -c0");
}

TEST(CommandLine, TextValuesArePassedExactlyAsTyped) {
    SettingsSnapshot s = firstStart();
    s.videoMode = " 3 x";
    s.speedAdjustment = " ";
    s.paddleEnabled = 1;
    s.paddleSpeed = "1,5";
    s.paddleNumber = "\"2\"";
    EXPECT_EQ(switchesOf(s), " -p1,5 -k\"2\" -v 3 x -c0 -r ");
}

TEST(CommandLine, VideoSwitches) {
    SettingsSnapshot s = firstStart();
    s.blackAndWhite = 1;
    s.palColorLoss = 1; // checked but disabled while NTSC is selected
    EXPECT_EQ(switchesOf(s), " -b -c0");
    s.tvStandard = 1;
    s.palColorLossEnabled = true;
    EXPECT_EQ(switchesOf(s), " -b -c1 -o");
    // No standard selected counts as PAL.
    s.tvStandard = noneSelected;
    s.palColorLossEnabled = false;
    EXPECT_EQ(switchesOf(s), " -b -c1");
}

TEST(CommandLine, LightgunAndKeyboardEmulationCountOnlyWhileEnabled) {
    SettingsSnapshot s = firstStart();
    s.lightgunCycles = "3";
    s.lightgunScanlines = "4";
    s.keyboardEmulationSide = 0;
    EXPECT_EQ(switchesOf(s), " -c0");
    s.lightgunEnabled = 1;
    s.keyboardEmulationEnabled = 1;
    EXPECT_EQ(switchesOf(s), " -c0 -l3 -a4 -y1");
    s.lightgunCycles.clear();
    s.keyboardEmulationSide = 1;
    EXPECT_EQ(switchesOf(s), " -c0 -a4 -y2");
    s.keyboardEmulationSide = noneSelected;
    EXPECT_EQ(switchesOf(s), " -c0 -a4");
}

TEST(CommandLine, SoundSwitches) {
    SettingsSnapshot s = firstStart();
    s.pcSpeaker = true;
    s.soundDiagnostics = true;
    s.forceSampleRate15700 = true;
    s.quietSound = true;
    s.drivingController = true;
    EXPECT_EQ(switchesOf(s), " -c0 -s1 -s0 -s2 -q -w");
}

TEST(CommandLine, ReportingModesCaptureAndDropTheDiagnostics) {
    SettingsSnapshot s = firstStart();
    s.soundDiagnostics = true;
    s.performanceTest = 1;
    EXPECT_FALSE(isReportingMode(s)); // a performance test without a frame count
    EXPECT_EQ(composeCommandLine(s, "ABC "), "marlo -c0 -s0 ABC ");

    s.showScanlineCount = 1;
    EXPECT_TRUE(isReportingMode(s));
    EXPECT_EQ(composeCommandLine(s, "ABC "), "marlo -c0 -n ABC  > results.dat");

    s.showScanlineCount = 0;
    s.performanceFrames = "10";
    EXPECT_TRUE(isReportingMode(s));
    s.performanceTest = 0;
    EXPECT_FALSE(isReportingMode(s));
    s.printChecksum = true;
    EXPECT_TRUE(isReportingMode(s));
}

TEST(CommandLine, GameFragment) {
    // No current short name still leaves the blank that begins the game fragment.
    EXPECT_EQ(composeCommandLine(firstStart(), ""), "marlo -c0 ");
    SettingsSnapshot s = firstStart();
    s.printChecksum = true;
    EXPECT_EQ(composeCommandLine(s, ""), "marlo -x -c0  > results.dat");
}

} // namespace
} // namespace kestrin
