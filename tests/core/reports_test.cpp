#include "core/reports.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace kestrin {
namespace {

TEST(Reports, EachRowAndEachShortFile) {
    const ReportChoice both{1, 1, false}, performance{1, 0, false}, scanlines{0, 1, false},
        checksum{0, 0, true};
    const std::vector<std::string> full = {"first", "second", "third"}, none, one = {"only"};
    const std::string sum = "Checksum Information for X Y";
    // {choice, lines, lines needed, text, title}
    const std::vector<
        std::tuple<ReportChoice, std::vector<std::string>, std::size_t, std::string, std::string>>
        rows = {{both, full, 3, "first\nthird", "Requested Information"},
                {performance, full, 1, "first", "Performance Test"},
                {scanlines, full, 1, "first", "Scanlines"},
                {checksum, full, 2, "first\nsecond", sum},
                // The checksum print wins over the other reports.
                {{1, 1, true}, full, 2, "first\nsecond", sum},
                {{1, 0, true}, full, 2, "first\nsecond", sum},
                {{0, 1, true}, full, 2, "first\nsecond", sum},
                {{0, 0, false}, full, 2, "first\nsecond", sum},
                // Missing lines leave "Test not complete" and an empty second text.
                {both, none, 3, "Test not complete\n", "Requested Information"},
                {performance, none, 1, "Test not complete", "Performance Test"},
                {scanlines, none, 1, "Test not complete", "Scanlines"},
                {checksum, none, 2, "Test not complete\n", sum},
                {both, one, 3, "only\n", "Requested Information"},
                {checksum, one, 2, "only\n", sum},
                {both, {"one", "two"}, 3, "one\ntwo", "Requested Information"},
                {performance, {""}, 1, "", "Performance Test"}};
    for (const auto& [choice, lines, needed, text, title] : rows) {
        SCOPED_TRACE(text + " / " + title);
        EXPECT_EQ(reportLinesNeeded(choice), needed);
        EXPECT_EQ(chooseReport(choice, lines, "X Y"), (Report{text, title}));
    }
}

TEST(Reports, LongLinesAreCutOnACharacterBoundary) {
    const std::size_t n = reportLineLimit;
    EXPECT_EQ(chooseReport({1, 0, false}, {std::string(5000, 'x')}, "G").text, std::string(n, 'x'));
    // A two-byte character across the limit is left out whole, a four-byte one ending at it kept.
    EXPECT_EQ(cutOnCharacterBoundary(std::string(n - 1, 'a') + "\xC3\xA9", n),
              std::string(n - 1, 'a'));
    const std::string emoji = std::string(n - 4, 'a') + "\xF0\x9F\x98\x80";
    EXPECT_EQ(cutOnCharacterBoundary(emoji + "b", n), emoji);
    // Bytes that are no UTF-8 at all are cut at the limit.
    EXPECT_EQ(cutOnCharacterBoundary(std::string(2000, '\x80'), n).size(), n);
}

} // namespace
} // namespace kestrin
