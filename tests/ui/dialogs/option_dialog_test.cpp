// The pattern all five dialogs share: creation at first access, fixed size, key preview,
// option groups that may have nothing selected, texts kept whole.
#include "dialogs_fixture.h"

#include <QSignalSpy>

#include <string>

namespace kestrin::testing {
namespace {

constexpr Dialog allDialogs[] = {Dialog::Form2, Dialog::Form3, Dialog::Form4, Dialog::Form6,
                                 Dialog::Form7};

TEST_F(DialogsTest, EachDialogIsCreatedAtTheFirstAccessToOneOfItsControls) {
    const auto created = [&] {
        std::string flags;
        for (Dialog d : allDialogs)
            flags += dialogs.isCreated(d) ? '1' : '0';
        return flags;
    };
    EXPECT_EQ(created(), "00000");
    dialogs.text(TextBox::Form3_Text1);
    EXPECT_EQ(created(), "01000");
    dialogs.text(TextBox::Form4_Text3); // a backup belongs to its dialog too
    EXPECT_EQ(created(), "01100");
    // Switching paddle on reaches the other two enable boxes, which creates their dialogs.
    dialogs.setCheck(CheckBox::Form2_Check1, 1);
    EXPECT_EQ(created(), "11111");
    EXPECT_EQ(&dialogs.form3(), &dialogs.form3()) << "created once";
}

// The titles are the one exact text checked here: two of them end in a blank.
TEST_F(DialogsTest, FixedSizeDialogsWithTheirTitlesAndEveryControlInView) {
    const std::pair<Dialog, QString> titles[] = {{Dialog::Form2, "Paddle "},
                                                 {Dialog::Form3, "Video "},
                                                 {Dialog::Form4, "Performance"},
                                                 {Dialog::Form6, "Lightgun"},
                                                 {Dialog::Form7, "Keyboard Emulation"}};
    for (const auto& [which, title] : titles) {
        OptionDialog& d = dialog(which);
        SCOPED_TRACE(title.toStdString());
        EXPECT_EQ(d.windowTitle(), title);
        EXPECT_EQ(d.minimumSize(), d.maximumSize()) << "the dialog cannot be resized";
        for (QWidget* w : d.clientArea()->findChildren<QWidget*>()) {
            const QRect inClient(w->mapTo(d.clientArea(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(d.clientArea()->rect().contains(inClient)) << w->objectName().toStdString();
        }
    }
}

TEST_F(DialogsTest, EnterSetsAndEscCancelsFromAnyControlWhateverTheModifiers) {
    for (Dialog which : allDialogs) {
        OptionDialog& d = dialog(which);
        for (QWidget* control : d.clientArea()->findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus)
                continue;
            SCOPED_TRACE(d.objectName().toStdString() + "." + control->objectName().toStdString());
            // Every dialog accepts its state at creation, so Enter closes it.
            for (auto [key, modifier] : {std::pair{Qt::Key_Return, Qt::ControlModifier},
                                         {Qt::Key_Enter, Qt::KeypadModifier},
                                         {Qt::Key_Escape, Qt::ShiftModifier}})
                EXPECT_FALSE(openAndRun(which, [&] { QTest::keyClick(control, key, modifier); }));
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// Enter on the Set button runs Set once (not the button's click as well); a failed Set keeps
// the opening's snapshot for Esc; other keys reach the focused control.
TEST_F(DialogsTest, EnterAndEscFromTheControlsOfAnOpenDialog) {
    Form2& f = dialogs.form2();
    f.Check1->setChecked(true);
    f.Text1->setText("5");
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Text1->setText("99");
        QTest::keyClick(f.Command1, Qt::Key_Return);
        EXPECT_EQ(boxes.shown.size(), 1u);
        QTest::keyClick(f.Text1, Qt::Key_Return);
        EXPECT_EQ(boxes.shown.size(), 2u);
        EXPECT_TRUE(f.isVisible());
        QTest::keyClicks(f.Text2, "2");
        EXPECT_EQ(f.Text2->text(), "2");
        QTest::keyClick(f.Text1, Qt::Key_Escape);
    }));
    EXPECT_EQ(f.Text1->text(), "5");
    EXPECT_EQ(f.Text2->text(), "");
}

TEST_F(DialogsTest, TextsAreKeptExactlyAsTheyWereSetHoweverLong) {
    for (const std::string& text : {std::string(100000, '7'), std::string("  1,5 \t\xC3\xA9x  ")}) {
        dialogs.setText(TextBox::Form6_Text2, text);
        EXPECT_EQ(dialogs.text(TextBox::Form6_Text2), text);
    }
}

TEST(OptionButtonsTest, MayHaveNoneSelectedAndCodeMayDeselect) {
    OptionButtons group;
    QRadioButton a("a"), b("b"), c("c");
    for (QRadioButton* member : {&a, &b, &c})
        group.add(member);
    QSignalSpy selectedSpy(&group, &OptionButtons::memberSelected);

    EXPECT_EQ(group.selected(), noneSelected);
    group.select(1);
    group.select(2);
    EXPECT_EQ(group.selected(), 2);
    EXPECT_FALSE(b.isChecked());
    ASSERT_EQ(selectedSpy.size(), 2);
    EXPECT_EQ(selectedSpy[1][0].toInt(), 2);

    group.setMember(0, false); // not selected: changes nothing
    EXPECT_EQ(group.selected(), 2);
    group.setMember(2, false);
    EXPECT_EQ(group.selected(), noneSelected);
    EXPECT_EQ(selectedSpy.size(), 2) << "becoming unselected is not a selection";

    group.select(0);
    group.select(1);
    EXPECT_FALSE(a.isChecked()) << "exclusive again after a deselection";
    group.select(noneSelected);
    group.select(3);
    group.select(-7);
    EXPECT_EQ(group.selected(), noneSelected);

    // A click selects as well, and a click on the selected member keeps it.
    b.click();
    b.click();
    EXPECT_EQ(group.selected(), 1);
}

} // namespace
} // namespace kestrin::testing
