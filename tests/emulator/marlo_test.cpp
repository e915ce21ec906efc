// The stand-in emulator as the launcher's run.bat starts it: switches, image lookup, reports.
#include "marlo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

using testing::MatchesRegex;

namespace {

class Marlo : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "marlo-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        write("Harbor Run.bin", "123456789");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(folder / name, std::ios::binary) << content;
    }
    // Runs the built marlo here without a display: its exit status and its stdout and stderr.
    std::pair<int, std::string> run(const std::string& shellArgs) const {
        const std::string command = "cd '" + folder.string() +
                                    "' && env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 " +
                                    MARLO_PATH + " " + shellArgs + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        char buffer[256];
        while (pipe && fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        const int status = pipe ? pclose(pipe) : -1;
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
    }

    std::filesystem::path folder;
};

TEST(MarloArguments, AcceptsExactlyTheSwitchesTheLauncherWritesAndOneImage) {
    // Values are kept as text, however odd; the switches that carry a value need one.
    // clang-format off
    const std::vector<std::pair<std::vector<std::string>, bool>> rows = {
        {{"-x", "-j0", "-j2", "-k2", "-k", "-m1", "-m", "-b", "-c0", "-c1", "-o", "-n", "-s1",
          "-s0", "-d1", "-d2", "-s2", "-q", "-y1", "-y2", "-y3", "-w", "Harbor Run"}, true},
        {{"-p&H7", "-v 5", "-r0.5", "-f10", "-l-3", "-a2x", "Harbor Run"}, true},
        {{"-z", "g"}, false},   {{"-s3", "g"}, false}, {{"-j1", "g"}, false},
        {{"-c2", "g"}, false},  {{"-c", "g"}, false},  {{"-x1", "g"}, false},
        {{"-y4", "g"}, false},  {{"-y", "g"}, false},  {{"-d", "g"}, false},
        {{"-", "g"}, false},    {{"-P7", "g"}, false}, {{"-nn", "g"}, false},
        {{"--help", "g"}, false}, {{"-j0x", "g"}, false},
        {{"-p", "g"}, false},   {{"-v", "g"}, false},  {{"-r", "g"}, false},
        {{"-f", "g"}, false},   {{"-l", "g"}, false},  {{"-a", "g"}, false},
        {{}, false}, {{"-c0"}, false}, {{"-c0", "Harbor", "Run"}, false}, {{"-c0", ""}, false}};
    // clang-format on
    for (const auto& [args, accepted] : rows) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto parsed = marlo::parseArguments(args);
        ASSERT_EQ(std::holds_alternative<marlo::Invocation>(parsed), accepted);
        if (!accepted) {
            EXPECT_NE(std::get<std::string>(parsed), "");
            continue;
        }
        std::string switches; // as given, joined by blanks
        for (auto arg = args.begin(); arg + 1 != args.end(); ++arg)
            switches += (switches.empty() ? "" : " ") + *arg;
        EXPECT_EQ(std::get<marlo::Invocation>(parsed).switchText(), switches);
        EXPECT_EQ(std::get<marlo::Invocation>(parsed).image, args.back());
    }
}

TEST_F(Marlo, FindsTheImageWithOrWithoutExtensionInAnyLetterCasePreferringTheExactName) {
    write("demo.BIN", "a");
    write("Demo.Bin", "b");
    std::filesystem::create_directory(folder / "cave.bin");
    // Among names that differ in letter case the first in name order; a folder is no image.
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Harbor Run.bin", "Harbor Run.bin"}, {"Harbor Run", "Harbor Run.bin"},
        {"harbor run", "Harbor Run.bin"},     {"HARBOR RUN.BIN", "Harbor Run.bin"},
        {"hArBoR rUn.Bin", "Harbor Run.bin"}, {"demo.BIN", "demo.BIN"},
        {"Demo.Bin", "Demo.Bin"},             {"DEMO", "Demo.Bin"},
        {"Harbor", ""}, {"Harbor Run.b", ""}, {"Harbor Run.bin.bin", ""}, {"../Harbor Run", ""},
        {"./Harbor Run.bin", ""}, {".", ""},  {"cave", ""}};
    // clang-format on
    for (const auto& [name, file] : rows) {
        SCOPED_TRACE(name);
        const auto found = marlo::findImage(folder, name);
        EXPECT_EQ(found ? found->filename().string() : "", file);
    }
}

TEST_F(Marlo, ReportsTheCrc32AndSizeOfTheWholeImage) {
    write("empty.bin", "");
    write("big.bin", std::string(70000, 'a')); // more than one read
    for (const auto& [name, crc, size] :
         std::vector<std::tuple<std::string, std::string, int>>{{"Harbor Run.bin", "CBF43926", 9},
                                                                {"empty.bin", "00000000", 0},
                                                                {"big.bin", "1229E204", 70000}}) {
        SCOPED_TRACE(name);
        const auto facts = marlo::readImageFacts(folder / name);
        ASSERT_TRUE(facts);
        EXPECT_EQ(marlo::hex8(facts->crc32), crc);
        EXPECT_EQ(facts->size, static_cast<std::uintmax_t>(size));
    }
}

TEST(MarloReport, ChecksumWinsThenScanLinesByTvStandardAndThePerformanceLine) {
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> rows = {
        {{"-x", "-c1", "-n", "-f20", "g"}, {"CRC-32: CBF43926", "Size: 9 bytes"}},
        {{"-c0", "-n", "g"}, {"262 scan lines per frame (NTSC)"}},
        {{"-n", "g"}, {"262 scan lines per frame (NTSC)"}},
        {{"-c1", "-n", "g"}, {"312 scan lines per frame (PAL)"}},
        // The launcher shows line 1, a line feed and line 3 of a combined report.
        {{"-c1", "-n", "-f20", "g"},
         {"312 scan lines per frame (PAL)", "marlo stand-in report", "timed"}},
        {{"-f20", "g"}, {"timed"}},
        {{"-c1", "g"}, {}}};
    for (const auto& [args, lines] : rows) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto run = std::get<marlo::Invocation>(marlo::parseArguments(args));
        EXPECT_EQ(run.reporting(), !lines.empty());
        EXPECT_EQ(marlo::reportLines(run, {0xCBF43926, 9}, "timed"), lines);
    }
}

TEST(MarloReport, PerformanceLineNamesTheFramesTimedAndWhatWasAskedFor) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"500", "500 frames in [0-9]+\\.[0-9] ms \\(stand-in work\\)"},
        {"1", "1 frame in [0-9.]+ ms \\(stand-in work\\)"},
        {"12abc", "12 frames in [0-9.]+ ms \\(stand-in work; asked for 12abc\\)"},
        // A huge count is clipped, so that the run still ends quickly.
        {"99999999999999999999999",
         "100000 frames in [0-9.]+ ms \\(stand-in work; asked for 99999999999999999999999\\)"}};
    for (const auto& [frames, line] : rows)
        EXPECT_THAT(marlo::performanceLine(frames, {}), MatchesRegex(line)) << frames;
}

TEST_F(Marlo, ProgramPrintsTheReportOrTheRunOrOneErrorLine) {
    const std::vector<std::tuple<std::string, bool, std::string>> rows = {
        {"-x 'harbor run'", true, "CRC-32: CBF43926\nSize: 9 bytes\n"},
        {"-j2 -c0 -k 'harbor run'", true,
         "marlo \\(stand-in emulator\\): Harbor Run\\.bin, switches: -j2 -c0 -k; no display.*\n"},
        {"-z 'Harbor Run'", false, "marlo: unknown switch -z\n"},
        {"-x 'Harbor'", false, "marlo: no image named \"Harbor\" in this folder\n"}};
    for (const auto& [args, ok, output] : rows) {
        SCOPED_TRACE(args);
        const auto [status, out] = run(args);
        EXPECT_EQ(status == 0, ok);
        EXPECT_THAT(out, MatchesRegex(output));
    }
}

} // namespace
