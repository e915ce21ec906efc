#include "interpreter/dir_command.h"
#include "interpreter/listing.h"

#include "tests/interpreter/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kestrin::cmd {
namespace {

using test::TempFolder;
using Lines = std::vector<std::string>;

// Splits a listing at CR LF; fails the test on a line feed without its carriage return.
Lines linesOf(const std::string& listing) {
    Lines lines;
    std::size_t start = 0;
    while (start < listing.size()) {
        const std::size_t end = listing.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "the listing does not end in CR LF";
        if (end == std::string::npos) {
            break;
        }
        const std::string line = listing.substr(start, end - start);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "a bare line feed in " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

std::string listing(const TempFolder& folder, ListingForm form) {
    std::string error;
    const auto text = makeListing(folder.str(), "/some/folder", form, error);
    EXPECT_TRUE(text) << error;
    return text.value_or("");
}

class Listings : public ::testing::Test {
protected:
    Listings() {
        folder_.write("Harbor Run.bin", "12345");
        folder_.write("demo.BIN", "");
        folder_.write("Demo.Bin", "ab");
        folder_.write("game.bin", "0123456789");
        folder_.write("a.bin.b.bin", "");
        folder_.write(".bin", "");
        folder_.write("Ünïcode & 100% it's.bin", "x");
        folder_.write(std::string(251, 'L') + ".bin", "");
        folder_.write("notes.txt", "not listed");
        folder_.write("game.bin.txt", "");
        // Left out: names the original file system could not hold, and other kinds of entries.
        folder_.write("tab\tname.bin", "");
        folder_.write("what?.bin", "");
        folder_.write("\xff\xfe.bin", "");
        std::filesystem::create_directory(folder_.path() / "folder.bin");
        std::filesystem::create_symlink("game.bin", folder_.path() / "link.bin");
        std::filesystem::create_symlink("nowhere", folder_.path() / "dangling.bin");
        std::filesystem::create_directory_symlink("folder.bin", folder_.path() / "dirlink.bin");
    }
    TempFolder folder_;
    const Lines expectedNames_ = {".bin",
                                  "a.bin.b.bin",
                                  "Demo.Bin",
                                  "demo.BIN",
                                  "game.bin",
                                  "Harbor Run.bin",
                                  "link.bin",
                                  std::string(251, 'L') + ".bin",
                                  "Ünïcode & 100% it's.bin"};
};

TEST_F(Listings, BareListingHoldsTheLongNamesInNameOrder) {
    EXPECT_EQ(linesOf(listing(folder_, ListingForm::Bare)), expectedNames_);
}

TEST_F(Listings, FullListingHasFiveHeaderLinesFileLinesInTheSameOrderAndASummary) {
    const Lines lines = linesOf(listing(folder_, ListingForm::Full));
    ASSERT_EQ(lines.size(), 5 + expectedNames_.size() + 1);
    for (std::size_t i = 0; i < expectedNames_.size(); ++i) {
        const std::string& line = lines[5 + i];
        const std::string& name = expectedNames_[i];
        ASSERT_GE(line.size(), name.size());
        EXPECT_EQ(line.substr(line.size() - name.size()), name) << "line " << i;
        // The short name and its padded extension come first, without a blank inside the name.
        EXPECT_EQ(line.substr(9, 3), "BIN") << line;
        EXPECT_NE(line[0], ' ') << line;
    }
    const std::string& summary = lines.back();
    EXPECT_EQ(summary.rfind("    ", 0), 0u) << summary;
    // 5 + 0 + 2 + 10 + 0 + 0 + 1 + 0 + 10 (the link counts its target)
    EXPECT_NE(summary.find(" 9 files"), std::string::npos) << summary;
    EXPECT_NE(summary.find(" 28 bytes"), std::string::npos) << summary;
}

TEST_F(Listings, FileLinesShowShortNameSizeDateTimeAndLongName) {
    const Lines lines = linesOf(listing(folder_, ListingForm::Full));
    const std::string& game = lines[5 + 4];
    EXPECT_EQ(game.rfind("GAME     BIN ", 0), 0u) << game;
    const std::string& harbor = lines[5 + 5];
    EXPECT_EQ(harbor.rfind("HARBOR~1 BIN ", 0), 0u) << harbor;
    // "HARBOR~1 BIN", the size right-aligned in 14 columns, YYYY-MM-DD  HH:MM, the name.
    EXPECT_EQ(harbor.substr(12, 14), std::string(13, ' ') + "5") << harbor;
    const std::string rest = harbor.substr(26);
    ASSERT_GE(rest.size(), 23u);
    EXPECT_EQ(rest.substr(0, 2), "  ");
    EXPECT_EQ(rest[6], '-');
    EXPECT_EQ(rest[9], '-');
    EXPECT_EQ(rest.substr(12, 2), "  ");
    EXPECT_EQ(rest[16], ':');
    EXPECT_EQ(rest.substr(19), "  Harbor Run.bin");
    // The two names that differ only in case get different short names.
    EXPECT_EQ(lines[5 + 2].rfind("DEMO     BIN ", 0), 0u) << lines[5 + 2];
    EXPECT_EQ(lines[5 + 3].rfind("DEMO~1   BIN ", 0), 0u) << lines[5 + 3];
}

TEST(EmptyFolder, BareListingIsEmptyAndFullListingHasHeaderAndSummaryOnly) {
    TempFolder folder;
    folder.write("readme.txt", "x");
    EXPECT_EQ(listing(folder, ListingForm::Bare), "");
    const Lines lines = linesOf(listing(folder, ListingForm::Full));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_NE(lines[5].find(" 0 files"), std::string::npos) << lines[5];
}

TEST(FullListingHeader, StaysFiveLinesWhateverTheFolderIsCalled) {
    const std::string text = formatFullListing("/tmp/odd\r\nfolder\n", {});
    EXPECT_EQ(linesOf(text).size(), 6u);
}

TEST(UnreadableFolder, GivesNoListingAndAReason) {
    std::string error;
    EXPECT_FALSE(makeListing("/nonexistent/kestrin/folder", "x", ListingForm::Bare, error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace kestrin::cmd
