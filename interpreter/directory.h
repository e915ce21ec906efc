// One read of a folder: its listable names in name order with their short names.
#pragma once

#include "interpreter/names.h"
#include "interpreter/short_names.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::cmd {

// Which names a read keeps.
enum class FolderScope {
    AllWithShortNames, // every listable name, each with its short name
    BinNamesOnly,      // only names matching "*.bin", without short names (the bare listing)
};

// Everything is indexed by position in name order.
struct Folder {
    std::string path;
    // The listable names in the folder's own order, with `order` holding their indexes in name
    // order. They are never copied into name order: that would cost a second copy of them all.
    PackedNames names;
    std::vector<std::uint32_t> order;
    // By position, what `shortNameOf` needs beside the name; empty for BinNamesOnly.
    std::vector<std::uint32_t> shortNameNumbers;
    // The entry's type as the folder reports it, by position: 'f' a regular file, 'd' a folder,
    // 'o' anything else, '?' not known without a stat (a symbolic link, or a file system that
    // does not report types).
    std::vector<char> types;

    std::size_t size() const { return names.size(); }
    NamesInOrder inOrder() const { return {names, order}; }
    std::string_view nameAt(std::size_t k) const { return inOrder()[k]; }
};

// Reads `path` once: the names `scope` asks for, sorted by name, with short names derived over
// the whole folder when it asks for them. Nothing when the folder cannot be read; `error` then
// holds the reason.
std::optional<Folder> readFolder(const std::string& path, std::string& error,
                                 FolderScope scope = FolderScope::AllWithShortNames);

// True when `name` in `folder` is or leads to a regular file, following symbolic links.
bool isRegularFile(const std::string& folder, std::string_view name);

} // namespace kestrin::cmd
