// The controller-type group on the dialogs' side: paddle, lightgun and keyboard emulation
// exclude one another and the "&Driving Controller" mark.
#include "dialogs_fixture.h"

namespace kestrin::testing {
namespace {

// Checks a box past its reaction, so that the group can be put in a state its rule forbids.
void forceOn(QCheckBox* box) {
    const QSignalBlocker blocker(box);
    box->setChecked(true);
}

TEST_F(DialogsTest, CheckingAnEnableBoxClearsTheOtherTwoWithTheirRulesAndTheMark) {
    const CheckBox enableBoxes[] = {CheckBox::Form2_Check1, CheckBox::Form6_Check1,
                                    CheckBox::Form7_Check1};
    QCheckBox* const checks[] = {dialogs.form2().Check1, dialogs.form6().Check1,
                                 dialogs.form7().Check1};
    QWidget* const dependents[] = {dialogs.form2().Text1, dialogs.form6().Text1,
                                   dialogs.form7().Option1.member(0)};
    for (int on = 0; on < 3; ++on) {
        SCOPED_TRACE(on);
        for (int i = 0; i < 3; ++i) {
            forceOn(checks[i]);
            dependents[i]->setEnabled(true);
        }
        drivingMarkClears = 0;
        dialogs.setCheck(enableBoxes[on], 0); // unchecking touches nothing else
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(dialogs.check(enableBoxes[i]), i == on ? 0 : 1);
            EXPECT_EQ(dependents[i]->isEnabled(), i != on);
        }
        EXPECT_EQ(drivingMarkClears, 0);

        dialogs.setCheck(enableBoxes[on], 1);
        dialogs.setCheck(enableBoxes[on], 1); // its value already: no reaction
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(dialogs.check(enableBoxes[i]), i == on ? 1 : 0);
            EXPECT_EQ(dependents[i]->isEnabled(), i == on);
        }
        EXPECT_EQ(drivingMarkClears, 1);
    }
}

TEST_F(DialogsTest, CancelThatChecksABoxAgainClearsTheOthersAgain) {
    dialogs.setCheck(CheckBox::Form2_Check1, 1);
    Form2& f = dialogs.form2();
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Check1->click();
        dialogs.setCheck(CheckBox::Form6_Check1, 1);
        forceOn(dialogs.form7().Check1); // both others on at once
        drivingMarkClears = 0;
        QTest::keyClick(f.Check1, Qt::Key_Escape);
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form2_Check1), 1);
    EXPECT_TRUE(f.Text1->isEnabled());
    EXPECT_EQ(dialogs.check(CheckBox::Form6_Check1), 0);
    EXPECT_EQ(dialogs.check(CheckBox::Form7_Check1), 0);
    EXPECT_FALSE(dialogs.form6().Text1->isEnabled());
    EXPECT_EQ(drivingMarkClears, 1);

    // Cancel puts back its own dialog only, not what the rule changed in the others.
    Form7& keyboard = dialogs.form7();
    EXPECT_FALSE(openAndRun(Dialog::Form7, [&] {
        keyboard.Check1->click();
        keyboard.mnufilecancel->trigger();
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form7_Check1), 0);
    EXPECT_EQ(dialogs.check(CheckBox::Form2_Check1), 0);
    EXPECT_FALSE(f.Text1->isEnabled());
}

} // namespace
} // namespace kestrin::testing
