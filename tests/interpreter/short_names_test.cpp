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

// Short names of a folder holding `names`, by long name.
std::map<std::string, std::string> shortNamesOf(std::vector<std::string> names) {
    sortByName(names);
    const std::vector<ShortName> shortNames = deriveShortNames(names);
    std::map<std::string, std::string> result;
    for (std::size_t i = 0; i < names.size(); ++i) {
        result[names[i]] = shortNames[i].text();
    }
    return result;
}

TEST(ShortNames, NamesThatAreAlready83KeepTheirUpperCaseForm) {
    const auto shortNames = shortNamesOf({"demo.bin", "README", "Pac-Man.Bin", "a_b~1.x", "7.z"});
    EXPECT_EQ(shortNames.at("demo.bin"), "DEMO.BIN");
    EXPECT_EQ(shortNames.at("README"), "README");
    EXPECT_EQ(shortNames.at("Pac-Man.Bin"), "PAC-MAN.BIN");
    EXPECT_EQ(shortNames.at("a_b~1.x"), "A_B~1.X");
    EXPECT_EQ(shortNames.at("7.z"), "7.Z");
}

TEST(ShortNames, OtherNamesGetSixCharactersATildeAndANumber) {
    const auto shortNames = shortNamesOf(
        {"Harbor Run.bin", "abcdefghi.bin", "a.binary", "abc.", "a.b.c", "no extension at all"});
    EXPECT_EQ(shortNames.at("Harbor Run.bin"), "HARBOR~1.BIN"); // blank removed
    EXPECT_EQ(shortNames.at("abcdefghi.bin"), "ABCDEF~1.BIN");  // base longer than 8
    EXPECT_EQ(shortNames.at("a.binary"), "A~1.BIN");            // extension longer than 3
    EXPECT_EQ(shortNames.at("abc."), "ABC~1");                  // empty extension
    EXPECT_EQ(shortNames.at("a.b.c"), "AB~1.C");                // only the last dot stays
    EXPECT_EQ(shortNames.at("no extension at all"), "NOEXTE~1");
}

TEST(ShortNames, CharactersA83NameCannotHoldBecomeOneUnderscoreEach) {
    const auto shortNames = shortNamesOf({"a+b,c.bin", "x;y=z.bin", "[q].bin", "Ünï.bin", "é.bin"});
    EXPECT_EQ(shortNames.at("a+b,c.bin"), "A_B_C~1.BIN");
    EXPECT_EQ(shortNames.at("x;y=z.bin"), "X_Y_Z~1.BIN");
    EXPECT_EQ(shortNames.at("[q].bin"), "_Q_~1.BIN");
    EXPECT_EQ(shortNames.at("Ünï.bin"), "_N_~1.BIN"); // per character, not per byte
    EXPECT_EQ(shortNames.at("é.bin"), "_~1.BIN");
}

TEST(ShortNames, CollisionsAreNumberedInNameOrder) {
    // Given in an order other than name order: the numbers follow name order.
    const auto shortNames =
        shortNamesOf({"Harbor Rush.bin", "harbor run.bin", "Harbor Race.bin", "Harbor X.txt"});
    EXPECT_EQ(shortNames.at("Harbor Race.bin"), "HARBOR~1.BIN");
    EXPECT_EQ(shortNames.at("harbor run.bin"), "HARBOR~2.BIN");
    EXPECT_EQ(shortNames.at("Harbor Rush.bin"), "HARBOR~3.BIN");
    EXPECT_EQ(shortNames.at("Harbor X.txt"), "HARBOR~4.TXT");
}

TEST(ShortNames, TheStemShrinksWhenTheNumberNeedsMoreDigits) {
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        names.push_back("Harbor Run " + std::string(1, static_cast<char>('a' + i)) + ".bin");
    }
    const auto shortNames = shortNamesOf(names);
    EXPECT_EQ(shortNames.at("Harbor Run a.bin"), "HARBOR~1.BIN");
    EXPECT_EQ(shortNames.at("Harbor Run i.bin"), "HARBOR~9.BIN");
    EXPECT_EQ(shortNames.at("Harbor Run j.bin"), "HARBO~10.BIN");
    EXPECT_EQ(shortNames.at("Harbor Run l.bin"), "HARBO~12.BIN");
}

TEST(ShortNames, NamesDifferingOnlyInCaseGetDistinctShortNames) {
    const auto shortNames = shortNamesOf({"demo.BIN", "Demo.Bin", "DEMO.bin"});
    // Byte order breaks the tie: "DEMO.bin" < "Demo.Bin" < "demo.BIN".
    EXPECT_EQ(shortNames.at("DEMO.bin"), "DEMO.BIN");
    EXPECT_EQ(shortNames.at("Demo.Bin"), "DEMO~1.BIN");
    EXPECT_EQ(shortNames.at("demo.BIN"), "DEMO~2.BIN");
}

TEST(ShortNames, AGeneratedNameNeverTakesTheNameOfAFileThatHasItByRight) {
    // "harbor~1.bin" is itself a valid 8.3 name, though it sorts after "Harbor Run.bin".
    const auto shortNames = shortNamesOf({"Harbor Run.bin", "harbor~1.bin", "Harbor Rush.bin"});
    EXPECT_EQ(shortNames.at("harbor~1.bin"), "HARBOR~1.BIN");
    EXPECT_EQ(shortNames.at("Harbor Run.bin"), "HARBOR~2.BIN");
    EXPECT_EQ(shortNames.at("Harbor Rush.bin"), "HARBOR~3.BIN");
}

TEST(ShortNames, LeadingDotsAndEmptyBasesGiveUsableNames) {
    const auto shortNames = shortNamesOf({".bin", "..x.bin", "   .bin", "...", ".hidden"});
    // Name order: "   .bin", "...", "..x.bin", ".bin", ".hidden"; empty bases share the stem "_".
    EXPECT_EQ(shortNames.at("   .bin"), "_~1.BIN");
    EXPECT_EQ(shortNames.at("..."), "_~2");
    EXPECT_EQ(shortNames.at("..x.bin"), "X~1.BIN");
    EXPECT_EQ(shortNames.at(".bin"), "_~3.BIN");
    EXPECT_EQ(shortNames.at(".hidden"), "_~4.HID");
}

TEST(ShortNames, AreUniqueWellFormedAndTheSameForTheSameFolder) {
    std::vector<std::string> names = {"Harbor Run.bin",
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
    for (int i = 0; i < 40; ++i) {
        names.push_back("Collide " + std::to_string(i) + ".bin");
    }
    std::vector<std::string> shuffled = names;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    const auto first = shortNamesOf(names);
    EXPECT_EQ(first, shortNamesOf(shuffled));

    std::set<std::string> seen;
    for (const auto& [longName, shortName] : first) {
        EXPECT_TRUE(seen.insert(shortName).second) << shortName << " given twice";
        EXPECT_EQ(shortName.find(' '), std::string::npos) << shortName;
        EXPECT_TRUE(isValidShortName(shortName)) << longName << " -> " << shortName;
    }
}

class ArgumentResolution : public ::testing::Test {
protected:
    ArgumentResolution() {
        names_ = {"Harbor Run.bin", "Harbor Run.txt", "readme",
                  "readme.bin",     "demo.BIN",       "Some Folder"};
        sortByName(names_);
        shortNames_ = deriveShortNames(names_);
    }
    std::vector<std::string> resolve(std::vector<std::string> words) const {
        return resolveArguments(std::move(words), ShortNameIndex(names_, shortNames_));
    }
    std::vector<std::string> names_;
    std::vector<ShortName> shortNames_;
};

TEST_F(ArgumentResolution, ShortNamesInAnyCaseWithOrWithoutExtensionBecomeLongNames) {
    EXPECT_EQ(resolve({"marlo", "-c0", "HARBOR~1", "harbor~1", "Harbor~1.Bin", "HARBOR~2.TXT"}),
              (std::vector<std::string>{"marlo", "-c0", "Harbor Run.bin", "Harbor Run.bin",
                                        "Harbor Run.bin", "Harbor Run.txt"}));
    EXPECT_EQ(resolve({"marlo", "DEMO", "demo.bin"}),
              (std::vector<std::string>{"marlo", "demo.BIN", "demo.BIN"}));
}

TEST_F(ArgumentResolution, ABaseAloneNamesTheBinFileFirst) {
    EXPECT_EQ(resolve({"marlo", "README", "README.BIN"}),
              (std::vector<std::string>{"marlo", "readme.bin", "readme.bin"}));
    // Without a .bin file of that base, the name without extension is taken.
    EXPECT_EQ(resolve({"marlo", "SOMEFO~1", "HARBOR~2"}),
              (std::vector<std::string>{"marlo", "Some Folder", "HARBOR~2"}));
}

TEST_F(ArgumentResolution, SwitchesTheProgramNameAndUnknownWordsStay) {
    const std::vector<std::string> words = {"HARBOR~1",       "-HARBOR~1", "-", "HARBOR~9",
                                            "Harbor Run.bin", "",          "&", "HARBOR~1.BIN.BIN"};
    EXPECT_EQ(resolve(words), words);
}

} // namespace
} // namespace kestrin::cmd
