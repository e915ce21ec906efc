#include "interpreter/batch_line.h"
#include "interpreter/dir_command.h"

#include <gtest/gtest.h>

namespace kestrin::cmd {
namespace {

using Words = std::vector<std::string>;

TEST(BatchLines, EndInLineFeedOrCarriageReturnLineFeedAndEmptyOnesAreSkipped) {
    EXPECT_EQ(splitBatchLines("marlo -c0 ABC \r\n"), Words{"marlo -c0 ABC "});
    EXPECT_EQ(splitBatchLines("a\nb\r\n\r\n\nc"), (Words{"a", "b", "c"}));
    EXPECT_EQ(splitBatchLines(""), Words{});
    EXPECT_EQ(splitBatchLines("\r\n\n"), Words{});
    // Only the CR that ends a line goes; one inside the line is text.
    EXPECT_EQ(splitBatchLines("a\rb\r\r\n"), Words{"a\rb\r"});
}

Words texts(const std::vector<Word>& words) {
    Words result;
    for (const auto& word : words) {
        result.push_back(word.text);
    }
    return result;
}

TEST(BatchWords, BlanksSeparateAndQuotesGroupAndAreRemoved) {
    EXPECT_EQ(texts(splitWords("  marlo\t-c0   ABC \t")), (Words{"marlo", "-c0", "ABC"}));
    EXPECT_EQ(texts(splitWords("marlo \"Harbor Run.bin\" a\"b c\"d")),
              (Words{"marlo", "Harbor Run.bin", "ab cd"}));
    EXPECT_EQ(texts(splitWords("x \"\" y")), (Words{"x", "", "y"}));
    EXPECT_EQ(texts(splitWords("x \"open to the end ")), (Words{"x", "open to the end "}));
    EXPECT_EQ(texts(splitWords(" \t ")), Words{});

    const std::vector<Word> words = splitWords("a \">\" >");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_FALSE(words[0].quoted);
    EXPECT_TRUE(words[1].quoted);
    EXPECT_FALSE(words[2].quoted);
}

TEST(Redirection, OnlyATrailingUnquotedArrowAndOneNameRedirect) {
    ParsedLine line = parseLine("marlo -x -c0 ABC  > results.dat");
    EXPECT_EQ(line.error, LineError::None);
    EXPECT_EQ(line.command.words, (Words{"marlo", "-x", "-c0", "ABC"}));
    EXPECT_EQ(line.command.outputFile, "results.dat");

    line = parseLine("marlo \"a b\" > \"my results.dat\"");
    EXPECT_EQ(line.command.words, (Words{"marlo", "a b"}));
    EXPECT_EQ(line.command.outputFile, "my results.dat");

    line = parseLine("> results.dat");
    EXPECT_EQ(line.error, LineError::None);
    EXPECT_TRUE(line.command.words.empty());
    EXPECT_EQ(line.command.outputFile, "results.dat");
}

TEST(Redirection, EverythingElseIsArgumentText) {
    const Words cases[] = {
        {"marlo", "&", "|", "<", ">", "config.dat", "ABC"},
        {"marlo", ">", "a", "b"},
        {"marlo", ">x"},
        {"marlo", "2>", "x"},
        {"marlo", "x>", "y"},
    };
    for (const Words& words : cases) {
        std::string text;
        for (const auto& word : words) {
            text += word + " ";
        }
        const ParsedLine line = parseLine(text);
        EXPECT_EQ(line.error, LineError::None) << text;
        EXPECT_EQ(line.command.words, words) << text;
        EXPECT_FALSE(line.command.outputFile) << text;
    }
    const ParsedLine quoted = parseLine("marlo \">\" results.dat");
    EXPECT_EQ(quoted.command.words, (Words{"marlo", ">", "results.dat"}));
    EXPECT_FALSE(quoted.command.outputFile);
}

TEST(Redirection, AnArrowWithoutAPlainFileNameIsRefused) {
    for (const char* text :
         {"marlo ABC >", "marlo ABC > ", "marlo > >", "marlo > ../config.dat", "marlo > /tmp/x",
          "marlo > sub/x", "marlo > .", "marlo > ..", "marlo > \"\"", "marlo > \"a\tb\""}) {
        const ParsedLine line = parseLine(text);
        EXPECT_EQ(line.error, LineError::BadRedirection) << text;
        EXPECT_FALSE(line.message.empty()) << text;
    }
}

TEST(Redirection, ALineWithANulCharacterIsRefused) {
    EXPECT_EQ(parseLine(std::string_view("marlo a\0b", 9)).error, LineError::NulCharacter);
}

TEST(DirForms, OnlyTheTwoListingsTheLauncherWrites) {
    EXPECT_EQ(dirForm({"dir", "/On", "/b", "*.bin"}), ListingForm::Bare);
    EXPECT_EQ(dirForm({"DIR", "/on", "/B", "*.BIN"}), ListingForm::Bare);
    EXPECT_EQ(dirForm({"dir", "/On", "*.bin"}), ListingForm::Full);
    EXPECT_FALSE(dirForm({"dir"}));
    EXPECT_FALSE(dirForm({"dir", "/On"}));
    EXPECT_FALSE(dirForm({"dir", "*.bin"}));
    EXPECT_FALSE(dirForm({"dir", "/On", "*.txt"}));
    EXPECT_FALSE(dirForm({"dir", "/On", "/b", "/b", "*.bin"}));
    EXPECT_FALSE(dirForm({"dir", "/On", "*.bin", "extra"}));
    EXPECT_FALSE(dirForm({"ls", "/On", "*.bin"}));
}

} // namespace
} // namespace kestrin::cmd
