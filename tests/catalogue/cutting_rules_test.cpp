#include "catalogue/game_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

TEST(DisplayName, CutsBeforeTheFirstBinInAnyLetterCase) {
    EXPECT_EQ(displayNameOf("Harbor Run.bin"), "Harbor Run");
    EXPECT_EQ(displayNameOf("demo.BIN"), "demo");
    EXPECT_EQ(displayNameOf("Demo.Bin"), "Demo");
    EXPECT_EQ(displayNameOf("mIxEd.bIn"), "mIxEd");
    EXPECT_EQ(displayNameOf("a.bin.b.bin"), "a");
    // ".bin" in the middle of a name is still the first one.
    EXPECT_EQ(displayNameOf("x.binary.bin"), "x");
    EXPECT_EQ(displayNameOf("dots...bin"), "dots..");
}

TEST(DisplayName, KeepsTheWholeLineWithoutACut) {
    EXPECT_EQ(displayNameOf(".bin"), ".bin");
    EXPECT_EQ(displayNameOf(".BIN and more"), ".BIN and more");
    EXPECT_EQ(displayNameOf("no extension here"), "no extension here");
    EXPECT_EQ(displayNameOf("almost.bi"), "almost.bi");
    EXPECT_EQ(displayNameOf("bin"), "bin");
    EXPECT_EQ(displayNameOf(""), "");
    // Non-ASCII names keep their bytes; only ".bin" itself is compared without case.
    EXPECT_EQ(displayNameOf("Caf\xc3\xa9 Racer.Bin"), "Caf\xc3\xa9 Racer");
}

TEST(ShortName, KeepsTheLineUpToAndIncludingItsFirstBlank) {
    EXPECT_EQ(shortNameOf("HARBOR~1 BIN     4,096 01-02-24  10:00a Harbor Run.bin"), "HARBOR~1 ");
    EXPECT_EQ(shortNameOf("GAME     BIN         4,096"), "GAME ");
    EXPECT_EQ(shortNameOf(" 2 file(s)  8,192 bytes"), " ");
    EXPECT_EQ(shortNameOf("NOBLANK"), "NOBLANK");
    EXPECT_EQ(shortNameOf(""), "");
    // Only a blank separates; a tab is an ordinary character.
    EXPECT_EQ(shortNameOf("TAB\tBIN X"), "TAB\tBIN ");
}

TEST(BareListing, GivesOneEntryPerLineInListingOrder) {
    EXPECT_EQ(displayNamesFromListing({"Zeta.bin", "alpha.BIN", "readme", ".bin", ""}),
              (Lines{"Zeta", "alpha", "readme", ".bin", ""}));
    EXPECT_TRUE(displayNamesFromListing({}).empty());
}

TEST(FullListing, SkipsTheFiveHeaderLinesWhateverTheyHold) {
    const Lines header{"GAME     BIN x", "", " Volume", "HARBOR~1 BIN", "Z.bin"};
    Lines listing = header;
    listing.push_back("HARBOR~1 BIN  Harbor Run.bin");
    listing.push_back("GAME     BIN  game.bin");
    listing.push_back("    2 files");
    listing.push_back("TRAILER");
    // Summary lines become extra entries so that the indexes of the games stay aligned.
    EXPECT_EQ(shortNamesFromListing(listing), (Lines{"HARBOR~1 ", "GAME ", " ", "TRAILER"}));
}

TEST(FullListing, HeaderOnlyOrShorterGivesNothing) {
    EXPECT_TRUE(shortNamesFromListing({}).empty());
    EXPECT_TRUE(shortNamesFromListing({"a b", "c d", "e f"}).empty());
    EXPECT_TRUE(shortNamesFromListing({"1 ", "2 ", "3 ", "4 ", "5 "}).empty());
    EXPECT_EQ(shortNamesFromListing({"1", "2", "3", "4", "5", ""}), (Lines{""}));
}

} // namespace
} // namespace kestrin
