#include "core/clear_all.h"

#include "core/settings_file.h"
#include "fakes.h"
#include "tests/support/recording_message_boxes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrin {
namespace {

using ::testing::ElementsAre;
using testing::nameOf;
using testing::ShownBox;

const ShownBox question{"This will clear all options. Do you wish to continue?", "Clear Options",
                        Buttons::OkCancel};

// Every menu mark set; Clear All never reads the other holders.
struct ClearAll : ::testing::Test {
    ClearAll() {
        for (int i = 0; i <= static_cast<int>(MenuMark::mnupcheck); ++i)
            holders.state[nameOf(static_cast<MenuMark>(i))] = "1";
    }
    void expectEveryMarkClear() {
        for (int i = 0; i <= static_cast<int>(MenuMark::mnupcheck); ++i)
            EXPECT_FALSE(holders.mark(static_cast<MenuMark>(i)))
                << nameOf(static_cast<MenuMark>(i));
    }
    testing::FakeHolders holders;
    testing::FakePlatform files;
    testing::RecordingMessageBoxes boxes;
};

TEST_F(ClearAll, CancelChangesNothing) {
    boxes.answers.push_back(Answer::Cancel);
    clearAll(holders, files, boxes);
    EXPECT_THAT(boxes.shown, ElementsAre(question));
    EXPECT_TRUE(files.events.empty());
    EXPECT_TRUE(holders.calls.empty());
}

TEST_F(ClearAll, WritesTheFileFirstThenResetsInOrder) {
    clearAll(holders, files, boxes);
    EXPECT_THAT(boxes.shown, ElementsAre(question));
    EXPECT_THAT(files.events, ElementsAre("replace config.dat"));
    EXPECT_EQ(files.contents["config.dat"], clearAllFileText());
    // Form3's Check3 and Check5 and the backups it does not name are left alone.
    EXPECT_THAT(
        holders.calls,
        ElementsAre("setText Form2_Text1 []", "setText Form2_Text2 []", "select Form2_Option1 0",
                    "setText Form2_Text3 []", "setText Form2_Text4 []", "setCheck Form2_Check1 0",
                    "setText Form3_Text1 []", "setText Form3_Text2 []", "setCheck Form3_Check1 0",
                    "setCheck Form3_Check2 0", "select Form3_Option1 0", "select Form3_Option2 0",
                    "setText Form4_Text1 []", "setText Form4_Text2 []", "setText Form4_Text3 []",
                    "setText Form4_Text4 []", "setCheck Form4_Check1 0", "setCheck Form4_Check2 0",
                    "setCheck Form6_Check1 0", "setText Form6_Text2 []", "setText Form6_Text1 []",
                    "setCheck Form7_Check1 0", "select Form7_Option1 0",
                    "setMark mnuoptcontroldrive 0", "setMark mnuoptsoundquiet 0",
                    "setMark mnupcheck 0", "perform mnuoptsoundpc", "perform mnuoptjoykbd"));
    expectEveryMarkClear();
}

TEST_F(ClearAll, CommandsRunTwiceWhenTheirMarkIsAlreadyClear) {
    holders.state["mnuoptsoundpc"] = holders.state["mnuoptjoykbd"] = "0";
    clearAll(holders, files, boxes);
    EXPECT_THAT(std::vector<std::string>(holders.calls.end() - 4, holders.calls.end()),
                ElementsAre("perform mnuoptsoundpc", "perform mnuoptsoundpc",
                            "perform mnuoptjoykbd", "perform mnuoptjoykbd"));
    expectEveryMarkClear();
}

TEST_F(ClearAll, AFailedWriteIsShownAndTouchesNoHolder) {
    files.failures["config.dat"] = "Read-only file system";
    clearAll(holders, files, boxes);
    EXPECT_THAT(boxes.shown,
                ElementsAre(question, ShownBox{"Could not save config.dat: Read-only file system",
                                               "Kestrin", Buttons::Ok}));
    EXPECT_TRUE(holders.calls.empty());
}

} // namespace
} // namespace kestrin
