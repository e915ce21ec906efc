#include "core/command_line.h"

#include <gtest/gtest.h>

#include <vector>

// Rows name only the settings they change; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kestrin {
namespace {

// Every fragment under each of its conditions, for a game whose short name is "ABC ". The
// defaults select no option button, so "PAL" (-c1) is in effect unless NTSC is selected.
TEST(CommandLine, EachFragmentUnderItsConditions) {
    // clang-format off
    const std::vector<std::pair<SettingsSnapshot, std::string>> rows = {
        // The three worked examples: first start, a checksum run, a paddle performance test.
        {{.paddleMethod = 0, .tvStandard = 0}, "marlo -c0 ABC "},
        {{.keyboardOnly = true, .videoMode = "5", .tvStandard = 1, .palColorLossEnabled = true,
          .soundDiagnostics = true, .printChecksum = true},
         "marlo -x -j0 -v5 -c1 ABC  > results.dat"},
        {{.paddleEnabled = 1, .paddleSpeed = "7", .paddleNumber = "2", .paddleMethod = 1,
          .tvStandard = 0, .performanceTest = 1, .performanceFrames = "500"},
         "marlo -p7 -m2 -c0 -f500 ABC  > results.dat"},
        // Every switch at once, in the fixed order.
        {{.reversed = true, .paddleEnabled = 1, .paddleSpeed = "9", .paddleNumber = "3",
          .paddleMethod = 0, .lightgunEnabled = 1, .lightgunCycles = "-4", .lightgunScanlines = "2",
          .videoMode = "12", .blackAndWhite = 1, .tvStandard = 1, .palColorLoss = 1,
          .palColorLossEnabled = true, .showScanlineCount = 1, .speedAdjustment = "60",
          .performanceTest = 1, .performanceFrames = "100", .pcSpeaker = true,
          .forceSampleRate15700 = true, .dspLow = true, .quietSound = true, .printChecksum = true,
          .keyboardEmulationEnabled = 1, .keyboardEmulationSide = 2, .drivingController = true},
         "marlo -x -j2 -p9 -k3 -v12 -b -c1 -o -n -r60 -f100 -s1 -d2 -s2 -q -l-4 -a2 -y3 -w ABC "
         " > results.dat"},
        // The first named mark wins: -j0 over -j2, -d1 over -d2.
        {{.keyboardOnly = true, .reversed = true, .dspHigh = true, .dspLow = true},
         "marlo -j0 -c1 -d1 ABC "},
        // Gated values give nothing while their gate is 0, the PAL colour loss while disabled.
        {{.paddleSpeed = "5", .paddleNumber = "1", .paddleMethod = 0, .lightgunCycles = "3",
          .lightgunScanlines = "4", .palColorLoss = 1, .performanceFrames = "10",
          .keyboardEmulationSide = 0}, "marlo -c1 ABC "},
        // An empty number still follows -k or -m; empty values give no -p, -l, -v, -r; no member
        // selected gives no switch.
        {{.paddleEnabled = 1, .paddleMethod = 0, .lightgunEnabled = 1, .lightgunScanlines = "4",
          .keyboardEmulationEnabled = 1, .keyboardEmulationSide = 0}, "marlo -k -c1 -a4 -y1 ABC "},
        {{.paddleEnabled = 1, .paddleMethod = 1, .keyboardEmulationEnabled = 1,
          .keyboardEmulationSide = 1}, "marlo -m -c1 -y2 ABC "},
        {{.paddleEnabled = 1, .paddleNumber = "2", .keyboardEmulationEnabled = 1},
         "marlo -c1 ABC "},
        // Texts go in exactly as typed.
        {{.paddleEnabled = 1, .paddleSpeed = "1,5", .paddleNumber = "\"2\"", .paddleMethod = 0,
          .videoMode = " 3 x", .speedAdjustment = " "}, "marlo -p1,5 -k\"2\" -v 3 x -c1 -r  ABC "},
        // Diagnostics are dropped only in a reporting mode; -f needs its frame count.
        {{.performanceTest = 1, .soundDiagnostics = true}, "marlo -c1 -s0 ABC "},
        {{.showScanlineCount = 1, .performanceTest = 1, .soundDiagnostics = true},
         "marlo -c1 -n ABC  > results.dat"}};
    // clang-format on
    for (const auto& [settings, expected] : rows) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(composeCommandLine(settings, "ABC "), expected);
        EXPECT_EQ(isReportingMode(settings), expected.ends_with(" > results.dat"));
    }
    // With no current game the game fragment is a single blank.
    EXPECT_EQ(composeCommandLine({.printChecksum = true}, ""), "marlo -x -c1  > results.dat");
}

} // namespace
} // namespace kestrin
