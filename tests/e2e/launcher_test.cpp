// The launcher as a user meets it: started in a folder of game images on a virtual display,
// driven by keys, checked through the files it writes, the command line the emulator receives
// and what its windows show.
#include "desktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

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

    // Tab from "Run &Game" past "E&xit" to the game list, then Down onto a game.
    void selectWithKeys() {
        desktop->key("Tab");
        desktop->key("Tab");
        desktop->key("Down");
        ASSERT_TRUE(pollUntil([&] { return selectedGame().has_value(); })) << dumpTree();
    }

    std::vector<std::string> emulatorArguments() const {
        std::vector<std::string> args;
        std::istringstream in(folder.read("marlo.argv").value_or(""));
        for (std::string line; std::getline(in, line);)
            args.push_back(line);
        return args;
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
    selectWithKeys();
    const std::string game = selectedGame().value_or("");
    ASSERT_EQ(game, "deep cave") << "Tab, Tab, Down should land on the second game";
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
    desktop->key("Return");
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
    desktop->key("Return");
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
