// 8.3 short names, derived for a whole folder the way the batch files' original file system
// derived them, and the lookup from a short name back to its long name.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrin::cmd {

struct ShortName {
    std::string base;      // 1 to 8 characters, upper case, never a blank
    std::string extension; // 0 to 3 characters, upper case

    // "BASE.EXT", or "BASE" without an extension.
    std::string text() const;
    // The form a full listing line begins with: base padded to 8, one blank, extension padded
    // to 3 ("GAME     BIN").
    std::string padded() const;
    bool operator==(const ShortName&) const = default;
};

// True when `name` already is an 8.3 name (in any letter case): a base of 1 to 8 characters, at
// most one dot followed by 1 to 3 characters, only characters a short name may hold.
bool isValidShortName(std::string_view name);

// Short names for every name of a folder. `namesInOrder` must be the folder's listable names in
// name order; the result has one short name per name, at the same index. Names that are already
// 8.3 names keep their upper-case form (the first in name order when several differ only in
// case); every other name gets the first six characters of its converted base plus "~N" and the
// first three of its extension, N counted from 1 in name order among names of the same stem and
// skipping any short name already taken. The same names always give the same short names.
std::vector<ShortName> deriveShortNames(const std::vector<std::string>& namesInOrder);

// Finds the long name a short name stands for, in any letter case.
class ShortNameIndex {
public:
    ShortNameIndex(const std::vector<std::string>& namesInOrder,
                   const std::vector<ShortName>& shortNames);

    // The long name whose short name is `argument`. An argument without a dot names first the
    // name whose short name is that base with the extension BIN (the form the launcher writes
    // for a game), then a name whose short name has no extension.
    std::optional<std::string> longNameFor(std::string_view argument) const;

private:
    std::unordered_map<std::string, std::string> byShortName_;
};

} // namespace kestrin::cmd
