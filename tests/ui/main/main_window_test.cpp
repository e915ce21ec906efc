// The main window's wiring: start-up and the lists, hotkeys and menu items with the modal guard,
// the About box, the ways to end the program, and the Options menu's check marks.
#include "tests/support/fake_platform.h"
#include "tests/support/while_modal.h"
#include "ui/main/form1.h"
#include "ui/main/frm_splash.h"

#include <QtWidgets>
#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

// The main window on the platform fake, in a folder of two games whose second one the full
// listing leaves out. Ending the program is counted.
struct Launcher : FakePlatform {
    Launcher() {
        jobs = {{[this] { files["games.dat"] = "Harbor Run.bin\r\nZed.bin\r\n"; }}, {[this] {
                    files["lgames.dat"] = "\n\n\n\n\nHARBOR~1 BIN  4,096 Harbor Run.bin\n";
                }}};
    }
    Form1& started() {
        form.Form1_Form_Load();
        form.show();
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        return form;
    }
    QWidget* find(const char* name) { return form.findChild<QWidget*>(name); }

    int ended = 0;
    Form1 form{boxes, *this, *this, [this] { ++ended; }};
};

// Only a key with a character closes the splash. The window opens on the listed games with
// none selected and "Run &Game" focused; Tab goes on to "E&xit" and the list. List2 follows
// List1 where it has an entry, by keyboard too, and Enter runs the game selected there. A
// folder that cannot be listed is said once start-up is done.
TEST(MainWindow, StartUpTheListsAndTheSelectedGame) {
    Launcher launcher;
    std::vector<bool> splashShown;
    launcher.duringWait = [&] {
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_Q}) {
            QTest::keyClick(&launcher.form.splash(), key);
            splashShown.push_back(launcher.form.splash().isVisible());
        }
    };
    Form1& form = launcher.started();
    EXPECT_EQ(std::vector<bool>(splashShown.begin(), splashShown.begin() + 2),
              (std::vector<bool>{true, false}));
    auto* list = launcher.form.findChild<QListView*>("List1");
    EXPECT_EQ(qobject_cast<QStringListModel*>(list->model())->stringList(),
              (QStringList{"Harbor Run", "Zed"}));
    for (const char* next : {"Command1", "Command2", "List1"}) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), next);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    list->setFocus();
    std::vector<int> list2Index = {form.List2Index()};
    QTest::keyClick(list, Qt::Key_Down); // the first game
    list2Index.push_back(form.List2Index());
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(launcher.files["run.bat"].ends_with(" HARBOR~1 \r\n")) << launcher.files["run.bat"];
    QTest::keyClick(list, Qt::Key_Down);
    list2Index.push_back(form.List2Index());
    EXPECT_EQ(list2Index, (std::vector<int>{-1, 0, -1}));
    EXPECT_TRUE(launcher.boxes.shown.empty());

    Launcher unlistable;
    unlistable.unwritable["getlist.bat"] = "Permission denied";
    unlistable.started();
    EXPECT_EQ(unlistable.boxes.shown,
              (std::vector<ShownBox>{{"No games could be listed: could not save getlist.bat: "
                                      "Permission denied.",
                                      "Kestrin", Buttons::Ok}}));
}

// Each hotkey and menu item opens its window once, whatever the modifiers and the focused
// control. While the window is shown the main window takes no key, even when it is made the
// active window. Esc leaves the About box open; Enter on its "&OK" hides it.
TEST(MainWindow, HotkeysAndMenuItemsOpenTheirWindowOnceAndThenAreDead) {
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
            launcher.find(at)->setFocus();
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
    EXPECT_TRUE(launcher.boxes.shown.empty());
    // F10 asks to clear, Enter finds no game selected; the other keys do nothing.
    launcher.boxes.answers = {Answer::Cancel};
    for (Qt::Key key : {Qt::Key_F10, Qt::Key_F2, Qt::Key_F11, Qt::Key_A, Qt::Key_Return})
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    ASSERT_EQ(launcher.boxes.shown.size(), 2u);
    EXPECT_EQ(launcher.boxes.shown[0].title + "/" + launcher.boxes.shown[1].title,
              "Clear Options/Select a Game");
    EXPECT_EQ(launcher.ended, 0);
}

// "E&xit", File "E&xit", Esc and the close box each end the program at once, saving nothing.
TEST(MainWindow, EveryWayToEndEndsAtOnceAndWritesNothing) {
    Launcher launcher;
    launcher.started();
    const std::size_t logged = launcher.log.size();
    QTest::mouseClick(launcher.find("Command2"), Qt::LeftButton);
    launcher.form.findChild<QAction*>("mnufileexit")->trigger();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape, Qt::ControlModifier);
    launcher.form.close();
    EXPECT_EQ(launcher.ended, 4);
    EXPECT_EQ(launcher.log.size(), logged);
}

// Each check-mark command, chosen in the menu (where Qt toggles the item first) or run from
// code, toggles its own mark once and clears its partners; "&Driving Controller" switched on
// clears the enable boxes of Paddle, Lightgun and Keyboard Emulation, switched off leaves them.
TEST(OptionsMenu, EachCommandTogglesItsOwnMarkOnceAndClearsItsPartners) {
    // Keyboard only, Reverse, Driving, PC speaker, diaGnostics, Force 15700, High, Low, Quiet,
    // cheCksum, then the enable boxes Paddle, Lightgun, Keyboard emulation.
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

} // namespace
} // namespace kestrin::testing
