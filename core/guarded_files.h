// Files that are never replaced without having been read when a read was tried and failed.
#pragma once

#include "core/ports.h"

#include <map>

namespace kestrin {

// Passes everything on to `files`, except that a file which is there but could not be read
// (permissions, a read error) is not replaced afterwards: a config.dat the user cannot read,
// say after a start as another user, keeps the options it holds instead of being overwritten
// with values that never came from it. Its saves fail with the reason, like any other failure.
class GuardedFiles final : public Files {
public:
    explicit GuardedFiles(Files& files) : files_(files) {}

    std::optional<std::string> replace(const std::string& name, std::string_view content) override;
    std::optional<FileLines> readLines(const std::string& name, const LineLimits& limits) override;
    void remove(const std::string& name) override { files_.remove(name); }
    void removeLeftovers(const std::vector<std::string>& names) override {
        files_.removeLeftovers(names);
    }

private:
    Files& files_;
    std::map<std::string, std::string> unread_; // name -> why it could not be read
};

} // namespace kestrin
