// The game catalogue: the ROM images of the working folder as display names and short names.
//
// At start-up the command interpreter lists every *.bin file twice, once as a bare listing of
// long names (games.dat) and once as a full listing whose lines begin with the short name
// (lgames.dat). Both listings are in name order, so line n of one and line n of the other
// name the same file; the index is the only link between a display name and its short name.
#pragma once

#include "core/large_pages.h"
#include "core/ports.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

// Lines back to back in one buffer, each found by its index. A million game names then cost two
// allocations and their own bytes, instead of a string object and an allocation each.
class PackedLines {
public:
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(begin, ends_[i] - begin);
    }
    // Room for `lines` lines of `bytes` in all, taken from the system at once: pages that no
    // line reaches are never touched and cost no memory, while growing would copy every line.
    void reserve(std::size_t lines, std::size_t bytes) {
        ends_.reserve(lines);
        bytes_.reserve(bytes);
        adviseLargePages(ends_.data(), ends_.capacity() * sizeof(std::uint32_t));
        adviseLargePages(bytes_.data(), bytes_.capacity());
    }
    void add(std::string_view line) {
        bytes_ += line;
        ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
    }

private:
    std::string bytes_;
    std::vector<std::uint32_t> ends_; // where each line ends in `bytes_`
};

struct GameCatalogue {
    PackedLines displayNames; // what the game list shows
    PackedLines shortNames;   // what the emulator is given; may hold more entries
    // Why the folder could not be listed (the batch file could not be written, the interpreter
    // could not be started or a listing job failed); empty when both listing jobs succeeded.
    std::string problem;
    std::size_t notListed = 0; // games past the most the list holds
};

// The display name of one bare-listing line: the characters before its first ".bin" in any
// letter case. A line without ".bin", or one that begins with it, stays whole.
std::string_view displayNameOf(std::string_view line);

// The short name of one full-listing line: the line up to and including its first blank.
// A line without a blank stays whole.
std::string_view shortNameOf(std::string_view line);

// The full listing's first lines are its header and never become entries; every line after
// them gives one short name, the summary lines at the end included.
inline constexpr std::size_t fullListingHeaderLines = 5;

// The most games the list holds, far more than any folder of ROM images; the games past it are
// counted and said. A Linux file name holds at most 255 bytes, and a full-listing line adds the
// padded short name and two blanks to it, so no genuine line comes near 512 bytes. Together
// they bound a damaged or foreign listing (and keep its lines' total within PackedLines' reach).
inline constexpr std::size_t maxListedGames = 1'000'000;
inline constexpr std::size_t listingMaxLineBytes = 512;

// Names of the scan's temporary files in the working folder.
inline constexpr const char* scanBatchFile = "getlist.bat";
inline constexpr const char* bareListingFile = "games.dat";
inline constexpr const char* fullListingFile = "lgames.dat";

// Reads the two listings the interpreter wrote into the game lists; a listing that cannot be
// read gives no entries.
GameCatalogue readListings(Files& files);

// Lists the ROM images of the working folder through the command interpreter and removes the
// temporary files again. Every step that fails is skipped: a job that cannot start is not
// waited for. When either listing job could not run or failed, both lists stay empty (a listing
// it left proves nothing) and `problem` says why, so that an empty game list does not pass for
// an empty folder.
GameCatalogue scanGames(Files& files, Jobs& jobs);

} // namespace kestrin
