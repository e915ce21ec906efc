// The main window: start-up, the game lists, hotkeys and the modal guard, the About box, the
// ways to end the program, and the Options menu's check marks.
#include "tests/ui/main/launcher_fakes.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/option_dialogs.h"
#include "ui/main/form5.h"
#include "ui/main/frm_splash.h"

#include <QtWidgets>

namespace kestrin::testing {
namespace {

// Start-up fills both lists (the full listing leaves the last game out), selects nothing and
// puts the focus on "Run &Game"; a character key closes the splash; Tab goes on to "E&xit" and
// the list; List2 follows List1 where it has an entry.
TEST(MainWindow, StartUpFillsTheListsAndList2FollowsList1) {
    Launcher launcher(Games{{"Harbor Run.bin", "HARBOR~1"}, {"demo.BIN", "DEMO"}, {"Zed.bin", ""}});
    bool splashClosed = false;
    launcher.jobs.duringPause = [&] {
        frmSplash& splash = launcher.form.splash();
        if (!splash.isVisible())
            return;
        QTest::keyClick(&splash, Qt::Key_F5); // no character
        const bool stayed = splash.isVisible();
        QTest::keyClick(&splash, Qt::Key_Q, Qt::ShiftModifier);
        splashClosed = stayed && !splash.isVisible();
    };
    Form1& form = launcher.started();
    EXPECT_TRUE(splashClosed);
    auto* list = launcher.find<QListView>("List1");
    EXPECT_EQ(qobject_cast<QStringListModel*>(list->model())->stringList(),
              (QStringList{"Harbor Run", "demo", "Zed"}));
    EXPECT_EQ(form.List2(), (std::vector<std::string>{"HARBOR~1 ", "DEMO "}));
    for (const char* next : {"Command1", "Command2", "List1"}) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (auto [row, expected] : {std::pair{-1, -1}, {1, 1}, {2, -1}, {0, 0}}) {
        if (row >= 0)
            list->setCurrentIndex(list->model()->index(row, 0));
        EXPECT_EQ(form.List2Index(), expected) << row;
    }
    EXPECT_EQ(launcher.files.written, std::vector<std::string>(2, "getlist.bat"));
    EXPECT_TRUE(launcher.boxes.shown.empty());
}

TEST(MainWindow, AFolderThatCannotBeListedIsSaidOnceStartUpIsDone) {
    Launcher launcher;
    launcher.files.unwritable = "getlist.bat";
    launcher.started();
    EXPECT_EQ(launcher.boxes.shown, (std::vector<ShownBox>{{"No games could be listed: could not "
                                                            "save getlist.bat: Permission denied.",
                                                            "Kestrin", Buttons::Ok}}));
}

// Each hotkey acts once per press whatever the modifiers and the focused control: the dialog
// keys open their dialogs, F1 the About box (which Esc leaves open), F10 asks, Enter is
// "Run &Game"; other keys do nothing.
TEST(MainWindow, HotkeysActOnceWhateverTheModifiersAndFocus) {
    Launcher launcher(Games{{"Harbor Run.bin", "HARBOR~1"}, {"Zed.bin", "ZED"}});
    Form1& form = launcher.started();
    int aboutOpenings = 0;
    const std::pair<Qt::Key, QString> bindings[] = {{Qt::Key_F5, "Form3"}, {Qt::Key_F6, "Form4"},
                                                    {Qt::Key_F7, "Form2"}, {Qt::Key_F8, "Form6"},
                                                    {Qt::Key_F9, "Form7"}, {Qt::Key_F1, "Form5"}};
    for (const char* focus : {"List1", "Command2"}) {
        for (auto [key, dialog] : bindings) {
            for (Qt::KeyboardModifiers held :
                 {Qt::NoModifier, Qt::ShiftModifier, Qt::AltModifier}) {
                QString opened;
                whenModalOpens([&](QWidget* modal) {
                    opened = modal->objectName();
                    if (opened == "Form5") { // Esc does nothing; "&OK", Enter on it, close hide
                        QTest::keyClick(modal, Qt::Key_Escape);
                        opened += modal->isVisible() ? "" : " hidden by Esc";
                        auto* ok = modal->findChild<QPushButton*>("Command1");
                        if (++aboutOpenings % 3 == 1)
                            QTest::mouseClick(ok, Qt::LeftButton);
                        else if (aboutOpenings % 3 == 2)
                            QTest::keyClick(ok, Qt::Key_Return);
                    }
                    modal->close(); // an option dialog cancels, the About box hides
                    opened += modal->isVisible() ? " still shown" : "";
                });
                launcher.find<QWidget>(focus)->setFocus();
                QTest::keyClick(QApplication::focusWidget(), key, held);
                EXPECT_EQ(opened, dialog) << focus;
                waitUntilActive(form);
            }
        }
    }
    launcher.boxes.answers = {Answer::Cancel};
    for (Qt::Key key : {Qt::Key_F10, Qt::Key_F2, Qt::Key_F11, Qt::Key_A, Qt::Key_Return})
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    auto* list = launcher.find<QListView>("List1");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down); // the first game
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(launcher.boxes.shown.size(), 2u);
    EXPECT_EQ(launcher.boxes.shown.at(0).title, "Clear Options");
    EXPECT_EQ(launcher.boxes.shown.at(1).title, "Select a Game");
    EXPECT_EQ(launcher.jobs.started.back(), "run.bat");
    EXPECT_TRUE(launcher.files.contents["run.bat"].ends_with(" HARBOR~1 \r\n"));
    EXPECT_EQ(launcher.ended, 0);
}

// While a dialog is shown, the main window takes no key, even when the window system makes it
// the active window.
TEST(MainWindow, HotkeysAreDeadWhileADialogIsShown) {
    Launcher launcher;
    Form1& form = launcher.started();
    bool opened = false;
    whenModalOpens([&](QWidget* modal) {
        opened = true;
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(form.isActiveWindow());
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_F10, Qt::Key_Escape})
            QTest::keyClick(QApplication::focusWidget(), key);
        QApplication::setActiveWindow(modal);
        modal->close();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(launcher.boxes.shown.empty());
    EXPECT_EQ(launcher.ended, 0);
}

// The "E&xit" button, File "E&xit", Esc and the close box end the program at once, unsaved.
TEST(MainWindow, EveryWayToEndEndsAtOnceAndWritesNothing) {
    for (int way = 0; way < 4; ++way) {
        Launcher launcher(Games{{"Zed.bin", "ZED"}});
        launcher.started();
        launcher.find<QAction>("mnuoptsoundquiet")->trigger(); // a change that is never saved
        const std::vector<std::string> writtenAtStart = launcher.files.written;
        auto* list = launcher.find<QListView>("List1");
        if (way == 0)
            QTest::mouseClick(launcher.find<QPushButton>("Command2"), Qt::LeftButton);
        else if (way == 1)
            launcher.find<QAction>("mnufileexit")->trigger();
        else if (way == 2)
            QTest::keyClick((list->setFocus(), list), Qt::Key_Escape, Qt::ControlModifier);
        else
            launcher.form.close();
        EXPECT_EQ(launcher.ended, 1) << way;
        EXPECT_EQ(launcher.files.written, writtenAtStart);
    }
}

// The check marks by letter, in the order of MenuMark: Keyboard only, Reverse, Driving, PC
// speaker, diaGnostics, Force 15700, High, Low, Quiet, cheCksum.
constexpr std::string_view letters = "krdpgfhlqc";

// Each check-mark command toggles its own mark once, from the menu (where Qt toggles the item
// first) or from code, then clears its partners; setting a mark from code runs nothing.
TEST(OptionsMenu, EachCommandTogglesItsOwnMarkOnceAndClearsItsPartners) {
    // Marks before, the command chosen, marks after.
    std::vector<std::tuple<std::string, char, std::string>> rows = {
        {"k", 'r', "r"},      {"r", 'k', "k"},     {"pgfhlq", 'p', "q"}, {"gl", 'p', "p"},
        {"p", 'g', "pg"},     {"pf", 'f', ""},     {"p", 'f', "f"},      {"pl", 'h', "h"},
        {"ph", 'l', "l"},     {"phl", 'h', "l"},   {"rph", 'd', "rdph"}, {"rph", 'g', "rpgh"},
        {"rph", 'q', "rphq"}, {"rph", 'c', "rphc"}};
    for (char mark : letters) { // alone, each one toggles its own mark
        rows.push_back({"", mark, std::string(1, mark)});
        rows.push_back({std::string(1, mark), mark, ""});
    }
    Launcher launcher;
    Holders& h = launcher.holders();
    const auto marked = [&] {
        std::string marks;
        for (std::size_t i = 0; i < letters.size(); ++i)
            marks += h.mark(MenuMark(i)) ? std::string(1, letters[i]) : "";
        return marks;
    };
    for (bool fromMenu : {true, false}) {
        for (const auto& [before, chosen, after] : rows) {
            for (std::size_t i = 0; i < letters.size(); ++i)
                h.setMark(MenuMark(i), before.find(letters[i]) != std::string::npos);
            ASSERT_EQ(marked(), before);
            const auto item = MenuMark(letters.find(chosen));
            if (fromMenu)
                launcher.form.menuItem(item)->trigger();
            else
                h.performMenuCommand(item);
            EXPECT_EQ(marked(), after) << fromMenu << " " << before << " " << chosen;
        }
    }
}

// "&Driving Controller" switched on clears the enable boxes through their dialogs, whose rules
// run; switched off it leaves them; an enable box switched on clears it.
TEST(OptionsMenu, DrivingControllerAndTheEnableBoxesExcludeEachOther) {
    Launcher launcher;
    Holders& h = launcher.holders();
    h.setCheck(CheckBox::Form2_Check1, 1);
    launcher.find<QAction>("mnuoptcontroldrive")->trigger();
    EXPECT_TRUE(h.mark(MenuMark::mnuoptcontroldrive));
    EXPECT_EQ(h.check(CheckBox::Form2_Check1), 0);
    EXPECT_FALSE(launcher.form.optionDialogs().form2().Text1->isEnabled());
    h.setCheck(CheckBox::Form7_Check1, 1);
    EXPECT_FALSE(h.mark(MenuMark::mnuoptcontroldrive));
    h.setMark(MenuMark::mnuoptcontroldrive, true);
    launcher.find<QAction>("mnuoptcontroldrive")->trigger();
    EXPECT_EQ(h.check(CheckBox::Form7_Check1), 1);
}

} // namespace
} // namespace kestrin::testing
