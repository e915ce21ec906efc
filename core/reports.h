// The report shown after a reporting run: which lines of results.dat it shows, under which title.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestrin {

inline constexpr const char* resultsFileName = "results.dat";

// Results lines are read cut to this many bytes (on a UTF-8 character boundary), so that a huge
// or binary results file still gives a box that fits on the screen.
inline constexpr std::size_t reportLineLimit = 1000;

// The settings that choose the report, as they stand after the wait.
struct ReportChoice {
    int performanceTest = 0;    // Form4 Check1
    int showScanlineCount = 0;  // Form3 Check5
    bool printChecksum = false; // mnupcheck
};

struct Report {
    std::string text;
    std::string title;
    bool operator==(const Report&) const = default;
};

// How many lines of results.dat the chosen report reads (1 to 3).
std::size_t reportLinesNeeded(const ReportChoice& choice);

// The report for the lines read from results.dat (none when it could not be opened).
// "Test not complete" stands wherever the first line is missing; the second text stays empty
// where its lines are missing. The two texts are joined by a line feed alone.
Report chooseReport(const ReportChoice& choice, const std::vector<std::string>& lines,
                    const std::string& displayName);

} // namespace kestrin
