// The stand-in emulator as the launcher's run.bat starts it: switches, image lookup, reports.
#include "run_marlo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::MatchesRegex;
using testing::StartsWith;

namespace {

class Marlo : public testing::Test {
protected:
    void SetUp() override { folder.write("Harbor Run.bin", "123456789"); }
    MarloResult run(std::vector<std::string> args) { return runMarlo(folder.path(), args); }

    TempFolder folder;
};

// A rejected command line: non-zero status, nothing on stdout, one "marlo: " line on stderr.
void expectRejected(const MarloResult& r, const std::string& what) {
    EXPECT_NE(r.status, 0) << what;
    EXPECT_EQ(r.out, "") << what;
    EXPECT_THAT(r.err, MatchesRegex("marlo: [^\n]+\n")) << what;
}

TEST_F(Marlo, AcceptsEverySwitchTheLauncherWrites) {
    const std::vector<std::string> switches = {"-x",   "-j0",  "-j2", "-p7", "-k2", "-k",  "-m1",
                                               "-m",   "-v5",  "-b",  "-c0", "-c1", "-o",  "-n",
                                               "-r60", "-f10", "-s1", "-s0", "-d1", "-d2", "-s2",
                                               "-q",   "-l3",  "-a2", "-y1", "-y2", "-y3", "-w"};
    for (const std::string& s : switches) {
        const MarloResult r = run({s, "Harbor Run.bin"});
        EXPECT_EQ(r.status, 0) << s << ": " << r.err;
        EXPECT_EQ(r.err, "") << s;
    }
    // A full first-start style line with the values taken as text, however odd.
    const MarloResult all = run({"-j0", "-p&H7", "-m", "-v 5", "-b", "-c1", "-o", "-r0.5", "-s1",
                                 "-d2", "-s2", "-q", "-l-3", "-a2x", "-y3", "-w", "Harbor Run"});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_THAT(all.out, HasSubstr("-p&H7 -m -v 5 -b -c1"));
}

TEST_F(Marlo, RejectsAnyOtherCommandLine) {
    for (const char* bad : {"-z", "-s3", "-j1", "-c2", "-c", "-x1", "-y4", "-y", "-d", "-", "-P7",
                            "-nn", "--help", "-j0x"})
        expectRejected(run({bad, "Harbor Run.bin"}), bad);
    // The switches that carry a value need one.
    for (const char* bare : {"-p", "-v", "-r", "-f", "-l", "-a"})
        expectRejected(run({bare, "Harbor Run.bin"}), bare);
    expectRejected(run({}), "no arguments");
    expectRejected(run({"-c0"}), "no image");
    expectRejected(run({"-c0", "Harbor", "Run.bin"}), "two image names");
    expectRejected(run({"-c0", ""}), "empty image name");
}

TEST_F(Marlo, FindsTheImageWithOrWithoutExtensionInAnyLetterCase) {
    for (const char* name :
         {"Harbor Run.bin", "Harbor Run", "harbor run", "HARBOR RUN.BIN", "hArBoR rUn.Bin"}) {
        const MarloResult r = run({"-x", name});
        EXPECT_EQ(r.status, 0) << name << ": " << r.err;
        EXPECT_THAT(r.outLines(), ElementsAre("CRC-32: CBF43926", "Size: 9 bytes")) << name;
    }
    for (const char* name :
         {"Harbor", "Harbor Run.b", "Harbor Run.bin.bin", "../Harbor Run", "./Harbor Run.bin", "."})
        expectRejected(run({"-x", name}), name);
}

TEST_F(Marlo, PrefersTheExactNameAndIgnoresFolders) {
    folder.write("demo.BIN", "a");
    folder.write("Demo.Bin", "123456789");
    std::filesystem::create_directory(folder.path() / "cave.bin");
    EXPECT_THAT(run({"-x", "demo.BIN"}).outLines(),
                ElementsAre("CRC-32: E8B7BE43", "Size: 1 bytes"));
    EXPECT_THAT(run({"-x", "Demo.Bin"}).outLines(),
                ElementsAre("CRC-32: CBF43926", "Size: 9 bytes"));
    expectRejected(run({"-x", "cave"}), "a folder is not an image");
}

TEST_F(Marlo, ChecksumOfAnEmptyImage) {
    folder.write("empty.bin", "");
    EXPECT_THAT(run({"-x", "empty"}).outLines(), ElementsAre("CRC-32: 00000000", "Size: 0 bytes"));
}

TEST_F(Marlo, ScanLineReportFollowsTheTvStandard) {
    EXPECT_THAT(run({"-c0", "-n", "Harbor Run"}).outLines(),
                ElementsAre("262 scan lines per frame (NTSC)"));
    EXPECT_THAT(run({"-c1", "-n", "Harbor Run"}).outLines(),
                ElementsAre("312 scan lines per frame (PAL)"));
    EXPECT_THAT(run({"-n", "Harbor Run"}).outLines(),
                ElementsAre("262 scan lines per frame (NTSC)"));
}

TEST_F(Marlo, PerformanceReportNamesTheFramesAndTheTime) {
    EXPECT_THAT(run({"-c0", "-f500", "Harbor Run"}).outLines(),
                ElementsAre(MatchesRegex("500 frames in [0-9]+\\.[0-9] ms \\(stand-in work\\)")));
    EXPECT_THAT(run({"-f1", "Harbor Run"}).outLines(), ElementsAre(StartsWith("1 frame in ")));
    // A count that is not plain digits is timed for its leading digits and says so.
    EXPECT_THAT(
        run({"-f12abc", "Harbor Run"}).outLines(),
        ElementsAre(MatchesRegex("12 frames in .* ms \\(stand-in work; asked for 12abc\\)")));
    // A huge count is clipped, so the run still ends quickly, and the line says so.
    EXPECT_THAT(
        run({"-f99999999999999999999999", "Harbor Run"}).outLines(),
        ElementsAre(MatchesRegex("100000 frames in .*asked for 99999999999999999999999\\)")));
}

TEST_F(Marlo, CombinedReportReadsWellWithoutItsSecondLine) {
    // The launcher shows line 1, a line feed and line 3 of this report.
    const auto lines = run({"-c1", "-n", "-f20", "Harbor Run"}).outLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "312 scan lines per frame (PAL)");
    EXPECT_THAT(lines[2], StartsWith("20 frames in "));
}

TEST_F(Marlo, ChecksumReportWinsOverTheOthers) {
    EXPECT_THAT(run({"-x", "-c1", "-n", "-f20", "Harbor Run"}).outLines(),
                ElementsAre("CRC-32: CBF43926", "Size: 9 bytes"));
}

TEST_F(Marlo, PlainRunWithoutDisplayNamesImageAndSwitches) {
    const MarloResult r = run({"-j2", "-c0", "-k", "harbor run"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.outLines(), ElementsAre(AllOf(HasSubstr("stand-in"), HasSubstr("Harbor Run.bin"),
                                                HasSubstr("-j2 -c0 -k"), HasSubstr("no display"))));
}

} // namespace
