#include "catalogue/game_catalogue.h"

#include <algorithm>
#include <cstddef>
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

// Runs one listing job, pauses a tenth of a second while processing events so that the splash
// window stays drawn, then waits for the job's end if it has not ended yet, so that the batch
// file is free to be rewritten and the listing it wrote is complete. The pause runs while the
// job works: a job shorter than the pause costs no time of its own. Returns why the job could
// not run or failed, if so.
std::string runListingJob(Files& files, Jobs& jobs, std::string_view command, WindowStyle style) {
    std::string content(command);
    content += "\r\n";
    std::string problem;
    // Without a freshly written batch file there is nothing to start: whatever an old
    // getlist.bat holds is not the listing asked for.
    if (const auto failure = files.replace(scanBatchFile, content)) {
        problem = std::string("could not save ") + scanBatchFile + ": " + *failure;
    } else if (const auto task = jobs.start(scanBatchFile, style, /*reportErrors=*/false)) {
        jobs.pause(0.1);
        return jobs.waitUntilEnded(*task).value_or("");
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

GameCatalogue readListings(Files& files) {
    GameCatalogue catalogue;
    // A few lines beyond the games' own hold the summary; whatever follows is never selected.
    constexpr std::size_t fullLines = fullListingHeaderLines + maxListedGames + 16;
    if (auto full =
            files.readLines(fullListingFile, {fullLines, listingMaxLineBytes, shortNameOf, true})) {
        std::vector<std::string>& lines = full->lines;
        lines.erase(lines.begin(),
                    lines.begin() + std::min<std::ptrdiff_t>(lines.size(), fullListingHeaderLines));
        catalogue.shortNames = std::move(lines);
    }
    if (auto bare = files.readLines(
            bareListingFile, {maxListedGames, listingMaxLineBytes, displayNameOf, true, true})) {
        catalogue.displayNames = std::move(bare->lines);
        catalogue.notListed = bare->linesLeft;
    }
    return catalogue;
}

GameCatalogue scanGames(Files& files, Jobs& jobs) {
    const std::string first =
        runListingJob(files, jobs, "dir /On /b *.bin > games.dat", WindowStyle::MinimizedNoFocus);
    const std::string second =
        runListingJob(files, jobs, "dir /On *.bin > lgames.dat", WindowStyle::MinimizedFocus);
    files.remove(scanBatchFile);

    GameCatalogue catalogue;
    if (first.empty() && second.empty())
        catalogue = readListings(files);
    else
        catalogue.problem = first.empty() ? second : first;
    files.remove(fullListingFile);
    files.remove(bareListingFile);
    return catalogue;
}

} // namespace kestrin
