#include "core/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace kestrin {
namespace {

TEST(LeadingNumberValue, ReadsTheNumberATextBeginsWith) {
    EXPECT_EQ(leadingNumberValue("15"), 15.0);
    EXPECT_EQ(leadingNumberValue("15.5"), 15.5);
    EXPECT_EQ(leadingNumberValue(".5"), 0.5);
    EXPECT_EQ(leadingNumberValue("-2"), -2.0);
    EXPECT_EQ(leadingNumberValue("+3"), 3.0);
    EXPECT_EQ(leadingNumberValue("7x"), 7.0);
    EXPECT_EQ(leadingNumberValue("12abc"), 12.0);
    EXPECT_EQ(leadingNumberValue("1.2.3"), 1.2);
    EXPECT_EQ(leadingNumberValue("1,5"), 1.0);
}

TEST(LeadingNumberValue, TextsWithoutANumberAreZero) {
    EXPECT_EQ(leadingNumberValue(""), 0.0);
    EXPECT_EQ(leadingNumberValue("abc"), 0.0);
    EXPECT_EQ(leadingNumberValue("-"), 0.0);
    EXPECT_EQ(leadingNumberValue("+"), 0.0);
    EXPECT_EQ(leadingNumberValue("."), 0.0);
    EXPECT_EQ(leadingNumberValue("e5"), 0.0);
    EXPECT_EQ(leadingNumberValue("   "), 0.0);
    EXPECT_FALSE(std::signbit(leadingNumberValue("-")));
    EXPECT_FALSE(std::signbit(leadingNumberValue("-0")));
}

TEST(LeadingNumberValue, SkipsBlanksTabsAndLineFeedsAnywhere) {
    EXPECT_EQ(leadingNumberValue("1 2"), 12.0);
    EXPECT_EQ(leadingNumberValue("  \t\n 4"), 4.0);
    EXPECT_EQ(leadingNumberValue("- 1 . 5"), -1.5);
    EXPECT_EQ(leadingNumberValue("1 e 2"), 100.0);
    // A carriage return is not skipped and ends the number.
    EXPECT_EQ(leadingNumberValue("1\r2"), 1.0);
}

TEST(LeadingNumberValue, ReadsExponentsOnlyAsFarAsTheyFormANumber) {
    EXPECT_EQ(leadingNumberValue("1e2"), 100.0);
    EXPECT_EQ(leadingNumberValue("1E2"), 100.0);
    EXPECT_EQ(leadingNumberValue("1d2"), 100.0);
    EXPECT_EQ(leadingNumberValue("1D+2"), 100.0);
    EXPECT_EQ(leadingNumberValue("25e-1"), 2.5);
    EXPECT_EQ(leadingNumberValue("1e"), 1.0);
    EXPECT_EQ(leadingNumberValue("1e+"), 1.0);
    EXPECT_EQ(leadingNumberValue("1e-x"), 1.0);
    EXPECT_EQ(leadingNumberValue("3ex"), 3.0);
}

TEST(LeadingNumberValue, ReadsHexadecimalAndOctalPrefixes) {
    EXPECT_EQ(leadingNumberValue("&H10"), 16.0);
    EXPECT_EQ(leadingNumberValue("&hff"), 255.0);
    EXPECT_EQ(leadingNumberValue("&O17"), 15.0);
    EXPECT_EQ(leadingNumberValue("&o78"), 7.0);
    EXPECT_EQ(leadingNumberValue("&H"), 0.0);
    EXPECT_EQ(leadingNumberValue("&Hxyz"), 0.0);
    EXPECT_EQ(leadingNumberValue("&"), 0.0);
    EXPECT_EQ(leadingNumberValue("&X1"), 0.0);
    EXPECT_EQ(leadingNumberValue("&HFFFFFFFFFFFFFFFF"), 18446744073709551615.0);
}

TEST(LeadingNumberValue, HugeAndTinyInputsGiveDefinedValues) {
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(leadingNumberValue("1e999999"), infinity);
    EXPECT_EQ(leadingNumberValue("-1e999999"), -infinity);
    EXPECT_EQ(leadingNumberValue("1e-999999"), 0.0);
    EXPECT_EQ(leadingNumberValue("1e309"), infinity);
    EXPECT_EQ(leadingNumberValue("1e308"), 1e308);
    EXPECT_EQ(leadingNumberValue("1e" + std::string(10'000, '9')), infinity);
    EXPECT_EQ(leadingNumberValue("1e-" + std::string(10'000, '9')), 0.0);
    EXPECT_EQ(leadingNumberValue(std::string(10'000, '9')), infinity);
    EXPECT_EQ(leadingNumberValue("1" + std::string(300, '0')), 1e300);
    EXPECT_EQ(leadingNumberValue("0." + std::string(9'999, '0') + "1e10000"), 1.0);
    EXPECT_EQ(leadingNumberValue(std::string(10'000, '0') + "5"), 5.0);
    EXPECT_EQ(leadingNumberValue("&H" + std::string(10'000, 'F')), infinity);
    EXPECT_FALSE(std::isnan(leadingNumberValue("0e999999")));
    EXPECT_EQ(leadingNumberValue("0e999999"), 0.0);
    // The dialogs' bounded range checks reject every overlong number.
    double huge = leadingNumberValue("1e999999");
    EXPECT_FALSE(huge > 0 && huge < 16);
}

TEST(LeadingNumberValue, LongMantissasRoundCorrectly) {
    EXPECT_EQ(leadingNumberValue("0." + std::string(2'000, '1')), 1.0 / 9.0);
    // Exactly halfway between 1 and the next double rounds to even, down to 1; any nonzero
    // digit however far behind tips it up.
    const std::string halfway = "1.00000000000000011102230246251565404236316680908203125";
    EXPECT_EQ(leadingNumberValue(halfway + std::string(2'000, '0')), 1.0);
    EXPECT_EQ(leadingNumberValue(halfway + std::string(2'000, '0') + "1"),
              std::nextafter(1.0, 2.0));
}

TEST(NumericTest, AcceptsOneWholeNumber) {
    const NumberSeparators dot{".", ","};
    for (const char* text : {"1e2", "-2", "+2", "1.5", ".5", "5.", "1,000", "1,000,000.25",
                             "  12  ", "\t3\t", "1E-5", "2e+3", "0"}) {
        EXPECT_TRUE(isNumeric(text, dot)) << '"' << text << '"';
    }
}

TEST(NumericTest, RejectsEverythingElse) {
    const NumberSeparators dot{".", ","};
    for (const char* text :
         {"",   "   ", "2x",   "abc", "-",   "+",   ".",    "1e",    "1e+", "1.2.3",
          ",1", "1,",  "1,,0", "1 2", "--1", "1d2", "&H10", "1.5,0", "e5",  "1,.5"}) {
        EXPECT_FALSE(isNumeric(text, dot)) << '"' << text << '"';
    }
}

TEST(NumericTest, UsesTheGivenSeparators) {
    const NumberSeparators comma{",", "."};
    EXPECT_TRUE(isNumeric("1,5", comma));
    EXPECT_TRUE(isNumeric("1.000,5", comma));
    EXPECT_FALSE(isNumeric("1.5.", comma));
    EXPECT_FALSE(isNumeric("1,5,", comma));
    // A separator of several bytes, as some locales use for thousands.
    const NumberSeparators narrowSpace{",", "\u202F"};
    EXPECT_TRUE(isNumeric("1\u202F000,5", narrowSpace));
    EXPECT_FALSE(isNumeric("\u202F1", narrowSpace));
    // Empty separators match nothing rather than everywhere.
    const NumberSeparators none{"", ""};
    EXPECT_TRUE(isNumeric("15", none));
    EXPECT_FALSE(isNumeric("1.5", none));
}

TEST(NumericTest, HandlesLongInputs) {
    const NumberSeparators dot{".", ","};
    EXPECT_TRUE(isNumeric(std::string(100'000, '7'), dot));
    EXPECT_FALSE(isNumeric(std::string(100'000, '7') + "x", dot));
}

TEST(SystemNumberSeparators, NeverEmpty) {
    NumberSeparators separators = systemNumberSeparators();
    EXPECT_FALSE(separators.decimal.empty());
    EXPECT_FALSE(separators.thousands.empty());
    // The C locale has no thousands separator; the comma stands in for it.
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
