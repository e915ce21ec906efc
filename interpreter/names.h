// File names as the interpreter sees them: which names it can show, their order, the pattern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::cmd {

// True for a name the batch files' original file system could hold: valid UTF-8, no control
// characters and none of \ / : * ? " < > |. Other names are left out of listings and short names.
bool isListableName(std::string_view name);

// Many names back to back in one buffer, each found by its index. A folder of 10,000 names then
// costs two allocations instead of 10,000, and its names lie on a few contiguous pages.
class PackedNames {
public:
    PackedNames() = default;
    explicit PackedNames(const std::vector<std::string>& names);

    void reserve(std::size_t names, std::size_t bytes);
    void add(std::string_view name);
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(begin, ends_[i] - begin);
    }
    // Hints that the name `i` (or only where it ends) will be read soon.
    void prefetch(std::size_t i) const {
        __builtin_prefetch(bytes_.data() + (i == 0 ? 0 : ends_[i - 1]));
    }
    void prefetchEnd(std::size_t i) const { __builtin_prefetch(ends_.data() + i); }

private:
    std::string bytes_;
    std::vector<std::uint32_t> ends_; // where each name ends in `bytes_`
};

// The indexes of `names` in name order.
std::vector<std::uint32_t> nameOrder(const PackedNames& names);

// Sorts names in name order.
void sortByName(std::vector<std::string>& names);

// True when `name` matches the pattern "*.bin": it ends in ".bin" in any letter case.
bool hasBinExtension(std::string_view name);

// ASCII upper case; other bytes stay as they are.
std::string asciiUpper(std::string_view text);

} // namespace kestrin::cmd
