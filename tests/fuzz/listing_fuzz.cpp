// The two listings on any bytes, read from files as start-up reads them: one display name per
// bare-listing line and one short name per full-listing line after its header, each a prefix
// of its line; a display name holds ".bin" only when its line begins with it and is followed
// by ".bin" unless it is the whole line; a short name has a blank only at its end; no UTF-8
// character is ever cut in two.
#include "catalogue/game_catalogue.h"
#include "core/text.h"
#include "platform/disk_files.h"
#include "tests/fuzz/fuzz_rules.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace kestrin;

namespace {

bool hasBin(std::string_view name) {
    for (std::size_t i = 0; i + 4 <= name.size(); ++i)
        if (name[i] == '.' && (name[i + 1] | 32) == 'b' && (name[i + 2] | 32) == 'i' &&
            (name[i + 3] | 32) == 'n')
            return true;
    return false;
}

} // namespace

// A folder of its own in memory (many small writes), removed at the end.
char folder[] = "/dev/shm/kestrin-listing-fuzz-XXXXXX";

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit([] {
        ::unlink("games.dat");
        ::unlink("lgames.dat");
        ::rmdir(folder);
    });
    return ::mkdtemp(folder) && ::chdir(folder) == 0 ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = size < 2 ? 0 : (data[0] | data[1] << 8) % size;
    const std::string bare = input.substr(0, split), full = input.substr(split);
    ::unlink("games.dat"); // a new file each time: no flush of a rewritten one
    ::unlink("lgames.dat");
    std::ofstream("games.dat", std::ios::binary) << bare;
    std::ofstream("lgames.dat", std::ios::binary) << full;
    DiskFiles files;
    const GameCatalogue games = readListings(files);

    const auto bareLines = linesOf(bare, listingMaxLineBytes),
               fullLines = linesOf(full, listingMaxLineBytes);
    require(games.displayNames.size() == bareLines.size() && games.notListed == 0);
    require(games.shortNames.size() ==
            (fullLines.size() > fullListingHeaderLines ? fullLines.size() - 5 : 0));
    for (std::size_t i = 0; i < bareLines.size(); ++i) {
        const std::string& name = games.displayNames[i];
        require(bareLines[i].starts_with(name) && isUtf8(name) >= isUtf8(bareLines[i]));
        require(!hasBin(name) || hasBin(name.substr(0, 4)));
        require(name == bareLines[i] || hasBin(bareLines[i].substr(name.size(), 4)));
    }
    for (std::size_t i = 0; i < games.shortNames.size(); ++i) {
        const std::string& name = games.shortNames[i];
        require(fullLines[i + 5].starts_with(name) && name.find(' ') >= name.size() - 1);
        require(name.ends_with(' ') || name == fullLines[i + 5]);
    }
    return 0;
}
