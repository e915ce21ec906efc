// Clear All on the real window and dialogs: what it resets, what it leaves, and Cancel.
#include "core/settings_file.h"
#include "tests/ui/main/launcher_fakes.h"

#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

using M = MenuMark;

class ClearAll : public ::testing::Test {
protected:
    void SetUp() override {
        launcher.started();
        Holders& h = holders();
        for (M item : {M::mnuoptjoykbd, M::mnuoptsoundpc, M::mnuoptsounddiag, M::mnuoptsoundhi,
                       M::mnuoptsoundquiet, M::mnupcheck})
            h.setMark(item, true);
        h.setCheck(CheckBox::Form2_Check1, 1);
        h.setText(TextBox::Form2_Text1, "9");
        h.setText(TextBox::Form2_Text2, "2");
        h.select(OptionGroup::Form2_Option1, 1);
        h.setText(TextBox::Form2_Text3, "8");
        h.setText(TextBox::Form2_Text4, "1");
        h.setCheck(CheckBox::Form2_Check2, 1);
        h.select(OptionGroup::Form2_Option2, 1);
        h.setText(TextBox::Form3_Text1, "4");
        h.setText(TextBox::Form3_Text2, "5");
        h.setCheck(CheckBox::Form3_Check1, 1);
        h.setCheck(CheckBox::Form3_Check2, 1);
        h.select(OptionGroup::Form3_Option1, 1);
        h.select(OptionGroup::Form3_Option2, 1);
        h.setCheck(CheckBox::Form3_Check3, 1);
        h.setCheck(CheckBox::Form3_Check4, 1);
        h.setCheck(CheckBox::Form3_Check5, 1);
        h.setCheck(CheckBox::Form3_Check6, 1);
        h.setText(TextBox::Form4_Text1, "60");
        h.setText(TextBox::Form4_Text2, "100");
        h.setText(TextBox::Form4_Text3, "61");
        h.setText(TextBox::Form4_Text4, "101");
        h.setCheck(CheckBox::Form4_Check1, 1);
        h.setCheck(CheckBox::Form4_Check2, 1);
        h.setText(TextBox::Form6_Text1, "3");
        h.setText(TextBox::Form6_Text2, "7");
        h.setText(TextBox::Form6_Text3, "33");
        h.setText(TextBox::Form6_Text4, "77");
        h.setCheck(CheckBox::Form6_Check2, 1);
        h.select(OptionGroup::Form7_Option1, 2);
        h.setCheck(CheckBox::Form7_Check2, 1);
        h.select(OptionGroup::Form7_Option2, 1);
        // The last enable box switched on wins the controller-type group.
        h.setCheck(CheckBox::Form7_Check1, 1);
        writtenBefore = launcher.files.written;
    }

    Holders& holders() { return launcher.window().holders(); }

    Launcher launcher;
    std::vector<std::string> writtenBefore;
};

TEST_F(ClearAll, OkWritesTheClearedFileAndResetsTheHolders) {
    launcher.action("mnuoptclear")->trigger();
    Holders& h = holders();

    ASSERT_EQ(launcher.boxes.shown.size(), 1u);
    EXPECT_EQ(launcher.boxes.shown[0],
              (ShownBox{"This will clear all options. Do you wish to continue?", "Clear Options",
                        Buttons::OkCancel}));
    EXPECT_EQ(launcher.files.contents["config.dat"], clearAllFileText());

    for (int i = 0; i <= static_cast<int>(M::mnupcheck); ++i)
        EXPECT_FALSE(h.mark(static_cast<M>(i))) << "mark " << i;
    for (TextBox box :
         {TextBox::Form2_Text1, TextBox::Form2_Text2, TextBox::Form2_Text3, TextBox::Form2_Text4,
          TextBox::Form3_Text1, TextBox::Form3_Text2, TextBox::Form4_Text1, TextBox::Form4_Text2,
          TextBox::Form4_Text3, TextBox::Form4_Text4, TextBox::Form6_Text1, TextBox::Form6_Text2})
        EXPECT_EQ(h.text(box), "") << "text " << static_cast<int>(box);
    for (CheckBox box : {CheckBox::Form2_Check1, CheckBox::Form3_Check1, CheckBox::Form3_Check2,
                         CheckBox::Form4_Check1, CheckBox::Form4_Check2, CheckBox::Form6_Check1,
                         CheckBox::Form7_Check1})
        EXPECT_EQ(h.check(box), 0) << "check " << static_cast<int>(box);
    EXPECT_EQ(h.selected(OptionGroup::Form2_Option1), 0);
    EXPECT_EQ(h.selected(OptionGroup::Form3_Option1), 0);
    EXPECT_EQ(h.selected(OptionGroup::Form3_Option2), 0);
    EXPECT_EQ(h.selected(OptionGroup::Form7_Option1), 0);

    // Left as they were: two Form3 boxes (Check3 now disabled with "NTSC") and the backups
    // that Clear All does not name.
    EXPECT_EQ(h.check(CheckBox::Form3_Check3), 1);
    EXPECT_FALSE(h.enabled(CheckBox::Form3_Check3));
    EXPECT_EQ(h.check(CheckBox::Form3_Check5), 1);
    EXPECT_EQ(h.check(CheckBox::Form2_Check2), 1);
    EXPECT_EQ(h.selected(OptionGroup::Form2_Option2), 1);
    EXPECT_EQ(h.check(CheckBox::Form3_Check4), 1);
    EXPECT_EQ(h.check(CheckBox::Form3_Check6), 1);
    EXPECT_EQ(h.text(TextBox::Form6_Text3), "33");
    EXPECT_EQ(h.text(TextBox::Form6_Text4), "77");
    EXPECT_EQ(h.check(CheckBox::Form6_Check2), 1);
    EXPECT_EQ(h.check(CheckBox::Form7_Check2), 1);
    EXPECT_EQ(h.selected(OptionGroup::Form7_Option2), 1);
}

TEST_F(ClearAll, OkWithPcSpeakerAndKeyboardOnlyClearEndsWithBothClear) {
    // The commands are then performed twice: on, then off again.
    holders().setMark(M::mnuoptsoundpc, false);
    holders().setMark(M::mnuoptjoykbd, false);
    holders().setMark(M::mnuoptjoyrev, true);
    holders().setMark(M::mnuoptsound15700, true);
    launcher.action("mnuoptclear")->trigger();
    for (int i = 0; i <= static_cast<int>(M::mnupcheck); ++i)
        EXPECT_FALSE(holders().mark(static_cast<M>(i))) << "mark " << i;
}

TEST_F(ClearAll, CancelChangesNothing) {
    launcher.boxes.answers = {Answer::Cancel};
    launcher.action("mnuoptclear")->trigger();
    Holders& h = holders();
    ASSERT_EQ(launcher.boxes.shown.size(), 1u);
    EXPECT_EQ(launcher.files.written, writtenBefore);
    EXPECT_FALSE(launcher.files.exists("config.dat"));
    EXPECT_TRUE(h.mark(M::mnuoptjoykbd));
    EXPECT_TRUE(h.mark(M::mnuoptsoundpc));
    EXPECT_TRUE(h.mark(M::mnupcheck));
    EXPECT_EQ(h.text(TextBox::Form2_Text1), "9");
    EXPECT_EQ(h.text(TextBox::Form2_Text3), "8");
    EXPECT_EQ(h.selected(OptionGroup::Form3_Option1), 1);
    EXPECT_EQ(h.check(CheckBox::Form4_Check1), 1);
    EXPECT_EQ(h.check(CheckBox::Form7_Check1), 1);
    EXPECT_EQ(h.selected(OptionGroup::Form7_Option1), 2);
}

} // namespace
} // namespace kestrin::testing
