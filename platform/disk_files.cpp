#include "platform/disk_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <system_error>

#include <fcntl.h>
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

// Cuts a line to at most `maxBytes`, moving the cut back to the start of a UTF-8 character
// when it would fall inside one.
void cutLine(std::string& line, std::size_t maxBytes) {
    if (line.size() <= maxBytes)
        return;
    auto isContinuation = [&line](std::size_t at) {
        return (static_cast<unsigned char>(line[at]) & 0xC0) == 0x80;
    };
    std::size_t start = maxBytes;
    while (start > 0 && maxBytes - start < 3 && isContinuation(start))
        --start;
    // Move the cut only onto a genuine lead byte whose character would not have fitted.
    const auto lead = static_cast<unsigned char>(line[start]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const bool splitCharacter = lead >= 0xC2 && lead <= 0xF4 && start + length > maxBytes;
    line.resize(start != maxBytes && splitCharacter ? start : maxBytes);
}

} // namespace

std::optional<std::string> DiskFiles::replace(const std::string& name, std::string_view content) {
    // The temporary file sits in the same folder, so the rename never crosses file systems.
    std::string temporary = "." + name + ".XXXXXX";
    Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return systemReason(errno);

    auto fail = [&temporary](int error) {
        ::unlink(temporary.c_str());
        return std::optional<std::string>(systemReason(error));
    };
    if (::fchmod(fd.get(), permissionsFor(name)) != 0)
        return fail(errno);
    if (!writeAll(fd.get(), content))
        return fail(errno);
    // No fsync: it costs about 10 ms here, the whole budget of starting a game. The rename is
    // atomic, so a crash of the launcher leaves the old or the new content and never a part;
    // against a crash of the system, ext4 (auto_da_alloc) and btrfs write a file renamed over
    // another one to the disk before the rename itself.
    if (fd.closeNow() != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), name.c_str()) != 0)
        return fail(errno);
    return std::nullopt;
}

std::optional<std::vector<std::string>>
DiskFiles::readLines(const std::string& name, std::size_t maxLines, std::size_t maxLineBytes) {
    // O_NONBLOCK keeps a pipe that nobody writes from blocking the open; it is refused below.
    Descriptor fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;

    // Reading stops after as many bytes as `maxLines` full lines with their CR LF could hold,
    // but never before 16 MiB (a few milliseconds of reading), so that one overlong line does
    // not cost the lines after it.
    constexpr std::size_t minimumBudget = std::size_t{16} << 20;
    const std::size_t perLine = maxLineBytes + 2;
    std::size_t byteBudget = std::numeric_limits<std::size_t>::max();
    if (maxLines == 0 || perLine <= byteBudget / maxLines)
        byteBudget = std::max(maxLines * perLine, minimumBudget);

    std::vector<std::string> lines;
    if (info.st_size > 0) {
        // One line of typical length per 32 bytes is a fair first guess; it saves most of
        // the reallocations of the vector without over-reserving for short files.
        const auto guess = static_cast<std::size_t>(info.st_size) / 32 + 1;
        lines.reserve(guess < maxLines ? guess : maxLines);
    }

    std::string current;       // the kept part of the line being read (plus a possible CR)
    std::size_t lineBytes = 0; // the full length of the line being read
    char lastByte = '\0';
    std::size_t consumed = 0;
    auto finishLine = [&] {
        if (lineBytes > 0 && lastByte == '\r' && current.size() == lineBytes)
            current.pop_back();
        cutLine(current, maxLineBytes);
        lines.push_back(std::move(current));
        current = std::string();
        lineBytes = 0;
        lastByte = '\0';
    };

    char buffer[64 * 1024];
    while (lines.size() < maxLines && consumed < byteBudget) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            break; // a read error ends the file; what was read stays
        }
        if (got == 0)
            break;
        std::size_t available = static_cast<std::size_t>(got);
        if (available > byteBudget - consumed)
            available = byteBudget - consumed;
        consumed += available;

        const char* at = buffer;
        const char* const end = buffer + available;
        while (at < end && lines.size() < maxLines) {
            const auto* newline = static_cast<const char*>(std::memchr(at, '\n', end - at));
            const char* const stop = newline ? newline : end;
            const auto length = static_cast<std::size_t>(stop - at);
            if (length > 0) {
                // Keep one byte beyond the limit so that a CR at the end can be recognised.
                const std::size_t room =
                    maxLineBytes + 1 > current.size() ? maxLineBytes + 1 - current.size() : 0;
                current.append(at, length < room ? length : room);
                lineBytes += length;
                lastByte = stop[-1];
            }
            if (!newline)
                break;
            finishLine();
            at = newline + 1;
        }
    }
    if (lineBytes > 0 && lines.size() < maxLines)
        finishLine();
    return lines;
}

void DiskFiles::remove(const std::string& name) {
    ::unlink(name.c_str());
}

} // namespace kestrin
