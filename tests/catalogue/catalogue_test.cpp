#include "catalogue/game_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

TEST(CuttingRules, OneLineGivesADisplayNameOrAShortName) {
    const struct {
        std::string_view (*cut)(std::string_view);
        std::string line, expected;
    } rows[] = {
        {displayNameOf, "Harbor Run.bin", "Harbor Run"},
        {displayNameOf, "mIxEd.bIn", "mIxEd"},
        {displayNameOf, "a.bin.b.bin", "a"},
        {displayNameOf, "x.binary.bin", "x"}, // the first ".bin", even inside a word
        {displayNameOf, "dots...bin", "dots.."},
        {displayNameOf, ".bin", ".bin"}, // a cut would leave nothing: the line stays whole
        {displayNameOf, "almost.bi", "almost.bi"},
        {shortNameOf, "HARBOR~1 BIN  Harbor Run.bin", "HARBOR~1 "},
        {shortNameOf, "GAME     BIN  game.bin", "GAME "},
        {shortNameOf, "    2 files", " "},
        {shortNameOf, "NOBLANK", "NOBLANK"},
        {shortNameOf, "TAB\tBIN X", "TAB\tBIN "}, // only a blank separates
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(row.cut(row.line), row.expected);
    }
}

TEST(CuttingRules, AListingGivesOneEntryPerLineAfterTheFullListingsHeader) {
    const Lines header{"GAME     BIN x", "", " Volume", "HARBOR~1 BIN", "Z.bin"};
    Lines full = header;
    full.insert(full.end(), {"HARBOR~1 BIN  Harbor Run.bin", "GAME     BIN  g.bin", "    2 files"});
    const struct {
        Lines (*cut)(Lines);
        Lines listing, expected;
    } rows[] = {
        {displayNamesFromListing,
         {"Zeta.bin", "readme", ".bin", ""},
         {"Zeta", "readme", ".bin", ""}},
        // Summary lines become entries too, so that the games' indexes stay aligned.
        {shortNamesFromListing, full, {"HARBOR~1 ", "GAME ", " "}},
        {shortNamesFromListing, header, {}},
        {shortNamesFromListing, {"a b", "c d", "e f"}, {}},
        {shortNamesFromListing, {}, {}},
        {shortNamesFromListing, {"1", "2", "3", "4", "5", ""}, {""}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.listing));
        EXPECT_EQ(row.cut(row.listing), row.expected);
    }
}

// A folder and an interpreter in memory. A job writes its listing only when it is waited for,
// as a slow real one would. `steps` counts the jobs: s started, w waited for, p paused.
struct FakeSystem : Files, Jobs {
    std::optional<std::string> replace(const std::string& name, std::string_view text) override {
        if (name == broken)
            return "Permission denied";
        files[name] = {std::string(text)};
        log.push_back("write " + name + ": " + std::string(text));
        return std::nullopt;
    }
    std::optional<Lines> readLines(const std::string& name, std::size_t lines,
                                   std::size_t bytes) override {
        const bool bounded = lines == listingMaxLines && bytes == listingMaxLineBytes;
        log.push_back("read " + name + (bounded ? "" : " without bounds"));
        if (name == broken || !files.count(name))
            return std::nullopt;
        return files[name];
    }
    void remove(const std::string& name) override {
        log.push_back("remove " + name);
        files.erase(name);
    }
    std::optional<TaskId> start(const std::string& batch, WindowStyle style, bool loud) override {
        if (failToStart)
            return std::nullopt;
        ran.push_back(files.count(batch) ? files[batch].front() : "");
        const TaskId task = 40 + ran.size();
        log.push_back("start " + std::to_string(task) + " style " +
                      std::to_string(static_cast<int>(style)) + (loud ? " loud: " : ": ") +
                      ran.back());
        steps += 's';
        return task;
    }
    void waitUntilEnded(TaskId task) override {
        log.push_back("wait " + std::to_string(task));
        steps += 'w';
        if (ran.at(task - 41) == "dir /On /b *.bin > games.dat\r\n")
            files["games.dat"] = bare;
        if (ran.at(task - 41) == "dir /On *.bin > lgames.dat\r\n")
            files["lgames.dat"] = full;
    }
    void waitForUserReturn(TaskId) override { steps += '?'; }
    void pause(double seconds) override {
        log.push_back("pause " + std::to_string(static_cast<int>(seconds * 1000)) + "ms");
        steps += 'p';
    }

    Lines log, bare, full, ran;
    std::string steps;
    std::map<std::string, Lines> files;
    std::string broken; // cannot be written or read
    bool failToStart = false;
};

TEST(ScanGames, RunsBothListingsOneAfterTheOtherAndCleansUp) {
    FakeSystem fake;
    fake.bare = {"Harbor Run.bin", "pong.BIN"};
    fake.full = {"",
                 " Volume",
                 "",
                 " Directory of C:\\GAMES",
                 "",
                 "HARBOR~1 BIN  Harbor Run.bin",
                 "PONG     BIN  pong.BIN",
                 "    2 files"};
    fake.files["getlist.bat"] = {"stale content\r\n"};

    const GameCatalogue catalogue = scanGames(fake, fake);

    EXPECT_EQ(catalogue.displayNames, (Lines{"Harbor Run", "pong"}));
    EXPECT_EQ(catalogue.shortNames, (Lines{"HARBOR~1 ", "PONG ", " "}));
    // Style 0 keeps the focus on the splash window, style 1 gives it to the job.
    EXPECT_EQ(fake.log, (Lines{
                            "write getlist.bat: dir /On /b *.bin > games.dat\r\n",
                            "start 41 style 0: dir /On /b *.bin > games.dat\r\n",
                            "wait 41",
                            "pause 100ms",
                            "write getlist.bat: dir /On *.bin > lgames.dat\r\n",
                            "start 42 style 1: dir /On *.bin > lgames.dat\r\n",
                            "wait 42",
                            "pause 100ms",
                            "remove getlist.bat",
                            "read lgames.dat",
                            "read games.dat",
                            "remove lgames.dat",
                            "remove games.dat",
                        }));
    EXPECT_TRUE(fake.files.empty()) << "temporary files left behind";
}

TEST(ScanGames, AFailedStepIsSkippedAndEmptiesOnlyWhatItFeeds) {
    const struct {
        std::string broken;
        bool failToStart;
        std::string steps;
        Lines displayNames, shortNames;
        std::string problem;
    } rows[] = {
        {"lgames.dat", false, "swpswp", {"a"}, {}, ""},
        {"games.dat", false, "swpswp", {}, {"A "}, ""},
        // An old getlist.bat may hold anything: without a fresh one nothing is started.
        {"getlist.bat", false, "pp", {}, {}, "could not save getlist.bat: Permission denied"},
        // A job that never started is not waited for.
        {"", true, "pp", {}, {}, "the command interpreter kestrin-cmd could not be started"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.broken + (row.failToStart ? " start fails" : ""));
        FakeSystem fake;
        fake.bare = {"a.bin"};
        fake.full = {"1", "2", "3", "4", "5", "A        BIN  a.bin"};
        fake.files["getlist.bat"] = {"old content"};
        fake.broken = row.broken;
        fake.failToStart = row.failToStart;
        const GameCatalogue catalogue = scanGames(fake, fake);
        EXPECT_EQ(catalogue.displayNames, row.displayNames);
        EXPECT_EQ(catalogue.shortNames, row.shortNames);
        EXPECT_EQ(fake.steps, row.steps);
        EXPECT_EQ(catalogue.problem, row.problem);
        EXPECT_TRUE(fake.files.empty()) << "temporary files left behind";
    }
}

} // namespace
} // namespace kestrin
