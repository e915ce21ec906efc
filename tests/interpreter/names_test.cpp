#include "interpreter/names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

namespace kestrin::cmd {
namespace {

using Names = std::vector<std::string>;

// Control characters, reserved characters and bad UTF-8 leave a name out of listings.
TEST(Names, ListableAndBinPatternNames) {
    const struct {
        bool (*test)(std::string_view);
        bool expected;
        Names names;
    } rows[] = {
        {isListableName,
         true,
         {"Harbor Run.bin", "a&b.bin", "100%.bin", "it's.bin", ".bin", "..x.bin", "Ünïcode.bin",
          "日本.bin", "emoji 🎮.bin", "a+b,c;d=e[f].bin", std::string(251, 'x') + ".bin"}},
        {isListableName,
         false,
         {"tab\tx.bin", "line\nfeed.bin", "cr\r.bin", "del\x7f.bin", "back\\slash.bin",
          "co:lon.bin", "st*r.bin", "q?.bin", "quo\"te.bin", "<.bin", ">.bin", "pi|pe.bin", "", ".",
          ".."}},
        // Not UTF-8 at all, an overlong "/", a surrogate, cut short, past U+10FFFF.
        {isListableName,
         false,
         {"\xff.bin", "\xc0\xaf.bin", "\xed\xa0\x80.bin", "\xc3.bin", "\xf4\x90\x80\x80.bin"}},
        {hasBinExtension, true, {"a.bin", "a.BIN", "a.Bin", ".bin", "a.bin.b.bin", "x y.bIN"}},
        {hasBinExtension, false, {"bin", "abin", "a.bin ", "a.bin.txt", "a.bi", "a_bin", ""}},
    };
    for (const auto& row : rows) {
        for (const std::string& name : row.names)
            EXPECT_EQ(row.test(name), row.expected) << name;
    }
}

TEST(NameOrder, IgnoresCaseAndBreaksTiesByBytes) {
    Names names = {"b.bin",  "B.bin",   "a.BIN", "A.bin", "_x.bin",
                   "ab.bin", "A b.bin", "Ü.bin", "z.bin"};
    sortByName(names);
    EXPECT_EQ(names, (Names{"A b.bin", "A.bin", "a.BIN", "ab.bin", "B.bin", "b.bin", "z.bin",
                            "_x.bin", "Ü.bin"}));
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        EXPECT_TRUE(nameLess(names[i], names[i + 1])) << names[i] << " / " << names[i + 1];
        EXPECT_FALSE(nameLess(names[i + 1], names[i])) << names[i] << " / " << names[i + 1];
    }
}

// Names that begin alike for more than one eight-byte chunk, differ only in case, or end where
// another goes on: the packed sort must give the order of the plain comparison.
TEST(NameOrder, OfManyNamesWithLongCommonBeginningsMatchesThePlainComparison) {
    std::mt19937 random(11);
    const Names stems = {"",           "Game number ",        "GAME NUMBER ",
                         "game numbe", "Game number 0000000", "Ü"};
    const std::string letters = "aAbB0 .~_\xc3\x9c";
    Names names = {"12345678", "1234567", "123456789", "12345678"}; // a name twice stays stable
    for (int i = 0; i < 3000; ++i) {
        std::string name = stems[random() % stems.size()];
        for (std::size_t k = random() % 20; k > 0; --k)
            name += letters[random() % letters.size()];
        names.push_back(name);
    }
    const std::vector<std::uint32_t> order = nameOrder(PackedNames(names));
    ASSERT_EQ(order.size(), names.size());
    Names expected = names;
    std::sort(expected.begin(), expected.end(),
              [](const std::string& a, const std::string& b) { return nameLess(a, b); });
    for (std::size_t k = 0; k < order.size(); ++k)
        ASSERT_EQ(names.at(order[k]), expected[k]) << "position " << k;
    std::vector<std::uint32_t> indexes = order;
    std::sort(indexes.begin(), indexes.end());
    EXPECT_EQ(std::adjacent_find(indexes.begin(), indexes.end()), indexes.end())
        << "a name given twice";
}

} // namespace
} // namespace kestrin::cmd
