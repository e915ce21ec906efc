#include "core/numbers.h"
#include "core/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace kestrin {
namespace {

TEST(Text, CutsNeverSplitACharacter) {
    const std::string a4 = "aaaa", e = "\xC3\xA9", euro = "\xE2\x82\xAC",
                      smile = "\xF0\x9F\x98\x80";
    // {text, limit, kept length}: two-, three- and four-byte characters across or at the cut;
    // bytes that are no UTF-8 are cut at the limit.
    // clang-format off
    const std::vector<std::tuple<std::string, std::size_t, std::size_t>> rows = {
        {"abc", 5, 3}, {a4 + e, 5, 4}, {a4 + e, 6, 6}, {"a" + euro, 3, 1}, {"a" + euro, 4, 4},
        {"a" + smile + "b", 4, 1}, {smile + smile, 7, 4}, {a4 + smile + "b", 8, 8},
        {"\x80\x80\x80\x80", 3, 3}, {"aa\xC0\x80", 3, 3}, {"\xF8\x80\x80\x80", 2, 2}};
    // clang-format on
    for (const auto& [text, limit, kept] : rows)
        EXPECT_EQ(cutLength(text, limit), kept) << ::testing::PrintToString(text) << " " << limit;
}

TEST(Text, Utf8OrLatin1AndPrintableLines) {
    for (const char* valid : {"", "abc", "\xC3\xA9", "\xE2\x82\xAC", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(isUtf8(valid)) << ::testing::PrintToString(valid);
    // Lone bytes, cut characters, overlong forms, surrogates, past U+10FFFF.
    for (const char* invalid : {"\xE9", "a\xC3", "\xE2\x82", "\xC0\xAF", "\xE0\x80\xAF",
                                "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\x80"})
        EXPECT_FALSE(isUtf8(invalid)) << ::testing::PrintToString(invalid);
    EXPECT_EQ(latin1ToUtf8("a\xE9\xFF\x80"), "a\xC3\xA9\xC3\xBF\xC2\x80");
    // Tabs become blanks; control characters, C1 controls and stray bytes "?"; cut whole.
    EXPECT_EQ(printableLine("a\tb\x1b[31mc\x7f\xC2\x85\xC3\xA9\xFF", 99), "a b?[31mc??\xC3\xA9?");
    EXPECT_EQ(printableLine("abc\xE2\x82\xAC", 5), "abc");
}

// The fuzz target checks blanks, D exponents, signs and every plain number against the C
// library; these are the rules it cannot see.
TEST(Numbers, LeadingNumberValueAndNumericTest) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::string nines(10'000, '9'), halfway = "1.00000000000000011102230246251565404236316680"
                                                    "908203125" +
                                                    std::string(2'000, '0');
    // clang-format off
    const std::vector<std::pair<std::string, double>> values = {
        {"7x", 7}, {"1.2.3", 1.2}, {"1,5", 1}, {"-", 0}, {".", 0}, {"e5", 0}, {"1\r2", 1},
        {"1 e 2", 100}, {"1d2", 100}, {"1e", 1}, {"1e+", 1}, {"&H10", 16}, {"&hff", 255},
        {"&O17", 15}, {"&o78", 7}, {"&H", 0}, {"&X1", 0}, {"-1e999999", -inf}, {"1e-" + nines, 0},
        {"1e" + nines, inf}, {nines, inf}, {"&H" + nines, inf}, {"0." + std::string(2'000, '1'), 1.0 / 9},
        {"0." + std::string(9'999, '0') + "1e10000", 1}, {halfway, 1}, // rounds to even, a
        {halfway + "1", std::nextafter(1.0, 2.0)}}; // digit however far behind tips it up
    // clang-format on
    for (const auto& [text, expected] : values)
        EXPECT_EQ(leadingNumberValue(text), expected) << text.substr(0, 60);
    EXPECT_FALSE(std::signbit(leadingNumberValue("-0")));

    const NumberSeparators dot{".", ","}, comma{",", "."}, narrowSpace{",", "\u202F"}, none{"", ""};
    // clang-format off
    const std::vector<std::tuple<std::string, NumberSeparators, bool>> numeric = {
        {"1,000,000.25", dot, true}, {"\t12  ", dot, true}, {"5.", dot, true}, {"", dot, false},
        {"   ", dot, false}, {"-", dot, false}, {".", dot, false}, {"1e+", dot, false},
        {",1", dot, false}, {"1,", dot, false}, {"1,,0", dot, false}, {"1 2", dot, false},
        {"1d2", dot, false}, {"1.000,5", comma, true}, {"1.5.", comma, false},
        {"1\u202F000,5", narrowSpace, true}, {"\u202F1", narrowSpace, false}, {"15", none, true},
        {"1.5", none, false}};
    // clang-format on
    for (const auto& [text, separators, expected] : numeric)
        EXPECT_EQ(isNumeric(text, separators), expected) << text;
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "C"); // no thousands separator: "," stands in
    const NumberSeparators c = systemNumberSeparators();
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(c.decimal + c.thousands, ".,");
}

} // namespace
} // namespace kestrin
