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

// What the lines change beyond the first-start state a Clear All file restores: "NAME=VALUE"
// for a holder set otherwise, "NAME=" for one left unset.
std::string restored(const Lines& lines) {
    testing::FakeHolders holders, base("Form2_Option1=0 Form3_Option1=0 Form7_Option1=0");
    applySettingsLines(lines, holders);
    std::string changes;
    for (const auto& [name, value] : holders.state)
        changes += base.get(name) == value ? "" : " " + name + "=" + value;
    for (const auto& [name, value] : base.state)
        changes += holders.state.contains(name) ? "" : " " + name + "=";
    return changes.empty() ? "" : changes.substr(1);
}

TEST(SettingsFileReader, EachLineTrimmedAndCompared) {
    // {line number, value, holders changed}
    // clang-format off
    const std::vector<std::tuple<int, std::string, std::string>> rows = {
        {24, "1", ""}, {1, " 1 ", "mnuoptjoykbd=1"}, {1, "2", "mnuoptjoyrev=1"}, {1, "01", ""},
        {2, "1", "Form2_Check1=1"}, {2, "2", ""}, {13, "\t1", ""}, {13, "  1", "Form3_Check5=1"},
        {5, "-1", ""}, {5, "1", "Form2_Option1=1"}, {11, "60", "Form3_Option1=1"},
        {19, "0", "mnuoptsoundlow=1"}, {19, " 1 ", "mnuoptsoundhi=1"}, {20, "11", ""},
        {22, " 2 ", "Form7_Option1=2"}, {22, "3", "Form7_Option1="},
        // Above "0" compares character codes, bytes above 127 as unsigned.
        {16, "00", "mnuoptsoundpc=1"}, {16, "a", "mnuoptsoundpc=1"}, {16, "\x80", "mnuoptsoundpc=1"},
        {16, "0", ""}, {16, "-1", ""}, {16, "/", ""}, {16, "   ", ""},
        // Text boxes get the value without its blanks, commas and quotes kept; a line of blanks
        // is empty; a line that is not UTF-8 is Latin-1.
        {3, " 1, \"x\" ", "Form2_Text1=1, \"x\""}, {7, "   ", ""}, {7, "0", "Form6_Text2=0"},
        {9, "0", ""}, {14, " 60 ", "Form4_Text1=60"},
        {15, "500", "Form4_Check1=1 Form4_Text2=500"}, {8, "\xE9t\xE9", "Form6_Text1=\xC3\xA9t\xC3\xA9"},
        {8, "\xC3\xA9", "Form6_Text1=\xC3\xA9"}, {4, "\xED\xA0\x80", "Form2_Text2=\xC3\xAD\xC2\xA0\xC2\x80"}};
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
    EXPECT_EQ(restored(lines), "Form7_Check1=1 mnuoptcontroldrive=1");
    // Past the end of a short file the lines read as empty, not as the last line read; a
    // missing file leaves the first-start state.
    EXPECT_EQ(restored({"0", "1"}), "Form2_Check1=1 Form7_Option1=");
    testing::FakePlatform platform;
    testing::FakeHolders missing;
    restoreSettings(platform, missing);
    EXPECT_EQ(missing.dump(), "Form2_Option1=0 Form3_Option1=0");
}

} // namespace
} // namespace kestrin
