#include "core/settings.h"
#include "core/settings_file.h"

#include "fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrin {
namespace {

using testing::crlfLines;
using ::testing::ElementsAre;
using testing::FakeFiles;
using testing::FakeHolders;

SettingsSnapshot firstStart() {
    SettingsSnapshot s;
    s.paddleMethod = 0;
    s.tvStandard = 0;
    return s;
}

std::vector<std::string> linesOf(const SettingsSnapshot& s) {
    return crlfLines(settingsFileText(s));
}

// The holder writes a file makes at start-up, from a fresh set of holders.
std::vector<std::string> restoreCalls(const std::vector<std::string>& lines) {
    FakeHolders holders;
    applySettingsLines(lines, holders);
    return holders.calls;
}

// The lines of a Clear All file, which set nothing but the three groups, with one replaced.
std::vector<std::string> fileWithLine(std::size_t number, const std::string& value) {
    std::vector<std::string> lines = crlfLines(clearAllFileText());
    lines[number - 1] = value;
    return lines;
}

// The writes a Clear All file makes.
const std::vector<std::string> zeroFileCalls = {"select Form2_Option1 0", "select Form3_Option1 0",
                                                "select Form7_Option1 0"};

TEST(SettingsFileWriter, FirstStartWritesTheClearAllLinesWithoutTheLastOne) {
    std::vector<std::string> clearAll = crlfLines(clearAllFileText());
    ASSERT_EQ(clearAll.size(), 24u);
    EXPECT_EQ(clearAll,
              (std::vector<std::string>{"0", "0", "",  "",  "0", "0", "", "",  "0", "0", "0", "0",
                                        "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "0", ""}));
    std::vector<std::string> written = linesOf(firstStart());
    ASSERT_EQ(written.size(), 23u);
    EXPECT_EQ(written, std::vector<std::string>(clearAll.begin(), clearAll.end() - 1));
}

TEST(SettingsFileWriter, EveryValueOnItsLine) {
    SettingsSnapshot s;
    s.reversed = true;
    s.paddleEnabled = 1;
    s.paddleSpeed = "7";
    s.paddleNumber = "2";
    s.paddleMethod = 1;
    s.lightgunEnabled = 1;
    s.lightgunCycles = "c";
    s.lightgunScanlines = "s";
    s.videoMode = "5";
    s.blackAndWhite = 1;
    s.tvStandard = 1;
    s.palColorLoss = 1;
    s.palColorLossEnabled = false; // stored whether enabled or not
    s.showScanlineCount = 1;
    s.speedAdjustment = "60";
    s.performanceTest = 1;
    s.performanceFrames = "500";
    s.pcSpeaker = true;
    s.soundDiagnostics = true;
    s.forceSampleRate15700 = true;
    s.dspHigh = true;
    s.quietSound = true;
    s.printChecksum = true; // never stored
    s.keyboardEmulationEnabled = 1;
    s.keyboardEmulationSide = 2;
    s.drivingController = true;
    EXPECT_EQ(linesOf(s), (std::vector<std::string>{" 2 ", "1", "7", "2", "1", "1",  "c",   "s",
                                                    "5",   "1", "1", "1", "1", "60", "500", "1",
                                                    "1",   "1", "1", "1", "1", "2",  "1"}));
}

TEST(SettingsFileWriter, ChoiceLines) {
    SettingsSnapshot s = firstStart();
    s.keyboardOnly = true;
    s.reversed = true;
    EXPECT_EQ(linesOf(s)[0], " 1 ");

    s.paddleMethod = noneSelected;
    EXPECT_EQ(linesOf(s)[4], "-1");
    s.tvStandard = noneSelected;
    EXPECT_EQ(linesOf(s)[10], "1");

    s.dspLow = true;
    EXPECT_EQ(linesOf(s)[18], "0");
    s.dspHigh = true;
    EXPECT_EQ(linesOf(s)[18], "1");

    s.keyboardEmulationSide = noneSelected;
    EXPECT_EQ(linesOf(s)[21], "0");
    s.keyboardEmulationSide = 1;
    EXPECT_EQ(linesOf(s)[21], "1");
}

TEST(SettingsFileWriter, ZeroStandsForEmptyOrUngatedValues) {
    SettingsSnapshot s = firstStart();
    s.videoMode = "0";
    s.performanceTest = 1; // without a frame count
    EXPECT_EQ(linesOf(s)[8], "0");
    EXPECT_EQ(linesOf(s)[14], "0");
    s.performanceTest = 0;
    s.performanceFrames = "500"; // kept in the box but not switched on
    EXPECT_EQ(linesOf(s)[14], "0");
    // Gated paddle, lightgun and keyboard values are stored all the same.
    s.paddleSpeed = "3";
    s.keyboardEmulationSide = 2;
    EXPECT_EQ(linesOf(s)[2], "3");
    EXPECT_EQ(linesOf(s)[21], "2");
}

TEST(SettingsFileWriter, TextIsStoredAsTypedExceptLineBreaks) {
    SettingsSnapshot s = firstStart();
    s.paddleSpeed = " 1, \"2\" ";
    s.videoMode = "\xC3\xA9";
    s.speedAdjustment = "6\r\n0";
    s.lightgunCycles = "a\nb";
    std::vector<std::string> lines = linesOf(s);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines[2], " 1, \"2\" ");
    EXPECT_EQ(lines[8], "\xC3\xA9");
    EXPECT_EQ(lines[13], "60");
    EXPECT_EQ(lines[6], "ab");
}

TEST(SettingsFileReader, ExactComparisons) {
    // Line 1: " 1 " and "1" check keyboard only, "2" reversed, anything else nothing.
    EXPECT_EQ(restoreCalls(fileWithLine(1, " 1 "))[0], "setMark mnuoptjoykbd 1");
    EXPECT_EQ(restoreCalls(fileWithLine(1, "2"))[0], "setMark mnuoptjoyrev 1");
    EXPECT_EQ(restoreCalls(fileWithLine(1, "01")), zeroFileCalls);
    EXPECT_EQ(restoreCalls(fileWithLine(1, "1 2")), zeroFileCalls);
    // "Equals" checks demand the literal, "above" would take "2".
    EXPECT_EQ(restoreCalls(fileWithLine(2, "2")), zeroFileCalls);
    EXPECT_EQ(restoreCalls(fileWithLine(20, "11")), zeroFileCalls);
    EXPECT_EQ(restoreCalls(fileWithLine(13, "\t1")), zeroFileCalls); // only blanks are trimmed
    EXPECT_THAT(restoreCalls(fileWithLine(13, "  1")),
                ElementsAre("select Form2_Option1 0", "select Form3_Option1 0",
                            "setCheck Form3_Check5 1", "select Form7_Option1 0"));
}

TEST(SettingsFileReader, AboveZeroComparesCharacterCodes) {
    auto checksPerformance = [](const std::string& value) {
        std::vector<std::string> calls = restoreCalls(fileWithLine(15, value));
        return std::find(calls.begin(), calls.end(), "setCheck Form4_Check1 1") != calls.end();
    };
    for (const char* above : {"1", "60", "00", "0x", "5", "a", " 9 ", "\xC3\xA9", "\x80"})
        EXPECT_TRUE(checksPerformance(above)) << '"' << above << '"';
    for (const char* notAbove : {"", "0", " 0 ", "-1", "   ", "+5", "/"})
        EXPECT_FALSE(checksPerformance(notAbove)) << '"' << notAbove << '"';
}

TEST(SettingsFileReader, ChoiceLines) {
    EXPECT_EQ(restoreCalls(fileWithLine(5, "1"))[0], "select Form2_Option1 1");
    EXPECT_EQ(restoreCalls(fileWithLine(5, "-1"))[0], "select Form2_Option1 0");
    EXPECT_EQ(restoreCalls(fileWithLine(11, "60"))[1], "select Form3_Option1 1");
    EXPECT_EQ(restoreCalls(fileWithLine(19, "0"))[2], "setMark mnuoptsoundlow 1");
    EXPECT_EQ(restoreCalls(fileWithLine(19, " 1 "))[2], "setMark mnuoptsoundhi 1");
    EXPECT_EQ(restoreCalls(fileWithLine(19, "")), zeroFileCalls);
    EXPECT_EQ(restoreCalls(fileWithLine(22, " 2 "))[2], "select Form7_Option1 2");
    EXPECT_EQ(restoreCalls(fileWithLine(22, "1"))[2], "select Form7_Option1 1");
    EXPECT_THAT(restoreCalls(fileWithLine(22, "3")),
                ElementsAre("select Form2_Option1 0", "select Form3_Option1 0"));
}

TEST(SettingsFileReader, TextBoxesReceiveTheWholeLine) {
    std::vector<std::string> lines(23, "");
    lines[2] = " 1, \"x\" ";
    lines[3] = "   ";
    lines[8] = "0";    // not above "0": video mode stays empty
    lines[13] = " 60"; // above "0" once trimmed, restored with its blank
    EXPECT_THAT(restoreCalls(lines),
                ElementsAre("setText Form2_Text1 [ 1, \"x\" ]", "setText Form2_Text2 [   ]",
                            "select Form2_Option1 0", "select Form3_Option1 0",
                            "setText Form4_Text1 [ 60]"));
}

TEST(SettingsFileReader, WritesHoldersInLineOrder) {
    std::vector<std::string> lines = {" 1 ", "1", "7", "2", "1", "1",  "c",   "s",
                                      "5",   "1", "1", "1", "1", "60", "500", "1",
                                      "1",   "1", "1", "1", "1", "2",  "1",   "ignored line 24"};
    EXPECT_THAT(
        restoreCalls(lines),
        ElementsAre(
            "setMark mnuoptjoykbd 1", "setCheck Form2_Check1 1", "setText Form2_Text1 [7]",
            "setText Form2_Text2 [2]", "select Form2_Option1 1", "setCheck Form6_Check1 1",
            "setText Form6_Text2 [c]", "setText Form6_Text1 [s]", "setText Form3_Text1 [5]",
            "setCheck Form3_Check1 1", "select Form3_Option1 1", "setCheck Form3_Check3 1",
            "setCheck Form3_Check5 1", "setText Form4_Text1 [60]", "setCheck Form4_Check1 1",
            "setText Form4_Text2 [500]", "setMark mnuoptsoundpc 1", "setMark mnuoptsounddiag 1",
            "setMark mnuoptsound15700 1", "setMark mnuoptsoundhi 1", "setMark mnuoptsoundquiet 1",
            "setCheck Form7_Check1 1", "select Form7_Option1 2", "setMark mnuoptcontroldrive 1"));
}

TEST(SettingsFileReader, MissingAndShortFilesReadAsEmptyLines) {
    EXPECT_THAT(restoreCalls({}), ElementsAre("select Form2_Option1 0", "select Form3_Option1 0"));
    // Past the end of a short file nothing repeats the last line read.
    EXPECT_THAT(
        restoreCalls({"0", "1"}),
        ElementsAre("setCheck Form2_Check1 1", "select Form2_Option1 0", "select Form3_Option1 0"));

    std::vector<std::string> events;
    FakeFiles files(events);
    FakeHolders holders;
    restoreSettings(files, holders);
    EXPECT_THAT(events, ElementsAre("read config.dat"));
    EXPECT_EQ(files.lastMaxLines, 23u);
    EXPECT_THAT(holders.calls, ElementsAre("select Form2_Option1 0", "select Form3_Option1 0"));
}

TEST(SettingsFileReader, ClearAllFileGivesTheFirstStartStateWithLeftSelected) {
    std::vector<std::string> events;
    FakeFiles files(events);
    files.contents["config.dat"] = clearAllFileText();
    FakeHolders holders;
    restoreSettings(files, holders);
    EXPECT_EQ(holders.calls, zeroFileCalls);
}

TEST(SettingsFile, WhatIsStoredComesBack) {
    FakeHolders before;
    before.marks[MenuMark::mnuoptjoyrev] = true;
    before.marks[MenuMark::mnuoptsoundlow] = true;
    before.marks[MenuMark::mnuoptsounddiag] = true;
    before.marks[MenuMark::mnuoptcontroldrive] = true;
    before.checks[CheckBox::Form2_Check1] = 1;
    before.texts[TextBox::Form2_Text1] = " 12 , \"a\"";
    before.texts[TextBox::Form2_Text2] = "  ";
    before.selections[OptionGroup::Form2_Option1] = 1;
    before.texts[TextBox::Form6_Text1] = "-3";
    before.texts[TextBox::Form3_Text1] = "\xE2\x82\xAC 7";
    before.selections[OptionGroup::Form3_Option1] = 0;
    before.enabledBoxes[CheckBox::Form3_Check3] = false;
    before.checks[CheckBox::Form3_Check3] = 1;
    before.texts[TextBox::Form4_Text1] = "254";
    before.checks[CheckBox::Form4_Check1] = 1;
    before.texts[TextBox::Form4_Text2] = "100";
    before.selections[OptionGroup::Form7_Option1] = 1;

    std::vector<std::string> events;
    FakeFiles files(events);
    ASSERT_FALSE(files.replace("config.dat", settingsFileText(readSettings(before))));
    FakeHolders after;
    restoreSettings(files, after);

    // Everything the file holds reads back the same, the disabled PAL colour loss included.
    EXPECT_EQ(settingsFileText(readSettings(after)), settingsFileText(readSettings(before)));
    EXPECT_EQ(after.check(CheckBox::Form3_Check3), 1);
    EXPECT_FALSE(after.enabled(CheckBox::Form3_Check3));
    EXPECT_EQ(after.text(TextBox::Form2_Text1), " 12 , \"a\"");
    EXPECT_EQ(after.text(TextBox::Form2_Text2), "  ");
}

} // namespace
} // namespace kestrin
