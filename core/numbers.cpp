#include "core/numbers.h"

#include <charconv>
#include <clocale>
#include <cstdint>
#include <limits>
#include <string>

namespace kestrin {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of one digit in the given radix, or -1 when `c` is no such digit.
int digitIn(char c, int radix) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < radix ? value : -1;
}

// The text without the blanks, tabs and line feeds that the leading-number rule skips.
std::string withoutSkippedBlanks(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            kept.push_back(c);
    }
    return kept;
}

// Leading digits of the radix after an "&H" or "&O" prefix. Accumulating in a double cannot
// overflow into undefined behaviour: a long enough run of digits simply becomes infinity.
double prefixedValue(std::string_view digits, int radix) {
    double value = 0.0;
    for (char c : digits) {
        int digit = digitIn(c, radix);
        if (digit < 0)
            break;
        value = value * radix + digit;
    }
    return value;
}

// Exponents are summed with a clamp far beyond any double's range, so that a text of
// thousands of exponent digits neither overflows an integer nor loses its sign.
constexpr std::int64_t exponentClamp = 1'000'000'000;

std::int64_t clampedExponent(std::int64_t value) {
    if (value > exponentClamp)
        return exponentClamp;
    if (value < -exponentClamp)
        return -exponentClamp;
    return value;
}

// No double needs more than 767 significant decimal digits to round correctly; longer runs
// are cut there, with one nonzero digit standing for whatever nonzero digits were cut, so that
// the rounding stays the same and a megabyte of digits costs no more than a screenful.
constexpr std::size_t significantDigitLimit = 800;

std::string significantDigits(const std::string& digits, std::size_t firstNonZero) {
    std::string significant = digits.substr(firstNonZero, significantDigitLimit);
    if (digits.find_first_not_of('0', firstNonZero + significantDigitLimit) != std::string::npos)
        significant.push_back('1');
    return significant;
}

// A decimal number with optional sign, point and exponent at the start of `s`.
double decimalValue(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }

    std::string digits; // every mantissa digit, the point left out
    std::int64_t integerDigits = 0;
    while (i < s.size() && isDigit(s[i])) {
        digits.push_back(s[i++]);
        ++integerDigits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            digits.push_back(s[i++]);
    }
    if (digits.empty())
        return 0.0;

    // The exponent counts only when at least one digit follows its letter and sign.
    std::int64_t exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            negativeExponent = s[j] == '-';
            ++j;
        }
        while (j < s.size() && isDigit(s[j])) {
            exponent = clampedExponent(exponent * 10 + (s[j] - '0'));
            ++j;
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    // Written as 0.DIGITS times ten to `scale`, the size of the number is plain to see.
    std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return 0.0;
    std::int64_t scale =
        clampedExponent(integerDigits - static_cast<std::int64_t>(firstNonZero) + exponent);
    double magnitude = 0.0;
    if (scale > 400) {
        magnitude = std::numeric_limits<double>::infinity();
    } else if (scale >= -400) {
        std::string canonical =
            "0." + significantDigits(digits, firstNonZero) + "e" + std::to_string(scale);
        auto [end, error] =
            std::from_chars(canonical.data(), canonical.data() + canonical.size(), magnitude);
        (void)end;
        if (error == std::errc::result_out_of_range)
            magnitude = scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        else if (error != std::errc())
            magnitude = 0.0;
    }
    return negative ? -magnitude : magnitude;
}

bool startsWith(std::string_view text, std::size_t at, std::string_view part) {
    return !part.empty() && text.substr(at).starts_with(part);
}

} // namespace

double leadingNumberValue(std::string_view text) {
    std::string s = withoutSkippedBlanks(text);
    double value = 0.0;
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'h' || s[1] == 'H'))
        value = prefixedValue(std::string_view(s).substr(2), 16);
    else if (s.size() >= 2 && s[0] == '&' && (s[1] == 'o' || s[1] == 'O'))
        value = prefixedValue(std::string_view(s).substr(2), 8);
    else
        value = decimalValue(s);
    // Adding zero turns a negative zero ("-", "-0") into a plain zero.
    return value + 0.0;
}

NumberSeparators systemNumberSeparators() {
    NumberSeparators separators{".", ","};
    if (const std::lconv* conventions = std::localeconv()) {
        if (conventions->decimal_point && *conventions->decimal_point)
            separators.decimal = conventions->decimal_point;
        if (conventions->thousands_sep && *conventions->thousands_sep)
            separators.thousands = conventions->thousands_sep;
    }
    return separators;
}

bool isNumeric(std::string_view text, const NumberSeparators& separators) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return false;
    std::size_t last = text.find_last_not_of(" \t");
    std::string_view s = text.substr(first, last - first + 1);

    std::size_t i = 0;
    if (s[i] == '+' || s[i] == '-')
        ++i;

    std::size_t mantissaDigits = 0;
    while (i < s.size()) {
        if (isDigit(s[i])) {
            ++i;
            ++mantissaDigits;
        } else if (mantissaDigits > 0 && startsWith(s, i, separators.thousands) &&
                   i + separators.thousands.size() < s.size() &&
                   isDigit(s[i + separators.thousands.size()])) {
            i += separators.thousands.size();
        } else {
            break;
        }
    }
    if (startsWith(s, i, separators.decimal)) {
        i += separators.decimal.size();
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;

    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == s.size();
}

} // namespace kestrin
