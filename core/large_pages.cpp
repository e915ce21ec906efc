#include "core/large_pages.h"

#include <cstdint>

#include <sys/mman.h>

namespace kestrin {

void adviseWholeUnits(const void* begin, std::size_t bytes, std::size_t unit, int advice) {
    const auto at = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = (at + unit - 1) / unit * unit;
    const std::uintptr_t last = (at + bytes) / unit * unit;
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, advice);
}

void adviseLargePages(const void* begin, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    adviseWholeUnits(begin, bytes, std::size_t{2} << 20, MADV_HUGEPAGE);
#else
    (void)begin;
    (void)bytes;
#endif
}

} // namespace kestrin
