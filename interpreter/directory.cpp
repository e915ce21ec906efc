#include "interpreter/directory.h"

#include <algorithm>
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

// Closes the folder when leaving scope.
struct FolderHandle {
    DIR* dir;
    ~FolderHandle() {
        if (dir != nullptr) {
            ::closedir(dir);
        }
    }
};

} // namespace

std::optional<Folder> readFolder(const std::string& path, std::string& error, FolderScope scope) {
    FolderHandle handle{::opendir(path.c_str())};
    if (handle.dir == nullptr) {
        error = std::strerror(errno);
        return std::nullopt;
    }

    Folder folder;
    folder.path = path;
    // The folder's own size is a fair first guess of its names' total length (on ext4 a little
    // more); untouched reserved memory costs nothing, while regrowing copies every name.
    struct stat info {};
    if (::fstat(::dirfd(handle.dir), &info) == 0 && info.st_size > 0) {
        const auto bytes = static_cast<std::size_t>(info.st_size);
        folder.names.reserve(bytes / 16, bytes);
    }
    std::vector<char> types;
    types.reserve(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) / 16 : 0);

    const bool binOnly = scope == FolderScope::BinNamesOnly;
    errno = 0;
    while (const dirent* entry = ::readdir(handle.dir)) {
        const std::string_view name(entry->d_name);
        if ((!binOnly || hasBinExtension(name)) && isListableName(name)) {
            folder.names.add(name);
            types.push_back(typeOf(entry->d_type));
        }
        errno = 0;
    }
    if (errno != 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }

    folder.order = nameOrder(folder.names);
    folder.types.resize(folder.order.size());
    for (std::size_t k = 0; k < folder.order.size(); ++k) {
        folder.types[k] = types[folder.order[k]];
    }
    if (!binOnly) {
        folder.shortNameNumbers = shortNameNumbers(folder.inOrder());
    }
    return folder;
}

bool isRegularFile(const std::string& folder, std::string_view name) {
    std::string full = folder;
    if (!full.empty() && full.back() != '/') {
        full += '/';
    }
    full += name;
    struct stat info {};
    return ::stat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace kestrin::cmd
