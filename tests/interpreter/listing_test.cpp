#include "interpreter/dir_command.h"
#include "interpreter/listing.h"

#include "tests/interpreter/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
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
        // The short name and its padded extension, two blanks, the long name.
        EXPECT_EQ(line.substr(9, 5), "BIN  ") << line;
        EXPECT_EQ(line.substr(14), expectedNames_[i]) << "line " << i;
        EXPECT_NE(line[0], ' ') << line;
    }
    // Only the count: the link counts as the file it leads to.
    EXPECT_EQ(lines.back(), "    9 files");
}

TEST_F(Listings, FileLinesShowThePaddedShortNameThenTheLongName) {
    const Lines lines = linesOf(listing(folder_, ListingForm::Full));
    EXPECT_EQ(lines[5 + 4], "GAME     BIN  game.bin");
    EXPECT_EQ(lines[5 + 5], "HARBOR~1 BIN  Harbor Run.bin");
    // The two names that differ only in case get different short names.
    EXPECT_EQ(lines[5 + 2], "DEMO     BIN  Demo.Bin");
    EXPECT_EQ(lines[5 + 3], "DEMO~1   BIN  demo.BIN");
    EXPECT_EQ(lines[5 + 0], "_~1      BIN  .bin");
}

TEST(EmptyFolder, BareListingIsEmptyAndFullListingHasHeaderAndSummaryOnly) {
    TempFolder folder;
    folder.write("readme.txt", "x");
    EXPECT_EQ(listing(folder, ListingForm::Bare), "");
    const Lines lines = linesOf(listing(folder, ListingForm::Full));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "    0 files");
}

TEST(OneFile, SummaryCountsItInTheSingular) {
    TempFolder folder;
    folder.write("only.bin", "x");
    const Lines lines = linesOf(listing(folder, ListingForm::Full));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "ONLY     BIN  only.bin");
    EXPECT_EQ(lines[6], "    1 file");
}

TEST(FullListingHeader, StaysFiveLinesWhateverTheFolderIsCalled) {
    Folder empty;
    const std::string text = formatListing(empty, "/tmp/odd\r\nfolder\n", ListingForm::Full);
    EXPECT_EQ(linesOf(text).size(), 6u);
}

// A folder larger than one piece of output: the pieces join into whole lines, in name order,
// and the short names count up across them.
TEST(LargeFolder, ListingsStayWholeAcrossPieces) {
    TempFolder folder;
    constexpr int kFiles = 3000; // about 100 KB of full listing
    for (int i = kFiles - 1; i >= 0; --i) {
        char name[32];
        std::snprintf(name, sizeof name, "Game number %05d.bin", i);
        folder.write(name, "");
    }
    const Lines bare = linesOf(listing(folder, ListingForm::Bare));
    const Lines full = linesOf(listing(folder, ListingForm::Full));
    ASSERT_EQ(bare.size(), static_cast<std::size_t>(kFiles));
    ASSERT_EQ(full.size(), static_cast<std::size_t>(kFiles) + 6);
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Game number %05d.bin", i);
        ASSERT_EQ(bare[i], name);
        ASSERT_EQ(full[5 + i].substr(14), name);
    }
    EXPECT_EQ(full[5 + 0].substr(0, 12), "GAMENU~1 BIN");
    EXPECT_EQ(full[5 + 9].substr(0, 12), "GAMEN~10 BIN");
    EXPECT_EQ(full[5 + 99].substr(0, 12), "GAME~100 BIN");
    EXPECT_EQ(full[5 + kFiles - 1].substr(0, 12), "GAM~3000 BIN");
    EXPECT_EQ(full.back(), "    3000 files");
}

TEST(ListingSink, ARefusedPieceFailsTheListing) {
    TempFolder folder;
    folder.write("a.bin", "");
    std::string error;
    const auto read = readFolder(folder.str(), error, scopeFor(ListingForm::Full));
    ASSERT_TRUE(read) << error;
    EXPECT_FALSE(
        writeListing(*read, "x", ListingForm::Full, [](std::string_view) { return false; }));
}

TEST(UnreadableFolder, GivesNoListingAndAReason) {
    std::string error;
    EXPECT_FALSE(makeListing("/nonexistent/kestrin/folder", "x", ListingForm::Bare, error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace kestrin::cmd
