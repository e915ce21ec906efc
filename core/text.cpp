#include "core/text.h"

#include <algorithm>

namespace kestrin {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 character at the start of `text`, or 0 when it is none.
std::size_t characterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong form
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;  // no overlong form
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    const auto second = static_cast<unsigned char>(text[1]);
    if (second < low || second > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[i])))
            return 0;
    }
    return length;
}

} // namespace

bool isUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = characterLength(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string latin1ToUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

std::size_t cutLength(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text.size();
    // Step back over at most three continuation bytes to the start of the character the cut
    // falls into; move the cut there only when that start is a lead byte whose character would
    // not have fitted.
    std::size_t start = limit;
    while (start > 0 && limit - start < 3 &&
           isContinuation(static_cast<unsigned char>(text[start])))
        --start;
    const auto lead = static_cast<unsigned char>(text[start]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const bool splitsCharacter = lead >= 0xC2 && lead <= 0xF4 && start + length > limit;
    return start != limit && splitsCharacter ? start : limit;
}

std::string printableLine(std::string_view line, std::size_t limit) {
    std::string shown;
    while (!line.empty() && shown.size() < limit) {
        const std::size_t length = characterLength(line);
        const auto lead = static_cast<unsigned char>(line[0]);
        const bool c1Control =
            length == 2 && lead == 0xC2 && static_cast<unsigned char>(line[1]) < 0xA0;
        if (lead == '\t')
            shown.push_back(' ');
        else if (length == 0 || lead < 0x20 || lead == 0x7F || c1Control)
            shown.push_back('?');
        else if (shown.size() + length <= limit)
            shown.append(line.substr(0, length));
        else
            break;
        line.remove_prefix(length == 0 ? 1 : length);
    }
    return shown;
}

std::vector<std::string> lastErrorLines(std::string_view tail, bool startsInsideLine) {
    struct Line {
        std::string_view text;
        bool cut;     // the first line of a tail that starts inside a line
        bool endOnly; // and no carriage return in it: only the end of a line is there
    };
    std::vector<Line> lines;
    for (bool first = true; !tail.empty(); first = false) {
        const std::size_t end = std::min(tail.find('\n'), tail.size());
        std::string_view line = tail.substr(0, end);
        tail.remove_prefix(std::min(end + 1, tail.size()));
        line = line.substr(0, line.find_last_not_of(" \t\r") + 1); // npos + 1 == 0
        const std::size_t carriageReturn = line.rfind('\r');
        if (carriageReturn != std::string_view::npos)
            line.remove_prefix(carriageReturn + 1);
        const bool cut = first && startsInsideLine;
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            lines.push_back({line, cut, cut && carriageReturn == std::string_view::npos});
    }
    if (lines.size() > 1 && lines.front().cut)
        lines.erase(lines.begin());
    if (lines.size() > shownErrorLines)
        lines.erase(lines.begin(), lines.end() - shownErrorLines);

    std::vector<std::string> shown;
    for (const Line& line : lines) {
        if (!line.endOnly) {
            shown.push_back(printableLine(line.text, shownErrorLineBytes));
            continue;
        }
        constexpr std::string_view mark = "...";
        const std::string_view text = line.text;
        std::size_t from = text.size() - std::min(text.size(), shownErrorLineBytes - mark.size());
        for (int i = 0;
             i < 3 && from < text.size() && isContinuation(static_cast<unsigned char>(text[from]));
             ++i)
            ++from; // start on a character, not inside one
        shown.push_back(std::string(mark) +
                        printableLine(text.substr(from), shownErrorLineBytes - mark.size()));
    }
    return shown;
}

} // namespace kestrin
