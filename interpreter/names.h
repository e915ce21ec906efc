// File names as the interpreter sees them: which names it can show, their order, the pattern.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::cmd {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(std::string_view text);

// True for a name the batch files' original file system could hold: valid UTF-8, no control
// characters and none of \ / : * ? " < > |. Other names are left out of listings and short names.
bool isListableName(std::string_view name);

// Name order: letter case ignored (ASCII letters), ties broken by byte order, so that the order
// is total and the same for every listing of the same folder.
bool nameLess(std::string_view a, std::string_view b);

// The indexes of `names` in name order. Each name's folded key is built once, so that sorting
// a large folder costs one pass of allocations and plain byte comparisons.
std::vector<std::size_t> nameOrder(const std::vector<std::string>& names);

// Sorts names in name order.
void sortByName(std::vector<std::string>& names);

// True when `name` matches the pattern "*.bin": it ends in ".bin" in any letter case.
bool hasBinExtension(std::string_view name);

// ASCII upper case; other bytes stay as they are.
std::string asciiUpper(std::string_view text);

} // namespace kestrin::cmd
