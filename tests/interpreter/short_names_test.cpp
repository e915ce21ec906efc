#include "interpreter/names.h"
#include "interpreter/program.h"
#include "interpreter/short_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace kestrin::cmd {
namespace {

using Names = std::vector<std::string>;
using ShortNames = std::map<std::string, std::string>; // long name -> short name

// The short names of a folder holding `names`.
ShortNames shortNamesOf(Names names) {
    sortByName(names);
    const std::vector<ShortName> shortNames = deriveShortNames(names);
    ShortNames result;
    for (std::size_t i = 0; i < names.size(); ++i)
        result[names[i]] = shortNames.at(i).text();
    return result;
}

// Each row is a folder: its names and the short names they must get.
TEST(ShortNames, OfWholeFolders) {
    const ShortNames folders[] = {
        // Names already 8.3 keep their upper-case form.
        {{"demo.bin", "DEMO.BIN"},
         {"README", "README"},
         {"Pac-Man.Bin", "PAC-MAN.BIN"},
         {"a_b~1.x", "A_B~1.X"}},
        // Others get six characters, "~" and a number; blanks and all dots but the last go.
        {{"Harbor Run.bin", "HARBOR~1.BIN"},
         {"abcdefghi.bin", "ABCDEF~1.BIN"},
         {"a.binary", "A~1.BIN"},
         {"abc.", "ABC~1"},
         {"a.b.c", "AB~1.C"},
         {"no extension at all", "NOEXTE~1"}},
        // A character an 8.3 name cannot hold becomes one underscore.
        {{"a+b,c.bin", "A_B_C~1.BIN"}, {"[q].bin", "_Q_~1.BIN"}, {"Ünï.bin", "_N_~1.BIN"}},
        // Collisions are numbered in name order.
        {{"Harbor Race.bin", "HARBOR~1.BIN"},
         {"harbor run.bin", "HARBOR~2.BIN"},
         {"Harbor Rush.bin", "HARBOR~3.BIN"},
         {"Harbor X.txt", "HARBOR~4.TXT"}},
        // Names differing only in case: byte order gives the 8.3 name to the first.
        {{"DEMO.bin", "DEMO.BIN"}, {"Demo.Bin", "DEMO~1.BIN"}, {"demo.BIN", "DEMO~2.BIN"}},
        // A generated name never takes the name of a file that has it by right.
        {{"Harbor Run.bin", "HARBOR~2.BIN"},
         {"harbor~1.bin", "HARBOR~1.BIN"},
         {"Harbor Rush.bin", "HARBOR~3.BIN"}},
        // Leading dots and empty bases; empty bases share the stem "_".
        {{"   .bin", "_~1.BIN"},
         {"...", "_~2"},
         {"..x.bin", "X~1.BIN"},
         {".bin", "_~3.BIN"},
         {".hidden", "_~4.HID"}},
    };
    for (const ShortNames& expected : folders) {
        Names names;
        for (const auto& [longName, shortName] : expected)
            names.push_back(longName);
        SCOPED_TRACE(::testing::PrintToString(names));
        EXPECT_EQ(shortNamesOf(names), expected);
    }
}

TEST(ShortNames, TheStemShrinksWhenTheNumberNeedsMoreDigits) {
    Names names;
    for (char c = 'a'; c <= 'l'; ++c)
        names.push_back(std::string("Harbor Run ") + c + ".bin");
    const ShortNames shortNames = shortNamesOf(names);
    EXPECT_EQ(shortNames.at("Harbor Run a.bin"), "HARBOR~1.BIN");
    EXPECT_EQ(shortNames.at("Harbor Run i.bin"), "HARBOR~9.BIN");
    EXPECT_EQ(shortNames.at("Harbor Run j.bin"), "HARBO~10.BIN");
    EXPECT_EQ(shortNames.at("Harbor Run l.bin"), "HARBO~12.BIN");
}

TEST(ShortNames, AreUniqueWellFormedAndTheSameForTheSameFolder) {
    Names names = {"Harbor Run.bin",
                   "harbor run.BIN",
                   "a b c d e f g h.bin",
                   "&%'.bin",
                   ".bin",
                   "x",
                   "X.",
                   "ß.bin",
                   "Game.bin",
                   "GAME.BIN",
                   std::string(251, 'n') + ".bin"};
    for (int i = 0; i < 40; ++i)
        names.push_back("Collide " + std::to_string(i) + ".bin");
    Names shuffled = names;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    const ShortNames first = shortNamesOf(names);
    EXPECT_EQ(first, shortNamesOf(shuffled));
    std::set<std::string> seen;
    for (const auto& [longName, shortName] : first) {
        EXPECT_TRUE(seen.insert(shortName).second) << shortName << " given twice";
        EXPECT_TRUE(isValidShortName(shortName)) << longName << " -> " << shortName;
    }
}

TEST(ArgumentResolution, ShortNamesInAnyCaseWithOrWithoutExtensionBecomeLongNames) {
    Names folder = {"Harbor Run.bin", "Harbor Run.txt", "readme",
                    "readme.bin",     "demo.BIN",       "Some Folder"};
    sortByName(folder);
    const ShortNameIndex index(folder, deriveShortNames(folder));
    const std::vector<std::pair<Names, Names>> rows = {
        {{"marlo", "-c0", "HARBOR~1", "harbor~1", "Harbor~1.Bin", "HARBOR~2.TXT"},
         {"marlo", "-c0", "Harbor Run.bin", "Harbor Run.bin", "Harbor Run.bin", "Harbor Run.txt"}},
        {{"marlo", "DEMO", "demo.bin"}, {"marlo", "demo.BIN", "demo.BIN"}},
        // A base alone names the .bin file first, then the name without extension.
        {{"marlo", "README", "README.BIN"}, {"marlo", "readme.bin", "readme.bin"}},
        {{"marlo", "SOMEFO~1", "HARBOR~2"}, {"marlo", "Some Folder", "HARBOR~2"}},
        // The program name, switches and unknown words stay.
        {{"HARBOR~1", "-HARBOR~1", "-", "HARBOR~9", "Harbor Run.bin", "", "&", "HARBOR~1.BIN.BIN"},
         {"HARBOR~1", "-HARBOR~1", "-", "HARBOR~9", "Harbor Run.bin", "", "&", "HARBOR~1.BIN.BIN"}},
    };
    for (const auto& [words, expected] : rows) {
        SCOPED_TRACE(::testing::PrintToString(words));
        EXPECT_EQ(resolveArguments(words, index), expected);
    }
}

} // namespace
} // namespace kestrin::cmd
