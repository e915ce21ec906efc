#include "core/reports.h"

namespace kestrin {

namespace {

enum class ReportKind { RequestedInformation, PerformanceTest, Scanlines, Checksum };

// The checksum report whenever the checksum print is on; the three others need it off.
ReportKind kindOf(const ReportChoice& c) {
    const bool performance = c.performanceTest == 1;
    const bool scanlines = c.showScanlineCount == 1;
    if (c.printChecksum || (!performance && !scanlines))
        return ReportKind::Checksum;
    if (performance && scanlines)
        return ReportKind::RequestedInformation;
    return performance ? ReportKind::PerformanceTest : ReportKind::Scanlines;
}

// Line `number` (1-based), or `fallback` when the file had no such line.
std::string lineOr(const std::vector<std::string>& lines, std::size_t number,
                   const std::string& fallback) {
    return lines.size() < number ? fallback : lines[number - 1];
}

} // namespace

std::size_t reportLinesNeeded(const ReportChoice& choice) {
    switch (kindOf(choice)) {
    case ReportKind::RequestedInformation:
        return 3;
    case ReportKind::Checksum:
        return 2;
    default:
        return 1;
    }
}

Report chooseReport(const ReportChoice& choice, const std::vector<std::string>& lines,
                    const std::string& displayName) {
    const std::string result = lineOr(lines, 1, "Test not complete");
    switch (kindOf(choice)) {
    case ReportKind::RequestedInformation:
        // The third line replaces the second when the file has one.
        return {result + "\n" + lineOr(lines, 3, lineOr(lines, 2, "")), "Requested Information"};
    case ReportKind::PerformanceTest:
        return {result, "Performance Test"};
    case ReportKind::Scanlines:
        return {result, "Scanlines"};
    case ReportKind::Checksum:
        break;
    }
    return {result + "\n" + lineOr(lines, 2, ""), "Checksum Information for " + displayName};
}

} // namespace kestrin
