#include "interpreter/names.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace kestrin::cmd {

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t code = 0;
        char32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (n - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if (!isContinuation(c)) {
                return false;
            }
            code = (code << 6) | (c & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool isListableName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return false;
        }
        switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return false;
        default:
            break;
        }
    }
    return isValidUtf8(name);
}

namespace {

// Name order of two names whose first `from` bytes are equal.
bool nameLessFrom(std::string_view a, std::string_view b, std::size_t from) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = from; i < common; ++i) {
        const auto ua = static_cast<unsigned char>(upper(a[i]));
        const auto ub = static_cast<unsigned char>(upper(b[i]));
        if (ua != ub) {
            return ua < ub;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a.compare(from, std::string_view::npos, b.substr(from)) < 0; // bytes as unsigned char
}

// The length of the common prefix of two names, eight bytes at a time. Equal bytes stay equal
// after folding, so name order needs to fold only from the first byte that differs.
std::size_t commonPrefix(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i + 8 <= common) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) {
            break;
        }
        i += 8;
    }
    while (i < common && a[i] == b[i]) {
        ++i;
    }
    return i;
}

} // namespace

bool nameLess(std::string_view a, std::string_view b) {
    return nameLessFrom(a, b, commonPrefix(a, b));
}

PackedNames::PackedNames(const std::vector<std::string>& names) {
    std::size_t bytes = 0;
    for (const auto& name : names) {
        bytes += name.size();
    }
    reserve(names.size(), bytes);
    for (const auto& name : names) {
        add(name);
    }
}

void PackedNames::reserve(std::size_t names, std::size_t bytes) {
    ends_.reserve(names);
    bytes_.reserve(bytes);
}

void PackedNames::add(std::string_view name) {
    bytes_ += name;
    ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

namespace {

// Eight bytes of `name` from `offset`, folded, as a number that orders as the bytes do. Bytes
// past the end count as 0, below every byte a name can hold, so a name sorts before the longer
// names it begins.
std::uint64_t chunkAt(std::string_view name, std::size_t offset) {
    std::uint64_t key = 0;
    for (std::size_t i = offset; i < offset + 8; ++i) {
        key = (key << 8) | (i < name.size() ? static_cast<unsigned char>(upper(name[i])) : 0u);
    }
    return key;
}

// Sorts the indexes of names whose first `offset` folded bytes are equal. Comparing whole names
// walks over their common beginning in every comparison, and the names of a game folder often
// begin alike ("Game number 00017"); sorting by eight folded bytes at a time compares two
// numbers instead and looks further only inside runs that are still equal. `keys` holds one
// key per name and is overwritten.
void sortFrom(const PackedNames& names, std::vector<std::uint64_t>& keys, std::uint32_t* begin,
              std::uint32_t* end, std::size_t offset) {
    bool longer = false; // whether any name goes on past this chunk
    for (const std::uint32_t* index = begin; index != end; ++index) {
        const std::string_view name = names[*index];
        keys[*index] = chunkAt(name, offset);
        longer = longer || name.size() > offset + 8;
    }
    if (!longer) {
        // Equal keys now mean equal folded names: byte order breaks the tie.
        std::sort(begin, end, [&](std::uint32_t a, std::uint32_t b) {
            return keys[a] != keys[b] ? keys[a] < keys[b] : names[a] < names[b];
        });
        return;
    }
    std::sort(begin, end, [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    for (std::uint32_t* run = begin; run != end;) {
        std::uint32_t* runEnd = run + 1;
        while (runEnd != end && keys[*runEnd] == keys[*run]) {
            ++runEnd;
        }
        if (runEnd - run > 1) {
            sortFrom(names, keys, run, runEnd, offset + 8);
        }
        run = runEnd;
    }
}

} // namespace

std::vector<std::uint32_t> nameOrder(const PackedNames& names) {
    std::vector<std::uint32_t> order(names.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    std::vector<std::uint64_t> keys(names.size());
    sortFrom(names, keys, order.data(), order.data() + order.size(), 0);
    return order;
}

void sortByName(std::vector<std::string>& names) {
    const std::vector<std::uint32_t> order = nameOrder(PackedNames(names));
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (const std::uint32_t i : order) {
        sorted.push_back(std::move(names[i]));
    }
    names = std::move(sorted);
}

bool hasBinExtension(std::string_view name) {
    if (name.size() < 4) {
        return false;
    }
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && upper(tail[1]) == 'B' && upper(tail[2]) == 'I' &&
           upper(tail[3]) == 'N';
}

std::string asciiUpper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = upper(c);
    }
    return result;
}

} // namespace kestrin::cmd
