// The two listings of the built-in `dir`: bare (long names) and full (short names first).
#pragma once

#include "interpreter/directory.h"

#include <functional>
#include <string>
#include <string_view>

namespace kestrin::cmd {

enum class ListingForm { Bare, Full };

// The names a folder read must keep for a listing: the bare listing shows no short names, so it
// needs only the "*.bin" names; the full one derives short names over the whole folder.
FolderScope scopeFor(ListingForm form);

// Receives a listing piece by piece; false stops the listing (the output failed).
using ListingSink = std::function<bool(std::string_view)>;

// The listing of `folder` in `form`, handed to `sink` in pieces of about 64 KiB so that a large
// folder's listing never has to be held whole. It shows the regular files (symbolic links to
// regular files included) that match "*.bin", in name order; a file's type is looked up only
// where the folder did not report it. `folder` must have been read with `scopeFor(form)`.
//
// Bare: one long name per line.
// Full: five header lines, then one line per file, "NAME     EXT", two blanks and the long name,
// then a summary line that begins with blanks and counts the files. `folderLabel` is shown in
// the header; control characters in it are replaced so that the header always has exactly five
// lines. Sizes and dates are not shown: the launcher reads only the short name, and looking
// them up costs a stat per file, more than all the rest of a large listing.
//
// False when the sink refused a piece.
bool writeListing(const Folder& folder, std::string_view folderLabel, ListingForm form,
                  const ListingSink& sink);

// The same listing as one string.
std::string formatListing(const Folder& folder, std::string_view folderLabel, ListingForm form);

// Lines end in CR LF.
inline constexpr std::string_view kLineEnd = "\r\n";

} // namespace kestrin::cmd
