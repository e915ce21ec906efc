#include "platform/disk_files.h"

#include "tests/platform/in_fresh_folder.h"

#include <QFile>

#include <csignal>
#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;
using DiskFilesTest = InFreshFolder;

TEST_F(DiskFilesTest, ReplaceWritesExactBytesOrKeepsTheTargetAndNamesTheReason) {
    DiskFiles files;
    put("config.dat", "old content that is longer than the new one\r\n");
    ::chmod("config.dat", 0640);
    const std::string binary("a\0b\r\n\xff", 6);
    EXPECT_EQ(files.replace("config.dat", binary), std::nullopt);
    EXPECT_EQ(files.replace("run.bat", "marlo  GAME \r\n"), std::nullopt);
    EXPECT_EQ(contentOf("run.bat") + contentOf("config.dat"), "marlo  GAME \r\n" + binary);
    struct stat info {};
    EXPECT_TRUE(::stat("config.dat", &info) == 0 && (info.st_mode & 0777) == 0640)
        << "an existing file keeps its permissions";
    ASSERT_TRUE(QDir().mkdir("folder.dat"));
    EXPECT_EQ(files.replace("folder.dat", "1\r\n"), "Is a directory");
    files.remove("run.bat");
    files.remove("never-was.dat");
    EXPECT_EQ(entries(), (QStringList{"config.dat", "folder.dat"})) << "temporary left";
}

// A save killed at any moment leaves the old or the new content, and nothing once start-up
// has cleared the leftovers away; only a regular file of the exact pending name is removed.
TEST_F(DiskFilesTest, AKilledSaveLeavesNothingBehindAfterTheNextStart) {
    const std::string small = "0\r\n", large(300'000, 'x');
    for (int kill = 0; kill < 40; ++kill) {
        ::unlink("run.bat");
        const pid_t saver = ::fork();
        for (DiskFiles files; saver == 0;) {
            files.replace("config.dat", kill % 2 ? small : large);
            files.replace("run.bat", kill % 2 ? large : small);
        }
        while (!QFile::exists("run.bat")) // saving has begun
            ::sched_yield();
        for (int wait = 0; wait < kill * 20; ++wait) // a different moment each time
            ::sched_yield();
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);
        for (const char* name : {"config.dat", "run.bat"}) {
            DiskFiles().removeLeftovers(name);
            EXPECT_TRUE(contentOf(name) == small || contentOf(name) == large) << name;
        }
        ASSERT_EQ(entries(), (QStringList{"config.dat", "run.bat"})) << "after kill " << kill;
    }
    ASSERT_TRUE(QDir().mkdir(".getlist.bat.kestrin-new") &&
                ::symlink("config.dat", ".run.bat.kestrin-new") == 0);
    put(".config.dat.kestrin-new", "left");
    put(".config.dat.kestrin-newer", "mine");
    for (const char* name : {"config.dat", "run.bat", "getlist.bat"})
        DiskFiles().removeLeftovers(name);
    EXPECT_EQ(entries(), (QStringList{".config.dat.kestrin-newer", ".getlist.bat.kestrin-new",
                                      ".run.bat.kestrin-new", "config.dat", "run.bat"}));
}

TEST_F(DiskFilesTest, ReadLinesSplitsCutsCountsAndKeeps) {
    const std::string piece(65535, 'a'); // reads go in pieces of 64 KiB
    const auto firstTwo = [](std::string_view line) { return line.substr(0, 2); };
    const struct {
        std::string bytes;
        LineLimits limits;
        Lines expected;
        std::size_t linesLeft = 0;
    } cases[] = {
        {"one\r\ntwo\nthree\r\n\r\nlast", {9, 9}, {"one", "two", "three", "", "last"}},
        {"a\rb\r\r\n\n", {9, 9}, {"a\rb\r", ""}}, // a CR not before LF is content
        {"", {9, 9}, {}},
        {"1\r\n2\r\n3\r\n4", {2, 9}, {"1", "2"}},
        {"1\r\n2\r\n3\r\n4", {2, 9, nullptr, false, true}, {"1", "2"}, 2},
        {"abc\ndefg\n", {9, 9, firstTwo}, {"ab", "de"}},
        // Lines across pieces, a CR LF split by a piece's end, and lines far over the limit.
        {piece + "\r\nb", {9, 70'000}, {piece, "b"}},
        {piece + "\r\nb", {9, 9}, {"aaaaaaaaa", "b"}},
        {piece + piece + "\r\n" + piece + "\n" + "\r\n", {9, 9}, {"aaaaaaaaa", "aaaaaaaaa", ""}},
        // A cut never splits a UTF-8 character ("€" is three bytes), not even across pieces.
        {"abc\xe2\x82\xac\r\n\xff\xfe\x80\x80\r\n", {9, 3}, {"abc", "\xff\xfe\x80"}},
        {piece.substr(4) + "\nab\xe2\x82\xac\n", {9, 3}, {"aaa", "ab"}},
        {std::string("a\0b\r\n\0", 6), {9, 9}, {std::string("a\0b", 3), std::string(1, '\0')}},
    };
    for (const auto& c : cases) {
        put("a.dat", c.bytes);
        const auto read = DiskFiles().readLines("a.dat", c.limits);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->lines, c.expected) << ::testing::PrintToString(c.bytes.substr(0, 40));
        EXPECT_EQ(read->linesLeft, c.linesLeft);
    }
}

// Only regular files, never blocking; the interpreter's files only when they are its own, so
// that no link in the folder shows an outside file. A huge file costs a bounded read.
TEST_F(DiskFilesTest, ReadLinesTakesOnlyRegularFilesAndTheInterpretersOwn) {
    put("outside.txt", "outside\n");
    put("own.dat", "own\n");
    ASSERT_TRUE(QDir().mkdir("folder.dat") && ::mkfifo("pipe.dat", 0600) == 0 &&
                ::symlink("/dev/zero", "zero.dat") == 0 &&
                ::symlink("own.dat", "symlink.dat") == 0 && ::link("outside.txt", "hard.dat") == 0);
    // {name, read at all, read as the interpreter's file}
    const std::tuple<const char*, bool, bool> rows[] = {
        {"own.dat", true, true},      {"symlink.dat", true, false}, {"hard.dat", true, false},
        {"pipe.dat", false, false},   {"folder.dat", false, false}, {"zero.dat", false, false},
        {"missing.dat", false, false}};
    for (const auto& [name, any, own] : rows) {
        EXPECT_EQ(DiskFiles().readLines(name, {9, 9}).has_value(), any) << name;
        EXPECT_EQ(DiskFiles().readLines(name, {9, 9, nullptr, true}).has_value(), own) << name;
    }
    // 8 GiB of NUL bytes, sparse, without a line end: the read stops at its byte budget.
    std::filesystem::resize_file("own.dat", std::uintmax_t{8} << 30);
    std::ifstream io("/proc/self/io"); // "rchar: N" on the first line
    long long before = 0, after = 0;
    io.ignore(7) >> before;
    const auto read = DiskFiles().readLines("own.dat", {1000, 9, nullptr, false, true});
    std::ifstream("/proc/self/io").ignore(7) >> after;
    EXPECT_EQ(read->lines, (Lines{"own", std::string(9, '\0')}));
    EXPECT_LT(after - before, 32ll << 20);
}

} // namespace
} // namespace kestrin
