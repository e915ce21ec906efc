// The lightgun dialog: numeric checks with their focus, the enable rule and Cancel.
#include "dialogs_fixture.h"

#include <clocale>

namespace kestrin::testing {
namespace {

const ShownBox invalidEntry{"Please enter a numeric value", "Invalid Entry", Buttons::Ok};

class Form6Test : public DialogsTest {
protected:
    void SetUp() override { std::setlocale(LC_NUMERIC, "C"); }
};

TEST_F(Form6Test, AdjustmentsMustBeEmptyOrOneNumber) {
    Form6& f = dialogs.form6();
    for (const char* good : {"", "0", "3", "-2", "1.5", "1e2", " 4 ", "1,000"}) {
        boxes.shown.clear();
        dialogs.setText(TextBox::Form6_Text1, good);
        dialogs.setText(TextBox::Form6_Text2, good);
        EXPECT_FALSE(openAndRun(Dialog::Form6, [&] { f.Form6_Command1_Click(); })) << good;
        EXPECT_TRUE(boxes.shown.empty()) << good;
    }
    for (const char* bad : {"2x", "abc", "1 2", "."}) {
        boxes.shown.clear();
        dialogs.setText(TextBox::Form6_Text1, bad);
        dialogs.setText(TextBox::Form6_Text2, "");
        EXPECT_TRUE(openAndRun(Dialog::Form6, [&] { f.Form6_Command1_Click(); })) << bad;
        EXPECT_EQ(boxes.shown, std::vector{invalidEntry}) << bad;
        EXPECT_EQ(dialogs.text(TextBox::Form6_Text1), bad);
    }
}

TEST_F(Form6Test, TheFocusGoesToTheRejectedBoxTheSecondWhenBothFail) {
    Form6& f = dialogs.form6();
    dialogs.setCheck(CheckBox::Form6_Check1, 1);

    dialogs.setText(TextBox::Form6_Text1, "abc");
    dialogs.setText(TextBox::Form6_Text2, "5");
    EXPECT_TRUE(openAndRun(Dialog::Form6, [&] {
        f.Check1->setFocus();
        QTest::keyClick(f.Check1, Qt::Key_Return);
        EXPECT_EQ(f.focusWidget(), f.Text1);
    }));
    EXPECT_EQ(boxes.shown.size(), 1u);

    boxes.shown.clear();
    dialogs.setText(TextBox::Form6_Text2, "x");
    EXPECT_TRUE(openAndRun(Dialog::Form6, [&] {
        f.Check1->setFocus();
        f.mnufilesetlight->trigger();
        EXPECT_EQ(f.focusWidget(), f.Text2);
    }));
    EXPECT_EQ(boxes.shown, (std::vector{invalidEntry, invalidEntry}));
}

TEST_F(Form6Test, ARejectedTextInADisabledBoxPassesTheFocusToTheEnableBox) {
    Form6& f = dialogs.form6();
    dialogs.setText(TextBox::Form6_Text1, "abc"); // left over while the lightgun is off
    EXPECT_TRUE(openAndRun(Dialog::Form6, [&] {
        f.Command1->setFocus();
        f.Command1->click();
        EXPECT_EQ(f.focusWidget(), f.Check1);
    }));
    EXPECT_EQ(boxes.shown, std::vector{invalidEntry});
}

TEST_F(Form6Test, CancelRestoresTheOpeningStateAndItsRule) {
    Form6& f = dialogs.form6();
    dialogs.setText(TextBox::Form6_Text2, "2");
    EXPECT_FALSE(openAndRun(Dialog::Form6, [&] {
        f.Check1->click();
        EXPECT_TRUE(f.Text1->isEnabled());
        EXPECT_TRUE(f.Text2->isEnabled());
        f.Text1->setText("9");
        f.Text2->setText("8");
        QTest::keyClick(f.Text1, Qt::Key_Escape);
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form6_Check1), 0);
    EXPECT_FALSE(f.Text1->isEnabled());
    EXPECT_FALSE(f.Text2->isEnabled());
    EXPECT_EQ(dialogs.text(TextBox::Form6_Text1), "");
    EXPECT_EQ(dialogs.text(TextBox::Form6_Text2), "2");
}

TEST_F(Form6Test, ASecondOpeningAfterSetTakesANewSnapshot) {
    Form6& f = dialogs.form6();
    EXPECT_FALSE(openAndRun(Dialog::Form6, [&] {
        f.Check1->click();
        f.Text1->setText("3");
        QTest::keyClick(f.Text1, Qt::Key_Return);
    }));
    EXPECT_FALSE(openAndRun(Dialog::Form6, [&] {
        f.Text1->setText("4");
        f.Check1->click();
        EXPECT_FALSE(f.close());
    }));
    EXPECT_EQ(dialogs.check(CheckBox::Form6_Check1), 1);
    EXPECT_TRUE(f.Text1->isEnabled());
    EXPECT_EQ(dialogs.text(TextBox::Form6_Text1), "3");
}

} // namespace
} // namespace kestrin::testing
