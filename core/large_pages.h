// Memory for large blocks that are filled once, such as a folder's names.
#pragma once

#include <cstddef>

namespace kestrin {

// Gives the system's memory `advice` (madvise) for the whole `unit`-aligned stretches inside
// the block; the ragged ends are left alone, as they may share a unit with other memory.
void adviseWholeUnits(const void* begin, std::size_t bytes, std::size_t unit, int advice);

// Asks the system to back the whole 2 MiB stretches of a large, still untouched block with
// large pages: a million names then take a few dozen page faults instead of thousands, and
// fewer misses of the address cache. Without large pages nothing changes.
void adviseLargePages(const void* begin, std::size_t bytes);

} // namespace kestrin
