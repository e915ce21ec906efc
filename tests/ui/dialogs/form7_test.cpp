// The keyboard emulation dialog: Set without checks, the side buttons' enable rule, Cancel.
#include "dialogs_fixture.h"

namespace kestrin::testing {
namespace {

using Form7Test = DialogsTest;

bool sidesEnabled(Form7& f) {
    const bool first = f.Option1.member(0)->isEnabled();
    for (int i = 1; i < f.Option1.count(); ++i)
        EXPECT_EQ(f.Option1.member(i)->isEnabled(), first);
    return first;
}

TEST_F(Form7Test, SidesAreEnabledOnlyWhileTheEmulationIsOnAndKeepTheirSelection) {
    Form7& f = dialogs.form7();
    EXPECT_EQ(f.Option1.member(0)->text(), "Left ");
    EXPECT_EQ(f.Frame1->title(), "Keyboard Emulation Settings");
    EXPECT_FALSE(sidesEnabled(f));
    EXPECT_EQ(dialogs.selected(OptionGroup::Form7_Option1), noneSelected);

    dialogs.setCheck(CheckBox::Form7_Check1, 1);
    EXPECT_TRUE(sidesEnabled(f));
    f.Option1.member(2)->click();
    f.Check1->click();
    EXPECT_FALSE(sidesEnabled(f));
    EXPECT_EQ(dialogs.selected(OptionGroup::Form7_Option1), 2);
}

TEST_F(Form7Test, SetAcceptsTheEmulationWithNoSideChosen) {
    Form7& f = dialogs.form7();
    EXPECT_FALSE(openAndRun(Dialog::Form7, [&] {
        f.Check1->click();
        f.mnufilesetkbd->trigger();
    }));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(dialogs.check(CheckBox::Form7_Check1), 1);
    EXPECT_EQ(dialogs.selected(OptionGroup::Form7_Option1), noneSelected);
}

TEST_F(Form7Test, CancelPutsBackNoSideAndDisablesTheSidesAgain) {
    Form7& f = dialogs.form7();
    EXPECT_FALSE(openAndRun(Dialog::Form7, [&] {
        f.Check1->click();
        f.Option1.member(1)->click();
        QTest::keyClick(f.Option1.member(1), Qt::Key_Escape);
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form7_Check1), 0);
    EXPECT_FALSE(sidesEnabled(f));
    EXPECT_EQ(dialogs.selected(OptionGroup::Form7_Option1), noneSelected);
}

TEST_F(Form7Test, ASecondOpeningAfterSetTakesANewSnapshotAndCloseCancels) {
    Form7& f = dialogs.form7();
    EXPECT_FALSE(openAndRun(Dialog::Form7, [&] {
        f.Check1->click();
        f.Option1.member(2)->click();
        QTest::keyClick(f.Check1, Qt::Key_Return);
    }));
    EXPECT_FALSE(openAndRun(Dialog::Form7, [&] {
        f.Option1.member(0)->click();
        f.Check1->click();
        EXPECT_FALSE(f.close());
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form7_Check1), 1);
    EXPECT_TRUE(sidesEnabled(f));
    EXPECT_EQ(dialogs.selected(OptionGroup::Form7_Option1), 2);
    EXPECT_EQ(dialogs.selected(OptionGroup::Form7_Option2), 2);
}

} // namespace
} // namespace kestrin::testing
