// The launcher as a user meets it: started in a folder of game images on a virtual display,
// driven by keys, checked through the files it writes, the command line the emulator receives
// and what its windows show.
#include "desktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

using namespace e2e;
using testing::ElementsAre;
using Lines = std::vector<std::string>;

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
const Lines firstStart = {"0", "0", "",  "",  "0", "0", "", "",  "0", "0", "0", "0",
                          "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "0"};

// The same with the joystick set to Keyboard Only and video mode 5.
const Lines keyboardAndVideo5 = [] {
    Lines lines = firstStart;
    lines[0] = " 1 ";
    lines[8] = "5";
    return lines;
}();

// Keyboard Only, video mode 5, speed 60 and keyboard emulation on without a side.
const Lines allDialogsSet = [] {
    Lines lines = keyboardAndVideo5;
    lines[13] = "60";
    lines[20] = "1";
    return lines;
}();

const std::string mainWindow = "Kestrin v1.1";

std::string crlf(const Lines& lines) {
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
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrin-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        desktop = std::make_unique<Desktop>();
        // Listed in name order, letter case ignored: Comet Chase, deep cave, Harbor Run, maze.
        write("Harbor Run.bin", std::string(512, 'h'));
        write("Comet Chase.BIN", std::string(256, 'c'));
        write("deep cave.Bin", std::string(128, 'd'));
        write("maze.bin", std::string(64, 'm'));
        write("marlo", recordingMarlo);
        std::filesystem::permissions(folder / "marlo", std::filesystem::perms::owner_all);
    }
    void TearDown() override {
        kestrin.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    std::optional<std::string> read(const std::string& name) const {
        return readFile(folder / name);
    }

    // Starts kestrin in the folder and waits until its main window is shown, active and read.
    void start() {
        kestrin = std::make_unique<Process>(Lines{KESTRIN_PATH}, folder);
        keysInWindow(mainWindow, {});
        // The accessibility bridge comes up a little after the window.
        ASSERT_TRUE(pollUntil([&] { return games().size() == 4; }));
    }

    // The names of the objects of this role that have `state`, in order.
    Lines named(const std::string& role, const std::string& state = "") const {
        Lines names;
        for (const Accessible& a : desktop->tree("kestrin"))
            if (a.role == role && a.states.find(state) != std::string::npos)
                names.push_back(a.name);
        return names;
    }
    Lines games(const std::string& state = "") const { return named("list item", state); }

    // Tabs to the game list; the first Down selects its first game, the second Down the next.
    void selectDeepCave() const {
        const auto listFocused = [&] { return !named("list", "focused").empty(); };
        for (int tabs = 0; tabs < 6 && !listFocused(); ++tabs) {
            desktop->key("Tab");
            pollUntil(listFocused, 1s);
        }
        for (const std::string game : {"Comet Chase", "deep cave"}) {
            desktop->key("Down");
            ASSERT_TRUE(pollUntil([&] { return games("selected") == Lines{game}; }, 5s)) << game;
        }
    }

    // The text of the message box with this title, once it is shown.
    std::optional<std::string> messageBox(const std::string& title,
                                          Clock::duration limit = 20s) const {
        std::optional<std::string> text;
        pollUntil(
            [&] {
                const auto nodes = desktop->tree("kestrin");
                for (std::size_t i = 0; i < nodes.size(); ++i)
                    if ((nodes[i].role == "dialog" || nodes[i].role == "alert") &&
                        nodes[i].name == title)
                        for (std::size_t j = i + 1;
                             j < nodes.size() && nodes[j].depth > nodes[i].depth; ++j)
                            if (nodes[j].role == "label" && !nodes[j].name.empty())
                                text = nodes[j].name;
                return text.has_value();
            },
            limit);
        return text;
    }

    // Activates the window with this title, as a person would click into it, and presses keys
    // one after another, leaving it time to react.
    void keysInWindow(const std::string& title, const Lines& keys) const {
        const auto found = desktop->findWindow(title);
        ASSERT_TRUE(found && desktop->activate(*found)) << title;
        for (const std::string& k : keys) {
            desktop->key(k);
            std::this_thread::sleep_for(150ms);
        }
    }

    Lines emulatorArguments() const {
        Lines args;
        std::istringstream in(read("marlo.argv").value_or(""));
        for (std::string line; std::getline(in, line);)
            args.push_back(line);
        return args;
    }

    // Enter runs the selected game; polled until the emulator has recorded its arguments.
    void runExpecting(const Lines& arguments, const std::string& runBat) {
        std::filesystem::remove(folder / "marlo.argv");
        desktop->key("Return");
        EXPECT_TRUE(pollUntil([&] { return emulatorArguments() == arguments; }))
            << testing::PrintToString(emulatorArguments());
        EXPECT_EQ(read("run.bat"), runBat);
    }

    void exitWithEsc() {
        keysInWindow(mainWindow, {"Escape"});
        EXPECT_EQ(kestrin->wait(20s), 0);
    }

    std::filesystem::path folder;
    std::unique_ptr<Desktop> desktop;
    std::unique_ptr<Process> kestrin;
};

TEST_F(Launcher, ShowsTheFolderGamesInNameOrderWithNothingSelected) {
    start();
    EXPECT_THAT(games(), ElementsAre("Comet Chase", "deep cave", "Harbor Run", "maze"));
    EXPECT_EQ(games("selected"), Lines{});
    // The scan's temporary files are gone once the window is up.
    for (const char* name : {"getlist.bat", "games.dat", "lgames.dat"})
        EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    exitWithEsc();
}

TEST_F(Launcher, EnterRunsTheSelectedGameWithItsNameWhole) {
    start();
    selectDeepCave();
    // The interpreter turns the short name back into the long one: one argument, blanks and all.
    runExpecting({"-c0", "deep cave.Bin"}, "marlo -c0 DEEPCA~1 \r\n");
    EXPECT_EQ(read("config.dat"), crlf(firstStart));
    EXPECT_FALSE(std::filesystem::exists(folder / "results.dat"));
    exitWithEsc();
}

TEST_F(Launcher, ReportIsReadIntoAMessageBoxAndItsFileDeleted) {
    Lines settings = firstStart;
    settings[12] = "1";   // Display Number of Scan Lines
    settings[14] = "500"; // Performance Test with 500 frames
    write("config.dat", crlf(settings));
    start();
    selectDeepCave();
    desktop->key("Return");
    // The first and the third line of results.dat.
    EXPECT_EQ(messageBox("Requested Information"), "Report one\\nReport three");
    EXPECT_EQ(read("run.bat"), "marlo -c0 -n -f500 DEEPCA~1  > results.dat\r\n");
    EXPECT_THAT(emulatorArguments(), ElementsAre("-c0", "-n", "-f500", "deep cave.Bin"));
    // OK closes the box; then the report's file is deleted.
    keysInWindow("Requested Information", {"Return"});
    EXPECT_TRUE(pollUntil([&] { return !std::filesystem::exists(folder / "results.dat"); }));
    exitWithEsc();
}

TEST_F(Launcher, EscEndsTheProgramAndWritesNothing) {
    start();
    const auto files = [&] {
        std::map<std::string, std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            all[entry.path().filename()] = readFile(entry.path()).value_or("");
        return all;
    };
    const auto before = files();
    selectDeepCave();
    desktop->key("Escape");
    EXPECT_EQ(kestrin->wait(20s), 0);
    EXPECT_EQ(files(), before);
}

TEST_F(Launcher, SettingsMadeByMenuAndDialogKeysSurviveARestart) {
    start();
    // Options > Control > Joystick > Keyboard Only, by access keys.
    keysInWindow(mainWindow, {"alt+o", "c", "j", "k"});
    // Each dialog opens on its function key with the focus on its first field; Enter is Set.
    const auto setInDialog = [&](const char* key, const std::string& title, const Lines& keys,
                                 const std::string& checkedBox) {
        desktop->key(key);
        keysInWindow(title, keys);
        if (!checkedBox.empty()) {
            EXPECT_TRUE(pollUntil(
                [&] {
                    const Lines checked = named("check box", "checked");
                    return std::find(checked.begin(), checked.end(), checkedBox) != checked.end();
                },
                5s))
                << checkedBox;
        }
        desktop->key("Return");
        ASSERT_TRUE(pollUntil([&] { return !desktop->findWindow(title, 0s); }, 10s)) << title;
        keysInWindow(mainWindow, {});
    };
    setInDialog("F5", "Video ", {"5"}, "");
    setInDialog("F6", "Performance", {"6", "0"}, "");
    // Each enable box switched on clears the one before: keyboard emulation wins, no side chosen.
    setInDialog("F7", "Paddle ", {"space"}, "Enable Paddle");
    setInDialog("F8", "Lightgun", {"space"}, "Enable Lightgun");
    setInDialog("F9", "Keyboard Emulation", {"space"}, "Enable Keyboard Emulation");
    selectDeepCave();
    runExpecting({"-j0", "-v5", "-c0", "-r60", "deep cave.Bin"},
                 "marlo -j0 -v5 -c0 -r60 DEEPCA~1 \r\n");
    EXPECT_EQ(read("config.dat"), crlf(allDialogsSet));
    exitWithEsc();

    // The restart restores every setting; the stored side "0" now selects "Left ".
    std::filesystem::remove(folder / "run.bat");
    start();
    selectDeepCave();
    runExpecting({"-j0", "-v5", "-c0", "-r60", "-y1", "deep cave.Bin"},
                 "marlo -j0 -v5 -c0 -r60 -y1 DEEPCA~1 \r\n");
    EXPECT_EQ(read("config.dat"), crlf(allDialogsSet));
    exitWithEsc();
}

TEST_F(Launcher, ClearAllThenRestartIsAFirstStart) {
    write("config.dat", crlf(keyboardAndVideo5));
    start();
    // F10 asks first; OK clears everything and writes the cleared file (one empty line more).
    desktop->key("F10");
    EXPECT_EQ(messageBox("Clear Options"), "This will clear all options. Do you wish to continue?");
    keysInWindow("Clear Options", {"Return"});
    EXPECT_TRUE(pollUntil([&] { return read("config.dat") == crlf(firstStart) + "\r\n"; }));
    exitWithEsc();

    start();
    selectDeepCave();
    runExpecting({"-c0", "deep cave.Bin"}, "marlo -c0 DEEPCA~1 \r\n");
    EXPECT_EQ(read("config.dat"), crlf(firstStart));
    exitWithEsc();
}

} // namespace
