// The main window as built and as start-up leaves it: menu tree, lists, settings, splash.
#include "tests/ui/main/launcher_fakes.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/option_dialogs.h"
#include "ui/main/frm_splash.h"

#include <QGroupBox>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>

namespace kestrin::testing {
namespace {

// Depth first as the menus unfold: "name:caption", " [ ]" when checkable ("[x]" when checked),
// its key binding if any, and a submenu's entries in braces.
std::string tree(const QList<QAction*>& actions) {
    std::string out;
    for (QAction* action : actions) {
        const char* box = action->isChecked() ? " [x]" : action->isCheckable() ? " [ ]" : "";
        out += action->objectName().toStdString() + ":" + action->text().toStdString() + box +
               action->shortcut().toString().toStdString() +
               (action->menu() ? "{" + tree(action->menu()->actions()) + "}" : "") + ", ";
    }
    return out;
}

TEST(MainWindow, MenuTreeAndCaptions) {
    Launcher launcher;
    EXPECT_EQ(
        tree(launcher.form.menuBar()->actions()),
        "mnufile:&File{mnufileexit:E&xit, }, mnuopt:&Options{"
        "mnuoptcontrol:&Control{mnuoptcontroljoy:&Joystick{mnuoptjoykbd:&Keyboard Only [ ], "
        "mnuoptjoyrev:&Reverse Joystick [ ], }, mnuoptcontrolpad:&Paddle (F7), "
        "mnuoptlight:&Lightgun (F8), mnuoptcontrolkbdemu:&Keyboard Emulation (F9), "
        "mnuoptcontroldrive:&Driving Controller [ ], }, "
        "mnuoptsound:&Sound{mnuoptsoundpc:PC Spe&aker [ ], mnuoptsounddiag:Show &Diagnostics [ ], "
        "mnuoptsound15700:Force 15700 sample rate [ ], mnuoptsounddsp:DSP Settings{"
        "mnuoptsoundhi:&High [ ], mnuoptsoundlow:&Low [ ], }, mnuoptsoundquiet:&Quiet [ ], }, "
        "mnuoptmisc:&Misc{mnupcheck:Print Chec&ksum [ ], }, mnuoptvid:&Video (F5), "
        "mnuoptperform:Per&formance (F6), mnuoptclear:C&lear All (F10), }, "
        "mnuhelp:&Help{mnuhelpAbout:&About (F1), }, ");
    EXPECT_EQ(launcher.form.windowTitle(), "Kestrin v1.1");
    EXPECT_EQ(launcher.find<QGroupBox>("Frame1")->title(), "Games");
    EXPECT_EQ(launcher.find<QPushButton>("Command1")->text(), "Run &Game");
    EXPECT_EQ(launcher.find<QPushButton>("Command2")->text(), "E&xit");
}

// A config.dat of the given lines, separated by "|"; the lines after them read as empty.
std::string config(std::string lines) {
    for (std::size_t bar; (bar = lines.find('|')) != std::string::npos;)
        lines.replace(bar, 1, "\r\n");
    return lines + "\r\n";
}

TEST(MainWindow, StartUpFillsTheListsSelectsNothingAndList2FollowsList1) {
    // The listings disagree: the full one leaves the last game out.
    Launcher launcher(Games{{"Harbor Run.bin", "HARBOR~1"}, {"demo.BIN", "DEMO"}, {"Zed.bin", ""}});
    launcher.files.contents["config.dat"] = config(std::string(19, '|') + "1"); // quiet
    bool splashWasShown = false;
    launcher.jobs.duringPause = [&] {
        frmSplash& splash = launcher.form.splash();
        if (!splash.isVisible())
            return;
        splashWasShown = true;
        QTest::keyClick(&splash, Qt::Key_F5); // no character: the splash stays
        EXPECT_TRUE(splash.isVisible());
        QTest::keyClick(&splash, Qt::Key_Q, Qt::ShiftModifier);
        EXPECT_FALSE(splash.isVisible());
    };
    Form1& form = launcher.started();
    EXPECT_TRUE(splashWasShown);
    auto* list = launcher.find<QListView>("List1");
    EXPECT_EQ(qobject_cast<QStringListModel*>(list->model())->stringList(),
              (QStringList{"Harbor Run", "demo", "Zed"}));
    EXPECT_EQ(form.List2(), (std::vector<std::string>{"HARBOR~1 ", "DEMO "}));
    EXPECT_TRUE(form.holders().mark(MenuMark::mnuoptsoundquiet)) << "the restore ran";
    EXPECT_EQ(launcher.files.written, std::vector<std::string>(2, "getlist.bat")) << "no save";
    EXPECT_TRUE(launcher.boxes.shown.empty());
    EXPECT_EQ(launcher.ended, 0);
    // The focus starts on "Run &Game"; Tab goes on to "E&xit", then to the list.
    EXPECT_EQ(QApplication::focusWidget(), launcher.find<QPushButton>("Command1"));
    for (QWidget* next : {static_cast<QWidget*>(launcher.find<QPushButton>("Command2")),
                          static_cast<QWidget*>(list)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    // Nothing selected, then List2 follows List1's index while it has an entry there.
    for (const auto& [row, expected] :
         std::vector<std::pair<int, int>>{{-1, -1}, {1, 1}, {2, -1}, {0, 0}}) {
        SCOPED_TRACE(row);
        if (row >= 0)
            list->setCurrentIndex(list->model()->index(row, 0));
        EXPECT_EQ(list->selectionModel()->selectedRows().size(), row >= 0 ? 1 : 0);
        EXPECT_EQ(form.List2Index(), expected);
    }
}

TEST(MainWindow, AFolderThatCannotBeListedIsSaidOnceStartUpIsDone) {
    Launcher launcher;
    launcher.files.unwritable = "getlist.bat";
    launcher.started();
    EXPECT_EQ(launcher.boxes.shown,
              (std::vector<ShownBox>{{"No games could be listed: could not save getlist.bat: "
                                      "Permission denied.",
                                      "Kestrin", Buttons::Ok}}));
    EXPECT_TRUE(launcher.jobs.started.empty());
}

TEST(MainWindow, RestoreRunsTheDialogsReactionsInLineOrder) {
    // Line 21 (keyboard emulation) clears paddle, lightgun and the drive mark; line 23 sets the
    // drive mark again. "PC Spe&aker" with the sample rate, hand-edited, comes back as it stands.
    for (bool driveLine : {true, false}) {
        SCOPED_TRACE(driveLine);
        Launcher launcher;
        // Keyboard only (1); paddle on (2), speed 7 (3); lightgun on (6); PC speaker (16); sample
        // rate (18); keyboard emulation (21) on both sides (22); driving controller (23).
        launcher.files.contents["config.dat"] =
            config(std::string(" 1 |1|7|||1||||||||||1||1|||1|2|") + (driveLine ? "1" : ""));
        Form1& form = launcher.started();
        EXPECT_FALSE(form.splash().isVisible());
        Holders& holders = form.holders();
        EXPECT_TRUE(holders.mark(MenuMark::mnuoptjoykbd));
        EXPECT_EQ(holders.check(CheckBox::Form2_Check1), 0);
        EXPECT_EQ(holders.check(CheckBox::Form6_Check1), 0);
        EXPECT_EQ(holders.check(CheckBox::Form7_Check1), 1);
        EXPECT_EQ(holders.selected(OptionGroup::Form7_Option1), 2);
        EXPECT_EQ(holders.mark(MenuMark::mnuoptcontroldrive), driveLine);
        EXPECT_TRUE(holders.mark(MenuMark::mnuoptsoundpc) &&
                    holders.mark(MenuMark::mnuoptsound15700));
        // The paddle speed came back, but its field is disabled with its box clear.
        EXPECT_EQ(holders.text(TextBox::Form2_Text1), "7");
        EXPECT_FALSE(form.optionDialogs().form2().Text1->isEnabled());
    }
}

} // namespace
} // namespace kestrin::testing
