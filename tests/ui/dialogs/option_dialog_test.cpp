// The pattern all five dialogs share: creation at first access, modal showing, key preview,
// the refused close request, option groups that may have nothing selected, texts kept whole.
#include "dialogs_fixture.h"

#include <QSignalSpy>

#include <string>

namespace kestrin::testing {
namespace {

constexpr Dialog allDialogs[] = {Dialog::Form2, Dialog::Form3, Dialog::Form4, Dialog::Form6,
                                 Dialog::Form7};

TEST_F(DialogsTest, EachDialogIsCreatedAtTheFirstAccessToOneOfItsControls) {
    for (Dialog d : allDialogs)
        EXPECT_FALSE(dialogs.isCreated(d));

    EXPECT_EQ(dialogs.text(TextBox::Form3_Text1), "");
    EXPECT_TRUE(dialogs.isCreated(Dialog::Form3));
    EXPECT_FALSE(dialogs.isCreated(Dialog::Form4));

    // A hidden backup is a control of its dialog as well.
    EXPECT_EQ(dialogs.text(TextBox::Form4_Text3), "");
    EXPECT_TRUE(dialogs.isCreated(Dialog::Form4));

    // Switching paddle on reaches the other two enable boxes, which creates their dialogs.
    dialogs.setCheck(CheckBox::Form2_Check1, 1);
    EXPECT_TRUE(dialogs.isCreated(Dialog::Form2));
    EXPECT_TRUE(dialogs.isCreated(Dialog::Form6));
    EXPECT_TRUE(dialogs.isCreated(Dialog::Form7));

    // Created once: later accesses reach the same window with what it holds.
    Form3* first = &dialogs.form3();
    dialogs.setText(TextBox::Form3_Text1, "7");
    EXPECT_EQ(&dialogs.form3(), first);
    EXPECT_EQ(first->Text1->text(), "7");
    EXPECT_FALSE(first->isVisible());
}

TEST_F(DialogsTest, EveryDialogHasAFixedClientAreaBelowItsFileMenu) {
    struct Expected {
        Dialog which;
        const char* title;
        QSize client;
        QStringList items;
    };
    const Expected expected[] = {
        {Dialog::Form2, "Paddle ", {310, 256}, {"&Set Paddle", "&Cancel"}},
        {Dialog::Form3, "Video ", {312, 206}, {"&Set Video Options", "&Cancel"}},
        {Dialog::Form4, "Performance", {328, 199}, {"&Set Performance Options", "&Cancel"}},
        {Dialog::Form6, "Lightgun", {366, 151}, {"&Set Lightgun", "&Cancel"}},
        {Dialog::Form7, "Keyboard Emulation", {337, 122}, {"&Set Keyboard", "&Cancel"}},
    };
    for (const Expected& e : expected) {
        OptionDialog& d = dialog(e.which);
        SCOPED_TRACE(e.title);
        EXPECT_EQ(d.windowTitle(), e.title);
        EXPECT_EQ(d.clientArea()->size(), e.client);
        EXPECT_GE(d.clientArea()->y(), d.menuBar()->sizeHint().height());
        EXPECT_EQ(d.minimumSize(), d.maximumSize()) << "the dialog cannot be resized";

        const QList<QAction*> menus = d.menuBar()->actions();
        ASSERT_EQ(menus.size(), 1);
        EXPECT_EQ(menus[0]->text(), "&File");
        QStringList items;
        for (QAction* item : menus[0]->menu()->actions())
            items << item->text();
        EXPECT_EQ(items, e.items);

        // Every control lies inside the client area.
        for (QWidget* w : d.clientArea()->findChildren<QWidget*>()) {
            const QRect inClient(w->mapTo(d.clientArea(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(d.clientArea()->rect().contains(inClient)) << w->objectName().toStdString();
        }
        // Enter is the dialog's: no button may take it as a default button.
        for (QPushButton* b : d.findChildren<QPushButton*>()) {
            EXPECT_FALSE(b->autoDefault());
            EXPECT_FALSE(b->isDefault());
        }
    }
}

TEST_F(DialogsTest, EnterSetsAndEscCancelsFromAnyControlWhateverTheModifiers) {
    for (Dialog which : allDialogs) {
        OptionDialog& d = dialog(which);
        const auto controls = d.clientArea()->findChildren<QWidget*>();
        for (QWidget* control : controls) {
            if (control->focusPolicy() == Qt::NoFocus)
                continue;
            SCOPED_TRACE(d.objectName().toStdString() + "." + control->objectName().toStdString());
            // Every dialog accepts its state at creation, so Enter closes it.
            EXPECT_FALSE(openAndRun(
                which, [&] { QTest::keyClick(control, Qt::Key_Return, Qt::ControlModifier); }));
            EXPECT_FALSE(openAndRun(
                which, [&] { QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier); }));
            EXPECT_FALSE(openAndRun(
                which, [&] { QTest::keyClick(control, Qt::Key_Escape, Qt::ShiftModifier); }));
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DialogsTest, EnterOnTheSetButtonRunsSetOnceAndOtherKeysAreLeftToTheControl) {
    Form2& f = dialogs.form2();
    f.Check1->setChecked(true);
    f.Text1->setText("20");
    EXPECT_TRUE(openAndRun(Dialog::Form2, [&] {
        QTest::keyClick(f.Command1, Qt::Key_Return);
        QTest::keyClicks(f.Text2, "2");
    }));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(f.Text2->text(), "2");
}

TEST_F(DialogsTest, AFailedSetLeavesTheSnapshotOfTheOpeningForEsc) {
    Form2& f = dialogs.form2();
    f.Text1->setText("5");
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Text1->setText("99");
        QTest::keyClick(f.Text1, Qt::Key_Return);
        EXPECT_TRUE(f.isVisible());
        f.Text1->setText("98");
        QTest::keyClick(f.Text1, Qt::Key_Return);
        QTest::keyClick(f.Text1, Qt::Key_Escape);
    }));
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(f.Text1->text(), "5");
}

TEST_F(DialogsTest, CloseRequestIsRefusedAndCancelsAndTheDialogOpensAgainIntact) {
    Form4& f = dialogs.form4();
    f.Text1->setText("60");
    EXPECT_FALSE(openAndRun(Dialog::Form4, [&] {
        f.Text1->setText("61");
        EXPECT_FALSE(f.close()) << "the close request must be refused";
    }));
    EXPECT_EQ(f.Text1->text(), "60");
    EXPECT_EQ(&dialogs.form4(), &f);

    EXPECT_FALSE(openAndRun(Dialog::Form4, [&] {
        EXPECT_EQ(f.Text1->text(), "60");
        f.Text1->setText("62");
        QTest::keyClick(f.Text1, Qt::Key_Return);
    }));
    EXPECT_EQ(f.Text1->text(), "62");
}

TEST_F(DialogsTest, TextsAreKeptExactlyAsTheyWereSetHoweverLong) {
    const std::string longText(100000, '7');
    dialogs.setText(TextBox::Form3_Text1, longText);
    EXPECT_EQ(dialogs.text(TextBox::Form3_Text1), longText);

    const std::string odd = "  1,5 \t\xC3\xA9x  ";
    dialogs.setText(TextBox::Form6_Text2, odd);
    EXPECT_EQ(dialogs.text(TextBox::Form6_Text2), odd);

    // Typing is not limited either.
    Form4& f = dialogs.form4();
    f.Text1->setText(QString(40000, '1'));
    QTest::keyClicks(f.Text1, "23");
    EXPECT_EQ(f.Text1->text().size(), 40002);
}

TEST(OptionButtonsTest, MayHaveNoneSelectedAndCodeMayDeselect) {
    OptionButtons group;
    QRadioButton a("a"), b("b"), c("c");
    group.add(&a);
    group.add(&b);
    group.add(&c);
    QSignalSpy selectedSpy(&group, &OptionButtons::memberSelected);

    EXPECT_EQ(group.selected(), noneSelected);
    group.select(1);
    EXPECT_EQ(group.selected(), 1);
    group.select(2);
    EXPECT_EQ(group.selected(), 2);
    EXPECT_FALSE(b.isChecked());
    ASSERT_EQ(selectedSpy.size(), 2);
    EXPECT_EQ(selectedSpy[1][0].toInt(), 2);

    // Deselecting a member that is not selected changes nothing.
    group.setMember(0, false);
    EXPECT_EQ(group.selected(), 2);
    group.setMember(2, false);
    EXPECT_EQ(group.selected(), noneSelected);
    EXPECT_EQ(selectedSpy.size(), 2) << "becoming unselected is not a selection";

    // Exclusivity is back after a deselection.
    group.select(0);
    group.select(1);
    EXPECT_FALSE(a.isChecked());
    group.select(noneSelected);
    EXPECT_EQ(group.selected(), noneSelected);

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
