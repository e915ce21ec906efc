#include "interpreter/directory.h"

#include "interpreter/names.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace kestrin::cmd {

namespace {

char typeOf(unsigned char direntType) {
    switch (direntType) {
    case DT_REG:
        return 'f';
    case DT_DIR:
        return 'd';
    case DT_LNK:
    case DT_UNKNOWN:
        return '?';
    default:
        return 'o';
    }
}

} // namespace

std::optional<Folder> readFolder(const std::string& path, std::string& error, bool withShortNames) {
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    std::vector<std::string> names;
    std::vector<char> types;
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (isListableName(entry->d_name)) {
            names.emplace_back(entry->d_name);
            types.push_back(typeOf(entry->d_type));
        }
        errno = 0;
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0) {
        error = std::strerror(readError);
        return std::nullopt;
    }

    const std::vector<std::size_t> order = nameOrder(names);
    std::vector<std::string> sorted;
    sorted.reserve(order.size());
    for (const std::size_t i : order) {
        sorted.push_back(std::move(names[i]));
    }
    std::vector<ShortName> shortNames =
        withShortNames ? deriveShortNames(sorted) : std::vector<ShortName>(sorted.size());

    Folder folder;
    folder.path = path;
    folder.entries.reserve(sorted.size());
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        folder.entries.push_back({std::move(sorted[k]), std::move(shortNames[k]), types[order[k]]});
    }
    return folder;
}

std::optional<FileDetails> regularFileDetails(const std::string& folder, const std::string& name) {
    const std::string full =
        folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
    struct stat info {};
    if (::stat(full.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return FileDetails{static_cast<std::uint64_t>(info.st_size), info.st_mtime};
}

} // namespace kestrin::cmd
