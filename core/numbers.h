// Reading numbers out of the texts that the option dialogs check before they accept them.
#pragma once

#include <string>
#include <string_view>

namespace kestrin {

// The number a text begins with, as the dialogs' range checks see it.
//
// Blanks, tabs and line feeds are ignored wherever they stand ("1 2" is 12). Then come an
// optional sign, digits with at most one decimal point ("." whatever the locale) and an
// optional exponent (E or D in either case, optional sign, digits), read only as far as they
// form a number: "1e" and "1e+" are 1, "7x" is 7. "&H" and "&O" (either case) introduce
// hexadecimal and octal digits. A text that begins with no number is 0.
//
// Never fails: a value too large for a double is +infinity or -infinity (so every bounded
// range check rejects it), one too small is 0, and the result is never NaN.
double leadingNumberValue(std::string_view text);

// The user's decimal and thousands separators, as UTF-8 texts.
struct NumberSeparators {
    std::string decimal;
    std::string thousands;
};

// The separators of the C library's current numeric locale (the one the program selected with
// setlocale); "." and "," stand in for any that the locale leaves empty.
NumberSeparators systemNumberSeparators();

// True when the whole text, blanks around it allowed, is one number: an optional sign, digits
// (the thousands separator allowed between two digits), an optional decimal separator with
// digits, an optional exponent (E or e, optional sign, digits). False for the empty text, a
// text of blanks, and anything with other characters.
bool isNumeric(std::string_view text, const NumberSeparators& separators);

} // namespace kestrin
