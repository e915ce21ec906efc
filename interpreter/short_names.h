// 8.3 short names, derived for a whole folder the way the batch files' original file system
// derived them, and the lookup from a short name back to its long name.
#pragma once

#include "interpreter/names.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::cmd {

// A short name in the form a full listing line begins with: the base padded with blanks to 8
// characters, one blank, the extension padded to 3 ("GAME     BIN"). Neither part holds a blank,
// so the twelve characters are the whole name; a folder of 10,000 names keeps its short names in
// 120 KB without a heap allocation each.
class ShortName {
public:
    ShortName() { padded_.fill(' '); }
    // `base` of 1 to 8 and `extension` of 0 to 3 short-name characters; longer parts are cut.
    ShortName(std::string_view base, std::string_view extension);

    std::string_view base() const;      // 1 to 8 characters, upper case, never a blank
    std::string_view extension() const; // 0 to 3 characters, upper case
    // "BASE.EXT", or "BASE" without an extension.
    std::string text() const;
    // "BASE     EXT": twelve characters.
    std::string_view padded() const { return {padded_.data(), padded_.size()}; }
    bool operator==(const ShortName&) const = default;

private:
    std::array<char, 12> padded_;
};

// True when `name` already is an 8.3 name (in any letter case): a base of 1 to 8 characters, at
// most one dot followed by 1 to 3 characters, only characters a short name may hold.
bool isValidShortName(std::string_view name);

// A folder's names in name order: packed in the folder's own order, with their indexes in name
// order in `order` (or already in name order when `order` is empty).
struct NamesInOrder {
    const PackedNames& names;
    const std::vector<std::uint32_t>& order;

    std::size_t size() const { return names.size(); }
    std::string_view operator[](std::size_t k) const { return names[order.empty() ? k : order[k]]; }
    // Hints that the names some places after `k` will be read soon: scattered over their
    // buffer, they are fetched ahead so that the waits for memory overlap.
    void prefetchAhead(std::size_t k) const {
        if (order.empty() || k + 16 >= order.size())
            return;
        names.prefetchEnd(order[k + 16]);
        names.prefetch(order[k + 8]);
    }
};

// What tells a name's short name apart, four bytes a name instead of the twelve of the short
// name itself: 0 for a name that keeps its own 8.3 name, else the N of its "~N".
inline constexpr std::uint32_t kOwnShortName = 0;

// Short names for every name of a folder: entry k belongs to `names[k]`, which must hold all of
// the folder's listable names in name order. Names that are already 8.3 names keep their
// upper-case form (the first in name order when several differ only in case); every other name
// gets the first six characters of its converted base plus "~N" and the first three of its
// extension, N counted from 1 in name order among names of the same stem and skipping any short
// name already taken. No short name begins with "-", so that none can be taken for a switch: a
// name whose short name would, gets "_" for that "-" and its number after all other names, so
// that no other name's number depends on it. The same names always give the same short names.
std::vector<std::uint32_t> shortNameNumbers(const NamesInOrder& names);

// The short name of `name` from its entry of `shortNameNumbers`.
ShortName shortNameOf(std::string_view name, std::uint32_t number);

// The short names themselves, entry k for `namesInOrder[k]`.
std::vector<ShortName> deriveShortNames(const std::vector<std::string>& namesInOrder);

// Finds the long name a short name stands for, in any letter case. A batch line has a handful
// of arguments, so each lookup goes through the folder's names instead of building an index of
// them all.
class ShortNameIndex {
public:
    // `numbers` from `shortNameNumbers` of the names `names` holds in the order `order`.
    ShortNameIndex(PackedNames names, std::vector<std::uint32_t> order,
                   std::vector<std::uint32_t> numbers);

    // The long name whose short name is `argument`. An argument without a dot names first the
    // name whose short name is that base with the extension BIN (the form the launcher writes
    // for a game), then a name whose short name has no extension.
    std::optional<std::string> longNameFor(std::string_view argument) const;

private:
    std::optional<std::string> find(std::string_view base, std::string_view extension) const;

    PackedNames names_;
    std::vector<std::uint32_t> order_;
    std::vector<std::uint32_t> numbers_;
};

} // namespace kestrin::cmd
