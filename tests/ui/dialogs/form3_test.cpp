// The video dialog: the video mode check, the PAL rule and its Cancel.
#include "dialogs_fixture.h"

namespace kestrin::testing {
namespace {

const ShownBox modeMessage = inputError("Please enter a value between 1 and 14 for Video Mode");

class Form3Test : public DialogsTest {
protected:
    bool accepts(const std::string& mode) {
        boxes.shown.clear();
        dialogs.setText(TextBox::Form3_Text1, mode);
        const bool stillOpen = openAndRun(
            Dialog::Form3, [&] { QTest::keyClick(dialogs.form3().Text1, Qt::Key_Return); });
        EXPECT_EQ(dialogs.text(TextBox::Form3_Text1), mode);
        EXPECT_EQ(boxes.shown, stillOpen ? std::vector{modeMessage} : std::vector<ShownBox>{});
        return !stillOpen;
    }
};

TEST_F(Form3Test, VideoModeMustLieStrictlyBetween0And15) {
    for (const char* good : {"", "14", "1", "0.5", "14.9", "7x", "1 2"})
        EXPECT_TRUE(accepts(good)) << good;
    for (const char* bad : {"0", "-3", "15", "100", "abc"})
        EXPECT_FALSE(accepts(bad)) << bad;
}

TEST_F(Form3Test, StartsWithEverythingClearAndEnabled) {
    Form3& f = dialogs.form3();
    EXPECT_EQ(f.Check1->text(), "Black && White Mode");
    EXPECT_EQ(f.findChild<QLabel*>("Label2")->text(), " (1-14)");
    EXPECT_EQ(dialogs.selected(OptionGroup::Form3_Option1), noneSelected);
    EXPECT_TRUE(dialogs.enabled(CheckBox::Form3_Check3));
}

TEST_F(Form3Test, ColourLossIsEnabledOnlyWhilePalIsSelectedAndKeepsItsMark) {
    dialogs.setCheck(CheckBox::Form3_Check3, 1);
    dialogs.select(OptionGroup::Form3_Option1, 0);
    EXPECT_FALSE(dialogs.enabled(CheckBox::Form3_Check3));
    dialogs.select(OptionGroup::Form3_Option1, 1);
    EXPECT_TRUE(dialogs.enabled(CheckBox::Form3_Check3));
    dialogs.form3().Option1.member(0)->click();
    EXPECT_FALSE(dialogs.enabled(CheckBox::Form3_Check3));
    EXPECT_EQ(dialogs.check(CheckBox::Form3_Check3), 1);

    // Deselecting is no selection: the rule does not run.
    dialogs.select(OptionGroup::Form3_Option1, noneSelected);
    EXPECT_FALSE(dialogs.enabled(CheckBox::Form3_Check3));
}

TEST_F(Form3Test, CancelSelectsNtscAgainAndThePalRuleDisablesColourLoss) {
    dialogs.select(OptionGroup::Form3_Option1, 0);
    dialogs.setText(TextBox::Form3_Text1, "3");
    Form3& f = dialogs.form3();
    EXPECT_FALSE(openAndRun(Dialog::Form3, [&] {
        f.Option1.member(1)->click();
        EXPECT_TRUE(f.Check3->isEnabled());
        f.Check3->click();
        f.Check1->click();
        f.Check5->click();
        f.Text1->setText("5");
        QTest::keyClick(f.Check5, Qt::Key_Escape);
    }));
    EXPECT_EQ(dialogs.selected(OptionGroup::Form3_Option1), 0);
    EXPECT_FALSE(f.Check3->isEnabled());
    EXPECT_EQ(dialogs.check(CheckBox::Form3_Check3), 0);
    EXPECT_EQ(dialogs.check(CheckBox::Form3_Check1), 0);
    EXPECT_EQ(dialogs.check(CheckBox::Form3_Check5), 0);
    EXPECT_EQ(dialogs.text(TextBox::Form3_Text1), "3");
}

TEST_F(Form3Test, CancelFromNoneSelectedLeavesNoneAndColourLossEnabled) {
    Form3& f = dialogs.form3();
    f.Check3->setEnabled(false); // so that only the PAL rule can enable it
    EXPECT_FALSE(openAndRun(Dialog::Form3, [&] {
        f.Option1.member(1)->click();
        f.mnufilecan->trigger();
    }));
    EXPECT_EQ(dialogs.selected(OptionGroup::Form3_Option1), noneSelected);
    EXPECT_TRUE(f.Check3->isEnabled()) << "no option became selected during the restore";
}

TEST_F(Form3Test, ASecondOpeningAfterSetTakesANewSnapshot) {
    Form3& f = dialogs.form3();
    EXPECT_FALSE(openAndRun(Dialog::Form3, [&] {
        f.Text1->setText("4");
        f.Check1->click();
        f.Option1.member(1)->click();
        f.mnufilevid->trigger();
    }));
    EXPECT_FALSE(openAndRun(Dialog::Form3, [&] {
        f.Text1->setText("6");
        f.Check1->click();
        f.Option1.member(0)->click();
        EXPECT_FALSE(f.close());
    }));
    EXPECT_EQ(dialogs.text(TextBox::Form3_Text1), "4");
    EXPECT_EQ(dialogs.check(CheckBox::Form3_Check1), 1);
    EXPECT_EQ(dialogs.selected(OptionGroup::Form3_Option1), 1);
    EXPECT_EQ(dialogs.selected(OptionGroup::Form3_Option2), 1);
}

} // namespace
} // namespace kestrin::testing
