#include "catalogue/game_catalogue.h"

#include <optional>
#include <utility>

namespace kestrin {

namespace {

constexpr char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Position of the first ".bin" in any letter case, or npos.
std::size_t findBinExtension(std::string_view line) {
    constexpr std::string_view ext = ".BIN";
    if (line.size() < ext.size())
        return std::string_view::npos;
    const std::size_t last = line.size() - ext.size();
    for (std::size_t pos = line.find('.'); pos != std::string_view::npos && pos <= last;
         pos = line.find('.', pos + 1)) {
        if (asciiUpper(line[pos + 1]) == 'B' && asciiUpper(line[pos + 2]) == 'I' &&
            asciiUpper(line[pos + 3]) == 'N')
            return pos;
    }
    return std::string_view::npos;
}

// The bounds of one listing job: the reading stops early for a damaged file.
std::optional<std::vector<std::string>> readListing(Files& files, const char* name) {
    return files.readLines(name, listingMaxLines, listingMaxLineBytes);
}

// Runs one listing job and waits for its end, so that the batch file is free to be rewritten
// and the listing it wrote is complete, then pauses a tenth of a second while processing events
// so that the splash window stays drawn. Returns why the job could not run, if it could not.
std::string runListingJob(Files& files, Jobs& jobs, std::string_view command, WindowStyle style) {
    std::string content(command);
    content += "\r\n";
    std::string problem;
    // Without a freshly written batch file there is nothing to start: whatever an old
    // getlist.bat holds is not the listing asked for.
    if (const auto failure = files.replace(scanBatchFile, content)) {
        problem = std::string("could not save ") + scanBatchFile + ": " + *failure;
    } else if (const auto task = jobs.start(scanBatchFile, style, /*reportErrors=*/false)) {
        jobs.waitUntilEnded(*task);
    } else {
        problem = "the command interpreter kestrin-cmd could not be started";
    }
    jobs.pause(0.1);
    return problem;
}

} // namespace

std::string_view displayNameOf(std::string_view line) {
    const std::size_t pos = findBinExtension(line);
    if (pos == std::string_view::npos || pos == 0)
        return line;
    return line.substr(0, pos);
}

std::string_view shortNameOf(std::string_view line) {
    const std::size_t pos = line.find(' ');
    if (pos == std::string_view::npos)
        return line;
    return line.substr(0, pos + 1);
}

std::vector<std::string> displayNamesFromListing(std::vector<std::string> lines) {
    // Each name is a prefix of its line: cut the lines in place, without new allocations.
    for (std::string& line : lines)
        line.resize(displayNameOf(line).size());
    return lines;
}

std::vector<std::string> shortNamesFromListing(std::vector<std::string> lines) {
    if (lines.size() <= fullListingHeaderLines)
        return {};
    lines.erase(lines.begin(), lines.begin() + fullListingHeaderLines);
    for (std::string& line : lines)
        line.resize(shortNameOf(line).size());
    return lines;
}

GameCatalogue scanGames(Files& files, Jobs& jobs) {
    GameCatalogue catalogue;
    catalogue.problem =
        runListingJob(files, jobs, "dir /On /b *.bin > games.dat", WindowStyle::MinimizedNoFocus);
    const std::string second =
        runListingJob(files, jobs, "dir /On *.bin > lgames.dat", WindowStyle::MinimizedFocus);
    if (catalogue.problem.empty())
        catalogue.problem = second;
    files.remove(scanBatchFile);

    if (const auto full = readListing(files, fullListingFile))
        catalogue.shortNames = shortNamesFromListing(std::move(*full));
    if (const auto bare = readListing(files, bareListingFile))
        catalogue.displayNames = displayNamesFromListing(std::move(*bare));
    files.remove(fullListingFile);
    files.remove(bareListingFile);
    return catalogue;
}

} // namespace kestrin
