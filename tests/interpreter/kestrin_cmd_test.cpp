// Runs the real kestrin-cmd program on batch files in a temporary folder.
#include "interpreter/interpreter.h"

#include "tests/interpreter/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace kestrin::cmd {
namespace {

using test::TempFolder;
using Lines = std::vector<std::string>;

struct Outcome {
    int status = -1;
    std::string output; // what the run wrote to standard output
    std::string errors; // what the interpreter wrote to standard error
};

// Runs kestrin-cmd with `arguments` in `folder`; its standard error is kept in another folder so
// that the working folder holds only what the run wrote.
Outcome runInterpreter(const TempFolder& folder, const std::vector<std::string>& arguments) {
    static const TempFolder side;
    const std::string errorFile = (side.path() / "stderr").string();
    const std::string outputFile = (side.path() / "stdout").string();
    std::vector<std::string> words = {KESTRIN_CMD_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.str().c_str());
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t child = 0;
    Outcome outcome;
    if (::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.output = side.read("stdout");
    outcome.errors = side.read("stderr");
    return outcome;
}

Outcome runBatch(const TempFolder& folder, const std::string& content) {
    folder.write("run.bat", content);
    return runInterpreter(folder, {"run.bat"});
}

Lines linesOf(const std::string& text) {
    Lines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// A stand-in emulator that prints each argument on a line of its own, then exits with the status
// named by the file "status" when there is one.
void addEchoProgram(const TempFolder& folder, const std::string& name = "marlo") {
    folder.write(name, "#!/bin/sh\n"
                       "for a in \"$@\"; do printf '%s\\n' \"$a\"; done\n"
                       "[ -f status ] && exit \"$(cat status)\"\n"
                       "exit 0\n");
    std::filesystem::permissions(folder.path() / name, std::filesystem::perms::owner_all);
}

void expectOneErrorLine(const Outcome& outcome) {
    const Lines lines = linesOf(outcome.errors);
    ASSERT_EQ(lines.size(), 1u) << outcome.errors;
    EXPECT_EQ(lines[0].rfind("kestrin-cmd: ", 0), 0u) << lines[0];
}

TEST(KestrinCmd, RunsTheLauncherLineWithTheShortNameResolved) {
    TempFolder folder;
    addEchoProgram(folder);
    folder.write("Harbor Run.bin", "rom");
    const Outcome outcome = runBatch(folder, "marlo -c0 HARBOR~1 \r\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.errors, "");
    EXPECT_EQ(linesOf(outcome.output), (Lines{"-c0", "Harbor Run.bin"}));
}

TEST(KestrinCmd, ATrailingRedirectionWritesTheProgramsOutputToTheFile) {
    TempFolder folder;
    addEchoProgram(folder);
    folder.write("Harbor Run.bin", "rom");
    folder.write("results.dat", "old content that must go away\n");
    const Outcome outcome = runBatch(folder, "marlo -x -c0 harbor~1  > results.dat\r\n");
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    EXPECT_EQ(linesOf(folder.read("results.dat")), (Lines{"-x", "-c0", "Harbor Run.bin"}));
}

TEST(KestrinCmd, ShellCharactersAreArgumentTextAndWriteNothing) {
    for (const bool configExists : {false, true}) {
        TempFolder folder;
        addEchoProgram(folder);
        if (configExists) {
            folder.write("config.dat", "settings\r\n");
        }
        const auto before = folder.names();
        const Outcome outcome =
            runBatch(folder, "marlo -p1 & echo hacked | cat < /etc/passwd > config.dat ; x \">\" y"
                             " $(touch pwned) `touch pwned2` > results.dat\r\n");
        EXPECT_EQ(outcome.status, 0) << outcome.errors;
        EXPECT_EQ(
            linesOf(folder.read("results.dat")),
            (Lines{"-p1", "&", "echo", "hacked", "|", "cat", "<", "/etc/passwd", ">", "config.dat",
                   ";", "x", ">", "y", "$(touch", "pwned)", "`touch", "pwned2`"}));
        auto after = folder.names();
        after.erase("results.dat");
        after.erase("run.bat");
        auto expected = before;
        expected.erase("run.bat");
        EXPECT_EQ(after, expected) << "the line created a file besides its target";
        if (configExists) {
            EXPECT_EQ(folder.read("config.dat"), "settings\r\n");
        }
    }
}

TEST(KestrinCmd, ExitStatusIsThatOfTheLastProgram) {
    TempFolder folder;
    addEchoProgram(folder);
    folder.write("status", "7");
    EXPECT_EQ(runBatch(folder, "marlo a\r\n").status, 7);
    EXPECT_EQ(runBatch(folder, "nothere\r\nmarlo a\r\n").status, 7);
    EXPECT_EQ(runBatch(folder, "").status, 0);
}

TEST(KestrinCmd, ProgramsAreFoundOnThePathToo) {
    TempFolder folder;
    EXPECT_EQ(runBatch(folder, "true > out.dat\r\n").status, 0);
    EXPECT_TRUE(folder.exists("out.dat"));
    EXPECT_EQ(runBatch(folder, "false\r\n").status, 1);
}

TEST(KestrinCmd, DirWritesBothListingsForTheLauncher) {
    TempFolder folder;
    folder.write("Harbor Run.bin", "12");
    folder.write("demo.BIN", "");
    folder.write("getlist.bat", "dir /On /b *.bin > games.dat\r\n");
    EXPECT_EQ(runInterpreter(folder, {"getlist.bat"}).status, 0);
    folder.write("getlist.bat", "dir /On *.bin > lgames.dat\r\n");
    EXPECT_EQ(runInterpreter(folder, {"getlist.bat"}).status, 0);
    EXPECT_EQ(folder.read("games.dat"), "demo.BIN\r\nHarbor Run.bin\r\n");
    const Lines full = linesOf(folder.read("lgames.dat"));
    ASSERT_EQ(full.size(), 8u);
    EXPECT_EQ(full[5].rfind("DEMO     BIN ", 0), 0u) << full[5];
    EXPECT_EQ(full[6].rfind("HARBOR~1 BIN ", 0), 0u) << full[6];
}

TEST(KestrinCmdErrors, GoToStandardErrorAsOneLineWithDistinctStatuses) {
    TempFolder folder;
    addEchoProgram(folder);
    folder.write("plain.txt", "not a program");

    Outcome outcome = runBatch(folder, "nothere a b\r\n");
    EXPECT_EQ(outcome.status, status::kNotFound);
    expectOneErrorLine(outcome);

    outcome = runBatch(folder, "plain.txt\r\n");
    EXPECT_EQ(outcome.status, status::kNotFound); // not executable
    expectOneErrorLine(outcome);

    outcome = runBatch(folder, "marlo > ../escape.dat\r\n");
    EXPECT_EQ(outcome.status, status::kBadRedirection);
    expectOneErrorLine(outcome);
    EXPECT_FALSE(std::filesystem::exists(folder.path().parent_path() / "escape.dat"));

    outcome = runBatch(folder, "dir /s *.*\r\n");
    EXPECT_EQ(outcome.status, status::kBadCommand);
    expectOneErrorLine(outcome);

    outcome = runInterpreter(folder, {"missing.bat"});
    EXPECT_EQ(outcome.status, status::kUnreadableBatchFile);
    expectOneErrorLine(outcome);

    outcome = runInterpreter(folder, {});
    EXPECT_EQ(outcome.status, status::kUsage);
    expectOneErrorLine(outcome);
}

TEST(KestrinCmdErrors, ABadRedirectionRunsNothing) {
    TempFolder folder;
    folder.write("touch-marker", "#!/bin/sh\necho ran > marker\n");
    std::filesystem::permissions(folder.path() / "touch-marker", std::filesystem::perms::owner_all);
    const Outcome outcome = runBatch(folder, "touch-marker a >\r\n");
    EXPECT_EQ(outcome.status, status::kBadRedirection);
    expectOneErrorLine(outcome);
    EXPECT_FALSE(folder.exists("marker"));
}

TEST(KestrinCmdErrors, ARedirectionIsNotFollowedThroughASymbolicLink) {
    TempFolder folder;
    TempFolder elsewhere;
    addEchoProgram(folder);
    elsewhere.write("precious.dat", "keep me");
    std::filesystem::create_symlink(elsewhere.path() / "precious.dat",
                                    folder.path() / "results.dat");
    const Outcome outcome = runBatch(folder, "marlo -x > results.dat\r\n");
    EXPECT_EQ(outcome.status, status::kBadRedirection);
    expectOneErrorLine(outcome);
    EXPECT_EQ(elsewhere.read("precious.dat"), "keep me");
}

} // namespace
} // namespace kestrin::cmd
