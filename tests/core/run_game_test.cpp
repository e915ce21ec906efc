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
using testing::FakeFiles;
using testing::FakeGameList;
using testing::FakeHolders;
using testing::FakeJobs;
using testing::RecordingMessageBoxes;
using testing::ShownBox;

class RunGame : public ::testing::Test {
protected:
    RunGame() : files(events), jobs(events) {
        holders.selections[OptionGroup::Form2_Option1] = 0;
        holders.selections[OptionGroup::Form3_Option1] = 0;
        holders.enabledBoxes[CheckBox::Form3_Check3] = false;
        games.index = 0;
        games.display = "Space Game";
        games.shortText = "SPACEG~1 ";
    }

    void run() { runGame(holders, games, files, jobs, boxes); }
    // The emulator writing its report while it runs.
    void emulatorWrites(const std::string& results) {
        jobs.whileRunning = [this, results] { files.contents["results.dat"] = results; };
    }

    std::vector<std::string> events;
    FakeHolders holders;
    FakeGameList games;
    FakeFiles files;
    FakeJobs jobs;
    RecordingMessageBoxes boxes;
};

TEST_F(RunGame, WithoutASelectionOnlyAsks) {
    games.index = -1;
    run();
    EXPECT_THAT(boxes.shown,
                ElementsAre(ShownBox{"Please Select a game first", "Select a Game", Buttons::Ok}));
    EXPECT_TRUE(events.empty());
}

TEST_F(RunGame, PlainRunWritesBothFilesStartsAndWaitsForTheUser) {
    files.contents["results.dat"] = "stale";
    run();
    EXPECT_THAT(events, ElementsAre("replace config.dat", "replace run.bat", "start run.bat",
                                    "waitForUserReturn 42"));
    EXPECT_EQ(files.contents["config.dat"], settingsFileText(readSettings(holders)));
    EXPECT_EQ(files.contents["run.bat"], "marlo -c0 SPACEG~1 \r\n");
    EXPECT_EQ(jobs.lastStyle, WindowStyle::MaximizedFocus);
    EXPECT_TRUE(jobs.lastReportErrors);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(files.contents["results.dat"], "stale"); // neither read nor deleted
}

TEST_F(RunGame, PerformanceReportAfterTheUserReturns) {
    holders.checks[CheckBox::Form4_Check1] = 1;
    holders.texts[TextBox::Form4_Text2] = "500";
    emulatorWrites("61.2 frames per second\r\nignored\r\n");
    run();
    EXPECT_EQ(files.contents["run.bat"], "marlo -c0 -f500 SPACEG~1  > results.dat\r\n");
    EXPECT_THAT(events,
                ElementsAre("replace config.dat", "replace run.bat", "start run.bat",
                            "waitForUserReturn 42", "read results.dat", "remove results.dat"));
    EXPECT_EQ(files.lastMaxLines, 1u);
    EXPECT_THAT(boxes.shown,
                ElementsAre(ShownBox{"61.2 frames per second", "Performance Test", Buttons::Ok}));
    EXPECT_FALSE(files.contents.contains("results.dat"));
}

TEST_F(RunGame, ScanlineCountWithAnEmptyFrameCountReadsThreeLines) {
    holders.checks[CheckBox::Form4_Check1] = 1;
    holders.checks[CheckBox::Form3_Check5] = 1;
    emulatorWrites("l1\nl2\nl3\nl4\n");
    run();
    EXPECT_EQ(files.contents["run.bat"], "marlo -c0 -n SPACEG~1  > results.dat\r\n");
    EXPECT_EQ(files.lastMaxLines, 3u);
    EXPECT_THAT(boxes.shown, ElementsAre(ShownBox{"l1\nl3", "Requested Information", Buttons::Ok}));
}

TEST_F(RunGame, ChecksumRunPausesHalfASecondAndReadsWhateverIsThere) {
    holders.marks[MenuMark::mnupcheck] = true;
    holders.checks[CheckBox::Form3_Check5] = 1;
    run();
    EXPECT_THAT(events, ElementsAre("replace config.dat", "replace run.bat", "start run.bat",
                                    "pause 0.5", "read results.dat", "remove results.dat"));
    EXPECT_THAT(boxes.shown,
                ElementsAre(ShownBox{"Test not complete\n", "Checksum Information for Space Game",
                                     Buttons::Ok}));
}

TEST_F(RunGame, ReportFollowsTheSettingsAndSelectionAfterTheWait) {
    holders.checks[CheckBox::Form3_Check5] = 1;
    jobs.whileRunning = [this] {
        files.contents["results.dat"] = "sum 1\r\nsum 2\r\n";
        holders.marks[MenuMark::mnupcheck] = true;
        games.display = "Other Game";
    };
    run();
    EXPECT_EQ(files.contents["run.bat"], "marlo -c0 -n SPACEG~1  > results.dat\r\n");
    EXPECT_THAT(
        boxes.shown,
        ElementsAre(ShownBox{"sum 1\nsum 2", "Checksum Information for Other Game", Buttons::Ok}));
}

TEST_F(RunGame, FailedStartStillReportsTestNotComplete) {
    holders.checks[CheckBox::Form3_Check5] = 1;
    jobs.startFails = true;
    run();
    EXPECT_THAT(events, ElementsAre("replace config.dat", "replace run.bat", "start run.bat",
                                    "read results.dat", "remove results.dat"));
    EXPECT_THAT(boxes.shown, ElementsAre(ShownBox{"Test not complete", "Scanlines", Buttons::Ok}));
}

TEST_F(RunGame, FailedWritesAreShownAndStopTheRun) {
    holders.marks[MenuMark::mnupcheck] = true;
    files.failures["config.dat"] = "No space left on device";
    run();
    EXPECT_THAT(events, ElementsAre("replace config.dat"));
    EXPECT_THAT(boxes.shown,
                ElementsAre(ShownBox{"Could not save config.dat: No space left on device",
                                     "Kestrin", Buttons::Ok}));

    events.clear();
    boxes.shown.clear();
    files.failures.clear();
    files.failures["run.bat"] = "Permission denied";
    run();
    EXPECT_THAT(events, ElementsAre("replace config.dat", "replace run.bat"));
    EXPECT_THAT(boxes.shown, ElementsAre(ShownBox{"Could not save run.bat: Permission denied",
                                                  "Kestrin", Buttons::Ok}));
}

TEST_F(RunGame, TypedLineBreaksNeverReachRunBat) {
    holders.texts[TextBox::Form3_Text1] = "5\r\nrm -rf x";
    run();
    EXPECT_EQ(files.contents["run.bat"], "marlo -v5rm -rf x -c0 SPACEG~1 \r\n");
}

TEST_F(RunGame, HugeBinaryResultsAreCut) {
    holders.marks[MenuMark::mnupcheck] = true;
    emulatorWrites(std::string(2'000'000, '\xFF') + "\n" + std::string(10, '\0'));
    run();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_LE(files.lastMaxLineBytes, 2 * reportLineLimit);
    EXPECT_EQ(boxes.shown[0].text,
              std::string(reportLineLimit, '\xFF') + "\n" + std::string(10, '\0'));
}

} // namespace
} // namespace kestrin
