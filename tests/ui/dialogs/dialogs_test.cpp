// The five option dialogs: keys and the File menu, Cancel and the activation snapshot, the
// enable rules with the controller-type group, and what Set accepts.
#include "tests/support/fake_platform.h"
#include "tests/support/while_modal.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/form6.h"
#include "ui/dialogs/form7.h"
#include "ui/dialogs/option_dialogs.h"

#include <QMenu>

#include <clocale>
#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

constexpr Dialog allDialogs[] = {Dialog::Form2, Dialog::Form3, Dialog::Form4, Dialog::Form6,
                                 Dialog::Form7};

class Dialogs : public ::testing::Test {
protected:
    // Runs `whileShown` in the dialog's modal loop; returns whether it was still shown then.
    bool openAndRun(Dialog which, const std::function<void(OptionDialog&)>& whileShown) {
        OptionDialog& d = dialogs.window(which);
        bool stillShown = false;
        const auto run = [&](QWidget*) { whileShown(d), stillShown = d.isVisible(); };
        EXPECT_EQ(whileModal([&] { dialogs.showModal(which); }, run), 1);
        return stillShown;
    }

    RecordingMessageBoxes boxes;
    int drivingMarkClears = 0;
    OptionDialogs dialogs{boxes, [this] { ++drivingMarkClears; }};
};

// Enter is Set and Esc Cancel from every control, whatever the modifiers.
TEST_F(Dialogs, EnterSetsAndEscCancelsFromEveryControl) {
    for (Dialog which : allDialogs)
        for (QWidget* control : dialogs.window(which).clientArea()->findChildren<QWidget*>())
            for (auto [key, modifier] : {std::pair{Qt::Key_Return, Qt::ControlModifier},
                                         {Qt::Key_Enter, Qt::KeypadModifier},
                                         {Qt::Key_Escape, Qt::ShiftModifier}})
                EXPECT_FALSE(openAndRun(which, [&](auto&) {
                    QTest::keyClick(control, key, modifier);
                })) << control->objectName().toStdString();
}

// Chooses an item of the dialog's File menu with Enter in the open menu, as a user would.
void chooseInFileMenu(OptionDialog& d, int item) {
    QAction* file = d.menuBar()->actions().at(0);
    d.menuBar()->setActiveAction(file);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file->menu()));
    file->menu()->setActiveAction(file->menu()->actions().at(item));
    QTest::keyClick(file->menu(), Qt::Key_Return);
}

// What the dialog shows: each box's text and each button's mark, and whether it is enabled.
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

// Changes every control as a user would: each check box toggled, the next option of the group
// selected, every text replaced by a number each check accepts.
void change(OptionDialog& d, int round) {
    bool selected = false;
    for (QWidget* w : d.clientArea()->findChildren<QWidget*>()) {
        if (auto* box = qobject_cast<QCheckBox*>(w))
            box->toggle();
        else if (auto* o = qobject_cast<QRadioButton*>(w); o && !std::exchange(selected, true)) {
            const auto g = o->group()->buttons();
            g[(g.indexOf(o->group()->checkedButton()) + 1) % g.size()]->setChecked(true);
        } else if (auto* text = qobject_cast<QLineEdit*>(w))
            text->setText(QString::number(round % 3 + 1));
    }
}

// Set, chosen in the open File menu or by Enter, keeps what was changed. Cancel, chosen there,
// by a close request or by Esc, puts back what the latest opening showed, no option selected
// included, and the enable rules run again for it. Texts are kept as set, however long.
TEST_F(Dialogs, SetKeepsAndCancelPutsBackWhatTheLatestOpeningShowed) {
    const std::function<void(OptionDialog&)> cancelWays[] = {
        [](OptionDialog& d) { chooseInFileMenu(d, 1); },
        [](OptionDialog& d) { EXPECT_FALSE(d.close()) << "the close request is refused"; },
        [](OptionDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }};
    int round = 0;
    for (Dialog which : allDialogs) {
        for (const auto& cancel : cancelWays) { // Set from the menu along with the first one
            OptionDialog& d = dialogs.window(which);
            SCOPED_TRACE(d.objectName().toStdString() + " " + std::to_string(round));
            std::string opened = shown(d, false), changed;
            EXPECT_FALSE(openAndRun(which, [&](auto&) { change(d, ++round), cancel(d); }));
            EXPECT_EQ(shown(d, false), opened);
            EXPECT_FALSE(openAndRun(which, [&](auto&) {
                change(d, ++round);
                changed = shown(d);
                &cancel == cancelWays ? chooseInFileMenu(d, 0)
                                      : QTest::keyClick(&d, Qt::Key_Return);
            }));
            EXPECT_EQ(shown(d), changed);
            change(d, ++round); // while hidden, as Clear All or the start-up restore do
            changed = shown(d);
            EXPECT_FALSE(openAndRun(which, [&](auto&) { change(d, ++round), cancel(d); }));
            EXPECT_EQ(shown(d), changed);
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
    for (const std::string& text : {std::string(100000, '7'), std::string("  1,5 \t\xC3\xA9x  ")}) {
        dialogs.setText(TextBox::Form6_Text2, text);
        EXPECT_EQ(dialogs.text(TextBox::Form6_Text2), text);
    }
}

// "Simulate Pal Color Loss" is enabled while "PAL" is selected, and deselecting an option (as
// Cancel may) runs no rule. Checking an enable box enables its fields and clears the other two,
// with their rules, and the drive mark; unchecking one disables its fields and touches nothing
// else, nor does checking one that is checked.
TEST_F(Dialogs, EnableRulesAndTheControllerTypeGroup) {
    for (auto [option, enabled] : {std::pair{0, false}, {1, true}, {noneSelected, true}}) {
        dialogs.select(OptionGroup::Form3_Option1, option);
        EXPECT_EQ(dialogs.enabled(CheckBox::Form3_Check3), enabled) << option;
    }
    QCheckBox* const enable[] = {dialogs.form2().Check1, dialogs.form6().Check1,
                                 dialogs.form7().Check1};
    QWidget* const dependents[] = {dialogs.form2().Text2, dialogs.form6().Text1,
                                   dialogs.form7().Option1.member(1)};
    const auto state = [&] {
        std::string s;
        for (int i = 0; i < 3; ++i)
            s += std::string(enable[i]->isChecked() ? "1" : "0") +
                 (dependents[i]->isEnabled() ? "+" : "-");
        return s + std::to_string(drivingMarkClears);
    };
    const std::string afterOff[] = {"0-1+1+0", "1+0-1+0", "1+1+0-0"};
    const std::string afterOn[] = {"1+0-0-1", "0-1+0-1", "0-0-1+1"};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) { // all on, as a hand-edited file may leave them
            const QSignalBlocker blocker(enable[j]);
            enable[j]->setChecked(true);
            dependents[j]->setEnabled(true);
        }
        drivingMarkClears = 0;
        enable[i]->setChecked(false);
        EXPECT_EQ(state(), afterOff[i]);
        enable[i]->setChecked(true);
        enable[i]->setChecked(true);
        EXPECT_EQ(state(), afterOn[i]);
    }
}

// Each range with its bounds, read from the number a typed text begins with: Set shows one
// message per rejected text, in field order, keeps the dialog open and the texts as typed.
// Disabled boxes (paddle off) are checked all the same; the frame count only while its test is
// on. A rejected lightgun text gets the focus, the cycle box when both fail, or, disabled,
// passes it to the nearest control before it that can take it, the enable box.
TEST_F(Dialogs, SetAcceptsOnlyWhatEachRangeAllows) {
    std::setlocale(LC_NUMERIC, "C");
    const auto range = [](const char* field) {
        return ShownBox{std::string("Please enter a value ") + field, "Input Error", Buttons::Ok};
    };
    const ShownBox speed = range("between 1 and 15 for Paddle Speed"),
                   number = range("between 0 and 3 for Paddle Number"),
                   video = range("between 1 and 14 for Video Mode"),
                   perfSpeed = range("between 1 and 254 for Speed Setting"),
                   frames = range("> 0 for Performance Test"),
                   numeric{"Please enter a numeric value", "Invalid Entry", Buttons::Ok};
    // The dialog, its Text1 and Text2, its Check1, the messages, the control focused then.
    const std::tuple<Dialog, QString, QString, bool, std::vector<ShownBox>, QString> rows[] = {
        {Dialog::Form2, "", "", 0, {}, ""},
        {Dialog::Form2, "0.5", "0", 0, {}, ""},
        {Dialog::Form2, "15.9x", "3", 0, {}, ""},
        {Dialog::Form2, "0", "-0.5", 0, {speed, number}, ""},
        {Dialog::Form2, "16", "3.5", 0, {speed, number}, ""},
        {Dialog::Form3, "0.5", "", 0, {}, ""},
        {Dialog::Form3, "14.9", "", 0, {}, ""},
        {Dialog::Form3, "0", "", 0, {video}, ""},
        {Dialog::Form3, "15", "", 0, {video}, ""},
        {Dialog::Form4, "0.5", "abc", 0, {}, ""},
        {Dialog::Form4, "254.9", "0.5", 1, {}, ""},
        {Dialog::Form4, "0", "", 1, {perfSpeed, frames}, ""},
        {Dialog::Form4, "255", "0", 1, {perfSpeed, frames}, ""},
        {Dialog::Form6, "", "-1.5", 1, {}, ""},
        {Dialog::Form6, "2x", "5", 1, {numeric}, "Text1"},
        {Dialog::Form6, ".", "1 2", 1, {numeric, numeric}, "Text2"},
        {Dialog::Form6, "abc", "", 0, {numeric}, "Check1"}};
    for (const auto& [which, first, second, check, expected, focused] : rows) {
        boxes.shown.clear();
        const bool open = openAndRun(which, [&](OptionDialog& d) {
            SCOPED_TRACE((d.objectName() + " " + first + " | " + second).toStdString());
            d.findChild<QCheckBox*>("Check1")->setChecked(true); // the boxes enabled to type in
            for (auto [name, text] : {std::pair{"Text1", first}, {"Text2", second}})
                if (auto* box = d.findChild<QLineEdit*>(name)) {
                    box->clear();
                    QTest::keyClicks(box, text);
                }
            d.findChild<QCheckBox*>("Check1")->setChecked(check);
            QTest::keyClick(&d, Qt::Key_Return);
            EXPECT_TRUE(focused.isEmpty() || d.focusWidget()->objectName() == focused);
            EXPECT_EQ(d.findChild<QLineEdit*>("Text1")->text(), first);
            EXPECT_EQ(boxes.shown, expected);
        });
        EXPECT_EQ(open, !expected.empty()) << first.toStdString();
    }
}

} // namespace
} // namespace kestrin::testing
