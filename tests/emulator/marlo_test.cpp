// The stand-in emulator as the launcher's run.bat starts it.
#include "marlo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/wait.h>

namespace {

using testing::MatchesRegex;

TEST(StandIn, ReportsForTheSwitchesTheLauncherWritesAndClipsTheFrameCount) {
    const std::pair<std::vector<std::string>, std::vector<std::string>> rows[] = {
        {{"-x", "-c1", "-n", "-f20", "g"}, {"CRC-32: 0000ABCD", "Size: 9 bytes"}},
        {{"-n", "g"}, {"262 scan lines per frame (NTSC)"}},
        {{"-c1", "-n", "-f20", "g"},
         {"312 scan lines per frame (PAL)", "marlo stand-in report", "T"}},
        {{"-f20", "g"}, {"T"}},
        // Every other switch the launcher writes, with values as typed: no report.
        {{"-j0", "-j2",   "-k",   "-k2",   "-m",   "-m1",  "-b",  "-c0", "-o",
          "-s1", "-s0",   "-d1",  "-d2",   "-s2",  "-q",   "-y1", "-y2", "-y3",
          "-w",  "-p&H7", "-v 5", "-r0.5", "-l-3", "-a2x", "g"},
         {}}};
    for (const auto& [args, lines] : rows) {
        const auto run = std::get<marlo::Invocation>(marlo::parseArguments(args));
        EXPECT_EQ(marlo::reportLines(run, {0xABCD, 9}, "T"), lines) << testing::PrintToString(args);
    }
    // clang-format off
    for (const auto& [text, frames] : {std::pair("500", 500), {"12abc", 12}, {"100000", 100000},
                                       {"100001", 100000}, {"99999999999999999999999", 100000}})
        EXPECT_EQ(marlo::framesToTime(text), static_cast<std::uint64_t>(frames)) << text;
    // clang-format on
    EXPECT_THAT(marlo::performanceLine("02", {}),
                MatchesRegex("2 frames in [0-9]+\\.[0-9] ms \\(stand-in work; asked for 02\\)"));
}

// Run as the launcher runs it: the image by its exact name first, then with ".bin" added, then
// in another letter case; the report or the run; or one line on standard error, with status 2
// for a command line it rejects.
TEST(StandIn, ProgramFindsTheImageAndPrintsTheReportTheRunOrOneErrorLine) {
    std::string folder = std::filesystem::temp_directory_path() / "marlo-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    for (const char* name : {"Harbor Run.bin", "-x.bin", "demo", "demo.bin", "Demo.bin", "DEMO"})
        std::ofstream(folder + "/" + name) << "123456789";
    std::ofstream(folder + "/big.bin") << std::string(70000, 'a'); // more than one read
    std::filesystem::create_directory(folder + "/cave.bin");
    const std::string ran = "marlo \\(stand-in emulator\\): ", none = "marlo: no image named ";
    const std::tuple<std::string, int, std::string> rows[] = {
        {"-x 'harbor run'", 0, "CRC-32: CBF43926\nSize: 9 bytes\n"},
        {"-x ./-x.bin", 0, "CRC-32: CBF43926\nSize: 9 bytes\n"},
        {"-x big", 0, "CRC-32: 1229E204\nSize: 70000 bytes\n"},
        {"-j2 -k demo", 0, ran + "demo, switches: -j2 -k; no display.*\n"},
        {"Demo", 0, ran + "Demo\\.bin, .*"},
        {"dEMO", 0, ran + "DEMO, .*"},
        {"./-X.BIN", 1, none + "\"\\./-X\\.BIN\" in this folder\n"},
        {"cave", 1, none + ".*"},
        {"../demo", 1, none + ".*"},
        {"-X demo", 2, "marlo: unknown switch -X\n"},
        {"'-\x1b[2J' demo", 2, "marlo: unknown switch -\\?\\[2J\n"},
        {"-p demo", 2, "marlo: switch -p needs a value\n"},
        {"-c0 demo demo.bin", 2, "marlo: more than one image name \\(demo, demo\\.bin\\)\n"},
        {"-c0", 2, "marlo: no image name given\n"}};
    for (const auto& [args, status, output] : rows) {
        FILE* pipe = popen(("cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 " +
                            MARLO_PATH + " " + args + " 2>&1")
                               .c_str(),
                           "r");
        std::string out;
        for (int c; pipe && (c = fgetc(pipe)) != EOF;)
            out += static_cast<char>(c);
        const int exit = pipe ? pclose(pipe) : -1;
        EXPECT_EQ(WIFEXITED(exit) ? WEXITSTATUS(exit) : -1, status) << args;
        EXPECT_THAT(out, MatchesRegex(output)) << args;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
