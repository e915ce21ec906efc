#include "core/clear_all.h"

#include "core/settings_file.h"
#include "fakes.h"
#include "tests/support/recording_message_boxes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kestrin {
namespace {

using ::testing::ElementsAre;
using testing::FakeFiles;
using testing::FakeHolders;
using testing::RecordingMessageBoxes;
using testing::ShownBox;

const ShownBox question{"This will clear all options. Do you wish to continue?", "Clear Options",
                        Buttons::OkCancel};

// Every holder set, hidden backups included.
FakeHolders everythingSet() {
    FakeHolders h;
    for (int i = 0; i <= static_cast<int>(MenuMark::mnupcheck); ++i)
        h.marks[static_cast<MenuMark>(i)] = true;
    for (int i = 0; i <= static_cast<int>(CheckBox::Form7_Check2); ++i)
        h.checks[static_cast<CheckBox>(i)] = 1;
    for (int i = 0; i <= static_cast<int>(TextBox::Form6_Text4); ++i)
        h.texts[static_cast<TextBox>(i)] = "9";
    for (int i = 0; i <= static_cast<int>(OptionGroup::Form7_Option2); ++i)
        h.selections[static_cast<OptionGroup>(i)] = 1;
    return h;
}

class ClearAll : public ::testing::Test {
protected:
    ClearAll() : holders(everythingSet()), files(events) {}

    std::vector<std::string> events;
    FakeHolders holders;
    FakeFiles files;
    RecordingMessageBoxes boxes;
};

TEST_F(ClearAll, CancelChangesNothing) {
    boxes.answers.push_back(Answer::Cancel);
    clearAll(holders, files, boxes);
    EXPECT_THAT(boxes.shown, ElementsAre(question));
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(holders.calls.empty());
}

TEST_F(ClearAll, WritesTheFileFirstThenResetsInOrder) {
    clearAll(holders, files, boxes);
    EXPECT_THAT(boxes.shown, ElementsAre(question));
    EXPECT_THAT(events, ElementsAre("replace config.dat"));
    EXPECT_EQ(files.contents["config.dat"], clearAllFileText());
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
}

TEST_F(ClearAll, EndsWithEveryMenuMarkClear) {
    clearAll(holders, files, boxes);
    for (int i = 0; i <= static_cast<int>(MenuMark::mnupcheck); ++i)
        EXPECT_FALSE(holders.mark(static_cast<MenuMark>(i))) << i;
    // The boxes it does not name keep their state, hidden backups included.
    EXPECT_EQ(holders.check(CheckBox::Form3_Check3), 1);
    EXPECT_EQ(holders.check(CheckBox::Form3_Check5), 1);
    EXPECT_EQ(holders.check(CheckBox::Form3_Check4), 1);
    EXPECT_EQ(holders.check(CheckBox::Form6_Check2), 1);
    EXPECT_EQ(holders.text(TextBox::Form6_Text3), "9");
    EXPECT_EQ(holders.selected(OptionGroup::Form7_Option2), 1);
    EXPECT_EQ(holders.selected(OptionGroup::Form7_Option1), 0);
}

TEST_F(ClearAll, CommandsRunTwiceWhenTheirMarkIsAlreadyClear) {
    holders.marks[MenuMark::mnuoptsoundpc] = false;
    holders.marks[MenuMark::mnuoptjoykbd] = false;
    clearAll(holders, files, boxes);
    std::vector<std::string> tail(holders.calls.end() - 4, holders.calls.end());
    EXPECT_THAT(tail, ElementsAre("perform mnuoptsoundpc", "perform mnuoptsoundpc",
                                  "perform mnuoptjoykbd", "perform mnuoptjoykbd"));
    for (MenuMark item : {MenuMark::mnuoptsoundpc, MenuMark::mnuoptsounddiag,
                          MenuMark::mnuoptsound15700, MenuMark::mnuoptsoundhi,
                          MenuMark::mnuoptsoundlow, MenuMark::mnuoptjoykbd, MenuMark::mnuoptjoyrev})
        EXPECT_FALSE(holders.mark(item));
}

TEST_F(ClearAll, AFailedWriteIsShownAndTouchesNoHolder) {
    files.failures["config.dat"] = "Read-only file system";
    clearAll(holders, files, boxes);
    EXPECT_THAT(boxes.shown,
                ElementsAre(question, ShownBox{"Could not save config.dat: Read-only file system",
                                               "Kestrin", Buttons::Ok}));
    EXPECT_TRUE(holders.calls.empty());
    EXPECT_FALSE(files.contents.contains("config.dat"));
}

} // namespace
} // namespace kestrin
