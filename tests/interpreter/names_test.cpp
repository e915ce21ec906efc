#include "interpreter/names.h"

#include <gtest/gtest.h>

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
