#include "interpreter/batch_line.h"
#include "interpreter/dir_command.h"

#include <gtest/gtest.h>

namespace kestrin::cmd {
namespace {

using Words = std::vector<std::string>;

TEST(BatchLines, EndInLineFeedOrCarriageReturnLineFeedAndEmptyOnesAreSkipped) {
    const std::vector<std::pair<std::string, Words>> rows = {
        {"marlo -c0 ABC \r\n", {"marlo -c0 ABC "}},
        {"a\nb\r\n\r\n\nc", {"a", "b", "c"}},
        {"\r\n\n", {}},
        {"a\rb\r\r\n", {"a\rb\r"}}, // only the CR that ends a line goes
    };
    for (const auto& [content, lines] : rows) {
        SCOPED_TRACE(content);
        EXPECT_EQ(splitBatchLines(content), lines);
    }
}

TEST(BatchWords, BlanksSeparateAndQuotesGroupAndAreRemoved) {
    const std::vector<std::pair<std::string, Words>> rows = {
        {"  marlo\t-c0   ABC \t", {"marlo", "-c0", "ABC"}},
        {"marlo \"Harbor Run.bin\" a\"b c\"d", {"marlo", "Harbor Run.bin", "ab cd"}},
        {"x \"\" y", {"x", "", "y"}},
        {"x \"open to the end ", {"x", "open to the end "}},
        {" \t ", {}},
    };
    for (const auto& [line, words] : rows) {
        SCOPED_TRACE(line);
        Words texts;
        for (const Word& word : splitWords(line))
            texts.push_back(word.text);
        EXPECT_EQ(texts, words);
    }
}

// Only an unquoted ">" and one plain file name, as the last two words, redirect; every other
// ">", "<", "|" and "&" is argument text; an arrow without a plain name after it is refused.
TEST(ParseLine, TheTrailingRedirectionRule) {
    const auto bad = LineError::BadRedirection;
    const struct {
        std::string line;
        LineError error;
        Words words;
        std::optional<std::string> target;
    } rows[] = {
        {"marlo -x -c0 ABC  > results.dat", {}, {"marlo", "-x", "-c0", "ABC"}, "results.dat"},
        {"marlo \"a b\" > \"my results.dat\"", {}, {"marlo", "a b"}, "my results.dat"},
        {"> results.dat", {}, {}, "results.dat"},
        {"marlo & | < > config.dat ABC",
         {},
         {"marlo", "&", "|", "<", ">", "config.dat", "ABC"},
         {}},
        {"marlo > a b", {}, {"marlo", ">", "a", "b"}, {}},
        {"marlo >x", {}, {"marlo", ">x"}, {}},
        {"marlo 2> x", {}, {"marlo", "2>", "x"}, {}},
        {"marlo \">\" results.dat", {}, {"marlo", ">", "results.dat"}, {}},
        {"marlo ABC >", bad, {}, {}},
        {"marlo > >", bad, {}, {}},
        {"marlo > ../config.dat", bad, {}, {}},
        {"marlo > ..", bad, {}, {}},
        {"marlo > \"\"", bad, {}, {}},
        {"marlo > \"a\tb\"", bad, {}, {}},
        {std::string("marlo a\0b", 9), LineError::NulCharacter, {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        const ParsedLine parsed = parseLine(row.line);
        EXPECT_EQ(parsed.error, row.error);
        EXPECT_EQ(parsed.message.empty(), row.error == LineError::None);
        if (row.error == LineError::None) {
            EXPECT_EQ(parsed.command.words, row.words);
            EXPECT_EQ(parsed.command.outputFile, row.target);
        }
    }
}

TEST(DirForms, OnlyTheTwoListingsTheLauncherWrites) {
    const std::vector<std::pair<Words, std::optional<ListingForm>>> rows = {
        {{"dir", "/On", "/b", "*.bin"}, ListingForm::Bare},
        {{"DIR", "/on", "/B", "*.BIN"}, ListingForm::Bare},
        {{"dir", "/On", "*.bin"}, ListingForm::Full},
        {{"dir", "/On"}, {}},
        {{"dir", "*.bin"}, {}},
        {{"dir", "/On", "*.txt"}, {}},
        {{"dir", "/On", "/b", "/b", "*.bin"}, {}},
        {{"dir", "/On", "*.bin", "extra"}, {}},
        {{"ls", "/On", "*.bin"}, {}},
    };
    for (const auto& [words, form] : rows) {
        SCOPED_TRACE(::testing::PrintToString(words));
        EXPECT_EQ(dirForm(words), form);
    }
}

} // namespace
} // namespace kestrin::cmd
