#include "interpreter/names.h"

#include "core/large_pages.h"
#include "core/text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

namespace kestrin::cmd {

namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool isListableName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    // Bytes no listable name holds: control characters, DEL and the reserved characters.
    static constexpr std::array<bool, 256> kRefused = [] {
        std::array<bool, 256> refused{};
        for (std::size_t c = 0; c < 0x20; ++c) {
            refused[c] = true;
        }
        refused[0x7F] = true;
        for (const char c : std::string_view("\\/:*?\"<>|")) {
            refused[static_cast<unsigned char>(c)] = true;
        }
        return refused;
    }();
    unsigned char any = 0; // all bytes or'ed: below 0x80 for a name of ASCII only
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (kRefused[u]) {
            return false;
        }
        any |= u;
    }
    return any < 0x80 || isUtf8(name);
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
    if (offset + 8 > name.size()) {
        std::uint64_t key = 0;
        for (std::size_t i = offset; i < offset + 8; ++i) {
            key = (key << 8) | (i < name.size() ? static_cast<unsigned char>(upper(name[i])) : 0u);
        }
        return key;
    }
    // All eight bytes at once: each byte from 'a' to 'z' loses 0x20, the first byte is the
    // highest.
    constexpr std::uint64_t kEach = 0x0101010101010101ULL;
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, name.data() + offset, 8);
    const std::uint64_t low7 = bytes & (0x7F * kEach);
    const std::uint64_t fromA = low7 + (0x80 - 'a') * kEach;     // top bit set from 'a' on
    const std::uint64_t pastZ = low7 + (0x80 - 'z' - 1) * kEach; // top bit set past 'z'
    const std::uint64_t lower = fromA & ~pastZ & ~bytes & (0x80 * kEach);
    bytes -= lower >> 2;
    if constexpr (std::endian::native == std::endian::little) {
        bytes = __builtin_bswap64(bytes);
    }
    return bytes;
}

// A name's index with eight of its folded bytes, sorted together so that a comparison reads
// two neighbouring numbers instead of two names scattered over a large buffer. Packed into twelve
// bytes: a folder of a million names sorts in 12 MB instead of 16.
struct __attribute__((packed)) Keyed {
    std::uint64_t key;
    std::uint32_t index;
};

// Sets the key of each name of [begin, end) to its chunk at `offset`; true when any name goes on
// past that chunk. The names lie scattered over a large buffer in the folder's order, so each
// one is fetched some names ahead of its use, and the waits for memory overlap.
bool loadKeys(const PackedNames& names, Keyed* begin, Keyed* end, std::size_t offset) {
    constexpr std::ptrdiff_t kAhead = 8;
    bool longer = false;
    for (Keyed* entry = begin; entry != end; ++entry) {
        if (end - entry > 2 * kAhead) {
            names.prefetchEnd(entry[2 * kAhead].index);
            names.prefetch(entry[kAhead].index);
        }
        const std::string_view name = names[entry->index];
        entry->key = chunkAt(name, offset);
        longer = longer || name.size() > offset + 8;
    }
    return longer;
}

// Sorts names whose first `offset` folded bytes are equal, their keys loaded for that offset.
// Comparing whole names walks over their common beginning in every comparison, and the names
// of a game folder often begin alike ("Game number 00017"); sorting by eight folded bytes at a
// time compares two numbers instead and looks further only inside runs that are still equal.
void sortFrom(const PackedNames& names, Keyed* begin, Keyed* end, std::size_t offset, bool longer) {
    // A folder often holds its names in the order they were made, and that is often name order
    // already (a copy made in order, a file system that keeps the order of making); names that
    // share their first eight characters ("Game 000") have equal keys. Keys already in order
    // are not sorted again: a look at each costs far less than a sort.
    if (!longer) {
        // Equal keys now mean equal folded names: byte order breaks the tie.
        const auto byName = [&names](const Keyed& a, const Keyed& b) {
            return a.key != b.key ? a.key < b.key : names[a.index] < names[b.index];
        };
        if (!std::is_sorted(begin, end, byName)) {
            std::sort(begin, end, byName);
        }
        return;
    }
    const auto byKey = [](const Keyed& a, const Keyed& b) { return a.key < b.key; };
    if (!std::is_sorted(begin, end, byKey)) {
        std::sort(begin, end, byKey);
    }
    for (Keyed* run = begin; run != end;) {
        Keyed* runEnd = run + 1;
        while (runEnd != end && runEnd->key == run->key) {
            ++runEnd;
        }
        if (runEnd - run > 1) {
            const bool runLonger = loadKeys(names, run, runEnd, offset + 8);
            sortFrom(names, run, runEnd, offset + 8, runLonger);
        }
        run = runEnd;
    }
}

} // namespace

std::vector<std::uint32_t> nameOrder(const PackedNames& names) {
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    adviseLargePages(keyed.data(), names.size() * sizeof(Keyed));
    keyed.resize(names.size());
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        keyed[i].index = static_cast<std::uint32_t>(i);
    }
    Keyed* const begin = keyed.data();
    Keyed* const end = begin + keyed.size();
    sortFrom(names, begin, end, 0, loadKeys(names, begin, end, 0));
    std::vector<std::uint32_t> order(keyed.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        order[k] = keyed[k].index;
    }
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
