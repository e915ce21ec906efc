// The stand-in emulator as the launcher's run.bat starts it.
#include "marlo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/wait.h>

namespace {

using testing::MatchesRegex;

TEST(StandIn, FrameCountIsClipped) {
    // clang-format off
    for (const auto& [text, frames] : {std::pair("500", 500), {"12abc", 12}, {"100000", 100000},
                                       {"100001", 100000}, {"99999999999999999999999", 100000},
                                       {"18446744073709551621", 100000}}) // 2^64 + 5
        EXPECT_EQ(marlo::framesToTime(text), static_cast<std::uint64_t>(frames)) << text;
    // clang-format on
    EXPECT_THAT(marlo::performanceLine("02", {}),
                MatchesRegex("2 frames in [0-9]+\\.[0-9] ms \\(stand-in work; asked for 02\\)"));
}

// Every switch the launcher writes is accepted; the image is found by its exact name first,
// then with ".bin" added, then in another letter case (the first in byte order), a "./" path
// only as it stands; the reports, the run, or one line on standard error with status 2 for a
// command line it rejects.
TEST(StandIn, ProgramFindsTheImageAndPrintsTheReportTheRunOrOneErrorLine) {
    std::string folder = std::filesystem::temp_directory_path() / "marlo-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    for (const char* name : {"Harbor Run.bin", "-x.bin", "demo", "demo.bin", "Demo.bin", "DEMO"})
        std::ofstream(folder + "/" + name) << "123456789";
    std::ofstream(folder + "/big.bin") << std::string(70000, 'a'); // more than one read
    std::filesystem::create_directory(folder + "/cave.bin");
    const std::string ran = "marlo \\(stand-in emulator\\): ", none = "marlo: no image named ",
                      sum = "CRC-32: CBF43926\nSize: 9 bytes\n", ntsc = "262 scan lines per frame ";
    const std::tuple<std::string, int, std::string> rows[] = {
        {"-x -c1 -n -f20 'harbor run'", 0, sum},
        {"-x ./-x.bin", 0, sum},
        {"-n demo", 0, ntsc + "\\(NTSC\\)\n"},
        {"-c1 -n -f20 demo", 0, "312 .*\\(PAL\\)\nmarlo stand-in report\n20 frames in .*\n"},
        {"-f1 demo", 0, "1 frame in [0-9.]+ ms \\(stand-in work\\)\n"},
        {"-x big", 0, "CRC-32: 1229E204\nSize: 70000 bytes\n"},
        {"dEMO", 0, ran + "DEMO, .*"},
        {"-j0 -j2 -k -k2 -m -m1 -b -c0 -o -s1 -s0 -d1 -d2 -s2 -q -y1 -y2 -y3 -w '-p&H7' -v5 -r0.5 "
         "-l-3 -a2x demo",
         0, ran + "demo, switches: -j0 .* -a2x; no display.*\n"},
        {"Demo", 0, ran + "Demo\\.bin, .*"},
        {"cave", 1, none + ".*"},
        {"../demo", 1, none + ".*"},
        {"./-X.BIN", 1, none + "\"\\./-X\\.BIN\" in this folder\n"},
        {"-X demo", 2, "marlo: unknown switch -X\n"},
        {"-c0", 2, "marlo: no image name given\n"},
        {"'-\x1b[2J' demo", 2, "marlo: unknown switch -\\?\\[2J\n"},
        {"-p demo", 2, "marlo: switch -p needs a value\n"},
        {"-c0 demo demo.bin", 2, "marlo: more than one image name \\(demo, demo\\.bin\\)\n"}};
    for (const auto& [args, status, output] : rows) {
        const std::string command = "cd '" + folder + "' && env -u DISPLAY -u WAYLAND_DISPLAY " +
                                    "timeout 20 " MARLO_PATH " " + args + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
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
