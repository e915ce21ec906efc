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
    // Opens the dialog and runs `whileShown` in its modal loop; returns whether the dialog was
    // still shown then (it is hidden afterwards without Cancel, so that the test goes on).
    bool openAndRun(Dialog which, const std::function<void(OptionDialog&)>& whileShown) {
        OptionDialog& d = dialogs.window(which);
        bool stillShown = false;
        EXPECT_EQ(whileModal([&] { dialogs.showModal(which); },
                             [&](QWidget* shown) {
                                 EXPECT_EQ(shown, &d);
                                 whileShown(d);
                                 stillShown = d.isVisible();
                             }),
                  1);
        return stillShown;
    }

    RecordingMessageBoxes boxes;
    int drivingMarkClears = 0;
    OptionDialogs dialogs{boxes, [this] { ++drivingMarkClears; }};
};

// Enter is Set and Esc Cancel from every control, whatever the modifiers; Set runs once per
// press, on its button too; other keys reach the controls, arrows move through an option group.
TEST_F(Dialogs, EnterSetsAndEscCancelsFromEveryControl) {
    for (Dialog which : allDialogs)
        for (QWidget* control : dialogs.window(which).clientArea()->findChildren<QWidget*>())
            for (auto [key, modifier] : {std::pair{Qt::Key_Return, Qt::ControlModifier},
                                         {Qt::Key_Enter, Qt::KeypadModifier},
                                         {Qt::Key_Escape, Qt::ShiftModifier}})
                EXPECT_FALSE(openAndRun(which, [&](auto&) {
                    QTest::keyClick(control, key, modifier);
                })) << control->objectName().toStdString();
    Form2& f = dialogs.form2();
    f.Check1->setChecked(true);
    EXPECT_TRUE(openAndRun(Dialog::Form2, [&](auto&) {
        f.Text1->setText("99");
        QTest::keyClick(f.Command1, Qt::Key_Return);
        f.Option1.member(1)->click();
        f.Option1.member(1)->setFocus();
        QTest::keyClick(f.Option1.member(1), Qt::Key_Up);
        QTest::keyClicks(f.Text2, "2");
    }));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(f.Option1.selected() * 10 + f.Text2->text().toInt(), 2);
}

// Chooses an item of the dialog's File menu with Enter in the open menu, where Enter is the
// menu's own key.
void chooseInFileMenu(OptionDialog& d, int item) {
    QAction* file = d.menuBar()->actions().at(0);
    d.menuBar()->setActiveAction(file);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file->menu()));
    file->menu()->setActiveAction(file->menu()->actions().at(item));
    QTest::keyClick(file->menu(), Qt::Key_Return);
}

// What the dialog shows: each box's text and each button's mark, with whether it is enabled
// unless `round` is set; then, for a round, every control changed as a user would change it.
std::string shownThenChange(OptionDialog& d, int round = 0) {
    std::string state;
    bool selected = false;
    for (QWidget* w : d.clientArea()->findChildren<QWidget*>()) {
        auto* box = qobject_cast<QLineEdit*>(w);
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (box == nullptr && (button == nullptr || !button->isCheckable()))
            continue;
        state += box ? box->text().toStdString() : button->isChecked() ? "x" : "o";
        state += round > 0 ? "," : w->isEnabled() ? "+" : "-";
        if (box && round > 0)
            box->setText(QString::number(round % 3 + 1)); // a number each check accepts
        else if (qobject_cast<QCheckBox*>(w) && round > 0)
            button->toggle();
        else if (round > 0 && !button->isChecked() && !std::exchange(selected, true))
            button->setChecked(true); // the next option of its group
    }
    return state;
}

// Set, from the menu or by Enter, keeps what was changed. Cancel, from the menu, the close box
// or Esc, puts back what the latest opening showed, an option group with nothing selected
// included, and the enable rules run again for it. Texts are kept as set, however long.
TEST_F(Dialogs, CancelPutsBackWhatTheLatestOpeningShowed) {
    const std::function<void(OptionDialog&)> cancelWays[] = {
        [](OptionDialog& d) { chooseInFileMenu(d, 1); },
        [](OptionDialog& d) { EXPECT_FALSE(d.close()) << "the close request is refused"; },
        [](OptionDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }};
    int round = 0;
    for (Dialog which : allDialogs) {
        for (const auto& cancel : cancelWays) {
            OptionDialog& d = dialogs.window(which);
            SCOPED_TRACE(d.objectName().toStdString() + " " + std::to_string(round));
            std::string opened, set;
            EXPECT_FALSE(openAndRun(which, [&](auto&) {
                opened = shownThenChange(d, ++round);
                cancel(d);
            }));
            EXPECT_EQ(shownThenChange(d, ++round), opened); // and changed for the next opening
            EXPECT_FALSE(openAndRun(which, [&](auto&) {
                round % 2 ? chooseInFileMenu(d, 0) : QTest::keyClick(&d, Qt::Key_Return);
            }));
            set = shownThenChange(d);
            EXPECT_FALSE(openAndRun(which, [&](auto&) {
                shownThenChange(d, ++round);
                EXPECT_NE(shownThenChange(d), set);
                cancel(d);
            }));
            EXPECT_EQ(shownThenChange(d), set);
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
    for (const std::string& text : {std::string(100000, '7'), std::string("  1,5 \t\xC3\xA9x  ")}) {
        dialogs.setText(TextBox::Form6_Text2, text);
        EXPECT_EQ(dialogs.text(TextBox::Form6_Text2), text);
    }
}

// Rules disable fields and keep their values; "Simulate Pal Color Loss" is enabled while "PAL"
// is selected, and deselecting an option (as Cancel may) runs no rule. Checking an enable box
// clears the other two, with their rules, and the drive mark; unchecking one, or checking one
// that is checked, touches nothing else.
TEST_F(Dialogs, EnableRulesAndTheControllerTypeGroup) {
    for (auto [option, enabled] : {std::pair{0, false}, {1, true}, {noneSelected, true}}) {
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
}

// Each range with its bounds, read from the number a text begins with: Set shows one message
// per rejected text, in field order, keeps the dialog open and the texts as typed. Disabled
// boxes (paddle off) are checked all the same; the frame count only while its test is on. A
// rejected lightgun text gets the focus, the cycle box when both fail, or, disabled, passes it
// to the nearest control before it that can take it, the enable box.
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
    using D = Dialog;
    const struct {
        Dialog which;
        QString first, second; // Text1 and Text2 of the dialog
        bool check;            // its Check1
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
    for (const auto& r : rows) {
        boxes.shown.clear();
        const bool open = openAndRun(r.which, [&](OptionDialog& d) {
            SCOPED_TRACE((d.objectName() + " " + r.first + " | " + r.second).toStdString());
            d.findChild<QCheckBox*>("Check1")->setChecked(r.check);
            for (auto [name, text] : {std::pair{"Text1", r.first}, {"Text2", r.second}})
                if (auto* box = d.findChild<QLineEdit*>(name))
                    box->setText(text);
            QTest::keyClick(&d, Qt::Key_Return);
            EXPECT_TRUE(r.focused.isEmpty() || d.focusWidget()->objectName() == r.focused);
            EXPECT_EQ(d.findChild<QLineEdit*>("Text1")->text(), r.first);
            EXPECT_EQ(boxes.shown, r.expected);
        });
        EXPECT_EQ(open, !r.expected.empty()) << r.first.toStdString();
    }
}

} // namespace
} // namespace kestrin::testing
