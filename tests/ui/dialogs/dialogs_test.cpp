// The five option dialogs: keys and the File menu, Cancel and the activation snapshot, the
// enable rules with the controller-type group, and what Set accepts.
#include "tests/support/recording_message_boxes.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/form3.h"
#include "ui/dialogs/form4.h"
#include "ui/dialogs/form6.h"
#include "ui/dialogs/form7.h"
#include "ui/dialogs/option_dialogs.h"

#include <QMenu>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <gtest/gtest.h>
#include <map>

namespace kestrin::testing {
namespace {

constexpr Dialog allDialogs[] = {Dialog::Form2, Dialog::Form3, Dialog::Form4, Dialog::Form6,
                                 Dialog::Form7};

class Dialogs : public ::testing::Test {
protected:
    // Opens the dialog modally and runs `whileShown` in its modal loop; returns whether it was
    // still shown then (it is hidden without Cancel afterwards, so that the test goes on).
    bool openAndRun(Dialog which, const std::function<void()>& whileShown) {
        OptionDialog& shown = dialogs.window(which);
        bool stillShown = false, ran = false;
        QTimer::singleShot(0, &shown, [&] {
            ran = shown.isVisible() && shown.isModal() && QTest::qWaitForWindowActive(&shown);
            whileShown();
            stillShown = shown.isVisible();
            shown.hide();
        });
        dialogs.showModal(which);
        EXPECT_TRUE(ran && !shown.isVisible());
        return stillShown;
    }

    RecordingMessageBoxes boxes;
    int drivingMarkClears = 0;
    OptionDialogs dialogs{boxes, [this] { ++drivingMarkClears; }};
};

// Enter is Set and Esc Cancel from every control, whatever the modifiers; Set runs once per
// press, on the Set button too; arrow keys move through an option group; other keys reach the
// control. In the open File menu, Enter chooses the highlighted item instead.
TEST_F(Dialogs, EnterSetsAndEscCancelsExceptInTheOpenMenu) {
    for (Dialog which : allDialogs)
        for (QWidget* control : dialogs.window(which).clientArea()->findChildren<QWidget*>())
            for (auto [key, modifier] : {std::pair{Qt::Key_Return, Qt::ControlModifier},
                                         {Qt::Key_Enter, Qt::KeypadModifier},
                                         {Qt::Key_Escape, Qt::ShiftModifier}})
                EXPECT_FALSE(openAndRun(which, [&] { QTest::keyClick(control, key, modifier); }))
                    << control->objectName().toStdString();
    Form2& f = dialogs.form2();
    f.Check1->setChecked(true);
    f.Text1->setText("5");
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        f.Text1->setText("99");
        QTest::keyClick(f.Command1, Qt::Key_Return);
        f.Option1.member(1)->click();
        f.Option1.member(1)->setFocus();
        QTest::keyClick(f.Option1.member(1), Qt::Key_Up);
        QTest::keyClicks(f.Text2, "2");
        EXPECT_EQ(f.Option1.selected() * 10 + f.Text2->text().toInt(), 2);
        QTest::keyClick(f.Text2, Qt::Key_Escape); // the failed Set kept the opening's values
    }));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(f.Text1->text() + f.Text2->text(), "5");
    EXPECT_EQ(f.Option1.selected(), noneSelected);
    for (int item : {1, 0}) { // Cancel, then Set, chosen in the open menu
        const bool open = openAndRun(Dialog::Form2, [&] {
            f.Text1->setText("99");
            f.menuBar()->setActiveAction(f.menuBar()->actions().at(0));
            QMenu* file = f.menuBar()->actions().at(0)->menu();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
            file->setActiveAction(file->actions().at(item));
            QTest::keyClick(file, Qt::Key_Return);
        });
        EXPECT_EQ(std::tuple(open, f.Text1->text(), boxes.shown.size()),
                  item == 0 ? std::tuple(true, QString("99"), 2u)
                            : std::tuple(false, QString("5"), 1u));
    }
}

TEST_F(Dialogs, TextsAreKeptExactlyAsTheyWereSetHoweverLong) {
    for (const std::string& text : {std::string(100000, '7'), std::string("  1,5 \t\xC3\xA9x  ")}) {
        dialogs.setText(TextBox::Form6_Text2, text);
        EXPECT_EQ(dialogs.text(TextBox::Form6_Text2), text);
    }
}

// What the dialog shows: each box's text and each button's mark, with whether it is enabled.
std::string shown(OptionDialog& d, bool withEnabled = true) {
    std::string state;
    for (QWidget* w : d.clientArea()->findChildren<QWidget*>()) {
        if (auto* box = qobject_cast<QLineEdit*>(w))
            state += box->text().toStdString();
        else if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isCheckable())
            state += button->isChecked() ? "x" : "o";
        else
            continue;
        state += !withEnabled ? "," : w->isEnabled() ? "+" : "-";
    }
    return state;
}

// Changes every control from code, as a click would: each check box toggled, the next option
// of the group selected, every text replaced by a number each check accepts.
void changeAll(OptionDialog& d, int round) {
    bool selected = false;
    for (QWidget* w : d.clientArea()->findChildren<QWidget*>()) {
        if (auto* box = qobject_cast<QCheckBox*>(w))
            box->setChecked(!box->isChecked());
        else if (auto* option = qobject_cast<QRadioButton*>(w);
                 option && !option->isChecked() && !selected)
            selected = (option->setChecked(true), true);
        else if (auto* text = qobject_cast<QLineEdit*>(w))
            text->setText(QString::number(round % 3 + 1));
    }
}

// Cancel, from the menu, the close box or Esc, puts back what the latest opening showed, an
// option group with nothing selected included, and the enable rules run again for it.
TEST_F(Dialogs, CancelPutsBackWhatTheLatestOpeningShowed) {
    const std::function<void(OptionDialog&)> cancelWays[] = {
        [](OptionDialog& d) { d.menuBar()->actions().at(0)->menu()->actions().at(1)->trigger(); },
        [](OptionDialog& d) { EXPECT_FALSE(d.close()) << "the close request is refused"; },
        [](OptionDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }};
    int round = 0;
    for (Dialog which : allDialogs) {
        OptionDialog& d = dialogs.window(which);
        for (const auto& cancel : cancelWays) {
            SCOPED_TRACE(d.objectName().toStdString() + " " + std::to_string(round));
            const std::string opened = shown(d, false);
            EXPECT_FALSE(openAndRun(which, [&] {
                changeAll(d, ++round);
                cancel(d);
            }));
            EXPECT_EQ(shown(d, false), opened);
            EXPECT_FALSE(openAndRun(which, [&] {
                changeAll(d, ++round);
                QTest::keyClick(&d, Qt::Key_Return);
            }));
            const std::string set = shown(d);
            EXPECT_FALSE(openAndRun(which, [&] {
                changeAll(d, ++round);
                EXPECT_NE(shown(d), set);
                cancel(d);
            }));
            EXPECT_EQ(shown(d), set);
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// Rules disable fields and keep their values; "Simulate Pal Color Loss" is enabled while "PAL"
// is selected, and deselecting an option (as Cancel may) runs no rule. Checking an enable box
// clears the other two, with their rules, and the drive mark; unchecking one, or checking one
// that is checked, touches nothing else.
TEST_F(Dialogs, EnableRulesAndTheControllerTypeGroup) {
    const std::pair<int, bool> palSteps[] = {{0, false}, {1, true}, {noneSelected, true}};
    for (auto [option, enabled] : palSteps) {
        dialogs.select(OptionGroup::Form3_Option1, option);
        EXPECT_EQ(dialogs.enabled(CheckBox::Form3_Check3), enabled) << option;
    }
    QCheckBox* const enable[] = {dialogs.form2().Check1, dialogs.form6().Check1,
                                 dialogs.form7().Check1};
    QWidget* const dependents[] = {dialogs.form2().Text2, dialogs.form6().Text1,
                                   dialogs.form7().Option1.member(1)};
    dialogs.select(OptionGroup::Form7_Option1, 1);
    dialogs.setText(TextBox::Form2_Text2, "2");
    const auto state = [&] {
        std::string s = dialogs.text(TextBox::Form2_Text2) +
                        std::to_string(dialogs.selected(OptionGroup::Form7_Option1));
        for (int i = 0; i < 3; ++i)
            s += std::string(enable[i]->isChecked() ? "1" : "0") +
                 (dependents[i]->isEnabled() ? "+" : "-");
        return s + std::to_string(drivingMarkClears);
    };
    const auto allOn = [&] { // a state the rule forbids, as a hand-edited file may leave
        for (int i = 0; i < 3; ++i) {
            const QSignalBlocker blocker(enable[i]);
            enable[i]->setChecked(true);
            dependents[i]->setEnabled(true);
        }
        drivingMarkClears = 0;
    };
    const std::string afterOff[] = {"210-1+1+0", "211+0-1+0", "211+1+0-0"};
    const std::string afterOn[] = {"211+0-0-1", "210-1+0-1", "210-0-1+1"};
    for (int i = 0; i < 3; ++i) {
        allOn();
        enable[i]->setChecked(false);
        EXPECT_EQ(state(), afterOff[i]);
        enable[i]->setChecked(true);
        enable[i]->setChecked(true);
        EXPECT_EQ(state(), afterOn[i]);
    }
    // Cancel that checks a box again clears the others again, but puts back its own box only.
    allOn();
    EXPECT_FALSE(openAndRun(Dialog::Form2, [&] {
        enable[0]->click();
        QTest::keyClick(enable[0], Qt::Key_Escape);
    }));
    EXPECT_EQ(state(), "211+0-0-1");
}

ShownBox inputError(const char* field) {
    return {std::string("Please enter a value ") + field, "Input Error", Buttons::Ok};
}
const ShownBox speed = inputError("between 1 and 15 for Paddle Speed");
const ShownBox number = inputError("between 0 and 3 for Paddle Number");
const ShownBox video = inputError("between 1 and 14 for Video Mode");
const ShownBox perfSpeed = inputError("between 1 and 254 for Speed Setting");
const ShownBox frames = inputError("> 0 for Performance Test");
const ShownBox numeric{"Please enter a numeric value", "Invalid Entry", Buttons::Ok};

// Each range with its bounds, read from the number a text begins with: Set shows one message
// per rejected text, in field order, keeps the dialog open and the texts as typed. Disabled
// boxes (paddle off) are checked all the same; the frame count only while its test is on. A
// rejected lightgun text gets the focus, the cycle box when both fail, or, disabled, passes it
// to the nearest control before it that can take it, the enable box.
TEST_F(Dialogs, SetAcceptsOnlyWhatEachRangeAllows) {
    std::setlocale(LC_NUMERIC, "C");
    using D = Dialog;
    const struct {
        Dialog which;
        std::string first, second; // Text1 and Text2 of the dialog
        bool check;                // its Check1
        std::vector<ShownBox> expected;
        QString focused = {};
    } rows[] = {{D::Form2, "", "", 0, {}},
                {D::Form2, "0.5", "0", 0, {}},
                {D::Form2, "15.9x", "3", 0, {}},
                {D::Form2, "0", "-0.5", 0, {speed, number}},
                {D::Form2, "16", "3.5", 0, {speed, number}},
                {D::Form3, "0.5", "", 0, {}},
                {D::Form3, "14.9", "", 0, {}},
                {D::Form3, "0", "", 0, {video}},
                {D::Form3, "15", "", 0, {video}},
                {D::Form4, "0.5", "abc", 0, {}},
                {D::Form4, "254.9", "0.5", 1, {}},
                {D::Form4, "0", "", 1, {perfSpeed, frames}},
                {D::Form4, "255", "0", 1, {perfSpeed, frames}},
                {D::Form6, "", "-1.5", 1, {}},
                {D::Form6, "2x", "5", 1, {numeric}, "Text1"},
                {D::Form6, ".", "1 2", 1, {numeric, numeric}, "Text2"},
                {D::Form6, "abc", "", 0, {numeric}, "Check1"}};
    const std::map<Dialog, std::pair<TextBox, TextBox>> texts = {
        {D::Form2, {TextBox::Form2_Text1, TextBox::Form2_Text2}},
        {D::Form3, {TextBox::Form3_Text1, TextBox::Form3_Text2}}, // the second: its backup
        {D::Form4, {TextBox::Form4_Text1, TextBox::Form4_Text2}},
        {D::Form6, {TextBox::Form6_Text1, TextBox::Form6_Text2}}};
    for (const auto& r : rows) {
        OptionDialog& d = dialogs.window(r.which);
        SCOPED_TRACE(d.objectName().toStdString() + " " + r.first + " | " + r.second);
        const auto [first, second] = texts.at(r.which);
        dialogs.setText(first, r.first);
        dialogs.setText(second, r.second);
        d.findChild<QCheckBox*>("Check1")->setChecked(r.check);
        boxes.shown.clear();
        EXPECT_EQ(openAndRun(r.which,
                             [&] {
                                 QTest::keyClick(&d, Qt::Key_Return);
                                 EXPECT_TRUE(r.focused.isEmpty() ||
                                             d.focusWidget()->objectName() == r.focused);
                             }),
                  !r.expected.empty());
        EXPECT_EQ(boxes.shown, r.expected);
        EXPECT_EQ(d.findChild<QLineEdit*>("Text1")->text().toStdString(), r.first);
    }
}

} // namespace
} // namespace kestrin::testing
