// The paddle dialog: its two range checks, its enable rule and its Cancel.
#include "dialogs_fixture.h"

namespace kestrin::testing {
namespace {

const ShownBox speedMessage = inputError("Please enter a value between 1 and 15 for Paddle Speed");
const ShownBox numberMessage = inputError("Please enter a value between 0 and 3 for Paddle Number");

class Form2Test : public DialogsTest {
protected:
    // Runs Set on the given texts; returns the messages it showed and leaves the texts alone.
    std::vector<ShownBox> setWith(const std::string& speed, const std::string& number) {
        boxes.shown.clear();
        dialogs.setText(TextBox::Form2_Text1, speed);
        dialogs.setText(TextBox::Form2_Text2, number);
        dialogs.form2().Form2_Command1_Click();
        EXPECT_EQ(dialogs.text(TextBox::Form2_Text1), speed);
        EXPECT_EQ(dialogs.text(TextBox::Form2_Text2), number);
        return boxes.shown;
    }
};

TEST_F(Form2Test, StartsWithNothingSelectedAndTheTextBoxesDisabled) {
    Form2& f = dialogs.form2();
    EXPECT_EQ(f.findChild<QLabel*>("Label2_0")->text(), " (1-15)");
    EXPECT_EQ(f.findChild<QLabel*>("Label2_1")->text(), "  (0-3)");
    EXPECT_EQ(dialogs.check(CheckBox::Form2_Check1), 0);
    EXPECT_EQ(dialogs.selected(OptionGroup::Form2_Option1), noneSelected);
    EXPECT_FALSE(f.Text1->isEnabled());
    EXPECT_FALSE(f.Text2->isEnabled());
    EXPECT_TRUE(f.Option1.member(0)->isEnabled());
}

TEST_F(Form2Test, SpeedMustLieStrictlyBetween0And16) {
    for (const char* good : {"", "15", "1", "0.5", "15.9", "15.5", " 1 2", "3abc"})
        EXPECT_TRUE(setWith(good, "").empty()) << good;
    for (const char* bad : {"16", "0", "abc", "-1", "1e9"})
        EXPECT_EQ(setWith(bad, ""), std::vector{speedMessage}) << bad;
}

TEST_F(Form2Test, PaddleNumberMayBeFrom0To3Inclusive) {
    for (const char* good : {"", "0", "3", "2.9", "letters", "&H3"})
        EXPECT_TRUE(setWith("", good).empty()) << good;
    for (const char* bad : {"-1", "3.5", "4", "&H4"})
        EXPECT_EQ(setWith("", bad), std::vector{numberMessage}) << bad;
}

TEST_F(Form2Test, BothChecksRunInOrderAndTheDialogStaysOpen) {
    dialogs.setText(TextBox::Form2_Text1, "99"); // as if restored while the box is disabled
    EXPECT_TRUE(openAndRun(Dialog::Form2, [&] {
        dialogs.setText(TextBox::Form2_Text2, "9");
        dialogs.form2().Form2_mnufilesetpaddle_Click();
    }));
    EXPECT_EQ(boxes.shown, (std::vector{speedMessage, numberMessage}));

    boxes.shown.clear();
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        dialogs.setText(TextBox::Form2_Text1, "15");
        dialogs.setText(TextBox::Form2_Text2, "3");
        dialogs.form2().mnufilesetpaddle->trigger();
    }));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Form2Test, CancelRestoresTheOpeningStateInItsOwnOrder) {
    dialogs.select(OptionGroup::Form2_Option1, 0);
    dialogs.setText(TextBox::Form2_Text1, "4");
    dialogs.setText(TextBox::Form2_Text2, "1");
    Form2& f = dialogs.form2();
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Check1->click();
        f.Option1.member(1)->click();
        f.Text1->setText("9");
        f.Text2->setText("2");
        QTest::keyClick(f.Text2, Qt::Key_Escape);
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form2_Check1), 0);
    EXPECT_FALSE(f.Text1->isEnabled());
    EXPECT_FALSE(f.Text2->isEnabled());
    EXPECT_EQ(dialogs.selected(OptionGroup::Form2_Option1), 0);
    EXPECT_EQ(dialogs.text(TextBox::Form2_Text1), "4");
    EXPECT_EQ(dialogs.text(TextBox::Form2_Text2), "1");
    // The backups hold the snapshot of that opening.
    EXPECT_EQ(dialogs.text(TextBox::Form2_Text3), "4");
    EXPECT_EQ(dialogs.text(TextBox::Form2_Text4), "1");
    EXPECT_EQ(dialogs.check(CheckBox::Form2_Check2), 0);
    EXPECT_EQ(dialogs.selected(OptionGroup::Form2_Option2), 0);
}

TEST_F(Form2Test, CancelPutsBackAnOptionPairWithNothingSelected) {
    Form2& f = dialogs.form2();
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Option1.member(1)->click();
        f.mnufilecancel->trigger();
    }));
    EXPECT_EQ(dialogs.selected(OptionGroup::Form2_Option1), noneSelected);
    EXPECT_FALSE(f.Option1.member(0)->isChecked());
    EXPECT_FALSE(f.Option1.member(1)->isChecked());
}

TEST_F(Form2Test, ASecondOpeningAfterSetTakesANewSnapshot) {
    Form2& f = dialogs.form2();
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Option1.member(1)->click();
        f.Text1->setText("7");
        QTest::keyClick(&f, Qt::Key_Return);
    }));
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Option1.member(0)->click();
        f.Text1->setText("8");
        QTest::keyClick(&f, Qt::Key_Escape);
    }));
    EXPECT_EQ(dialogs.selected(OptionGroup::Form2_Option1), 1);
    EXPECT_EQ(dialogs.text(TextBox::Form2_Text1), "7");
}

} // namespace
} // namespace kestrin::testing
