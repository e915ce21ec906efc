// What the fuzz targets share: a rule that traps when broken, and a file's lines as the
// launcher's reader defines them (LF ends a line, a CR ending one is dropped).
#pragma once

#include "core/text.h"

#include <string>
#include <vector>

inline void require(bool rule) {
    if (!rule)
        __builtin_trap();
}

// Each line cut to `limit` bytes on a character boundary.
inline std::vector<std::string> linesOf(std::string_view text, std::size_t limit = 1 << 20) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::string_view line = text.substr(0, text.find('\n'));
        text.remove_prefix(std::min(line.size() + 1, text.size()));
        line.remove_suffix(line.ends_with('\r'));
        lines.emplace_back(line.substr(0, kestrin::cutLength(line, limit)));
    }
    return lines;
}
