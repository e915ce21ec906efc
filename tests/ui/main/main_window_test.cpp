// The main window's wiring (start-up, the lists, hotkeys, menu items, the modal guard, the ways
// to end), its Options menu's marks, and what every window shows on any desktop.
#include "tests/support/fake_platform.h"
#include "tests/support/while_modal.h"
#include "ui/dialogs/option_dialog.h"
#include "ui/dialogs/option_dialogs.h"
#include "ui/main/form1.h"
#include "ui/main/form5.h"
#include "ui/main/frm_splash.h"

#include <QtWidgets>
#include <gtest/gtest.h>

#include <algorithm>

namespace kestrin::testing {
namespace {

// The main window on the platform fake, in a folder of two games, the second one left out of
// the full listing. Ending the program is counted.
struct Launcher : FakePlatform {
    Launcher() {
        jobs = {{[this] { files["games.dat"] = "Harbor Run.bin\r\nZed.bin\r\n"; }},
                {[this] { files["lgames.dat"] = "\n\n\n\n\nHARBOR~1 BIN\r\n"; }}};
    }
    Form1& started() {
        form.Form1_Form_Load();
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return form;
    }
    int ended = 0;
    Form1 form{boxes, *this, *this, [this] { ++ended; }};
};

// Only a key with a character closes the splash. The window opens on the listed games with
// none selected and "Run &Game" focused; Tab goes on to "E&xit" and the list. List2 follows
// List1 where it has an entry, by keyboard too, and Enter runs the game selected there. A
// folder that cannot be listed is said once start-up is done, as are a game (line) past the cap
// and an unreadable config.dat, which Run Game never saves over. Leftovers of saves go.
TEST(MainWindow, StartUpTheListsAndTheSelectedGame) {
    Launcher launcher;
    std::string splash; // shown or not after each key
    launcher.duringWait = [&] {
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_Q}) {
            QTest::keyClick(&launcher.form.splash(), key);
            splash += launcher.form.splash().isVisible() ? "+" : "-";
        }
    };
    Form1& form = launcher.started();
    EXPECT_EQ(splash.substr(0, 2), "+-");
    auto* list = launcher.form.findChild<QListView*>("List1");
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        shown << list->model()->index(row, 0).data().toString();
    EXPECT_EQ(shown, (QStringList{"Harbor Run", "Zed"}));
    for (const char* next : {"Command1", "Command2", "List1"}) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    list->setFocus();
    EXPECT_EQ(form.List2Index(), -1);
    QTest::keyClick(list, Qt::Key_Down); // the first game
    EXPECT_EQ(form.List2Index(), 0);
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(launcher.files["run.bat"].ends_with(" HARBOR~1 \r\n")) << launcher.files["run.bat"];
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(form.List2Index(), -1);
    EXPECT_TRUE(launcher.boxes.shown.empty());

    Launcher unlistable;
    unlistable.unwritable["getlist.bat"] = "Permission denied";
    unlistable.started();
    EXPECT_EQ(unlistable.boxes.shown,
              (std::vector<ShownBox>{{"No games could be listed: could not save getlist.bat: "
                                      "Permission denied.",
                                      "Kestrin", Buttons::Ok}}));
    Launcher l;
    l.files["config.dat"] = "1\r\n";
    l.unreadable["config.dat"] = "Permission denied";
    l.jobs[0].run = [&l] { l.files["games.dat"] = std::string(1'000'001, '\n'); };
    l.started().findChild<QListView*>("List1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    std::string texts;
    for (const ShownBox& box : l.boxes.shown)
        texts += box.text + "\n";
    EXPECT_EQ(texts,
              "Could not read config.dat: Permission denied. Kestrin starts with the options "
              "cleared and leaves it as it is.\n1 game could not be listed: the game list "
              "holds at most 1000000.\nCould not save config.dat: it could not be read "
              "(Permission denied), so it is left as it is\n");
    EXPECT_EQ(std::count(l.log.begin(), l.log.end(), "leftovers config.dat"), 1);
    EXPECT_EQ(l.files["config.dat"] + l.log.back(), "1\r\nread config.dat");
}

// Each hotkey and menu item opens its window once, whatever the modifiers and the focused
// control; while it is shown, the main window takes no key even when made the active window.
// Esc leaves the About box open, Enter on its "&OK" hides it. Every way to end ends at once.
TEST(MainWindow, HotkeysMenuItemsAndTheWaysToEnd) {
    Launcher launcher;
    Form1& form = launcher.started();
    // The key and its modifiers, with the focused control, or no key and the menu item chosen.
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*, QString> rows[] = {
        {Qt::Key_F5, Qt::ShiftModifier, "List1", "Form3"},
        {Qt::Key_F6, Qt::NoModifier, "Command2", "Form4"},
        {Qt::Key_F7, Qt::AltModifier, "List1", "Form2"},
        {Qt::Key_F8, Qt::ControlModifier, "Command1", "Form6"},
        {Qt::Key_F9, Qt::NoModifier, "List1", "Form7"},
        {Qt::Key_F1, Qt::ShiftModifier, "Command2", "Form5"},
        {{}, {}, "mnuhelpAbout", "Form5"},
        {{}, {}, "mnuoptvid", "Form3"},
        {{}, {}, "mnuoptperform", "Form4"},
        {{}, {}, "mnuoptcontrolpad", "Form2"},
        {{}, {}, "mnuoptlight", "Form6"},
        {{}, {}, "mnuoptcontrolkbdemu", "Form7"}};
    for (const auto& [key, held, at, opens] : rows) {
        QString opened;
        const auto open = [&] {
            if (key == Qt::Key{})
                return form.findChild<QAction*>(at)->trigger();
            form.findChild<QWidget*>(at)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), key, held);
        };
        const auto inside = [&](QWidget* modal) {
            QApplication::setActiveWindow(&form);
            ASSERT_TRUE(form.isActiveWindow());
            for (Qt::Key dead : {Qt::Key_Return, Qt::Key_F10, Qt::Key_Escape})
                QTest::keyClick(QApplication::focusWidget(), dead);
            QApplication::setActiveWindow(modal);
            auto* ok = modal->findChild<QPushButton*>("Command1");
            if (opens == "Form5")
                QTest::keyClick(ok, Qt::Key_Escape);
            opened = modal->objectName() + (modal->isVisible() ? "" : " hidden by Esc");
            opens == "Form5" ? QTest::keyClick(ok, Qt::Key_Return) : void(modal->close());
            opened += modal->isVisible() ? " left open" : "";
        };
        EXPECT_EQ(whileModal(open, inside), 1) << at;
        EXPECT_EQ(opened, opens) << at;
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    // F10 asks to clear, Enter finds no game selected; the other keys do nothing.
    launcher.boxes.answers = {Answer::Cancel};
    for (Qt::Key key : {Qt::Key_F10, Qt::Key_F2, Qt::Key_F11, Qt::Key_A, Qt::Key_Return})
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    ASSERT_EQ(launcher.boxes.shown.size(), 2u);
    EXPECT_EQ(launcher.boxes.shown[0].title + "/" + launcher.boxes.shown[1].title,
              "Clear Options/Select a Game");
    // "E&xit", File "E&xit", Esc and the close box each end the program at once, saving nothing.
    const std::size_t logged = launcher.log.size();
    EXPECT_EQ(launcher.ended, 0);
    QTest::mouseClick(form.findChild<QWidget*>("Command2"), Qt::LeftButton);
    form.findChild<QAction*>("mnufileexit")->trigger();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape, Qt::ControlModifier);
    form.close();
    EXPECT_EQ(launcher.ended, 4);
    EXPECT_EQ(launcher.log.size(), logged);
}

// Each check-mark command, chosen in the menu (where Qt toggles the item first) or run from
// code, toggles its own mark once and clears its partners; "&Driving Controller" switched on
// clears the enable boxes of Paddle, Lightgun and Keyboard Emulation, switched off leaves them.
TEST(OptionsMenu, EachCommandTogglesItsOwnMarkOnceAndClearsItsPartners) {
    // Keyboard only, Reverse, Driving, PC speaker, diaGnostics, Force 15700, High, Low, Quiet,
    // cheCksum (MenuMark's order), then the enable boxes of Paddle, Lightgun, Keyboard emulation.
    constexpr std::string_view letters = "krdpgfhlqcPLK";
    const CheckBox enable[] = {CheckBox::Form2_Check1, CheckBox::Form6_Check1,
                               CheckBox::Form7_Check1};
    // Marks before, the command chosen, marks after.
    std::vector<std::tuple<std::string, char, std::string>> rows = {
        {"k", 'r', "r"},      {"r", 'k', "k"},      {"pgfhlq", 'p', "q"}, {"gl", 'p', "p"},
        {"p", 'g', "pg"},     {"pf", 'f', ""},      {"p", 'f', "f"},      {"pl", 'h', "h"},
        {"ph", 'l', "l"},     {"phl", 'h', "l"},    {"rph", 'd', "rdph"}, {"rph", 'g', "rpgh"},
        {"rph", 'q', "rphq"}, {"rph", 'c', "rphc"}, {"P", 'd', "d"},      {"K", 'd', "d"},
        {"dL", 'd', "L"}};
    for (char mark : letters.substr(0, 10)) { // alone, each one toggles its own mark
        rows.push_back({"", mark, std::string(1, mark)});
        rows.push_back({std::string(1, mark), mark, ""});
    }
    Launcher launcher;
    Holders& h = launcher.form.holders();
    const auto marked = [&] {
        std::string marks;
        for (std::size_t i = 0; i < letters.size(); ++i)
            if (i < 10 ? h.mark(MenuMark(i)) : h.check(enable[i - 10]) == 1)
                marks += letters[i];
        return marks;
    };
    for (bool fromMenu : {true, false}) {
        for (const auto& [before, chosen, after] : rows) {
            for (std::size_t i = letters.size(); i-- > 0;) { // the boxes first: they clear 'd'
                const bool on = before.find(letters[i]) != std::string::npos;
                i < 10 ? h.setMark(MenuMark(i), on) : h.setCheck(enable[i - 10], on);
            }
            ASSERT_EQ(marked(), before);
            const auto item = MenuMark(letters.find(chosen));
            fromMenu ? launcher.form.menuItem(item)->trigger() : h.performMenuCommand(item);
            EXPECT_EQ(marked(), after) << fromMenu << " " << before << " " << chosen;
        }
    }
}

// Whether a label's or a button's caption lies in the room its style gives it and in the window.
bool captionFits(QWidget* w, QWidget* window) {
    const QFontMetrics metrics = w->fontMetrics();
    QRect caption, room;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        room = label->contentsRect();
        caption = QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                      metrics.size(0, label->text()), room);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(w);
        option.text = button->text();
        const bool push = qobject_cast<QPushButton*>(w) != nullptr;
        room = w->style()->subElementRect(push ? QStyle::SE_PushButtonContents
                                               : (qobject_cast<QRadioButton*>(w)
                                                      ? QStyle::SE_RadioButtonContents
                                                      : QStyle::SE_CheckBoxContents),
                                          &option, w);
        caption = QStyle::alignedRect(Qt::LeftToRight,
                                      push ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter,
                                      metrics.size(Qt::TextShowMnemonic, button->text()), room);
    }
    return caption.isEmpty() ||
           (room.contains(caption) &&
            window->rect().contains(caption.translated(w->mapTo(window, QPoint()))));
}

// At the default font every window keeps its designed client area; at a larger one it grows,
// by one factor across and down, so that every caption stays whole. A screen reader is told
// roles and names of every control (a text box: its label's, with the hints beside it as
// description; the logo: what it is); the focus frame shows when a window opens.
TEST(Desktop, EveryCaptionIsWholeAtAnyFontEachControlNamedAndTheFocusMarked) {
    const QSize designed[] = {{429, 322}, {311, 146}, {312, 213}, {310, 256},
                              {312, 206}, {328, 199}, {366, 151}, {337, 122}};
    // What a screen reader is told of some controls: role, name and [description].
    const std::tuple<int, const char*, std::string> named[] = {
        {0, "List1", "List Games []"},
        {0, "Image1", "Graphic Kestrin logo []"},
        {3, "Text1", "EditableText Paddle Speed [(1-15)]"},
        {3, "Option1_1", "RadioButton Mouse []"},
        {5, "Text1", "EditableText Speed Adjustment [(1-254) (60 is Normal)]"},
        {6, "Text2", "EditableText Adjust by [Cycles]"}};
    const QFont standard = QApplication::font();
    for (int points : {0, 10, 12, 14}) {
        if (points > 0)
            QApplication::setFont(QFont("DejaVu Sans", points));
        Launcher launcher;
        Form5 about;
        launcher.form.Form1_Form_Load();
        std::vector<QWidget*> all = {&launcher.form, &launcher.form.splash(), &about};
        for (Dialog which :
             {Dialog::Form2, Dialog::Form3, Dialog::Form4, Dialog::Form6, Dialog::Form7})
            all.push_back(&launcher.form.optionDialogs().window(which));
        for (std::size_t i = 0; i < std::size(all); ++i) {
            SCOPED_TRACE(all[i]->objectName().toStdString() + " " + std::to_string(points));
            all[i]->show();
            const auto shown = [&](QWidget* w) { return w->isVisibleTo(all[i]); };
            // The control placed beside `w` (in the window, a client area or a frame) that
            // overlaps it, if any.
            const auto overlapped = [&](QWidget* w) -> QString {
                QWidget* in = w->parentWidget();
                if (in != all[i] && in->objectName() != "client" && !qobject_cast<QGroupBox*>(in))
                    return {};
                for (QWidget* v : in->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (v != w && shown(v) && v->geometry().intersects(w->geometry()))
                        return v->objectName();
                return {};
            };
            for (QWidget* w : all[i]->findChildren<QWidget*>()) {
                if (!shown(w))
                    continue;
                EXPECT_TRUE(captionFits(w, all[i])) << w->objectName().toStdString();
                QAccessibleInterface* told = QAccessible::queryAccessibleInterface(w);
                const bool container = told->role() == QAccessible::Client || // needs no name
                                       told->role() == QAccessible::MenuBar;
                EXPECT_TRUE(container || !told->text(QAccessible::Name).isEmpty());
                EXPECT_EQ(overlapped(w).toStdString(), "") << w->objectName().toStdString();
            }
            QWidget* client = all[i]->findChild<QWidget*>("client");
            const QSize size = (client != nullptr ? client : all[i])->size();
            EXPECT_TRUE(points > 0 || size == designed[i]);
            EXPECT_NEAR(double(size.width()) / designed[i].width(),
                        double(size.height()) / designed[i].height(), 0.01);
            if (points > 0 || i == 1) // the splash takes no focus
                continue;
            all[i]->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(all[i]));
            QStyleOption focus;
            focus.initFrom(all[i]->focusWidget());
            EXPECT_TRUE(focus.state & QStyle::State_KeyboardFocusChange);
        }
        for (const auto& [window, control, expected] : named) {
            auto* told =
                QAccessible::queryAccessibleInterface(all[window]->findChild<QWidget*>(control));
            EXPECT_EQ(qAccessibleRoleString(told->role()) +
                          (" " + told->text(QAccessible::Name) + " [" +
                           told->text(QAccessible::Description) + "]")
                              .toStdString(),
                      expected);
        }
    }
    QApplication::setFont(standard);
}

} // namespace
} // namespace kestrin::testing
