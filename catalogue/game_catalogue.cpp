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

// A listing job started, or why it could not be.
struct ListingJob {
    std::optional<TaskId> task;
    std::string problem;
};

// Writes the batch file and starts one listing job, then pauses a tenth of a second while
// processing events so that the splash window stays drawn. The pause runs while the job works:
// a job shorter than the pause costs no time of its own.
ListingJob startListingJob(Files& files, Jobs& jobs, std::string_view command, WindowStyle style) {
    std::string content(command);
    content += "\r\n";
    ListingJob job;
    // Without a freshly written batch file there is nothing to start: whatever an old
    // getlist.bat holds is not the listing asked for.
    if (const auto failure = files.replace(scanBatchFile, content))
        job.problem = std::string("could not save ") + scanBatchFile + ": " + *failure;
    else if (!(job.task = jobs.start(scanBatchFile, style, /*reportErrors=*/false)))
        job.problem = "the command interpreter kestrin-cmd could not be started";
    jobs.pause(0.1);
    return job;
}

// Waits for the job's end, so that the listing it wrote is complete. Returns why the job could
// not run or failed, if so.
std::string outcomeOf(Jobs& jobs, const ListingJob& job) {
    return job.task ? jobs.waitUntilEnded(*job.task).value_or("") : job.problem;
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
    // Room for the lines each list will hold, at most as many as its file has bytes, at the
    // length of a short name and of a usual game name: a large folder's lists grow no more,
    // and a small folder takes no more than it needs.
    const auto room = [](PackedLines& lines, std::size_t most, std::size_t length) {
        return [&lines, most, length](std::size_t bytes) {
            lines.reserve(std::min(most, bytes), std::min(most * length, bytes));
        };
    };
    std::size_t header = 0;
    LineLimits full{fullLines, listingMaxLineBytes, shortNameOf, true};
    full.sized = room(catalogue.shortNames, fullLines, 12);
    full.each = [&catalogue, &header](std::string_view shortName) {
        if (header < fullListingHeaderLines)
            ++header;
        else
            catalogue.shortNames.add(shortName);
    };
    files.readLines(fullListingFile, full);
    LineLimits bare{maxListedGames, listingMaxLineBytes, displayNameOf, true, true};
    bare.each = [&catalogue](std::string_view name) { catalogue.displayNames.add(name); };
    bare.sized = room(catalogue.displayNames, maxListedGames, 24);
    if (const auto read = files.readLines(bareListingFile, bare))
        catalogue.notListed = read->linesLeft;
    return catalogue;
}

GameCatalogue scanGames(Files& files, Jobs& jobs) {
    const ListingJob bare =
        startListingJob(files, jobs, "dir /On /b *.bin > games.dat", WindowStyle::MinimizedNoFocus);
    // The batch file is rewritten for the second job only when the first no longer reads it:
    // once the first holds it open, the new file of the same name is out of its reach and both
    // jobs run side by side; otherwise the first is waited for.
    std::optional<std::string> first;
    if (!(bare.task && jobs.holdsOpen(*bare.task, scanBatchFile)))
        first = outcomeOf(jobs, bare);
    const ListingJob full =
        startListingJob(files, jobs, "dir /On *.bin > lgames.dat", WindowStyle::MinimizedFocus);
    if (!first)
        first = outcomeOf(jobs, bare);
    const std::string second = outcomeOf(jobs, full);
    files.remove(scanBatchFile);

    GameCatalogue catalogue;
    if (first->empty() && second.empty())
        catalogue = readListings(files);
    else
        catalogue.problem = first->empty() ? second : *first;
    files.remove(fullListingFile);
    files.remove(bareListingFile);
    return catalogue;
}

} // namespace kestrin
