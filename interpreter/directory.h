// One read of a folder: its listable names in name order with their short names.
#pragma once

#include "interpreter/short_names.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace kestrin::cmd {

struct FolderEntry {
    std::string name;
    ShortName shortName;
    // The entry's type as the folder reports it, where it does: 'f' a regular file, 'd' a
    // folder, 'o' anything else, '?' not known without a stat (a symbolic link, or a file
    // system that does not report types).
    char type = '?';
};

struct Folder {
    std::string path;
    std::vector<FolderEntry> entries; // listable names only, in name order
};

// Reads `path` once: every listable name, sorted by name, each with its short name derived over
// the whole folder (left empty when `withShortNames` is clear, for the bare listing that shows
// none). Nothing when the folder cannot be read; `error` then holds the reason.
std::optional<Folder> readFolder(const std::string& path, std::string& error,
                                 bool withShortNames = true);

// Size and modification time of a regular file, following symbolic links. Nothing for anything
// that is not (or does not lead to) a regular file.
struct FileDetails {
    std::uint64_t size = 0;
    std::time_t modified = 0;
};
std::optional<FileDetails> regularFileDetails(const std::string& folder, const std::string& name);

} // namespace kestrin::cmd
