// Files of the working folder on the local disk.
#pragma once

#include "core/ports.h"

namespace kestrin {

// Names are taken relative to the current working directory.
class DiskFiles : public Files {
public:
    // Writes the content into a temporary file beside the target and renames it over the
    // target, so that the target holds either its old or its new content, never a part. On failure
    // the temporary file is removed and the reason is returned as the system states it ("Permission
    // denied", "No space left on device").
    std::optional<std::string> replace(const std::string& name, std::string_view content) override;

    // Reads a regular file line by line. Lines end at LF; a CR right before the LF is dropped.
    // A final line without LF counts; a final LF does not start another line. Longer lines are
    // cut to `maxLineBytes` (not inside a UTF-8 character), and reading stops after `maxLines`
    // lines or after as many bytes as that many full lines could hold (16 MiB at least), so a
    // huge, binary or endless file costs bounded time and memory. Anything but a regular file (a
    // folder, a pipe, a device) reads as unopenable.
    std::optional<std::vector<std::string>> readLines(const std::string& name, std::size_t maxLines,
                                                      std::size_t maxLineBytes) override;

    void remove(const std::string& name) override;
};

} // namespace kestrin
