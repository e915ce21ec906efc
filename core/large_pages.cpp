#include "core/large_pages.h"

#include <cstdint>

#include <sys/mman.h>

namespace kestrin {

void adviseLargePages(const void* begin, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t largePage = std::uintptr_t{2} << 20;
    const auto at = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = (at + largePage - 1) / largePage * largePage;
    const std::uintptr_t last = (at + bytes) / largePage * largePage;
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)begin;
    (void)bytes;
#endif
}

} // namespace kestrin
