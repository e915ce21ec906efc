// The leading-number value of any text: never NaN, blind to blanks wherever they stand, the
// same for a D exponent as for an E, symmetric under a leading minus, and equal to the C
// library's reading of every text the numeric test accepts.
#include "core/numbers.h"
#include "tests/fuzz/fuzz_rules.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using kestrin::leadingNumberValue;
    if (size == 0 || size > 4096)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const double value = leadingNumberValue(text);
    require(!std::isnan(value));

    std::string blanks = text, noBlanks, exponentE;
    blanks.insert(data[0] % (text.size() + 1), data[0] % 2 ? " " : "\t\n");
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            noBlanks.push_back(c);
        exponentE.push_back(c == 'd' || c == 'D' ? 'e' : c);
    }
    require(leadingNumberValue(blanks) == value && leadingNumberValue(noBlanks) == value);
    if (noBlanks.find('&') == std::string::npos)
        require(leadingNumberValue(exponentE) == value);
    if (noBlanks.empty() || (noBlanks[0] != '-' && noBlanks[0] != '+' && noBlanks[0] != '&'))
        require(leadingNumberValue("-" + text) == -value);
    if (kestrin::isNumeric(text, {".", ""}))
        require(std::strtod(text.c_str(), nullptr) == value);
    return 0;
}
