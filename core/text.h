// Byte-level text rules shared by the readers: UTF-8 validity, single-byte fallback, safe cuts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF).
bool isUtf8(std::string_view text);

// `text` read as Latin-1, one character per byte, written as UTF-8.
std::string latin1ToUtf8(std::string_view text);

// The length of the longest prefix of at most `limit` bytes that does not end inside a UTF-8
// character. Bytes that are no UTF-8 are cut at the limit. Only the first `limit + 1` bytes of
// `text` are looked at.
std::size_t cutLength(std::string_view text, std::size_t limit);

// One line of another program's output made fit for a message box: tabs become blanks, other
// control characters and bytes that are no UTF-8 become "?", and the line is cut to `limit`
// bytes on a character boundary.
std::string printableLine(std::string_view line, std::size_t limit);

// How much of another program's error output is kept, and how much of that is shown: its last
// lines, for a complaint comes last.
inline constexpr std::size_t errorTailBytes = 16 * 1024;
inline constexpr std::size_t shownErrorLines = 5;
inline constexpr std::size_t shownErrorLineBytes = 200;

// The last lines of another program's error output, each made fit for a message box
// (printableLine, at most `shownErrorLineBytes`): `tail` is the end of that output, and
// `startsInsideLine` says that output came before it that did not end a line. Blank lines are
// left out, and a line shows what follows its last carriage return: the final state of a
// progress line rewritten in place. The first line of a tail that starts inside a line is only
// the end of a line: left out when other lines follow, else shown as "..." and its last bytes.
std::vector<std::string> lastErrorLines(std::string_view tail, bool startsInsideLine);

} // namespace kestrin
