#include "interpreter/names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

namespace kestrin::cmd {
namespace {

TEST(ListableNames, NamesTheOriginalFileSystemCouldHoldAreShown) {
    for (const std::string& name : std::vector<std::string>{
             "Harbor Run.bin", "a&b.bin", "100%.bin", "it's.bin", ".bin", "..x.bin", "Ünïcode.bin",
             "日本.bin", "emoji 🎮.bin", "a+b,c;d=e[f].bin", std::string(251, 'x') + ".bin"}) {
        EXPECT_TRUE(isListableName(name)) << name;
    }
}

TEST(ListableNames, ControlCharactersReservedCharactersAndBadUtf8AreLeftOut) {
    for (const std::string& name :
         std::vector<std::string>{std::string("tab\tx.bin"),
                                  std::string("line\nfeed.bin"),
                                  std::string("cr\r.bin"),
                                  std::string("del\x7f.bin"),
                                  std::string("back\\slash.bin"),
                                  std::string("co:lon.bin"),
                                  std::string("st*r.bin"),
                                  std::string("q?.bin"),
                                  std::string("quo\"te.bin"),
                                  std::string("<.bin"),
                                  std::string(">.bin"),
                                  std::string("pi|pe.bin"),
                                  std::string("\xff.bin"),         // not UTF-8 at all
                                  std::string("\xc0\xaf.bin"),     // overlong "/"
                                  std::string("\xed\xa0\x80.bin"), // a surrogate
                                  std::string("\xc3.bin"),         // cut short
                                  std::string("\xf4\x90\x80\x80.bin"),
                                  std::string(""),
                                  std::string("."),
                                  std::string("..")}) {
        EXPECT_FALSE(isListableName(name)) << name;
    }
}

TEST(NameOrder, IgnoresCaseAndBreaksTiesByBytes) {
    std::vector<std::string> names = {"b.bin",  "B.bin",   "a.BIN", "A.bin", "_x.bin",
                                      "ab.bin", "A b.bin", "Ü.bin", "z.bin"};
    sortByName(names);
    EXPECT_EQ(names, (std::vector<std::string>{"A b.bin", "A.bin", "a.BIN", "ab.bin", "B.bin",
                                               "b.bin", "z.bin", "_x.bin", "Ü.bin"}));
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        EXPECT_TRUE(nameLess(names[i], names[i + 1])) << names[i] << " / " << names[i + 1];
        EXPECT_FALSE(nameLess(names[i + 1], names[i])) << names[i] << " / " << names[i + 1];
    }
}

// Names that begin alike for more than one eight-byte chunk, differ only in case, or end where
// another goes on: the packed sort must give the order of the plain comparison.
TEST(NameOrder, OfManyNamesWithLongCommonBeginningsMatchesThePlainComparison) {
    std::mt19937 random(11);
    const std::vector<std::string> stems = {"",           "Game number ",        "GAME NUMBER ",
                                            "game numbe", "Game number 0000000", "Ü"};
    const std::string letters = "aAbB0 .~_\xc3\x9c";
    std::vector<std::string> names;
    for (int i = 0; i < 3000; ++i) {
        std::string name = stems[random() % stems.size()];
        const std::size_t extra = random() % 20;
        for (std::size_t k = 0; k < extra; ++k) {
            name += letters[random() % letters.size()];
        }
        names.push_back(name);
    }
    names.push_back("12345678");
    names.push_back("1234567");
    names.push_back("123456789");
    names.push_back("12345678"); // the same name twice keeps a stable, total order

    const std::vector<std::uint32_t> order = nameOrder(PackedNames(names));
    ASSERT_EQ(order.size(), names.size());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end(),
              [](const std::string& a, const std::string& b) { return nameLess(a, b); });
    for (std::size_t k = 0; k < order.size(); ++k) {
        ASSERT_EQ(names[order[k]], expected[k]) << "position " << k;
    }
    std::vector<std::uint32_t> sortedIndexes = order;
    std::sort(sortedIndexes.begin(), sortedIndexes.end());
    for (std::size_t k = 0; k < sortedIndexes.size(); ++k) {
        ASSERT_EQ(sortedIndexes[k], k) << "every name exactly once";
    }
}

TEST(BinPattern, MatchesTheExtensionInAnyCase) {
    for (const char* name : {"a.bin", "a.BIN", "a.Bin", ".bin", "a.bin.b.bin", "x y.bIN"}) {
        EXPECT_TRUE(hasBinExtension(name)) << name;
    }
    for (const char* name : {"bin", "abin", "a.bin ", "a.bin.txt", "a.bi", "a_bin", ""}) {
        EXPECT_FALSE(hasBinExtension(name)) << name;
    }
}

} // namespace
} // namespace kestrin::cmd
