#include "interpreter/batch_line.h"

#include <gtest/gtest.h>

namespace kestrin::cmd {
namespace {

using Words = std::vector<std::string>;

TEST(BatchText, LinesEndInLineFeedOrCrLfAndEmptyOnesAreSkipped) {
    // Only the CR that ends a line goes.
    EXPECT_EQ(splitBatchLines("a\nb\r\n\r\n\nc\rd\r\r\n"), (Words{"a", "b", "c\rd\r"}));
}

// Blanks outside double quotes split words and quotes are removed. Only an unquoted ">" and one
// plain file name, as the last two words, redirect; every other ">", "<", "|" and "&" is
// argument text; an arrow without a plain name after it is refused.
TEST(BatchText, WordsAndTheOnlyRedirectionATrailingPlainFileName) {
    const struct {
        std::string line;
        LineError error;
        Words words;
        std::optional<std::string> target;
    } rows[] = {
        {"  marlo\t-c0   ABC \t", {}, {"marlo", "-c0", "ABC"}, {}},
        {"marlo \"Harbor Run.bin\" a\"b c\"d", {}, {"marlo", "Harbor Run.bin", "ab cd"}, {}},
        {"x \"\" y \"open to the end ", {}, {"x", "", "y", "open to the end "}, {}},
        {"marlo -x ABC  > results.dat", {}, {"marlo", "-x", "ABC"}, "results.dat"},
        {"marlo \"a b\" > \"my results.dat\"", {}, {"marlo", "a b"}, "my results.dat"},
        {"marlo & | < > a b", {}, {"marlo", "&", "|", "<", ">", "a", "b"}, {}},
        {"marlo >x 2> x \">\" results.dat", {}, {"marlo", ">x", "2>", "x", ">", "results.dat"}, {}},
        {std::string("marlo a\0b", 9), LineError::NulCharacter, {}, {}}};
    for (const auto& row : rows) {
        const ParsedLine parsed = parseLine(row.line);
        EXPECT_EQ(parsed.error, row.error) << row.line;
        EXPECT_EQ(parsed.command.words, row.words) << row.line;
        EXPECT_EQ(parsed.command.outputFile, row.target) << row.line;
    }
    for (const char* line : {"marlo ABC >", "marlo > >", "marlo > ../config.dat", "marlo > ..",
                             "marlo > \"\"", "marlo > \"a\tb\"", "marlo > a\x7f"})
        EXPECT_EQ(parseLine(line).error, LineError::BadRedirection) << line;
}

} // namespace
} // namespace kestrin::cmd
