#include "core/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kestrin {
namespace {

TEST(LeadingNumberValue, ReadsTheNumberATextBeginsWith) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::string nines(10'000, '9');
    const std::string halfway =
        "1.00000000000000011102230246251565404236316680908203125" + std::string(2'000, '0');
    // clang-format off
    const std::vector<std::pair<std::string, double>> rows = {
        {"15.5", 15.5}, {".5", 0.5}, {"-2", -2}, {"+3", 3}, {"7x", 7}, {"12abc", 12},
        {"1.2.3", 1.2}, {"1,5", 1}, {"", 0}, {"abc", 0}, {"-", 0}, {".", 0}, {"e5", 0},
        // Blanks, tabs and line feeds are skipped anywhere; a carriage return ends the number.
        {"1 2", 12}, {"  \t\n 4", 4}, {"- 1 . 5", -1.5}, {"1 e 2", 100}, {"1\r2", 1},
        // Exponents with E or D in either case, read only as far as they form a number.
        {"1e2", 100}, {"1E2", 100}, {"1d2", 100}, {"1D+2", 100}, {"25e-1", 2.5}, {"1e", 1},
        {"1e+", 1}, {"3ex", 3},
        // "&H" and "&O" in either case introduce hexadecimal and octal digits.
        {"&H10", 16}, {"&hff", 255}, {"&O17", 15}, {"&o78", 7}, {"&H", 0}, {"&Hxyz", 0},
        {"&X1", 0}, {"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0},
        // Huge and tiny inputs give defined values, never NaN.
        {"1e309", inf}, {"-1e999999", -inf}, {"1e-999999", 0}, {"1e308", 1e308},
        {"0e999999", 0}, {"1e" + nines, inf}, {"1e-" + nines, 0}, {nines, inf},
        {"&H" + std::string(10'000, 'F'), inf}, {"1" + std::string(300, '0'), 1e300},
        {"0." + std::string(9'999, '0') + "1e10000", 1}, {"0." + std::string(2'000, '1'), 1.0 / 9},
        // Exactly halfway rounds to even; a nonzero digit however far behind tips it up.
        {halfway, 1}, {halfway + "1", std::nextafter(1.0, 2.0)}};
    // clang-format on
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text.substr(0, 60));
        EXPECT_EQ(leadingNumberValue(text), expected);
    }
    EXPECT_FALSE(std::signbit(leadingNumberValue("-0")));
}

TEST(NumericTest, AcceptsExactlyOneWholeNumber) {
    const NumberSeparators dot{".", ","}, comma{",", "."}, narrowSpace{",", "\u202F"}, none{"", ""};
    const std::string many(100'000, '7');
    // clang-format off
    const std::vector<std::tuple<std::string, NumberSeparators, bool>> rows = {
        {"1e2", dot, true}, {"-2", dot, true}, {"+2", dot, true}, {".5", dot, true},
        {"5.", dot, true}, {"1,000,000.25", dot, true}, {"\t12  ", dot, true},
        {"1E-5", dot, true}, {many, dot, true}, {"", dot, false}, {"   ", dot, false},
        {"2x", dot, false}, {"-", dot, false}, {".", dot, false}, {"1e", dot, false},
        {"1e+", dot, false}, {"1.2.3", dot, false}, {",1", dot, false}, {"1,", dot, false},
        {"1,,0", dot, false}, {"1 2", dot, false}, {"--1", dot, false}, {"1d2", dot, false},
        {"&H10", dot, false}, {"1,.5", dot, false}, {many + "x", dot, false},
        // The user's separators, of several bytes too; empty ones match nothing.
        {"1,5", comma, true}, {"1.000,5", comma, true}, {"1.5.", comma, false},
        {"1\u202F000,5", narrowSpace, true}, {"\u202F1", narrowSpace, false},
        {"15", none, true}, {"1.5", none, false}};
    // clang-format on
    for (const auto& [text, separators, expected] : rows) {
        SCOPED_TRACE(text.substr(0, 60));
        EXPECT_EQ(isNumeric(text, separators), expected);
    }
}

TEST(SystemNumberSeparators, CommaStandsInForTheMissingThousandsSeparator) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "C");
    NumberSeparators c = systemNumberSeparators();
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(c.decimal, ".");
    EXPECT_EQ(c.thousands, ",");
}

} // namespace
} // namespace kestrin
