#include "platform/disk_files.h"

#include "core/large_pages.h"
#include "core/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrin {

namespace {

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

// Closes a descriptor when leaving scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // Closes now and reports the error of close itself, which can be the first sign of a full
    // disk on some file systems.
    int closeNow() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// The permissions a newly created file gets: the target's own when it exists, else the usual
// read-write for everybody less the process's umask.
mode_t permissionsFor(const std::string& name) {
    struct stat existing {};
    if (::stat(name.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, std::string_view content) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Maps the whole pages of a freshly reserved, still untouched block in one system call, so that
// filling it does not take a page fault on every page. A large block is a mapping of its own,
// and a page fault costs far more than mapping the page in advance. Where the system cannot do
// this, the pages are mapped on first use as usual.
void prepareLargeBlock(const void* begin, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    constexpr std::size_t worthIt = 64 * 1024;
    if (bytes >= worthIt)
        adviseWholeUnits(begin, bytes, static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)),
                         MADV_POPULATE_WRITE);
#else
    (void)begin;
    (void)bytes;
#endif
}

// The name a save's new content has between being complete and replacing the target. It is
// fixed, so that a save killed in that moment leaves at most this one file behind, which the
// next start-up removes and the next save replaces.
std::string pendingName(const std::string& name) {
    return "." + name + ".kestrin-new";
}

// Writes `content` into a new file without a name in the working folder, with the permissions
// the target should have. Returns the descriptor, or -1 with errno set.
int unnamedFileWith(const std::string& name, std::string_view content) {
    const int fd = ::open(".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::fchmod(fd, permissionsFor(name)) != 0 || !writeAll(fd, content)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Whether `entry` is the name of a temporary file that a save of `name` makes: the pending
// name, or the named file's: a dot, the name, a dot and six letters or digits (mkostemp's).
bool isTemporaryOf(std::string_view entry, const std::string& name) {
    if (entry == pendingName(name))
        return true;
    const std::string prefix = "." + name + ".";
    return entry.size() == prefix.size() + 6 && entry.starts_with(prefix) &&
           std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix.size()), entry.end(),
                       [](char c) {
                           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                  (c >= '0' && c <= '9');
                       });
}

// Names what stands at the pending name and cannot be removed, so that the user can find it;
// a folder there is the user's, never removed.
std::string obstacle(const std::string& pending, int error) {
    struct stat info {};
    const bool folder = ::lstat(pending.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return pending + " is in the way: " + (folder ? "it is a folder" : systemReason(error));
}

// Gives the complete unnamed file its pending name, replacing one a killed save left. Returns
// why that failed; `error` is ENOENT when there is no /proc to link through.
std::optional<std::string> linkPending(int fd, const std::string& pending, int& error) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0;; ++attempt) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, pending.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return std::nullopt;
        error = errno;
        if (error != EEXIST || attempt == 1)
            return systemReason(error);
        if (::unlink(pending.c_str()) != 0 && errno != ENOENT)
            return obstacle(pending, errno);
    }
}

// Where the folder's file system has no unnamed files (or /proc is missing): a temporary file
// of a unique name, written and renamed. Only a kill in the middle leaves it behind.
std::optional<std::string> replaceThroughNamedFile(const std::string& name,
                                                   std::string_view content) {
    std::string temporary = "." + name + ".XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return systemReason(errno);
    auto fail = [&temporary](int error) {
        ::unlink(temporary.c_str());
        return std::optional<std::string>(systemReason(error));
    };
    if (::fchmod(fd.get(), permissionsFor(name)) != 0 || !writeAll(fd.get(), content))
        return fail(errno);
    if (fd.closeNow() != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), name.c_str()) != 0)
        return fail(errno);
    return std::nullopt;
}

void removeTemporaryFilesOf(const std::vector<std::string>& names) {
    DIR* folder = ::opendir(".");
    if (folder == nullptr)
        return;
    // One pass over the folder, however many games it holds. Only a regular file of a single
    // name goes: never a link, a folder, or a file that has another name elsewhere.
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view found = entry->d_name;
        if (found.front() != '.' || std::none_of(names.begin(), names.end(), [&](auto& name) {
                return isTemporaryOf(found, name);
            }))
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_nlink == 1)
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

} // namespace

DiskFiles::~DiskFiles() {
    finishRemovingLeftovers();
}

void DiskFiles::finishRemovingLeftovers() {
    if (leftoverSweep_.joinable())
        leftoverSweep_.join();
}

std::optional<std::string> DiskFiles::replace(const std::string& name, std::string_view content) {
    finishRemovingLeftovers();
    if (!unnamedFiles_)
        return replaceThroughNamedFile(name, content);
    // The new content is complete before it has a name at all: a save killed while writing
    // leaves nothing behind. Linked under its pending name, it is renamed over the target, so
    // the target holds either its old or its new content, never a part; the pending file
    // sits in the same folder, so the rename never crosses file systems.
    Descriptor fd(unnamedFileWith(name, content));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == EOPNOTSUPP || error == EISDIR || error == EINVAL) // no unnamed files here
            return replaceThroughNamedFile(name, content);
        return systemReason(error);
    }
    const std::string pending = pendingName(name);
    int linkError = 0;
    if (auto failure = linkPending(fd.get(), pending, linkError)) {
        if (linkError == ENOENT) // no /proc to link through
            return replaceThroughNamedFile(name, content);
        return failure;
    }
    // No fsync: it costs about 10 ms here, the whole budget of starting a game. The rename is
    // atomic, so a crash of the launcher leaves the old or the new content and never a part;
    // against a crash of the system, ext4 (auto_da_alloc) and btrfs write a file renamed over
    // another one to the disk before the rename itself.
    if (fd.closeNow() != 0 || ::rename(pending.c_str(), name.c_str()) != 0) {
        const int error = errno;
        ::unlink(pending.c_str());
        return systemReason(error);
    }
    return std::nullopt;
}

void DiskFiles::removeLeftovers(const std::vector<std::string>& names) {
    finishRemovingLeftovers();
    leftoverSweep_ = std::thread([names] { removeTemporaryFilesOf(names); });
}

std::optional<FileLines> DiskFiles::readLines(const std::string& name, const LineLimits& limits) {
    // O_NONBLOCK keeps a pipe that nobody writes from blocking the open; it is refused below.
    const int flags =
        O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (limits.interpreterFile ? O_NOFOLLOW : 0);
    Descriptor fd(::open(name.c_str(), flags));
    if (fd.get() < 0) {
        // A regular file that is there but cannot be opened is not a missing one: say why.
        const int error = errno;
        struct stat there {};
        if (::lstat(name.c_str(), &there) != 0 || !S_ISREG(there.st_mode))
            return std::nullopt;
        FileLines unreadable;
        unreadable.failure = systemReason(error);
        return unreadable;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    // A file the interpreter wrote has this one name; a second one may be an outside file's.
    if (limits.interpreterFile && info.st_nlink != 1)
        return std::nullopt;
    if (limits.sized)
        limits.sized(static_cast<std::size_t>(info.st_size));

    // Reading stops after as many bytes as `maxLines` full lines with their CR LF could hold,
    // but never before 16 MiB (a few milliseconds of reading), so that one overlong line does
    // not cost the lines after it.
    constexpr std::size_t minimumBudget = std::size_t{16} << 20;
    const std::size_t maxLines = limits.maxLines, maxLineBytes = limits.maxLineBytes;
    const std::size_t perLine = maxLineBytes + 2;
    std::size_t byteBudget = std::numeric_limits<std::size_t>::max();
    if (maxLines == 0 || perLine <= byteBudget / maxLines)
        byteBudget = std::max(maxLines * perLine, minimumBudget);

    FileLines result;
    std::vector<std::string>& lines = result.lines;
    std::size_t count = 0; // lines kept, collected or handed on
    // Adds one line: a CR at its end dropped, then cut, then the part to keep taken. `fullLength`
    // is the line's length before it was kept only in part, so a CR that was not its last byte
    // is never taken for the end. Past `maxLines` a line is only counted.
    auto addLine = [&](std::string_view kept, std::size_t fullLength) {
        if (count == maxLines) {
            ++result.linesLeft;
            return;
        }
        if (!kept.empty() && kept.size() == fullLength && kept.back() == '\r')
            kept.remove_suffix(1);
        kept = kept.substr(0, cutLength(kept, maxLineBytes));
        ++count;
        if (limits.each)
            limits.each(limits.keep ? limits.keep(kept) : kept);
        else
            lines.emplace_back(limits.keep ? limits.keep(kept) : kept);
    };

    // A line that began in an earlier piece: its kept part (one byte beyond the limit, so that
    // the cut can tell where a character ends) and its full length so far.
    std::string partial;
    std::size_t partialLength = 0;
    bool inLine = false;
    std::size_t consumed = 0;
    bool reserved = false;

    char buffer[64 * 1024];
    while (consumed < byteBudget && (count < maxLines || limits.countLinesLeft)) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.failure = systemReason(errno); // what was read before stays
            break;
        }
        if (got == 0)
            break;
        std::size_t available = static_cast<std::size_t>(got);
        if (available > byteBudget - consumed)
            available = byteBudget - consumed;
        consumed += available;

        const char* at = buffer;
        const char* const end = buffer + available;
        if (!reserved && !limits.each) {
            // The first piece tells how long the lines are; from that, the file's size gives
            // their number, and the list is sized once instead of growing and copying. For a
            // file of one piece the count is exact.
            const auto inPiece = static_cast<std::size_t>(std::count(at, end, '\n'));
            const auto size = static_cast<std::size_t>(info.st_size);
            std::size_t estimate = inPiece + 1;
            if (size > available && available > 0)
                estimate = size / available * (inPiece + 1) + (inPiece + 1);
            lines.reserve(std::min(estimate, maxLines));
            prepareLargeBlock(lines.data(), lines.capacity() * sizeof(std::string));
            reserved = true;
        }
        while (at < end && (count < maxLines || limits.countLinesLeft)) {
            const auto* newline = static_cast<const char*>(std::memchr(at, '\n', end - at));
            const char* const stop = newline ? newline : end;
            const auto length = static_cast<std::size_t>(stop - at);
            if (!inLine && newline) {
                addLine(std::string_view(at, length), length); // the whole line is in this piece
                at = newline + 1;
                continue;
            }
            const std::size_t room =
                maxLineBytes + 1 > partial.size() ? maxLineBytes + 1 - partial.size() : 0;
            partial.append(at, std::min(length, room));
            partialLength += length;
            inLine = true;
            if (!newline)
                break;
            addLine(partial, partialLength);
            partial.clear();
            partialLength = 0;
            inLine = false;
            at = newline + 1;
        }
    }
    if (inLine && partialLength > 0 && (count < maxLines || limits.countLinesLeft))
        addLine(partial, partialLength);
    return result;
}

void DiskFiles::remove(const std::string& name) {
    finishRemovingLeftovers();
    ::unlink(name.c_str());
}

} // namespace kestrin
