#include "core/run_game.h"

#include "core/reports.h"
#include "core/settings_file.h"
#include "fakes.h"
#include "tests/support/recording_message_boxes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrin {
namespace {

using ::testing::ElementsAre;
using testing::ShownBox;
using Lines = std::vector<std::string>;

// The first-start state with "Space Game" (short name "SPACEG~1 ") selected.
struct Launcher {
    Launcher() {
        holders.state = {
            {"Form2_Option1", "0"}, {"Form3_Option1", "0"}, {"Form3_Check3.enabled", "0"}};
    }
    // Runs the game; the emulator writes `results` while it runs.
    void run(const std::string& results = "") {
        if (!results.empty())
            platform.whileRunning = [this, results] { platform.contents["results.dat"] = results; };
        runGame(holders, games, platform, platform, boxes);
    }
    testing::FakeHolders holders;
    testing::FakeGameList games;
    testing::FakePlatform platform;
    testing::RecordingMessageBoxes boxes;
};

ShownBox ok(const std::string& text, const std::string& title) {
    return {text, title, Buttons::Ok};
}

TEST(RunGame, WithoutASelectionOnlyAsks) {
    Launcher l;
    l.games.index = -1;
    l.run();
    EXPECT_THAT(l.boxes.shown, ElementsAre(ok("Please Select a game first", "Select a Game")));
    EXPECT_TRUE(l.platform.events.empty());
}

TEST(RunGame, PlainRunLeavesResultsAlone) {
    Launcher l;
    l.platform.contents["results.dat"] = "stale";
    l.holders.state["Form3_Text1"] = "5\r\nrm x"; // a typed line break never reaches run.bat
    l.run();
    EXPECT_THAT(l.platform.events, ElementsAre("replace config.dat", "replace run.bat",
                                               "start run.bat", "waitForUserReturn 42"));
    EXPECT_EQ(l.platform.contents["config.dat"], settingsFileText(readSettings(l.holders)));
    EXPECT_EQ(l.platform.contents["run.bat"], "marlo -v5rm x -c0 SPACEG~1 \r\n");
    EXPECT_EQ(l.platform.style, WindowStyle::MaximizedFocus);
    EXPECT_TRUE(l.platform.reportErrors);
    EXPECT_TRUE(l.boxes.shown.empty());
    EXPECT_EQ(l.platform.contents["results.dat"], "stale");
}

TEST(RunGame, ReportingRunsShowTheLinesTheirReportNeeds) {
    struct Row {
        std::map<std::string, std::string> settings;
        std::string results; // written while the emulator runs, "" for nothing
        bool startFails;
        std::string runBat;
        Lines afterStart;
        ShownBox box;
    };
    // clang-format off
    const std::vector<Row> rows = {
        {{{"Form4_Check1", "1"}, {"Form4_Text2", "500"}}, "61.2 fps\r\nignored\r\n", false,
         "marlo -c0 -f500 SPACEG~1  > results.dat\r\n",
         {"waitForUserReturn 42", "read results.dat 1", "remove results.dat"},
         ok("61.2 fps", "Performance Test")},
        // An empty frame count leaves the capture to the scan-line count.
        {{{"Form4_Check1", "1"}, {"Form3_Check5", "1"}}, "l1\nl2\nl3\nl4\n", false,
         "marlo -c0 -n SPACEG~1  > results.dat\r\n",
         {"waitForUserReturn 42", "read results.dat 3", "remove results.dat"},
         ok("l1\nl3", "Requested Information")},
        // A checksum run waits 0.5 s only and reads whatever is there.
        {{{"mnupcheck", "1"}, {"Form3_Check5", "1"}}, "", false,
         "marlo -x -c0 -n SPACEG~1  > results.dat\r\n",
         {"pause 0.500000", "read results.dat 2", "remove results.dat"},
         ok("Test not complete\n", "Checksum Information for Space Game")},
        {{{"Form3_Check5", "1"}}, "", true, "marlo -c0 -n SPACEG~1  > results.dat\r\n",
         {"read results.dat 1", "remove results.dat"}, ok("Test not complete", "Scanlines")}};
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.runBat);
        Launcher l;
        l.holders.state.insert(row.settings.begin(), row.settings.end());
        l.platform.startFails = row.startFails;
        l.run(row.results);
        EXPECT_EQ(l.platform.contents["run.bat"], row.runBat);
        Lines expected = {"replace config.dat", "replace run.bat", "start run.bat"};
        expected.insert(expected.end(), row.afterStart.begin(), row.afterStart.end());
        EXPECT_EQ(l.platform.events, expected);
        EXPECT_THAT(l.boxes.shown, ElementsAre(row.box));
        EXPECT_FALSE(l.platform.contents.contains("results.dat"));
        // Overlong lines are cut while read, never held whole.
        EXPECT_LE(l.platform.lastMaxLineBytes, 2 * reportLineLimit);
    }
}

TEST(RunGame, ReportFollowsTheSettingsAndSelectionAfterTheWait) {
    Launcher l;
    l.holders.state["Form3_Check5"] = "1";
    l.platform.whileRunning = [&l] {
        l.platform.contents["results.dat"] = "sum 1\r\nsum 2\r\n";
        l.holders.state["mnupcheck"] = "1";
        l.games.display = "Other Game";
    };
    l.run();
    EXPECT_THAT(l.boxes.shown,
                ElementsAre(ok("sum 1\nsum 2", "Checksum Information for Other Game")));
}

TEST(RunGame, FailedWritesAreShownAndStopTheRun) {
    for (const char* name : {"config.dat", "run.bat"}) {
        SCOPED_TRACE(name);
        Launcher l;
        l.holders.state["mnupcheck"] = "1";
        l.platform.failures = {{name, "No space left on device"}};
        l.run();
        EXPECT_EQ(l.platform.events.back(), std::string("replace ") + name);
        EXPECT_THAT(l.boxes.shown, ElementsAre(ok(std::string("Could not save ") + name +
                                                      ": No space left on device",
                                                  "Kestrin")));
    }
}

} // namespace
} // namespace kestrin
