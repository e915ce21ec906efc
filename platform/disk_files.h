// Files of the working folder on the local disk.
#pragma once

#include "core/ports.h"

#include <thread>

namespace kestrin {

// Names are taken relative to the current working directory.
class DiskFiles : public Files {
public:
    // With `unnamedFiles` false, saves take the way they take where the file system has no
    // unnamed files: a temporary file of a unique name.
    explicit DiskFiles(bool unnamedFiles = true) : unnamedFiles_(unnamedFiles) {}
    ~DiskFiles() override;
    DiskFiles(const DiskFiles&) = delete;
    DiskFiles& operator=(const DiskFiles&) = delete;

    // Writes the content into a new file without a name, links it under a pending name beside
    // the target once it is complete and renames it over the target, so that the target holds
    // either its old or its new content, never a part, and a killed save leaves at most the
    // pending file. The reason of a failure is returned as the system states it ("Permission
    // denied", "No space left on device"), or names what stands at the pending name.
    std::optional<std::string> replace(const std::string& name, std::string_view content) override;

    // Reads a regular file line by line. Lines end at LF; a CR that ends a line is dropped. A
    // final line without LF counts; a final LF does not start another line. Longer lines are
    // cut to `maxLineBytes` (not inside a UTF-8 character), and reading stops after `maxLines`
    // lines (or counts on) and after as many bytes as that many full lines could hold (16 MiB
    // at least), so a huge, binary or endless file costs bounded time and memory. Anything but
    // a regular file (a folder, a pipe, a device) reads as unopenable, and so does a symbolic
    // link or a file of several names where only the interpreter's own files are read. A
    // regular file that cannot be opened or read to its end tells why in `failure`.
    std::optional<FileLines> readLines(const std::string& name, const LineLimits& limits) override;

    void remove(const std::string& name) override;

    // Removes the temporary files of saves of these names that were killed before their
    // rename, on either way of saving: regular files of a single name, never links or folders.
    // That takes one read of the whole folder (half a second at a million games), so it runs
    // beside the caller; the next replace or remove, or the end of this object, waits for it,
    // so that it never meets a save of this program.
    void removeLeftovers(const std::vector<std::string>& names) override;

private:
    void finishRemovingLeftovers();

    bool unnamedFiles_;
    std::thread leftoverSweep_;
};

} // namespace kestrin
