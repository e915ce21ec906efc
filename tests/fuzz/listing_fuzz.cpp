// The two listings on any bytes, read from files as start-up reads them: one display name per
// bare-listing line and one short name per full-listing line after its header, each a prefix of
// its line that never ends inside a UTF-8 character; a short name has a blank only at its end.
#include "catalogue/game_catalogue.h"
#include "platform/disk_files.h"
#include "tests/fuzz/fuzz_rules.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>

#include <unistd.h>

using namespace kestrin;

// A folder of its own in memory (many small writes), removed at the end.
char folder[] = "/dev/shm/kestrin-listing-fuzz-XXXXXX";

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit([] { ::unlink("games.dat"), ::unlink("lgames.dat"), ::rmdir(folder); });
    return ::mkdtemp(folder) && ::chdir(folder) == 0 ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = size < 2 ? 0 : (data[0] | data[1] << 8) % size;
    const std::string bare = input.substr(0, split), full = input.substr(split);
    for (const auto& [name, text] : {std::pair("games.dat", bare), {"lgames.dat", full}}) {
        ::unlink(name); // a new file each time: no flush of a rewritten one
        std::ofstream(name, std::ios::binary) << text;
    }
    DiskFiles files;
    const GameCatalogue games = readListings(files);
    const auto bareLines = linesOf(bare, listingMaxLineBytes),
               fullLines = linesOf(full, listingMaxLineBytes);
    require(games.displayNames.size() == bareLines.size() && games.notListed == 0);
    require(games.shortNames.size() + 5 == std::max<std::size_t>(fullLines.size(), 5));
    const auto isPrefix = [](std::string_view name, const std::string& line) {
        return line.starts_with(name) && isUtf8(name) >= isUtf8(line);
    };
    for (std::size_t i = 0; i < bareLines.size(); ++i)
        require(isPrefix(games.displayNames[i], bareLines[i]));
    for (std::size_t i = 0; i < games.shortNames.size(); ++i) {
        const std::string_view name = games.shortNames[i];
        require(isPrefix(name, fullLines[i + 5]) && name.find(' ') >= name.size() - 1);
        require(name.ends_with(' ') || name == fullLines[i + 5]);
    }
    return 0;
}
