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

// The lines of `folder`'s listing; fails the test on a line that does not end in CR LF.
Lines listing(const TempFolder& folder, ListingForm form) {
    std::string error;
    const std::string text =
        makeListing(folder.str(), "/some/folder", form, error).value_or("unreadable: " + error);
    Lines lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find('\n'), std::string::npos) << "a bare line feed";
        if (end == std::string::npos) {
            ADD_FAILURE() << "no CR LF after " << lines.back();
            break;
        }
        start = end + 2;
    }
    return lines;
}

TEST(Listings, ShowTheBinFilesInNameOrderTheFullOneWithShortNamesHeaderAndSummary) {
    TempFolder folder;
    for (const std::string name :
         {"Harbor Run.bin", "demo.BIN", "Demo.Bin", "game.bin", "a.bin.b.bin", ".bin",
          "Ünïcode & 100% it's.bin", "notes.txt", "game.bin.txt",
          // Names the original file system could not hold are left out.
          "tab\tname.bin", "what?.bin", "\xff\xfe.bin"}) {
        folder.write(name, "");
    }
    folder.write(std::string(251, 'L') + ".bin", "");
    // Of other kinds of entries, only a link to a regular file is shown.
    std::filesystem::create_directory(folder.path() / "folder.bin");
    std::filesystem::create_symlink("game.bin", folder.path() / "link.bin");
    std::filesystem::create_symlink("nowhere", folder.path() / "dangling.bin");
    std::filesystem::create_directory_symlink("folder.bin", folder.path() / "dirlink.bin");
    const Lines names = {".bin",
                         "a.bin.b.bin",
                         "Demo.Bin",
                         "demo.BIN",
                         "game.bin",
                         "Harbor Run.bin",
                         "link.bin",
                         std::string(251, 'L') + ".bin",
                         "Ünïcode & 100% it's.bin"};

    EXPECT_EQ(listing(folder, ListingForm::Bare), names);
    const Lines full = listing(folder, ListingForm::Full);
    ASSERT_EQ(full.size(), 5 + names.size() + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(full[5 + i]);
        EXPECT_NE(full[5 + i][0], ' ');
        EXPECT_EQ(full[5 + i].substr(9), "BIN  " + names[i]);
    }
    EXPECT_EQ(full[5 + 2], "DEMO     BIN  Demo.Bin"); // names differing only in case
    EXPECT_EQ(full[5 + 3], "DEMO~1   BIN  demo.BIN");
    EXPECT_EQ(full[5 + 5], "HARBOR~1 BIN  Harbor Run.bin");
    EXPECT_EQ(full.back(), "    9 files");
}

TEST(Listings, OfAFolderWithoutOrWithOneBinFile) {
    const struct {
        std::string file;
        Lines bare, fullAfterHeader;
    } rows[] = {
        {"readme.txt", {}, {"    0 files"}},
        {"only.bin", {"only.bin"}, {"ONLY     BIN  only.bin", "    1 file"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        TempFolder folder;
        folder.write(row.file, "x");
        EXPECT_EQ(listing(folder, ListingForm::Bare), row.bare);
        const Lines full = listing(folder, ListingForm::Full);
        ASSERT_GE(full.size(), 5u);
        EXPECT_EQ(Lines(full.begin() + 5, full.end()), row.fullAfterHeader);
    }
    // The header stays five lines whatever the folder is called.
    const std::string header = formatListing(Folder{}, "/tmp/odd\r\nfolder\n", ListingForm::Full);
    EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 6);
}

// A folder larger than one piece of output: the pieces join into whole lines, in name order,
// and the short names count up across them.
TEST(Listings, StayWholeAcrossPieces) {
    TempFolder folder;
    constexpr int kFiles = 3000; // about 100 KB of full listing
    const auto nameOf = [](int i) {
        char name[32];
        std::snprintf(name, sizeof name, "Game number %05d.bin", i);
        return std::string(name);
    };
    for (int i = kFiles - 1; i >= 0; --i)
        folder.write(nameOf(i), "");
    const Lines bare = listing(folder, ListingForm::Bare);
    const Lines full = listing(folder, ListingForm::Full);
    ASSERT_EQ(bare.size(), static_cast<std::size_t>(kFiles));
    ASSERT_EQ(full.size(), static_cast<std::size_t>(kFiles) + 6);
    for (int i = 0; i < kFiles; ++i) {
        ASSERT_EQ(bare[i], nameOf(i));
        ASSERT_EQ(full[5 + i].substr(14), nameOf(i));
    }
    EXPECT_EQ(full[5 + 0].substr(0, 12), "GAMENU~1 BIN");
    EXPECT_EQ(full[5 + 9].substr(0, 12), "GAMEN~10 BIN");
    EXPECT_EQ(full[5 + 99].substr(0, 12), "GAME~100 BIN");
    EXPECT_EQ(full[5 + kFiles - 1].substr(0, 12), "GAM~3000 BIN");
    EXPECT_EQ(full.back(), "    3000 files");
}

TEST(Listings, FailWhenTheFolderCannotBeReadOrTheOutputRefusesAPiece) {
    std::string error;
    EXPECT_FALSE(makeListing("/nonexistent/kestrin/folder", "x", ListingForm::Bare, error));
    EXPECT_FALSE(error.empty());

    TempFolder folder;
    folder.write("a.bin", "");
    const auto read = readFolder(folder.str(), error, scopeFor(ListingForm::Full));
    ASSERT_TRUE(read) << error;
    EXPECT_FALSE(
        writeListing(*read, "x", ListingForm::Full, [](std::string_view) { return false; }));
}

} // namespace
} // namespace kestrin::cmd
