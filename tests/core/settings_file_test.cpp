#include "core/settings.h"
#include "core/settings_file.h"

#include "fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

// Rows name only the settings they change; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kestrin {
namespace {

using ::testing::ElementsAre;
using Lines = std::vector<std::string>;

// The lines of a file text, each of which must end with CR LF.
Lines linesOf(const std::string& text) {
    Lines lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
    return lines;
}

TEST(SettingsFileWriter, EveryLineRule) {
    const Lines clearAll = {"0", "0", "",  "",  "0", "0", "", "",  "0", "0", "0", "0",
                            "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "0", ""};
    EXPECT_EQ(linesOf(clearAllFileText()), clearAll);
    // The first-start state gives the Clear All lines without the last one.
    EXPECT_EQ(linesOf(settingsFileText({.paddleMethod = 0, .tvStandard = 0})),
              Lines(clearAll.begin(), clearAll.end() - 1));
    // clang-format off
    const SettingsSnapshot all{.reversed = true, .paddleEnabled = 1, .paddleSpeed = "7",
        .paddleNumber = "2", .paddleMethod = 1, .lightgunEnabled = 1, .lightgunCycles = "c",
        .lightgunScanlines = "s", .videoMode = "5", .blackAndWhite = 1, .tvStandard = 1,
        .palColorLoss = 1, .palColorLossEnabled = false, // stored whether enabled or not
        .showScanlineCount = 1, .speedAdjustment = "60", .performanceTest = 1,
        .performanceFrames = "500", .pcSpeaker = true, .soundDiagnostics = true,
        .forceSampleRate15700 = true, .dspHigh = true, .quietSound = true,
        .printChecksum = true, // never stored
        .keyboardEmulationEnabled = 1, .keyboardEmulationSide = 2, .drivingController = true};
    EXPECT_EQ(linesOf(settingsFileText(all)), (Lines{" 2 ", "1", "7", "2", "1", "1", "c", "s",
        "5", "1", "1", "1", "1", "60", "500", "1", "1", "1", "1", "1", "1", "2", "1"}));
    // {settings, line number, line}: the other values of choices, zeros and stored texts.
    const std::vector<std::tuple<SettingsSnapshot, int, std::string>> rows = {
        {{.keyboardOnly = true, .reversed = true}, 1, " 1 "}, {{.paddleMethod = -1}, 5, "-1"},
        {{.paddleMethod = 0}, 5, "0"}, {{.tvStandard = -1}, 11, "1"}, {{.videoMode = "0"}, 9, "0"},
        {{.performanceTest = 1}, 15, "0"}, {{.performanceFrames = "500"}, 15, "0"},
        {{.dspHigh = true, .dspLow = true}, 19, "1"}, {{.dspLow = true}, 19, "0"},
        {{.keyboardEmulationSide = -1}, 22, "0"}, {{.keyboardEmulationSide = 1}, 22, "1"},
        {{.paddleSpeed = " 1, \"2\" "}, 3, " 1, \"2\" "}, // although the paddle is off
        {{.videoMode = "\xC3\xA9"}, 9, "\xC3\xA9"},
        // A line break would shift every later line.
        {{.speedAdjustment = "6\r\n0"}, 14, "60"}, {{.lightgunCycles = "a\nb"}, 7, "ab"}};
    // clang-format on
    for (const auto& [settings, number, line] : rows) {
        SCOPED_TRACE(number);
        Lines lines = linesOf(settingsFileText(settings));
        ASSERT_EQ(lines.size(), 23u);
        EXPECT_EQ(lines[number - 1], line);
    }
}

Lines restoreCalls(const Lines& lines) {
    testing::FakeHolders holders;
    applySettingsLines(lines, holders);
    return holders.calls;
}

// The writes a Clear All file makes: the first-start state, with "Left " selected.
const Lines clearAllCalls = {"select Form2_Option1 0", "select Form3_Option1 0",
                             "select Form7_Option1 0"};

TEST(SettingsFileReader, ComparesTheTrimmedLine) {
    // {line number, value, writes beyond those of a Clear All file ("-" one left out)}
    // clang-format off
    const std::vector<std::tuple<int, std::string, std::string>> rows = {
        {1, " 1 ", "setMark mnuoptjoykbd 1;"}, {1, "2", "setMark mnuoptjoyrev 1;"}, {1, "01", ""},
        {1, "1 2", ""}, {2, "1", "setCheck Form2_Check1 1;"}, {2, "2", ""}, {20, "11", ""},
        {13, "\t1", ""}, {13, "  1", "setCheck Form3_Check5 1;"}, {5, "-1", ""},
        {5, "1", "select Form2_Option1 1;-select Form2_Option1 0;"},
        {11, "60", "select Form3_Option1 1;-select Form3_Option1 0;"},
        {19, "0", "setMark mnuoptsoundlow 1;"}, {19, " 1 ", "setMark mnuoptsoundhi 1;"},
        {22, " 2 ", "select Form7_Option1 2;-select Form7_Option1 0;"},
        {22, "3", "-select Form7_Option1 0;"},
        // Above "0" compares character codes, bytes above 127 as unsigned.
        {16, "00", "setMark mnuoptsoundpc 1;"}, {16, "a", "setMark mnuoptsoundpc 1;"},
        {16, "\x80", "setMark mnuoptsoundpc 1;"}, {16, "0", ""}, {16, "-1", ""}, {16, "+5", ""},
        {16, "/", ""}, {16, "   ", ""}, {16, "", ""},
        // Text boxes get the whole line; line 9 needs above "0", lines 3 and 7 not empty.
        {3, " 1, \"x\" ", "setText Form2_Text1 [ 1, \"x\" ];"},
        {7, "   ", "setText Form6_Text2 [   ];"}, {9, "0", ""},
        {14, " 60", "setText Form4_Text1 [ 60];"},
        {15, "500", "setCheck Form4_Check1 1;setText Form4_Text2 [500];"}};
    // clang-format on
    for (const auto& [number, value, expected] : rows) {
        SCOPED_TRACE(std::to_string(number) + " [" + value + "]");
        Lines lines = linesOf(clearAllFileText());
        lines[number - 1] = value;
        Lines calls = restoreCalls(lines);
        std::string changes;
        for (const std::string& call : calls)
            if (std::ranges::find(clearAllCalls, call) == clearAllCalls.end())
                changes += call + ";";
        for (const std::string& call : clearAllCalls)
            if (std::ranges::find(calls, call) == calls.end())
                changes += "-" + call + ";";
        EXPECT_EQ(changes, expected);
    }
}

TEST(SettingsFileReader, WritesHoldersInLineOrder) {
    // clang-format off
    EXPECT_THAT(restoreCalls({" 1 ", "1", "7", "2", "1", "1", "c", "s", "5", "1", "1", "1", "1",
                              "60", "500", "1", "1", "1", "1", "1", "1", "2", "1", "line 24"}),
        ElementsAre("setMark mnuoptjoykbd 1", "setCheck Form2_Check1 1", "setText Form2_Text1 [7]",
            "setText Form2_Text2 [2]", "select Form2_Option1 1", "setCheck Form6_Check1 1",
            "setText Form6_Text2 [c]", "setText Form6_Text1 [s]", "setText Form3_Text1 [5]",
            "setCheck Form3_Check1 1", "select Form3_Option1 1", "setCheck Form3_Check3 1",
            "setCheck Form3_Check5 1", "setText Form4_Text1 [60]", "setCheck Form4_Check1 1",
            "setText Form4_Text2 [500]", "setMark mnuoptsoundpc 1", "setMark mnuoptsounddiag 1",
            "setMark mnuoptsound15700 1", "setMark mnuoptsoundhi 1", "setMark mnuoptsoundquiet 1",
            "setCheck Form7_Check1 1", "select Form7_Option1 2", "setMark mnuoptcontroldrive 1"));
    // clang-format on
}

TEST(SettingsFileReader, MissingShortAndClearAllFiles) {
    // Past the end of a short file the lines read as empty, not as the last line read.
    EXPECT_THAT(
        restoreCalls({"0", "1"}),
        ElementsAre("setCheck Form2_Check1 1", "select Form2_Option1 0", "select Form3_Option1 0"));
    testing::FakePlatform files;
    testing::FakeHolders missing, cleared;
    restoreSettings(files, missing);
    EXPECT_THAT(missing.calls, ElementsAre("select Form2_Option1 0", "select Form3_Option1 0"));
    files.contents["config.dat"] = clearAllFileText();
    restoreSettings(files, cleared);
    EXPECT_EQ(cleared.calls, clearAllCalls);
    EXPECT_THAT(files.events, ElementsAre("read config.dat 23", "read config.dat 23"));
}

} // namespace
} // namespace kestrin
