#include "core/settings_file.h"

#include "fake_holders.h"
#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

// Rows name only the settings they change; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

// The lines whose rules the game runs' files do not show already.
TEST(SettingsFileWriter, EachChoiceAndTextAsStored) {
    // clang-format off
    const std::vector<std::tuple<SettingsSnapshot, int, std::string>> rows = {
        {{.keyboardOnly = true, .reversed = true}, 1, " 1 "}, {{.tvStandard = -1}, 11, "1"},
        {{.videoMode = "0"}, 9, "0"}, {{.performanceFrames = "500"}, 15, "0"},
        {{.dspHigh = true, .dspLow = true}, 19, "1"}, {{.keyboardEmulationSide = 2}, 22, "2"},
        {{.paddleSpeed = " 1, \"2\" "}, 3, " 1, \"2\" "}, // although the paddle is off
        // A line break would shift every later line.
        {{.speedAdjustment = "6\r\n0"}, 14, "60"}, {{.lightgunCycles = "a\nb"}, 7, "ab"}};
    // clang-format on
    for (const auto& [settings, number, line] : rows) {
        std::string text = settingsFileText(settings);
        for (int n = 1; n < number; ++n)
            text.erase(0, text.find("\r\n") + 2);
        EXPECT_EQ(text.substr(0, text.find("\r\n")), line) << number;
    }
}

const Lines clearAllLines = {"0", "0", "",  "",  "0", "0", "", "",  "0", "0", "0", "0",
                             "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "0", ""};

std::string restored(const Lines& lines) {
    testing::FakeHolders holders;
    applySettingsLines(lines, holders);
    return holders.dump();
}

TEST(SettingsFileReader, EachLineTrimmedAndCompared) {
    const std::string base = "Form2_Option1=0 Form3_Option1=0 Form7_Option1=0";
    const std::string f2 = "Form2_Option1=0 ", f3 = "Form3_Option1=0 ", f7 = " Form7_Option1=0";
    // {line number, value, holders afterwards}
    // clang-format off
    const std::vector<std::tuple<int, std::string, std::string>> rows = {
        {24, "1", base}, {1, " 1 ", base + " mnuoptjoykbd=1"}, {1, "2", base + " mnuoptjoyrev=1"},
        {1, "01", base}, {2, "1", "Form2_Check1=1 " + base}, {2, "2", base}, {13, "\t1", base},
        {13, "  1", f2 + "Form3_Check5=1 " + f3 + f7.substr(1)}, {5, "-1", base},
        {5, "1", "Form2_Option1=1 " + f3 + f7.substr(1)}, {11, "60", f2 + "Form3_Option1=1" + f7},
        {19, "0", base + " mnuoptsoundlow=1"}, {19, " 1 ", base + " mnuoptsoundhi=1"},
        {20, "11", base}, {22, " 2 ", f2 + f3 + "Form7_Option1=2"}, {22, "3", f2 + f3.substr(0, 15)},
        // Above "0" compares character codes, bytes above 127 as unsigned.
        {16, "00", base + " mnuoptsoundpc=1"}, {16, "a", base + " mnuoptsoundpc=1"},
        {16, "\x80", base + " mnuoptsoundpc=1"}, {16, "0", base}, {16, "-1", base},
        {16, "/", base}, {16, "   ", base},
        // Text boxes get the value without its blanks; commas and quotes stay; a line of
        // blanks is empty.
        {3, " 1, \"x\" ", f2 + "Form2_Text1=1, \"x\" " + f3 + f7.substr(1)}, {7, "   ", base}, {7, "0", f2 + f3 + "Form6_Text2=0" + f7},
        {9, "0", base}, {14, " 60 ", f2 + f3 + "Form4_Text1=60" + f7},
        {15, "500", f2 + f3 + "Form4_Check1=1 Form4_Text2=500" + f7},
        // A line that is not UTF-8 is Latin-1; a valid one stays as it is.
        {8, "\xE9t\xE9", f2 + f3 + "Form6_Text1=\xC3\xA9t\xC3\xA9" + f7},
        {8, "\xC3\xA9", f2 + f3 + "Form6_Text1=\xC3\xA9" + f7},
        {4, "\xED\xA0\x80", f2 + "Form2_Text2=\xC3\xAD\xC2\xA0\xC2\x80 " + f3 + f7.substr(1)}};
    // clang-format on
    for (const auto& [number, value, expected] : rows) {
        Lines lines = clearAllLines;
        lines[number - 1] = value;
        EXPECT_EQ(restored(lines), expected) << number << " [" << value << "]";
    }
}

TEST(SettingsFileReader, LinesApplyInOrderSoALaterOneWins) {
    // Keyboard emulation (line 21) clears the paddle (2) and the lightgun (6); the driving
    // controller (23) comes back after it.
    Lines lines = clearAllLines;
    lines[1] = lines[5] = lines[20] = lines[22] = "1";
    EXPECT_EQ(restored(lines), "Form2_Option1=0 Form3_Option1=0 Form7_Check1=1 Form7_Option1=0 "
                               "mnuoptcontroldrive=1");
    // Past the end of a short file the lines read as empty, not as the last line read; a
    // missing file leaves the first-start state.
    EXPECT_EQ(restored({"0", "1"}), "Form2_Check1=1 Form2_Option1=0 Form3_Option1=0");
    testing::FakePlatform platform;
    testing::FakeHolders missing;
    restoreSettings(platform, missing);
    EXPECT_EQ(missing.dump(), "Form2_Option1=0 Form3_Option1=0");
}

} // namespace
} // namespace kestrin
