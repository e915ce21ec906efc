#include "core/run_game.h"

#include "core/clear_all.h"
#include "core/command_line.h"
#include "core/numbers.h"
#include "core/reports.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "fake_holders.h"
#include "tests/support/fake_platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

// Rows name only the settings they change; the others keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kestrin {
namespace {

using ::testing::ElementsAre;
using testing::ShownBox;
using Lines = std::vector<std::string>;

std::string crlf(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

const Lines clearAllLines = {"0", "0", "",  "",  "0", "0", "", "",  "0", "0", "0", "0",
                             "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "0", ""};

// The fragments' conditions; the game runs below show every switch in its place.
TEST(SettingsFile, FragmentsUnderTheirConditionsAndTheFirstStartFile) {
    // clang-format off
    const std::vector<std::pair<SettingsSnapshot, std::string>> rows = {
        // Gated values give nothing while their gate is 0, the PAL colour loss while disabled.
        {{.paddleSpeed = "5", .paddleMethod = 0, .lightgunCycles = "3", .palColorLoss = 1,
          .performanceFrames = "10", .keyboardEmulationSide = 0}, "marlo -c1 ABC "},
        // An empty number still follows -k or -m; empty values give no -p, -l, -v, -r.
        {{.paddleEnabled = 1, .paddleMethod = 0, .lightgunEnabled = 1, .lightgunScanlines = "4",
          .keyboardEmulationEnabled = 1, .keyboardEmulationSide = 0}, "marlo -k -c1 -a4 -y1 ABC "},
        {{.paddleEnabled = 1, .keyboardEmulationEnabled = 1}, "marlo -c1 ABC "},
        // Texts go in exactly as typed.
        {{.paddleEnabled = 1, .paddleSpeed = "1,5", .paddleNumber = "\"2\"", .paddleMethod = 1,
          .videoMode = " 3 x", .speedAdjustment = " "}, "marlo -p1,5 -m\"2\" -v 3 x -c1 -r  ABC "},
        // Diagnostics are dropped only in a reporting mode; -f and its capture need frames.
        {{.performanceTest = 1, .soundDiagnostics = true}, "marlo -c1 -s0 ABC "}};
    // clang-format on
    for (const auto& [settings, expected] : rows)
        EXPECT_EQ(composeCommandLine(settings, "ABC "), expected);
    EXPECT_EQ(composeCommandLine({.printChecksum = true}, ""), "marlo -x -c1  > results.dat");
    // The first-start state stores Clear All's first 23 lines; frames only with their test on.
    EXPECT_EQ(settingsFileText({.paddleMethod = 0, .tvStandard = 0, .performanceFrames = "5"}),
              crlf(Lines(clearAllLines.begin(), clearAllLines.end() - 1)));
}

// The holders `lines` restore: a Clear All file's, changed as `changes` says ("NAME=": unset).
void expectRestored(const Lines& lines, const std::string& changes) {
    testing::FakeHolders read,
        expected("Form2_Option1=0 Form3_Option1=0 Form7_Option1=0 " + changes);
    applySettingsLines(lines, read);
    EXPECT_EQ(read.state, expected.state) << changes;
}

TEST(SettingsFile, ReaderTrimsAndComparesEachLine) {
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
        // Text boxes get the value without the blanks around it; a line not UTF-8 is Latin-1.
        {3, " 1,\"x\" ", "Form2_Text1=1,\"x\""}, {7, "   ", ""}, {7, "0", "Form6_Text2=0"},
        {9, "0", ""}, {14, " 60 ", "Form4_Text1=60"},
        {15, "500", "Form4_Check1=1 Form4_Text2=500"}, {8, "\xE9t\xE9", "Form6_Text1=\xC3\xA9t\xC3\xA9"},
        {8, "\xC3\xA9", "Form6_Text1=\xC3\xA9"}, {4, "\xED\xA0\x80", "Form2_Text2=\xC3\xAD\xC2\xA0\xC2\x80"}};
    // clang-format on
    for (const auto& [number, value, expected] : rows) {
        Lines lines = clearAllLines;
        lines[number - 1] = value;
        expectRestored(lines, expected);
    }
    // Keyboard emulation (21) clears the paddle (2) and lightgun (6); driving (23) comes after.
    Lines lines = clearAllLines;
    lines[1] = lines[5] = lines[20] = lines[22] = "1";
    expectRestored(lines, "Form7_Check1=1 mnuoptcontroldrive=1");
    // Past a short file's end the lines read as empty; a missing file leaves the first start.
    expectRestored({"0", "1"}, "Form2_Check1=1 Form7_Option1=");
    testing::FakePlatform platform;
    testing::FakeHolders missing;
    restoreSettings(platform, missing);
    platform.files["config.dat"] = " 1 \r\n"; // and one that fails after its first line
    platform.unreadable["config.dat"] = "Input/output error";
    EXPECT_EQ(restoreSettings(platform, missing), "Input/output error");
    EXPECT_EQ(missing.state, testing::FakeHolders("Form2_Option1=0 Form3_Option1=0").state);
}

TEST(Reports, EachKindAndEachShortFile) {
    const ReportChoice both{1, 1, false}, perf{1, 0, false}, scan{0, 1, false}, sum{0, 0, true};
    const std::string req = "Requested Information", check = "Checksum Information for X Y";
    // {choice, lines, text, title}: the checksum print wins; missing lines leave their defaults.
    // clang-format off
    const std::vector<std::tuple<ReportChoice, Lines, std::string, std::string>> rows = {
        {perf, {"a", "b"}, "a", "Performance Test"}, {scan, {"a", "b"}, "a", "Scanlines"},
        {{1, 1, true}, {"a", "b", "c"}, "a\nb", check}, {{1, 0, true}, {"a", "b"}, "a\nb", check},
        {both, {}, "Test not complete\n", req}, {both, {"a"}, "a\n", req}, {sum, {"a"}, "a\n", check},
        {both, {"a", "b"}, "a\nb", req}, {perf, {}, "Test not complete", "Performance Test"}};
    // clang-format on
    for (const auto& [choice, lines, text, title] : rows)
        EXPECT_EQ(chooseReport(choice, lines, "X Y"), (Report{text, title}));
}

// "Space Game" selected in the first-start state changed by `changes`; the run writes `results`.
struct Launcher : GameList {
    explicit Launcher(const std::string& changes = "", std::optional<std::string> results = {}) {
        holders.set("Form2_Option1=0 Form3_Option1=0 Form3_Check3.disabled=1 " + changes);
        platform.jobs.push_back({[this, results] {
            if (results)
                platform.files["results.dat"] = *results;
        }});
    }
    int selectedIndex() const override { return index; }
    std::string displayName() const override { return display; }
    std::string shortName() const override { return "SPACEG~1 "; }
    std::vector<ShownBox>& run() {
        runGame(holders, *this, platform, platform, platform.boxes);
        return platform.boxes.shown;
    }
    int index = 0;
    std::string display = "Space Game";
    testing::FakeHolders holders;
    testing::FakePlatform platform;
};

ShownBox ok(const std::string& text, const std::string& title = "Kestrin") {
    return {text, title, Buttons::Ok};
}

// Two runs that set each holder the other leaves clear, every text distinct, so that a holder
// read into the wrong place shows; the first of two exclusive marks wins, no TV standard is PAL.
TEST(RunGame, StoresEveryHolderRunsAndShowsItsReport) {
    const struct {
        std::string changes, results, config, runBat, wait;
        ShownBox report;
    } rows[] = {
        {"mnuoptjoyrev=1 Form2_Check1=1 Form2_Text1=7 Form2_Text2=2 Form2_Option1=1 "
         "Form6_Check1=1 Form6_Text2=c Form6_Text1=s Form3_Text1=5 Form3_Check1=1 "
         "Form3_Option1=1 Form3_Check3=1 Form3_Check3.disabled= Form3_Check5=1 Form4_Text1=60 "
         "Form4_Check1=1 Form4_Text2=500 mnuoptsoundpc=1 mnuoptsounddiag=1 mnuoptsound15700=1 "
         "mnuoptsoundlow=1 mnuoptsoundquiet=1 Form7_Check1=1 Form7_Option1=1 mnuoptcontroldrive=1",
         "61 fps\r\n262\r\n263\r\n",
         crlf({" 2 ", "1",  "7",   "2", "1", "1", "c", "s", "5", "1", "1", "1",
               "1",   "60", "500", "1", "1", "1", "0", "1", "1", "1", "1"}),
         "marlo -j2 -p7 -m2 -v5 -b -c1 -o -n -r60 -f500 -s1 -d2 -s2 -q -lc -as -y2 -w SPACEG~1  > "
         "results.dat\r\n",
         "return 1", ok("61 fps\n263", "Requested Information")},
        // The checksum run waits half a second only and reads whatever is there.
        {"mnuoptjoykbd=1 mnuoptjoyrev=1 mnupcheck=1 mnuoptsounddiag=1 mnuoptsoundhi=1 "
         "mnuoptsoundlow=1 Form7_Check1=1 Form7_Option1=2 Form2_Option1= Form2_Text1=1,\"2\" "
         "Form3_Option1= Form3_Check3=1 Form4_Check1=1",
         "sum 1\nsum 2\nsum 3\n",
         crlf({" 1 ", "0", "1,\"2\"", "",  "-1", "0", "",  "",  "0", "0", "1", "1",
               "0",   "0", "0",       "0", "1",  "0", "1", "0", "1", "2", "0"}),
         "marlo -x -j0 -c1 -d1 -y3 SPACEG~1  > results.dat\r\n", "pause 0.5",
         ok("sum 1\nsum 2", "Checksum Information for Space Game")}};
    for (const auto& row : rows) {
        Launcher l(row.changes, row.results);
        EXPECT_THAT(l.run(), ElementsAre(row.report));
        EXPECT_EQ(l.platform.files["config.dat"], row.config);
        EXPECT_EQ(l.platform.files["run.bat"], row.runBat);
        EXPECT_THAT(l.platform.log,
                    ElementsAre("replace config.dat", "replace run.bat", "start run.bat 2",
                                row.wait, "read results.dat", "remove results.dat"));
    }
}

TEST(RunGame, PlainRunsAndFailures) {
    Launcher none;
    none.index = -1;
    EXPECT_THAT(none.run(), ElementsAre(ok("Please Select a game first", "Select a Game")));
    EXPECT_TRUE(none.platform.log.empty());
    // A plain run leaves results.dat alone; a typed line break reaches neither file.
    Launcher plain;
    plain.holders.put("Form3_Text1", "5\r\nrm x");
    plain.platform.jobs.front().failure = "marlo: unknown switch -X";
    plain.platform.files["results.dat"] = "stale";
    EXPECT_THAT(plain.run(), ElementsAre(ok("marlo: unknown switch -X")));
    EXPECT_EQ(plain.platform.files["run.bat"] + plain.platform.files["results.dat"],
              "marlo -v5rm x -c0 SPACEG~1 \r\nstale");
    EXPECT_NE(plain.platform.files["config.dat"].find("\r\n5rm x\r\n0\r\n0\r\n"),
              std::string::npos);
    // A job that never started, or a results.dat that links to an outside file.
    Launcher unstarted("Form3_Check5=1"), linked("Form3_Check5=1", "outside");
    unstarted.platform.jobs.front().startFails = true;
    linked.platform.links.insert("results.dat");
    for (Launcher* l : {&unstarted, &linked})
        EXPECT_THAT(l->run(), ElementsAre(ok("Test not complete", "Scanlines")));
    Launcher overlong("Form3_Check5=1", std::string(1500, 'x')); // a shown line is cut
    EXPECT_THAT(overlong.run(), ElementsAre(ok(std::string(reportLineLimit, 'x'), "Scanlines")));
    for (const char* name : {"config.dat", "run.bat"}) {
        Launcher l("mnupcheck=1");
        l.platform.unwritable = {{name, "No space left on device"}};
        EXPECT_THAT(l.run(), ElementsAre(ok(std::string("Could not save ") + name +
                                            ": No space left on device")));
        EXPECT_EQ(l.platform.log.back(), std::string("replace ") + name);
    }
    // The report follows the settings and the selection as they stand after the wait.
    Launcher changed("Form3_Check5=1", "sum 1\r\nsum 2\r\n");
    changed.platform.duringWait = [&changed] {
        changed.holders.set("mnupcheck=1");
        changed.display = "Other Game";
    };
    EXPECT_THAT(changed.run(),
                ElementsAre(ok("sum 1\nsum 2", "Checksum Information for Other Game")));
}

// Every holder set (marks set or clear: the commands run once or twice); answered OK, Cancel, or
// OK with config.dat unwritable. Only the holders it names change, and only once it is written.
TEST(ClearAll, ClearsTheNamedHoldersAfterWritingTheFile) {
    const std::string cleared =
        "Form2_Check2=1 Form2_Option1=0 Form2_Option2=1 Form3_Check3=1 Form3_Check4=1 "
        "Form3_Check5=1 Form3_Check6=1 Form3_Option1=0 Form3_Option2=0 Form6_Check2=1 "
        "Form6_Text3=1 Form6_Text4=1 Form7_Check2=1 Form7_Option1=0 Form7_Option2=1";
    // clang-format off
    for (const auto& [marks, answer, unwritable] : {std::tuple{"1", Answer::Ok, false},
             {"", Answer::Ok, false}, {"1", Answer::Cancel, false}, {"1", Answer::Ok, true}}) {
        // clang-format on
        testing::FakeHolders holders("mnuoptsounddiag=1 mnuoptjoyrev=1");
        for (std::size_t i = 0; i < testing::holderNames.size(); ++i)
            holders.put(testing::holderNames[i], i < 10 ? marks : "1"); // the marks come first
        const auto before = holders.state;
        testing::FakePlatform platform;
        if (unwritable)
            platform.unwritable["config.dat"] = "Read-only file system";
        platform.boxes.answers = {answer};
        clearAll(holders, platform, platform.boxes);
        const bool written = answer == Answer::Ok && !unwritable;
        EXPECT_EQ(holders.state, written ? testing::FakeHolders(cleared).state : before);
        std::vector<ShownBox> shown{{"This will clear all options. Do you wish to continue?",
                                     "Clear Options", Buttons::OkCancel}};
        if (unwritable)
            shown.push_back(ok("Could not save config.dat: Read-only file system"));
        EXPECT_EQ(platform.boxes.shown, shown);
        EXPECT_EQ(platform.files["config.dat"], written ? crlf(clearAllLines) : "");
    }
}

TEST(Text, CutsNeverSplitACharacter) {
    const std::string a4 = "aaaa", e = "\xC3\xA9", euro = "\xE2\x82\xAC",
                      smile = "\xF0\x9F\x98\x80";
    // {text, limit, kept}: characters of two to four bytes at the cut; other bytes cut anywhere.
    // clang-format off
    const std::vector<std::tuple<std::string, std::size_t, std::size_t>> rows = {
        {"abc", 5, 3}, {a4 + e, 5, 4}, {a4 + e, 6, 6}, {"a" + euro, 3, 1}, {"a" + euro, 4, 4},
        {"a" + smile + "b", 4, 1}, {smile + smile, 7, 4}, {a4 + smile + "b", 8, 8},
        {"\x80\x80\x80\x80", 3, 3}, {"aa\xC0\x80", 3, 3}, {"\xF8\x80\x80\x80", 2, 2}};
    // clang-format on
    for (const auto& [text, limit, kept] : rows)
        EXPECT_EQ(cutLength(text, limit), kept) << ::testing::PrintToString(text) << " " << limit;
}

TEST(Text, Utf8OrLatin1AndPrintableLines) {
    for (const char* valid : {"", "abc", "\xC3\xA9", "\xE2\x82\xAC", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(isUtf8(valid)) << ::testing::PrintToString(valid);
    // Lone bytes, cut characters, overlong forms, surrogates, past U+10FFFF.
    for (const char* invalid : {"\xE9", "a\xC3", "\xE2\x82", "\xC0\xAF", "\xE0\x80\xAF",
                                "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\x80"})
        EXPECT_FALSE(isUtf8(invalid)) << ::testing::PrintToString(invalid);
    EXPECT_EQ(latin1ToUtf8("a\xE9\xFF\x80"), "a\xC3\xA9\xC3\xBF\xC2\x80");
    // Tabs become blanks; control characters, C1 controls and stray bytes "?"; cut whole.
    EXPECT_EQ(printableLine("a\tb\x1b[31mc\x7f\xC2\x85\xC3\xA9\xFF", 99), "a b?[31mc??\xC3\xA9?");
    EXPECT_EQ(printableLine("abc\xE2\x82\xAC", 5), "abc");
}

// The end of another program's error output: the last lines with something on them, a progress
// line as it was left, and of a line whose start was not kept only its end, when nothing follows.
TEST(Text, LastErrorLines) {
    using Lines = std::vector<std::string>;
    const std::string x300(300, 'x'), e150 = [] {
        std::string e;
        for (int i = 0; i < 150; ++i)
            e += "\xC3\xA9";
        return e;
    }();
    const std::tuple<std::string, bool, Lines> rows[] = {
        {"1\n2\n \t\n3\r\n4\n5\n6\t\n", false, {"2", "3", "4", "5", "6"}},
        {"0%\r50%\r100%\rmarlo: no image\n\n", true, {"marlo: no image"}},
        {x300 + "\n\nmarlo: no image", true, {"marlo: no image"}},
        {x300 + "\nmarlo: no image", false, {std::string(200, 'x'), "marlo: no image"}},
        {x300 + "END\n", true, {"..." + std::string(194, 'x') + "END"}},
        {e150, true, {"..." + e150.substr(104)}}}; // cut on a character
    for (const auto& [tail, startsInsideLine, shown] : rows)
        EXPECT_EQ(lastErrorLines(tail, startsInsideLine), shown) << tail;
}

// Beside what the fuzz target checks: prefixes, bounds, rounding, the numeric test.
TEST(Numbers, LeadingNumberValueAndNumericTest) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::string nines(10'000, '9'), halfway = "1.00000000000000011102230246251565404236316680"
                                                    "908203125" +
                                                    std::string(2'000, '0');
    // clang-format off
    const std::vector<std::pair<std::string, double>> values = {
        {"7x", 7}, {"1.2.3", 1.2}, {"1,5", 1}, {"-", 0}, {".", 0}, {"e5", 0}, {"1\r2", 1},
        {"1 e 2", 100}, {"1d2", 100}, {"1e", 1}, {"1e+", 1}, {"&H10", 16}, {"&hff", 255},
        {"&O17", 15}, {"&o78", 7}, {"&H", 0}, {"&X1", 0}, {"-1e999999", -inf}, {"1e-" + nines, 0},
        {"1e" + nines, inf}, {nines, inf}, {"&H" + nines, inf}, {"0." + std::string(2'000, '1'), 1.0 / 9},
        {"0." + std::string(9'999, '0') + "1e10000", 1}, {halfway, 1}, // rounds to even, a
        {halfway + "1", std::nextafter(1.0, 2.0)}}; // digit however far behind tips it up
    // clang-format on
    for (const auto& [text, expected] : values)
        EXPECT_EQ(leadingNumberValue(text), expected) << text.substr(0, 60);
    EXPECT_FALSE(std::signbit(leadingNumberValue("-0")));

    const NumberSeparators dot{".", ","}, comma{",", "."}, narrowSpace{",", "\u202F"}, none{"", ""};
    // clang-format off
    const std::vector<std::tuple<std::string, NumberSeparators, bool>> numeric = {
        {"1,000,000.25", dot, true}, {"\t12  ", dot, true}, {"5.", dot, true}, {"", dot, false},
        {"   ", dot, false}, {"-", dot, false}, {".", dot, false}, {"1e+", dot, false},
        {",1", dot, false}, {"1,", dot, false}, {"1,,0", dot, false}, {"1 2", dot, false},
        {"1d2", dot, false}, {"1.000,5", comma, true}, {"1.5.", comma, false},
        {"1\u202F000,5", narrowSpace, true}, {"\u202F1", narrowSpace, false}, {"15", none, true},
        {"1.5", none, false}};
    // clang-format on
    for (const auto& [text, separators, expected] : numeric)
        EXPECT_EQ(isNumeric(text, separators), expected) << text;
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "C"); // no thousands separator: "," stands in
    const NumberSeparators c = systemNumberSeparators();
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(c.decimal + c.thousands, ".,");
}

} // namespace
} // namespace kestrin
