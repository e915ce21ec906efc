// Runs the real kestrin-cmd program on batch files in a temporary folder.
#include "interpreter/interpreter.h"

#include "tests/interpreter/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace kestrin::cmd {
namespace {

using test::TempFolder;

struct Outcome {
    int status = -1;
    std::string output, errors;
};

// Runs kestrin-cmd with `arguments` in `folder`. Its output and errors go to another folder, so
// that the working folder holds only what the run wrote.
Outcome run(const TempFolder& folder, const std::string& arguments = "run.bat") {
    static const TempFolder side;
    const std::string command = "cd '" + folder.str() + "' && '" KESTRIN_CMD_PATH "' " + arguments +
                                " >'" + side.str() + "/out' 2>'" + side.str() + "/err'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, side.read("out"), side.read("err")};
}

Outcome runBatch(const TempFolder& folder, const std::string& content) {
    folder.write("run.bat", content);
    return run(folder);
}

// A stand-in emulator that prints each argument on a line of its own, then exits with the status
// held in the file "status", 0 without it.
void addEchoProgram(const TempFolder& folder) {
    folder.write("marlo", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done\n"
                          "[ -f status ] && exit \"$(cat status)\"\nexit 0\n");
    std::filesystem::permissions(folder.path() / "marlo", std::filesystem::perms::owner_all);
}

TEST(KestrinCmd, RunsTheLauncherLinesWithShortNamesResolvedAndOutputRedirected) {
    TempFolder folder;
    addEchoProgram(folder);
    folder.write("Harbor Run.bin", "rom");
    folder.write("results.dat", "old content that must go away\n");
    const Outcome outcome =
        runBatch(folder, "marlo -c0 HARBOR~1 \r\nmarlo -x -c0 harbor~1  > results.dat\r\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.errors, "");
    EXPECT_EQ(outcome.output, "-c0\nHarbor Run.bin\n");
    EXPECT_EQ(folder.read("results.dat"), "-x\n-c0\nHarbor Run.bin\n");
}

TEST(KestrinCmd, ShellCharactersAreArgumentTextAndWriteNothing) {
    TempFolder folder;
    addEchoProgram(folder);
    folder.write("config.dat", "settings\r\n");
    folder.write("run.bat", "marlo -p1 & echo hacked | cat < /etc/passwd > config.dat ; x \">\" y"
                            " $(touch pwned) `touch pwned2` > results.dat\r\n");
    auto expectedNames = folder.names();
    expectedNames.insert("results.dat");
    EXPECT_EQ(run(folder).status, 0);
    EXPECT_EQ(folder.read("results.dat"),
              "-p1\n&\necho\nhacked\n|\ncat\n<\n/etc/passwd\n>\n"
              "config.dat\n;\nx\n>\ny\n$(touch\npwned)\n`touch\npwned2`\n");
    EXPECT_EQ(folder.names(), expectedNames) << "the line created a file besides its target";
    EXPECT_EQ(folder.read("config.dat"), "settings\r\n");
}

TEST(KestrinCmd, TheStatusIsThatOfTheLastLineAndProgramsAreFoundOnThePathToo) {
    TempFolder folder;
    addEchoProgram(folder);
    folder.write("status", "7");
    EXPECT_EQ(runBatch(folder, "nothere\r\nmarlo a\r\n").status, 7);
    EXPECT_EQ(runBatch(folder, "marlo a\r\nfalse\r\n").status, 1);
    EXPECT_EQ(runBatch(folder, "true > out.dat\r\n").status, 0);
    EXPECT_EQ(folder.names().count("out.dat"), 1u);
    EXPECT_EQ(runBatch(folder, "").status, 0);
}

TEST(KestrinCmd, DirWritesBothListingsForTheLauncher) {
    TempFolder folder;
    folder.write("Harbor Run.bin", "12");
    folder.write("demo.BIN", "");
    EXPECT_EQ(
        runBatch(folder, "dir /On /b *.bin > games.dat\r\ndir /On *.bin > lgames.dat\r\n").status,
        0);
    EXPECT_EQ(folder.read("games.dat"), "demo.BIN\r\nHarbor Run.bin\r\n");
    const std::string full = folder.read("lgames.dat");
    EXPECT_NE(full.find("\r\nDEMO     BIN  demo.BIN\r\nHARBOR~1 BIN  Harbor Run.bin\r\n"),
              std::string::npos)
        << full;
}

TEST(KestrinCmd, ItsOwnErrorsAreOneLineOnStandardErrorWithTheirOwnStatus) {
    TempFolder folder;
    TempFolder elsewhere;
    addEchoProgram(folder);
    folder.write("plain.txt", "not a program");
    elsewhere.write("precious.dat", "keep me");
    std::filesystem::create_symlink(elsewhere.path() / "precious.dat",
                                    folder.path() / "results.dat");
    const struct {
        std::string batch, arguments;
        int status;
    } rows[] = {
        {"nothere a b\r\n", "run.bat", status::kNotFound},
        {"plain.txt\r\n", "run.bat", status::kNotFound}, // not executable
        {"marlo a >\r\n", "run.bat", status::kBadRedirection},
        {"marlo > ../escape.dat\r\n", "run.bat", status::kBadRedirection},
        {"marlo -x > results.dat\r\n", "run.bat", status::kBadRedirection}, // a link: not followed
        {"dir /s *.*\r\n", "run.bat", status::kBadCommand},
        {"", "missing.bat", status::kUnreadableBatchFile},
        {"", "", status::kUsage},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.batch + row.arguments);
        folder.write("run.bat", row.batch);
        const Outcome outcome = run(folder, row.arguments);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.output, "") << "a program ran";
        EXPECT_EQ(outcome.errors.rfind("kestrin-cmd: ", 0), 0u) << outcome.errors;
        EXPECT_EQ(std::count(outcome.errors.begin(), outcome.errors.end(), '\n'), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path().parent_path() / "escape.dat"));
    EXPECT_EQ(elsewhere.read("precious.dat"), "keep me");
}

} // namespace
} // namespace kestrin::cmd
