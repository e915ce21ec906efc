#include "core/text.h"

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

} // namespace kestrin
