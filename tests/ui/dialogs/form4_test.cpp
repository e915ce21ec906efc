// The performance dialog: speed and frame count checks, its enable rule and its Cancel.
#include "dialogs_fixture.h"

namespace kestrin::testing {
namespace {

const ShownBox speedMessage =
    inputError("Please enter a value between 1 and 254 for Speed Setting");
const ShownBox framesMessage = inputError("Please enter a value > 0 for Performance Test");

class Form4Test : public DialogsTest {
protected:
    std::vector<ShownBox> setWith(const std::string& speed, bool test, const std::string& frames) {
        boxes.shown.clear();
        dialogs.setText(TextBox::Form4_Text1, speed);
        dialogs.setCheck(CheckBox::Form4_Check1, test ? 1 : 0);
        dialogs.setText(TextBox::Form4_Text2, frames);
        dialogs.form4().Form4_Command1_Click();
        EXPECT_EQ(dialogs.text(TextBox::Form4_Text1), speed);
        EXPECT_EQ(dialogs.text(TextBox::Form4_Text2), frames);
        return boxes.shown;
    }
};

TEST_F(Form4Test, SpeedMustLieStrictlyBetween0And255) {
    for (const char* good : {"", "60", "1", "254", "12abc", "0.5", "254.9"})
        EXPECT_TRUE(setWith(good, false, "").empty()) << good;
    for (const char* bad : {"0", "-5", "255", "abc"})
        EXPECT_EQ(setWith(bad, false, ""), std::vector{speedMessage}) << bad;
}

TEST_F(Form4Test, FrameCountIsCheckedOnlyWhileTheTestIsOn) {
    for (const char* any : {"", "0", "abc", "-3"})
        EXPECT_TRUE(setWith("", false, any).empty()) << any;
    for (const char* good : {"1", "0.5", "500"})
        EXPECT_TRUE(setWith("", true, good).empty()) << good;
    for (const char* bad : {"", "0", "abc", "-3"})
        EXPECT_EQ(setWith("", true, bad), std::vector{framesMessage}) << bad;
}

TEST_F(Form4Test, BothMessagesInOrderAndTheDialogStaysOpen) {
    Form4& f = dialogs.form4();
    EXPECT_TRUE(openAndRun(Dialog::Form4, [&] {
        f.Text1->setText("300");
        f.Check1->click();
        f.mnufileperf->trigger();
    }));
    EXPECT_EQ(boxes.shown, (std::vector{speedMessage, framesMessage}));

    boxes.shown.clear();
    EXPECT_TRUE(openAndRun(Dialog::Form4, [&] {
        f.Text2->setText("100");
        QTest::keyClick(f.Text2, Qt::Key_Return);
    }));
    EXPECT_EQ(boxes.shown, std::vector{speedMessage});
}

TEST_F(Form4Test, TheTestBoxEnablesTheFrameCountAndKeepsItsText) {
    Form4& f = dialogs.form4();
    EXPECT_FALSE(f.Text2->isEnabled());
    EXPECT_TRUE(f.Text1->isEnabled());
    dialogs.setCheck(CheckBox::Form4_Check1, 1);
    EXPECT_TRUE(f.Text2->isEnabled());
    f.Text2->setText("30");
    f.Check1->click();
    EXPECT_FALSE(f.Text2->isEnabled());
    EXPECT_EQ(f.Text2->text(), "30");
}

TEST_F(Form4Test, CancelRestoresTextsAndTheTestBoxWithItsRule) {
    dialogs.setText(TextBox::Form4_Text2, "10");
    Form4& f = dialogs.form4();
    EXPECT_FALSE(openAndRun(Dialog::Form4, [&] {
        f.Check1->click();
        f.Text2->setText("25");
        f.Text1->setText("70");
        QTest::keyClick(f.Text2, Qt::Key_Escape);
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form4_Check1), 0);
    EXPECT_FALSE(f.Text2->isEnabled());
    EXPECT_EQ(dialogs.text(TextBox::Form4_Text2), "10");
    EXPECT_EQ(dialogs.text(TextBox::Form4_Text1), "");
}

} // namespace
} // namespace kestrin::testing
