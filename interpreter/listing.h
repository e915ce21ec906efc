// The two listings of the built-in `dir`: bare (long names) and full (short names first).
#pragma once

#include "interpreter/directory.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrin::cmd {

enum class ListingForm { Bare, Full };

// A file of a listing; it points into the `Folder` it was taken from, which must outlive it.
struct ListedFile {
    const FolderEntry* entry = nullptr;
    FileDetails details;
};

// The folder's regular files (symbolic links to regular files included) that match "*.bin", in
// name order. Sizes and times are read only when `withDetails` is set; the bare listing needs
// none and then reads no file information where the folder already reports the type.
std::vector<ListedFile> binFiles(const Folder& folder, bool withDetails);

// One long name per line.
std::string formatBareListing(const std::vector<ListedFile>& files);

// Five header lines, one line per file ("NAME     EXT", size, date, time, long name), then a
// summary line that begins with blanks. `folderLabel` is shown in the header; control
// characters in it are replaced so that the header always has exactly five lines.
std::string formatFullListing(std::string_view folderLabel, const std::vector<ListedFile>& files);

// Lines end in CR LF.
inline constexpr std::string_view kLineEnd = "\r\n";

} // namespace kestrin::cmd
