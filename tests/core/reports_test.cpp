#include "core/reports.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

const ReportChoice both{1, 1, false};
const ReportChoice performanceOnly{1, 0, false};
const ReportChoice scanlinesOnly{0, 1, false};
const ReportChoice checksum{0, 0, true};

TEST(Reports, EachRowWithAFullFile) {
    const std::vector<std::string> lines = {"first", "second", "third"};
    EXPECT_EQ(chooseReport(both, lines, "Pong"), (Report{"first\nthird", "Requested Information"}));
    EXPECT_EQ(chooseReport(performanceOnly, lines, "Pong"), (Report{"first", "Performance Test"}));
    EXPECT_EQ(chooseReport(scanlinesOnly, lines, "Pong"), (Report{"first", "Scanlines"}));
    EXPECT_EQ(chooseReport(checksum, lines, "Pong"),
              (Report{"first\nsecond", "Checksum Information for Pong"}));
}

TEST(Reports, TheChecksumPrintWinsOverTheOtherReports) {
    const std::vector<std::string> lines = {"a", "b", "c"};
    for (ReportChoice choice : {ReportChoice{1, 1, true}, ReportChoice{1, 0, true},
                                ReportChoice{0, 1, true}, ReportChoice{0, 0, false}}) {
        EXPECT_EQ(chooseReport(choice, lines, "X Y"),
                  (Report{"a\nb", "Checksum Information for X Y"}));
        EXPECT_EQ(reportLinesNeeded(choice), 2u);
    }
    EXPECT_EQ(reportLinesNeeded(both), 3u);
    EXPECT_EQ(reportLinesNeeded(performanceOnly), 1u);
    EXPECT_EQ(reportLinesNeeded(scanlinesOnly), 1u);
}

TEST(Reports, MissingLinesLeaveTestNotComplete) {
    const std::vector<std::string> none;
    EXPECT_EQ(chooseReport(both, none, "G").text, "Test not complete\n");
    EXPECT_EQ(chooseReport(performanceOnly, none, "G").text, "Test not complete");
    EXPECT_EQ(chooseReport(scanlinesOnly, none, "G").text, "Test not complete");
    EXPECT_EQ(chooseReport(checksum, none, "G").text, "Test not complete\n");

    const std::vector<std::string> one = {"only"};
    EXPECT_EQ(chooseReport(both, one, "G").text, "only\n");
    EXPECT_EQ(chooseReport(checksum, one, "G").text, "only\n");
    EXPECT_EQ(chooseReport(scanlinesOnly, one, "G").text, "only");

    // With two lines the first row shows the second, which the third would have replaced.
    EXPECT_EQ(chooseReport(both, {"one", "two"}, "G").text, "one\ntwo");
    // An empty line read is shown empty, not as a failed read.
    EXPECT_EQ(chooseReport(performanceOnly, {""}, "G").text, "");
}

TEST(Reports, LongLinesAreCutOnACharacterBoundary) {
    std::string ascii(5000, 'x');
    EXPECT_EQ(chooseReport(performanceOnly, {ascii}, "G").text, std::string(reportLineLimit, 'x'));

    // A two-byte character straddling the limit is left out whole.
    std::string accented = std::string(reportLineLimit - 1, 'a') + "\xC3\xA9" + "tail";
    EXPECT_EQ(chooseReport(scanlinesOnly, {accented}, "G").text,
              std::string(reportLineLimit - 1, 'a'));
    // A four-byte character ending exactly at the limit is kept.
    std::string emoji = std::string(reportLineLimit - 4, 'a') + "\xF0\x9F\x98\x80" + "b";
    EXPECT_EQ(cutOnCharacterBoundary(emoji, reportLineLimit),
              std::string(reportLineLimit - 4, 'a') + "\xF0\x9F\x98\x80");
    // Bytes that are no UTF-8 at all are cut at the limit.
    std::string binary(2000, '\x80');
    EXPECT_EQ(cutOnCharacterBoundary(binary, reportLineLimit).size(), reportLineLimit);
    EXPECT_EQ(cutOnCharacterBoundary("short", reportLineLimit), "short");
}

} // namespace
} // namespace kestrin
