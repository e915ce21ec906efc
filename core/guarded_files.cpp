#include "core/guarded_files.h"

namespace kestrin {

std::optional<std::string> GuardedFiles::replace(const std::string& name,
                                                 std::string_view content) {
    if (const auto unread = unread_.find(name); unread != unread_.end())
        return "it could not be read (" + unread->second + "), so it is left as it is";
    return files_.replace(name, content);
}

std::optional<FileLines> GuardedFiles::readLines(const std::string& name,
                                                 const LineLimits& limits) {
    std::optional<FileLines> read = files_.readLines(name, limits);
    if (read && !read->failure.empty())
        unread_.emplace(name, read->failure);
    return read;
}

} // namespace kestrin
