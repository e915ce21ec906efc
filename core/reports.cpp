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

// Line `number` (1-based) cut for showing, or `fallback` when the file had no such line.
std::string lineOr(const std::vector<std::string>& lines, std::size_t number,
                   const std::string& fallback) {
    if (lines.size() < number)
        return fallback;
    return cutOnCharacterBoundary(lines[number - 1], reportLineLimit);
}

} // namespace

std::string cutOnCharacterBoundary(const std::string& text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    // Step back over continuation bytes (10xxxxxx) so the cut lands before a character's start.
    for (int steps = 0; steps < 3 && end > 0; ++steps) {
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80)
            break;
        --end;
    }
    if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        end = limit; // not UTF-8 anyway: cut at the byte limit
    return text.substr(0, end);
}

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
