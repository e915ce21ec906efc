#include "interpreter/short_names.h"

#include "interpreter/names.h"

#include <algorithm>
#include <cstddef>
#include <unordered_set>

namespace kestrin::cmd {

namespace {

// Characters an 8.3 name may hold besides letters and digits.
bool isShortNameSymbol(char c) {
    switch (c) {
    case '!':
    case '#':
    case '$':
    case '%':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '-':
    case '@':
    case '^':
    case '_':
    case '`':
    case '{':
    case '}':
    case '~':
        return true;
    default:
        return false;
    }
}

bool isShortNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           isShortNameSymbol(c);
}

bool isAllShortNameChars(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isShortNameChar);
}

// Converts one part of a long name (the base or the extension) to short-name characters:
// blanks and dots removed, letters upper case, any other character (one per code point, so a
// non-ASCII letter becomes one "_") replaced by "_".
std::string convertPart(std::string_view part) {
    std::string result;
    result.reserve(part.size());
    for (const char c : part) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ' ' || c == '.') {
            continue;
        }
        if (u >= 0x80) {
            if ((u & 0xC0) != 0x80) {
                result.push_back('_'); // lead byte of a non-ASCII character
            }
            continue;
        }
        if (isShortNameChar(c)) {
            result.push_back((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c);
        } else {
            result.push_back('_');
        }
    }
    return result;
}

struct Converted {
    std::string stem; // at most six characters, never empty
    std::string extension;
};

Converted convert(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    std::string base;
    std::string extension;
    if (dot == std::string_view::npos) {
        base = convertPart(name);
    } else {
        base = convertPart(name.substr(0, dot));
        extension = convertPart(name.substr(dot + 1));
    }
    if (base.empty()) {
        base = "_";
    }
    if (base.size() > 6) {
        base.resize(6);
    }
    if (extension.size() > 3) {
        extension.resize(3);
    }
    return {std::move(base), std::move(extension)};
}

ShortName fromValidName(std::string_view name) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos) {
        return {asciiUpper(name), {}};
    }
    return {asciiUpper(name.substr(0, dot)), asciiUpper(name.substr(dot + 1))};
}

} // namespace

std::string ShortName::text() const {
    return extension.empty() ? base : base + "." + extension;
}

std::string ShortName::padded() const {
    std::string result = base;
    result.resize(8, ' ');
    result.push_back(' ');
    result += extension;
    result.resize(12, ' ');
    return result;
}

bool isValidShortName(std::string_view name) {
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    if (base.empty() || base.size() > 8 || !isAllShortNameChars(base)) {
        return false;
    }
    if (dot == std::string_view::npos) {
        return true;
    }
    const std::string_view extension = name.substr(dot + 1);
    return !extension.empty() && extension.size() <= 3 && isAllShortNameChars(extension);
}

std::vector<ShortName> deriveShortNames(const std::vector<std::string>& namesInOrder) {
    std::vector<ShortName> result(namesInOrder.size());
    std::vector<bool> assigned(namesInOrder.size(), false);
    std::unordered_set<std::string> taken;
    taken.reserve(namesInOrder.size() * 2);

    // Names that already are 8.3 names keep their own, so that a generated name never takes
    // the short name of a file that has it by right. Of names that differ only in case, the
    // first in name order keeps it and the others are generated below.
    for (std::size_t i = 0; i < namesInOrder.size(); ++i) {
        if (!isValidShortName(namesInOrder[i])) {
            continue;
        }
        ShortName shortName = fromValidName(namesInOrder[i]);
        if (taken.insert(shortName.text()).second) {
            result[i] = std::move(shortName);
            assigned[i] = true;
        }
    }

    std::unordered_map<std::string, unsigned long> lastNumber;
    for (std::size_t i = 0; i < namesInOrder.size(); ++i) {
        if (assigned[i]) {
            continue;
        }
        Converted converted = convert(namesInOrder[i]);
        unsigned long& number = lastNumber[converted.stem];
        for (;;) {
            ++number;
            const std::string digits = "~" + std::to_string(number);
            const std::size_t keep =
                std::min(converted.stem.size(), digits.size() < 8 ? 8 - digits.size() : 0);
            ShortName candidate{converted.stem.substr(0, keep) + digits, converted.extension};
            if (taken.insert(candidate.text()).second) {
                result[i] = std::move(candidate);
                break;
            }
        }
    }
    return result;
}

ShortNameIndex::ShortNameIndex(const std::vector<std::string>& namesInOrder,
                               const std::vector<ShortName>& shortNames) {
    byShortName_.reserve(namesInOrder.size());
    const std::size_t count = std::min(namesInOrder.size(), shortNames.size());
    for (std::size_t i = 0; i < count; ++i) {
        byShortName_.emplace(shortNames[i].text(), namesInOrder[i]);
    }
}

std::optional<std::string> ShortNameIndex::longNameFor(std::string_view argument) const {
    const std::string key = asciiUpper(argument);
    if (key.find('.') == std::string::npos) {
        if (const auto found = byShortName_.find(key + ".BIN"); found != byShortName_.end()) {
            return found->second;
        }
    }
    if (const auto found = byShortName_.find(key); found != byShortName_.end()) {
        return found->second;
    }
    return std::nullopt;
}

} // namespace kestrin::cmd
