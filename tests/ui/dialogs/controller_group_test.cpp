// The controller-type group on the dialogs' side: paddle, lightgun and keyboard emulation
// exclude one another and the "&Driving Controller" mark.
#include "dialogs_fixture.h"

namespace kestrin::testing {
namespace {

constexpr CheckBox enableBoxes[] = {CheckBox::Form2_Check1, CheckBox::Form6_Check1,
                                    CheckBox::Form7_Check1};

class ControllerGroupTest : public DialogsTest {
protected:
    void checkAll() {
        // Checking each in turn leaves only the last one on; force all three on directly.
        dialogs.form2().Check1->blockSignals(true);
        dialogs.form6().Check1->blockSignals(true);
        dialogs.form7().Check1->blockSignals(true);
        for (CheckBox box : enableBoxes)
            dialogs.setCheck(box, 1);
        dialogs.form2().Check1->blockSignals(false);
        dialogs.form6().Check1->blockSignals(false);
        dialogs.form7().Check1->blockSignals(false);
    }
};

TEST_F(ControllerGroupTest, CheckingAnyEnableBoxClearsTheOtherTwoWithTheirRulesAndTheMark) {
    for (CheckBox on : enableBoxes) {
        checkAll();
        drivingMarkClears = 0;
        // The other boxes' dependent controls are enabled by their rules before the clearing.
        dialogs.form2().Text1->setEnabled(true);
        dialogs.form6().Text1->setEnabled(true);
        dialogs.form7().Option1.member(0)->setEnabled(true);
        dialogs.setCheck(on, 0);

        dialogs.setCheck(on, 1);
        for (CheckBox box : enableBoxes)
            EXPECT_EQ(dialogs.check(box), box == on ? 1 : 0);
        EXPECT_EQ(drivingMarkClears, 1);
        EXPECT_EQ(dialogs.form2().Text1->isEnabled(), on == CheckBox::Form2_Check1);
        EXPECT_EQ(dialogs.form6().Text1->isEnabled(), on == CheckBox::Form6_Check1);
        EXPECT_EQ(dialogs.form7().Option1.member(0)->isEnabled(), on == CheckBox::Form7_Check1);
    }
}

TEST_F(ControllerGroupTest, SettingABoxToItsValueOrUncheckingItTouchesNothingElse) {
    dialogs.setCheck(CheckBox::Form6_Check1, 1);
    drivingMarkClears = 0;
    dialogs.setCheck(CheckBox::Form6_Check1, 1);
    EXPECT_EQ(drivingMarkClears, 0);

    checkAll();
    dialogs.setCheck(CheckBox::Form7_Check1, 0);
    EXPECT_EQ(dialogs.check(CheckBox::Form2_Check1), 1);
    EXPECT_EQ(dialogs.check(CheckBox::Form6_Check1), 1);
    EXPECT_FALSE(dialogs.form7().Option1.member(0)->isEnabled());
    EXPECT_EQ(drivingMarkClears, 0);
}

TEST_F(ControllerGroupTest, ACheckByClickInsideADialogClearsTheOthers) {
    dialogs.setCheck(CheckBox::Form7_Check1, 1);
    drivingMarkClears = 0;
    Form2& f = dialogs.form2();
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Check1->click();
        QTest::keyClick(f.Check1, Qt::Key_Return);
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form7_Check1), 0);
    EXPECT_EQ(drivingMarkClears, 1);
}

TEST_F(ControllerGroupTest, CancelThatChecksABoxAgainClearsTheOthersAgain) {
    dialogs.setCheck(CheckBox::Form2_Check1, 1);
    Form2& f = dialogs.form2();
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Check1->click();
        // Lightgun and keyboard emulation both on at once, the second set past its rule.
        dialogs.setCheck(CheckBox::Form6_Check1, 1);
        dialogs.form7().Check1->blockSignals(true);
        dialogs.setCheck(CheckBox::Form7_Check1, 1);
        dialogs.form7().Check1->blockSignals(false);
        drivingMarkClears = 0;
        QTest::keyClick(f.Check1, Qt::Key_Escape);
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form2_Check1), 1);
    EXPECT_TRUE(f.Text1->isEnabled());
    EXPECT_TRUE(f.Text2->isEnabled());
    EXPECT_EQ(dialogs.check(CheckBox::Form6_Check1), 0);
    EXPECT_EQ(dialogs.check(CheckBox::Form7_Check1), 0);
    EXPECT_FALSE(dialogs.form6().Text1->isEnabled());
    EXPECT_EQ(drivingMarkClears, 1);
}

TEST_F(ControllerGroupTest, CancelDoesNotUndoWhatTheRuleChangedInOtherDialogs) {
    dialogs.setCheck(CheckBox::Form6_Check1, 1);
    Form7& f = dialogs.form7();
    EXPECT_FALSE(openAndRun(Dialog::Form7, [&] {
        f.Check1->click();
        f.mnufilecancel->trigger();
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form7_Check1), 0);
    EXPECT_EQ(dialogs.check(CheckBox::Form6_Check1), 0);
    EXPECT_FALSE(dialogs.form6().Text2->isEnabled());
}

} // namespace
} // namespace kestrin::testing
