// The built-in `dir` in the two forms the launcher writes.
#pragma once

#include "interpreter/listing.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::cmd {

// True when the first word names the built-in (in any letter case).
bool isDirCommand(const std::vector<std::string>& words);

// The listing form the words ask for: "/On" and "*.bin" with "/b" for the bare listing, without
// it for the full one; switches and pattern in any letter case and order. Nothing for any other
// form, which this interpreter does not provide.
std::optional<ListingForm> dirForm(const std::vector<std::string>& words);

// The listing of `folderPath` in `form` as one string; `folderLabel` names the folder in the
// full listing's header. Nothing when the folder cannot be read (`error` says why).
std::optional<std::string> makeListing(const std::string& folderPath, std::string_view folderLabel,
                                       ListingForm form, std::string& error);

} // namespace kestrin::cmd
