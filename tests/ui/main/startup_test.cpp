// Start-up: the game scan fills the lists, the settings come back into their holders, the
// splash comes and goes, and the window opens with nothing selected.
#include "catalogue/game_catalogue.h"
#include "tests/ui/main/launcher_fakes.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/option_dialogs.h"
#include "ui/main/frm_splash.h"

#include <QListView>
#include <QPushButton>
#include <QTest>

#include <algorithm>

#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

std::vector<RomImage> threeGames() {
    return {{"Harbor Run.bin", "HARBOR~1"}, {"demo.BIN", "DEMO"}, {"Zed.bin", "ZED"}};
}

// A config.dat whose numbered lines (counted from 1) hold the given values, the rest empty.
std::string configWith(std::initializer_list<std::pair<int, std::string>> values) {
    std::vector<std::string> lines(23);
    for (const auto& [number, value] : values)
        lines[static_cast<std::size_t>(number - 1)] = value;
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

QStringList entriesOf(QListView* list) {
    QStringList entries;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        entries << list->model()->index(row, 0).data().toString();
    return entries;
}

void selectRow(QListView* list, int row) {
    list->setCurrentIndex(list->model()->index(row, 0));
}

TEST(StartUp, FillsBothListsRemovesTheScanFilesAndSelectsNothing) {
    Launcher launcher;
    launcher.jobs.roms = threeGames();
    Form1& form = launcher.started();

    auto* list = launcher.find<QListView>("List1");
    EXPECT_EQ(entriesOf(list), (QStringList{"Harbor Run", "demo", "Zed"}));
    const std::vector<std::string> expectedShort = {"HARBOR~1 ", "DEMO ", "ZED ", " "};
    EXPECT_EQ(form.List2(), expectedShort) << "the summary line becomes an entry of its own";

    EXPECT_FALSE(list->currentIndex().isValid());
    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(form.List2Index(), -1);
    EXPECT_EQ(QApplication::focusWidget(), launcher.find<QPushButton>("Command1"));
    EXPECT_FALSE(form.splash().isVisible());
    for (const char* temporary : {"getlist.bat", "games.dat", "lgames.dat"})
        EXPECT_FALSE(launcher.files.exists(temporary)) << temporary;
    EXPECT_EQ(launcher.jobs.started.size(), 2u);
    EXPECT_TRUE(launcher.boxes.shown.empty()) << "start-up reports nothing";
}

TEST(StartUp, WithoutConfigFileEverythingStartsClearWithKeyboardAndNtsc) {
    Launcher launcher;
    Form1& form = launcher.started();
    Holders& holders = form.holders();
    for (int i = 0; i <= static_cast<int>(MenuMark::mnupcheck); ++i)
        EXPECT_FALSE(holders.mark(static_cast<MenuMark>(i))) << i;
    EXPECT_EQ(holders.selected(OptionGroup::Form2_Option1), 0);
    EXPECT_EQ(holders.selected(OptionGroup::Form3_Option1), 0);
    EXPECT_EQ(holders.selected(OptionGroup::Form7_Option1), noneSelected);
    EXPECT_FALSE(holders.enabled(CheckBox::Form3_Check3));
    // Only the scan's batch file is written; nothing is saved at start-up.
    for (const std::string& name : launcher.files.written)
        EXPECT_EQ(name, "getlist.bat");
}

TEST(StartUp, RestoreRunsTheDialogsReactionsInLineOrder) {
    // Keyboard emulation (line 21) clears paddle and lightgun and the drive mark; line 23 then
    // sets the drive mark again.
    Launcher launcher;
    launcher.files.contents["config.dat"] =
        configWith({{1, " 1 "}, {2, "1"}, {3, "7"}, {6, "1"}, {21, "1"}, {22, "2"}, {23, "1"}});
    Form1& form = launcher.started();
    Holders& holders = form.holders();

    EXPECT_TRUE(holders.mark(MenuMark::mnuoptjoykbd));
    EXPECT_EQ(holders.check(CheckBox::Form2_Check1), 0);
    EXPECT_EQ(holders.check(CheckBox::Form6_Check1), 0);
    EXPECT_EQ(holders.check(CheckBox::Form7_Check1), 1);
    EXPECT_EQ(holders.selected(OptionGroup::Form7_Option1), 2);
    EXPECT_TRUE(holders.mark(MenuMark::mnuoptcontroldrive));
    EXPECT_FALSE(holders.mark(MenuMark::mnupcheck));
    // The paddle text came back, but its field is disabled with its box clear.
    EXPECT_EQ(holders.text(TextBox::Form2_Text1), "7");
    EXPECT_FALSE(form.optionDialogs().form2().Text1->isEnabled());
}

TEST(StartUp, RestoreWithoutDriveLineLeavesKeyboardEmulationAlone) {
    Launcher launcher;
    launcher.files.contents["config.dat"] =
        configWith({{2, "1"}, {16, "1"}, {18, "1"}, {19, "0"}, {21, "1"}});
    Form1& form = launcher.started();
    Holders& holders = form.holders();
    EXPECT_EQ(holders.check(CheckBox::Form2_Check1), 0);
    EXPECT_EQ(holders.check(CheckBox::Form7_Check1), 1);
    EXPECT_FALSE(holders.mark(MenuMark::mnuoptcontroldrive));
    // A hand-edited pair the commands never produce is restored as it stands.
    EXPECT_TRUE(holders.mark(MenuMark::mnuoptsoundpc));
    EXPECT_TRUE(holders.mark(MenuMark::mnuoptsound15700));
    EXPECT_TRUE(holders.mark(MenuMark::mnuoptsoundlow));
}

TEST(StartUp, AKeyOnTheSplashClosesItAndStartUpStillCompletes) {
    Launcher launcher;
    launcher.jobs.roms = threeGames();
    launcher.files.contents["config.dat"] = configWith({{20, "1"}});
    bool splashWasShown = false;
    launcher.jobs.duringPause = [&] {
        frmSplash& splash = launcher.window().splash();
        if (!splash.isVisible())
            return;
        splashWasShown = true;
        QTest::keyClick(&splash, Qt::Key_F5); // no character: the splash stays
        EXPECT_TRUE(splash.isVisible());
        QTest::keyClick(&splash, Qt::Key_Q, Qt::ShiftModifier);
    };
    Form1& form = launcher.started();

    EXPECT_TRUE(splashWasShown);
    EXPECT_FALSE(form.splash().isVisible());
    EXPECT_EQ(launcher.jobs.started.size(), 2u) << "the scan went on after the key";
    EXPECT_EQ(launcher.find<QListView>("List1")->model()->rowCount(), 3);
    EXPECT_TRUE(form.holders().mark(MenuMark::mnuoptsoundquiet)) << "the restore still ran";
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(launcher.ended, 0);
}

TEST(GameSelection, List2FollowsList1ByIndex) {
    Launcher launcher;
    launcher.jobs.roms = threeGames();
    Form1& form = launcher.started();
    auto* list = launcher.find<QListView>("List1");

    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->currentIndex().row(), 2);
    EXPECT_EQ(form.List2Index(), 2);
    EXPECT_EQ(form.List2()[2], "ZED ");

    const QRect firstRow = list->visualRect(list->model()->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, firstRow.center());
    EXPECT_EQ(form.List2Index(), 0);
}

TEST(GameSelection, ShortList2LeavesNoCurrentEntryAndRunGameGoesNowhere) {
    // The two listings disagree: the full listing names only two of the three files.
    Launcher launcher;
    launcher.jobs.roms = threeGames();
    launcher.jobs.shortNamesListed = 2;
    launcher.jobs.summary.clear();
    Form1& form = launcher.started();
    ASSERT_EQ(form.List2().size(), 2u);
    auto* list = launcher.find<QListView>("List1");

    selectRow(list, 1);
    EXPECT_EQ(form.List2Index(), 1);
    selectRow(list, 2);
    EXPECT_EQ(form.List2Index(), -1) << "no entry to follow to";
}

} // namespace
} // namespace kestrin::testing
