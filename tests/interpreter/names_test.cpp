#include "interpreter/names.h"
#include "interpreter/short_names.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrin::cmd {
namespace {

using Names = std::vector<std::string>;

// Control and reserved characters and bad UTF-8 leave a name out of listings.
TEST(FileNames, ListableNames) {
    for (const std::string name : {"Harbor Run.bin", "a&b.bin", "100%.bin", "-x.bin", ".bin",
                                   "Ünïcode 日本 🎮.bin", "a+b,c;d=e[f].bin", "\xc2\x9b"})
        EXPECT_TRUE(isListableName(name)) << name;
    for (const std::string name :
         {"tab\tx", "cr\r", "del\x7f", "a\\b", "c:d", "*", "q?", "\"", "<", ">", "|", "", ".", "..",
          "\xff.bin", "\xc0\xaf.bin", "\xed\xa0\x80.bin", "\xc3.bin", "\xf4\x90\x80\x80.bin"})
        EXPECT_FALSE(isListableName(name)) << name;
}

// ASCII letters folded, then ties broken by the bytes as they are; names that begin alike for
// more than eight bytes, and a name that ends where another goes on.
TEST(FileNames, NameOrderIgnoresCaseAndBreaksTiesByBytes) {
    const Names sorted = {
        "ax", "BB", "Bb",      "bB", "game number 0001", "GAME NUMBER 0001A", "Game number 0001b",
        "z",  "_x", "\xc3\x9c"};
    Names names(sorted.rbegin(), sorted.rend());
    std::swap(names[2], names[6]);
    sortByName(names);
    EXPECT_EQ(names, sorted);
}

// The short names of a folder holding `names`, each as "LONG NAME=SHORT.EXT".
std::set<std::string> shortNamesOf(Names names) {
    sortByName(names);
    const std::vector<ShortName> shortNames = deriveShortNames(names);
    std::set<std::string> result;
    for (std::size_t i = 0; i < names.size(); ++i)
        result.insert(names[i] + "=" + shortNames.at(i).text());
    return result;
}

// Each row is a folder: its names with the short names they must get.
TEST(FileNames, ShortNamesOfWholeFolders) {
    const std::set<std::string> folders[] = {
        // Names already 8.3 keep their upper-case form; others get six characters, "~" and a
        // number; blanks and all dots but the last go.
        {"demo.bin=DEMO.BIN", "README=README", "Pac-Man.Bin=PAC-MAN.BIN", "a_b~1.x=A_B~1.X",
         "Harbor Run.bin=HARBOR~1.BIN", "a.binary=A~1.BIN", "abc.=ABC~1", "a.b.c=AB~1.C"},
        // One "_" for each character an 8.3 name cannot hold; empty bases share the stem "_".
        {"a+b,c.bin=A_B_C~1.BIN", "Ünï.bin=_N_~1.BIN", "   .bin=_~1.BIN", ".bin=_~2.BIN"},
        // Numbered in name order; a generated name never takes one a file has by right; of
        // names differing only in case the first in byte order keeps its own.
        {"Harbor Race.bin=HARBOR~2.BIN", "harbor run.bin=HARBOR~3.BIN", "harbor~1.bin=HARBOR~1.BIN",
         "Harbor X.txt=HARBOR~4.TXT", "DEMO.bin=DEMO.BIN", "Demo.Bin=DEMO~1.BIN"},
        // No short name begins with "-": such names come after all others, so that no other
        // name's number changes.
        {"-x.bin=_X~2.BIN", "[x.bin=_X~1.BIN", "--help.bin=_-HELP~1.BIN", "-j0=_J0~1",
         "-.bin=_~2.BIN", "..bin=_~1.BIN", " -c0.bin=_C0~1.BIN"},
    };
    for (const auto& expected : folders) {
        Names names;
        for (const std::string& pair : expected)
            names.push_back(pair.substr(0, pair.find('=')));
        EXPECT_EQ(shortNamesOf(names), expected);
    }
}

// The stem gives way to longer numbers ("HARBO~10"), where stems that begin alike meet: each
// then goes on after the numbers the others took.
TEST(FileNames, ShortNamesWhereNumberedStemsMeet) {
    Names names;
    for (int i = 1001; i <= 1120; ++i)
        for (const char* stem : {"Harboa ", "Harbob ", "Harboc "})
            if (i <= 1010 || stem[5] == 'a')
                names.push_back(stem + std::to_string(i) + ".bin");
    const std::set<std::string> shortNames = shortNamesOf(names);
    for (const char* pair : {"Harboa 1009.bin=HARBOA~9.BIN", "Harboa 1011.bin=HARBO~11.BIN",
                             "Harboa 1120.bin=HARB~120.BIN", "Harbob 1009.bin=HARBOB~9.BIN",
                             "Harbob 1010.bin=HARB~121.BIN", "Harboc 1010.bin=HARB~122.BIN"})
        EXPECT_EQ(shortNames.count(pair), 1u) << pair;
}

} // namespace
} // namespace kestrin::cmd
