#include "catalogue/game_catalogue.h"

#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

// Display names end before the first ".bin" in any letter case, unless that would leave
// nothing; short names end after the first blank (not a tab). The header never gives entries;
// the summary line does, so that the indexes stay aligned.
const std::string bare =
                      "Harbor Run.bin\r\nmIxEd.bIn.b.bin\r\nx.binary.bin\r\n.bin\r\nalmost.bi\r\n",
                  full = "\r\n Volume\r\n\r\nHARBOR~1 BIN\r\n\r\nHARBOR~1 BIN  Harbor Run.bin\r\n"
                         "MIXED    BIN\r\nTAB\tBIN X\r\nNOBLANK\r\n    2 files\r\n";
const Lines displayNames = {"Harbor Run", "mIxEd", "x", ".bin", "almost.bi"},
            shortNames = {"HARBOR~1 ", "MIXED ", "TAB\tBIN ", "NOBLANK", " "};

Lines linesOf(const PackedLines& packed) {
    Lines lines;
    for (std::size_t i = 0; i < packed.size(); ++i)
        lines.emplace_back(packed[i]);
    return lines;
}

// The interpreter in memory: each listing job writes its listing when it ends.
struct Folder : testing::FakePlatform {
    Folder() {
        jobs = {{[this] { files["games.dat"] = bare; }}, {[this] { files["lgames.dat"] = full; }}};
        files["getlist.bat"] = "stale";
    }
};

// Whichever step fails, no list is built from a listing that proves nothing and the reason is
// kept; jobs show no errors themselves; a listing that is a link is not read.
// getlist.bat is written anew while the first job runs only once that job holds it open.
TEST(ScanGames, ListsTheGamesOrNamesTheStepThatFailed) {
    for (const bool holding : {false, true}) {
        Folder folder;
        folder.holding = holding;
        const GameCatalogue catalogue = scanGames(folder, folder);
        EXPECT_EQ(linesOf(catalogue.displayNames), displayNames);
        // Style 0 keeps the focus on the splash window, style 1 gives it to the job.
        const Lines second = {"replace getlist.bat", "start getlist.bat 1", "pause 0.1"};
        Lines expected = {"replace getlist.bat", "start getlist.bat 0", "pause 0.1",
                          "holds 1 getlist.bat", "wait 1"};
        expected.insert(expected.end() - holding, second.begin(), second.end());
        for (const char* step : {"wait 2", "remove getlist.bat", "read lgames.dat",
                                 "read games.dat", "remove lgames.dat", "remove games.dat"})
            expected.push_back(step);
        EXPECT_EQ(folder.log, expected) << holding;
    }
    // {what is broken, how each listing job fails, what the user is told}
    // clang-format off
    const std::tuple<std::string, std::optional<std::string>, std::optional<std::string>, std::string> rows[] = {
        {"", {}, {}, ""}, {"games.dat", {}, {}, ""}, {"", "first", "second", "first"},
        {"getlist.bat", {}, {}, "could not save getlist.bat: Permission denied"},
        {"start", {}, {}, "the command interpreter kestrin-cmd could not be started"},
        {"", "games.dat: no file", {}, "games.dat: no file"}, {"", {}, "lgames.dat: no file", "lgames.dat: no file"}};
    // clang-format on
    for (const auto& [broken, first, second, problem] : rows) {
        Folder folder;
        folder.unwritable[broken] = "Permission denied";
        folder.links = {broken};
        folder.jobs[0].failure = first;
        folder.jobs[1].failure = second;
        folder.jobs[0].startFails = folder.jobs[1].startFails = broken == "start";
        const GameCatalogue catalogue = scanGames(folder, folder);
        EXPECT_EQ(catalogue.problem, problem);
        EXPECT_EQ(linesOf(catalogue.displayNames), problem + broken == "" ? displayNames : Lines{});
        EXPECT_EQ(linesOf(catalogue.shortNames), problem.empty() ? shortNames : Lines{}) << problem;
        EXPECT_TRUE(folder.files.empty() && folder.boxes.shown.empty()) << problem;
    }
}

TEST(ReadListings, AMillionGamesListedAndTheRestCounted) {
    std::string many;
    for (int i = 0; i < 1'000'003; ++i)
        many += "g.bin\n";
    testing::FakePlatform folder;
    folder.files = {{"games.dat", many}};
    const GameCatalogue catalogue = readListings(folder);
    EXPECT_EQ(catalogue.displayNames.size(), 1'000'000u);
    EXPECT_EQ(std::string(catalogue.displayNames[999'999]) + std::to_string(catalogue.notListed),
              "g3");
}

} // namespace
} // namespace kestrin
