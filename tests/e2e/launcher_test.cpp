// The launcher as a user meets it: started in a folder of game images on a virtual display,
// driven by keys, checked through the files it writes, the command line the emulator receives
// and what its windows show.
#include "desktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <thread>

using namespace e2e;
using testing::ElementsAre;

namespace {

// A stand-in for the emulator that records its arguments one a line in marlo.argv (written
// whole, then renamed, so that a reader never sees half of it) and, in a reporting run, prints
// three lines (which the launcher's batch job redirects to results.dat).
const char* const recordingMarlo = R"(#!/bin/sh
for a in "$@"; do printf '%s\n' "$a"; done > marlo.argv.new
mv marlo.argv.new marlo.argv
for a in "$@"; do
    case "$a" in -n|-x|-f*) printf 'Report one\nReport two\nReport three\n'; exit 0;; esac
done
)";

// config.dat as the launcher writes it in the first-start state, line by line.
std::vector<std::string> firstStartSettings() {
    return {"0", "0", "",  "",  "0", "0", "", "",  "0", "0", "0", "0",
            "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "0"};
}

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// config.dat as Clear All writes it: the first-start lines and one empty line more.
std::string clearAllFile() {
    return crlfLines(firstStartSettings()) + "\r\n";
}

class Launcher : public testing::Test {
protected:
    void SetUp() override {
        if (!Desktop::available())
            GTEST_SKIP() << "Xvfb is not installed, so there is no display to run the launcher on";
        desktop = std::make_unique<Desktop>();
        // Listed in name order, letter case ignored: Comet Chase, deep cave, Harbor Run, maze.
        folder.write("Harbor Run.bin", std::string(512, 'h'));
        folder.write("Comet Chase.BIN", std::string(256, 'c'));
        folder.write("deep cave.Bin", std::string(128, 'd'));
        folder.write("maze.bin", std::string(64, 'm'));
        folder.write("marlo", recordingMarlo, true);
    }

    void TearDown() override {
        if (kestrin && kestrin->running())
            ADD_FAILURE() << "the launcher was still running at the end of the test";
    }

    // Starts kestrin in the folder and waits until its main window is shown and active.
    void start() {
        kestrin = std::make_unique<Process>(std::vector<std::string>{KESTRIN_PATH}, folder.path(),
                                            desktop->env());
        const auto found = desktop->findWindow("Kestrin v1.1");
        ASSERT_TRUE(found) << "no main window; stderr: " << kestrin->err();
        window = *found;
        ASSERT_TRUE(desktop->activate(window));
        // The accessibility bridge comes up a little after the window.
        ASSERT_TRUE(pollUntil([&] { return gameList().size() == 4; })) << dumpTree();
    }

    std::vector<Accessible> tree() const { return parseTree(desktop->accessibleTree("kestrin")); }

    std::string dumpTree() const {
        std::string text;
        for (const std::string& line : desktop->accessibleTree("kestrin"))
            text += line + "\n";
        return text;
    }

    // The entries of the visible game list, in order.
    std::vector<std::string> gameList() const {
        std::vector<std::string> names;
        for (const Accessible& a : tree())
            if (a.role == "list item")
                names.push_back(a.name);
        return names;
    }

    std::optional<std::string> selectedGame() const {
        for (const Accessible& a : tree())
            if (a.role == "list item" && a.states.find("selected") != std::string::npos)
                return a.name;
        return std::nullopt;
    }

    // The text of the message box with this title, once it is shown (polled for `limit`).
    std::optional<std::string> messageBox(const std::string& title,
                                          Clock::duration limit = 20s) const {
        std::optional<std::string> text;
        pollUntil(
            [&] {
                const auto nodes = tree();
                for (std::size_t i = 0; i < nodes.size(); ++i) {
                    if ((nodes[i].role != "dialog" && nodes[i].role != "alert") ||
                        nodes[i].name != title)
                        continue;
                    for (std::size_t j = i + 1; j < nodes.size() && nodes[j].depth > nodes[i].depth;
                         ++j)
                        if (nodes[j].role == "label" && !nodes[j].name.empty())
                            text = nodes[j].name;
                }
                return text.has_value();
            },
            limit);
        return text;
    }

    bool listHasFocus() const {
        for (const Accessible& a : tree())
            if (a.role == "list" && a.states.find("focused") != std::string::npos)
                return true;
        return false;
    }

    // Tabs from "Run &Game" past "E&xit" to the game list, then selects `game` with the arrow
    // keys.
    void selectWithKeys(const std::string& game = "deep cave") {
        for (int tabs = 0; tabs < 6 && !listHasFocus(); ++tabs) {
            desktop->key("Tab");
            pollUntil([&] { return listHasFocus(); }, 1s);
        }
        ASSERT_TRUE(listHasFocus()) << dumpTree();
        // The first Down selects a game (which one depends on whether the list had made its
        // first entry current on receiving the focus); then Up or Down walk to the game wanted.
        const std::vector<std::string> games = gameList();
        const auto target = std::find(games.begin(), games.end(), game) - games.begin();
        ASSERT_LT(target, static_cast<long>(games.size())) << game;
        desktop->key("Down");
        for (int steps = 0; steps < 10; ++steps) {
            pollUntil([&] { return selectedGame().has_value(); }, 2s);
            const auto selected = selectedGame();
            if (selected == game)
                break;
            const auto at =
                selected ? std::find(games.begin(), games.end(), *selected) - games.begin() : -1;
            desktop->key(at < target ? "Down" : "Up");
            pollUntil([&] { return selectedGame() != selected; }, 2s);
        }
        ASSERT_EQ(selectedGame(), game) << dumpTree();
    }

    std::vector<std::string> emulatorArguments() const {
        std::vector<std::string> args;
        std::istringstream in(folder.read("marlo.argv").value_or(""));
        for (std::string line; std::getline(in, line);)
            args.push_back(line);
        return args;
    }

    // Presses keys one after another, as a person would, leaving the window time to react.
    void keys(const std::vector<std::string>& sequence) {
        for (const std::string& k : sequence) {
            desktop->key(k);
            std::this_thread::sleep_for(150ms);
        }
    }

    // Activates the window with this title, as a person would click into it, then presses keys.
    void keysInWindow(const std::string& title, const std::vector<std::string>& sequence) {
        const auto found = desktop->findWindow(title, 10s);
        ASSERT_TRUE(found) << title << "\n" << dumpTree();
        ASSERT_TRUE(desktop->activate(*found)) << title;
        keys(sequence);
    }

    // Runs the selected game and waits until the emulator has recorded its arguments.
    void runAndWait(const std::vector<std::string>& expectedArguments) {
        folder.remove("marlo.argv");
        desktop->key("Return");
        EXPECT_TRUE(pollUntil([&] { return emulatorArguments() == expectedArguments; }))
            << testing::PrintToString(emulatorArguments());
    }

    void exitWithEsc() {
        desktop->key("Escape");
        EXPECT_EQ(kestrin->wait(20s), 0);
    }

    TempFolder folder;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<Process> kestrin;
    std::string window;
};

TEST_F(Launcher, ShowsTheFolderGamesInNameOrderWithNothingSelected) {
    start();
    EXPECT_THAT(gameList(), ElementsAre("Comet Chase", "deep cave", "Harbor Run", "maze"));
    EXPECT_EQ(selectedGame(), std::nullopt);
    // The scan's temporary files are gone once the window is up.
    for (const char* name : {"getlist.bat", "games.dat", "lgames.dat"})
        EXPECT_FALSE(folder.exists(name)) << name;
    exitWithEsc();
}

TEST_F(Launcher, EnterRunsTheSelectedGameWithItsNameWhole) {
    start();
    selectWithKeys("deep cave");
    desktop->key("Return");

    // The interpreter turns the short name back into the long one: one argument, blanks and all.
    const std::vector<std::string> deepCave{"-c0", "deep cave.Bin"};
    EXPECT_TRUE(pollUntil([&] { return emulatorArguments() == deepCave; }))
        << testing::PrintToString(emulatorArguments());
    EXPECT_EQ(folder.read("run.bat"), "marlo -c0 DEEPCA~1 \r\n");
    EXPECT_EQ(folder.read("config.dat"), crlfLines(firstStartSettings()));
    EXPECT_FALSE(folder.exists("results.dat"));

    // Back in the launcher, another game runs the same way.
    ASSERT_TRUE(desktop->activate(window));
    desktop->key("Down");
    ASSERT_TRUE(pollUntil([&] { return selectedGame() == "Harbor Run"; })) << dumpTree();
    desktop->key("Return");
    const std::vector<std::string> harborRun{"-c0", "Harbor Run.bin"};
    EXPECT_TRUE(pollUntil([&] { return emulatorArguments() == harborRun; }))
        << testing::PrintToString(emulatorArguments());
    EXPECT_EQ(folder.read("run.bat"), "marlo -c0 HARBOR~1 \r\n");
    exitWithEsc();
}

TEST_F(Launcher, ScanLineReportIsShownAndItsFileDeleted) {
    std::vector<std::string> settings = firstStartSettings();
    settings[12] = "1"; // Display Number of Scan Lines
    folder.write("config.dat", crlfLines(settings));
    start();
    selectWithKeys();
    desktop->key("Return");

    EXPECT_EQ(messageBox("Scanlines"), "Report one") << dumpTree();
    EXPECT_EQ(folder.read("run.bat"), "marlo -c0 -n DEEPCA~1  > results.dat\r\n");
    // The job has ended before the report was read, so the record is complete.
    EXPECT_THAT(emulatorArguments(), ElementsAre("-c0", "-n", "deep cave.Bin"));
    EXPECT_EQ(folder.read("config.dat"), crlfLines(settings));

    // OK closes the box; then the report's file is deleted.
    keysInWindow("Scanlines", {"Return"});
    EXPECT_TRUE(pollUntil([&] { return !messageBox("Scanlines", 0s).has_value(); }, 10s));
    EXPECT_TRUE(pollUntil([&] { return !folder.exists("results.dat"); }));
    ASSERT_TRUE(desktop->activate(window));
    exitWithEsc();
}

TEST_F(Launcher, CombinedReportShowsFirstAndThirdLine) {
    std::vector<std::string> settings = firstStartSettings();
    settings[12] = "1";   // Display Number of Scan Lines
    settings[14] = "500"; // Performance Test with 500 frames
    folder.write("config.dat", crlfLines(settings));
    start();
    selectWithKeys();
    desktop->key("Return");

    EXPECT_EQ(messageBox("Requested Information"), "Report one\\nReport three") << dumpTree();
    EXPECT_EQ(folder.read("run.bat"), "marlo -c0 -n -f500 DEEPCA~1  > results.dat\r\n");
    keysInWindow("Requested Information", {"Return"});
    EXPECT_TRUE(pollUntil([&] { return !folder.exists("results.dat"); }));
    ASSERT_TRUE(desktop->activate(window));
    exitWithEsc();
}

TEST_F(Launcher, SettingsMadeByMenuAndDialogSurviveARestartUntilClearAll) {
    start();
    // Options > Control > Joystick > Keyboard Only, by access keys.
    keys({"alt+o", "c", "j", "k"});
    // F5 opens the video dialog; a mode typed into its first field, Enter is Set.
    desktop->key("F5");
    keysInWindow("Video ", {"5", "Return"});
    ASSERT_TRUE(pollUntil([&] { return !desktop->findWindow("Video ", 0s); }, 10s));
    ASSERT_TRUE(desktop->activate(window));
    selectWithKeys();
    runAndWait({"-j0", "-v5", "-c0", "deep cave.Bin"});
    EXPECT_EQ(folder.read("run.bat"), "marlo -j0 -v5 -c0 DEEPCA~1 \r\n");
    std::vector<std::string> stored = firstStartSettings();
    stored[0] = " 1 ";
    stored[8] = "5";
    EXPECT_EQ(folder.read("config.dat"), crlfLines(stored));
    ASSERT_TRUE(desktop->activate(window));
    exitWithEsc();

    // The next start restores both.
    folder.remove("run.bat");
    start();
    selectWithKeys();
    runAndWait({"-j0", "-v5", "-c0", "deep cave.Bin"});
    EXPECT_EQ(folder.read("run.bat"), "marlo -j0 -v5 -c0 DEEPCA~1 \r\n");

    // F10 asks first; OK clears everything and writes the cleared file at once.
    ASSERT_TRUE(desktop->activate(window));
    desktop->key("F10");
    EXPECT_EQ(messageBox("Clear Options"), "This will clear all options. Do you wish to continue?");
    keysInWindow("Clear Options", {"Return"});
    EXPECT_TRUE(pollUntil([&] { return folder.read("config.dat") == clearAllFile(); }));
    ASSERT_TRUE(desktop->activate(window));
    exitWithEsc();

    // And the start after that is a first start again.
    start();
    selectWithKeys();
    runAndWait({"-c0", "deep cave.Bin"});
    EXPECT_EQ(folder.read("run.bat"), "marlo -c0 DEEPCA~1 \r\n");
    ASSERT_TRUE(desktop->activate(window));
    exitWithEsc();
}

TEST_F(Launcher, ChecksumOfTheRealStandInIsReported) {
    std::filesystem::copy_file(MARLO_PATH, folder.path() / "marlo",
                               std::filesystem::copy_options::overwrite_existing);
    start();
    // Options > Misc > Print Checksum, by access keys.
    keys({"alt+o", "m", "k"});
    selectWithKeys();
    // A checksum run reads results.dat after a fixed 0.5 s. On a loaded machine (or a sanitizer
    // build) the emulator may not have written it by then, and the box rightly says "Test not
    // complete"; such a run is repeated, at most twice, before the report must be there.
    const std::string title = "Checksum Information for deep cave";
    std::optional<std::string> report;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_TRUE(desktop->activate(window));
        desktop->key("Return");
        report = messageBox(title);
        if (report != "Test not complete\\n")
            break;
        keysInWindow(title, {"Return"});
        ASSERT_TRUE(pollUntil([&] { return !messageBox(title, 0s).has_value(); }, 10s));
    }
    // 128 bytes of 'd'.
    EXPECT_EQ(report, "CRC-32: 6EF70E30\\nSize: 128 bytes") << dumpTree();
    EXPECT_EQ(folder.read("run.bat"), "marlo -x -c0 DEEPCA~1  > results.dat\r\n");
    keysInWindow("Checksum Information for deep cave", {"Return"});
    EXPECT_TRUE(pollUntil([&] { return !folder.exists("results.dat"); }));
    ASSERT_TRUE(desktop->activate(window));
    exitWithEsc();
}

TEST_F(Launcher, EscEndsTheProgramAndWritesNothing) {
    start();
    const auto before = folder.snapshot();
    // From the game list, with a game selected: still nothing is saved.
    selectWithKeys();
    desktop->key("Escape");
    EXPECT_EQ(kestrin->wait(20s), 0);
    EXPECT_EQ(folder.snapshot(), before);
    EXPECT_FALSE(folder.exists("config.dat"));
}

} // namespace
