#include "platform/disk_files.h"

#include "tests/platform/in_fresh_folder.h"

#include <filesystem>
#include <random>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;
using DiskFilesTest = InFreshFolder;

TEST_F(DiskFilesTest, ReplaceWritesExactBytesOrKeepsTheTargetAndNamesTheReasonAndRemoveDeletes) {
    DiskFiles files;
    EXPECT_EQ(files.replace("run.bat", "marlo  GAME \r\n"), std::nullopt);
    put("config.dat", "old content that is longer than the new one\r\n");
    ::chmod("config.dat", 0640);
    const std::string binary("a\0b\r\n\xff", 6);
    EXPECT_EQ(files.replace("config.dat", binary), std::nullopt);
    EXPECT_EQ(contentOf("run.bat") + contentOf("config.dat"), "marlo  GAME \r\n" + binary);
    struct stat info {};
    EXPECT_TRUE(::stat("config.dat", &info) == 0 && (info.st_mode & 0777) == 0640)
        << "an existing file keeps its permissions";
    ASSERT_TRUE(QDir().mkdir("folder.dat"));
    EXPECT_EQ(files.replace("folder.dat", "1\r\n"), "Is a directory");

    // Root writes into any folder, so the attempt runs in a child that gives up root.
    ASSERT_EQ(::chmod(".", 0555), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        ::_exit(DiskFiles().replace("config.dat", "new") == "Permission denied" ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(".", 0700);
    if (status == 3 << 8)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(status, 0) << "a folder without write permission was not refused as such";
    EXPECT_EQ(contentOf("config.dat"), binary);
    EXPECT_TRUE(QDir("folder.dat").exists());
    EXPECT_EQ(entries(), (QStringList{"config.dat", "folder.dat", "run.bat"})) << "temporary left";
    files.remove("run.bat");
    files.remove("never-was.dat");
    EXPECT_EQ(entries(), (QStringList{"config.dat", "folder.dat"}));
}

TEST_F(DiskFilesTest, ReadLinesSplitsAtLineEndsAndCutsAtTheLimits) {
    const std::string huge(200'000, 'x');
    const struct {
        std::string bytes;
        std::size_t maxLines, maxLineBytes;
        Lines expected;
    } cases[] = {
        {"one\r\ntwo\nthree\r\n\r\nlast", 9, 9, {"one", "two", "three", "", "last"}},
        {"a\rb\r\r\n\n", 9, 9, {"a\rb\r", ""}}, // a CR not before LF is content; LF ends
        {"", 9, 9, {}},
        {"1\r\n2\r\n3\r\n", 2, 9, {"1", "2"}},
        {"1\r\n", 0, 9, {}},
        {huge + "\r\nnext\r\n12345\r\n123456\r\n", 9, 5, {"xxxxx", "next", "12345", "12345"}},
        // A cut never splits a UTF-8 character ("é" is two bytes, "€" three).
        {"ab\xc3\xa9\r\nabc\xe2\x82\xac\r\n\xff\xfe\x80\x80\r\n",
         9,
         3,
         {"ab", "abc", "\xff\xfe\x80"}},
        {std::string("a\0b\r\n\0", 6), 9, 9, {std::string("a\0b", 3), std::string(1, '\0')}},
    };
    for (const auto& c : cases) {
        put("a.dat", c.bytes);
        EXPECT_EQ(DiskFiles().readLines("a.dat", c.maxLines, c.maxLineBytes), c.expected)
            << ::testing::PrintToString(c.bytes.substr(0, 40));
    }
    // Only regular files: a pipe without a writer would block a plain open.
    ASSERT_TRUE(QDir().mkdir("folder.dat") && ::mkfifo("pipe.dat", 0600) == 0 &&
                ::symlink("/dev/zero", "zero.dat") == 0);
    for (const char* unreadable : {"missing.dat", "folder.dat", "pipe.dat", "zero.dat"})
        EXPECT_EQ(DiskFiles().readLines(unreadable, 9, 9), std::nullopt) << unreadable;
}

// Read in pieces of 64 KiB: lines and CR LF pairs that straddle a piece boundary read as within
// one piece, and the line limit holds in a later piece.
TEST_F(DiskFilesTest, ReadLinesJoinsLinesAcrossReadPieces) {
    std::mt19937 random(3);
    std::string bytes;
    Lines expected;
    auto addLine = [&](std::size_t length, const char* end) {
        const std::string line(length, static_cast<char>('a' + expected.size() % 26));
        bytes += line + end;
        expected.push_back(line.substr(0, 300));
    };
    for (std::size_t piece = 1; piece <= 3; ++piece) {
        while (bytes.size() < piece * 65536 - 700)
            addLine(random() % 600, random() % 2 ? "\r\n" : "\n");
        // A CR LF split by the boundary, ending on it, or ending a byte before it.
        addLine(piece * 65536 - bytes.size() - piece, "\r\n");
        addLine(0, "\r\n");
        addLine(600, "\n");
    }
    addLine(65536 * 2 + 5, "\r\n"); // longer than two pieces
    addLine(5, "");
    put("pieces.dat", bytes);
    EXPECT_EQ(DiskFiles().readLines("pieces.dat", 100'000, 300), expected);
    EXPECT_EQ(DiskFiles().readLines("pieces.dat", 250, 300),
              Lines(expected.begin(), expected.begin() + 250));
}

// 8 GiB of NUL bytes, sparse, without a line end: reading stops after its byte budget.
TEST_F(DiskFilesTest, ReadLinesOfAHugeFileReadsABoundedPart) {
    std::error_code error;
    put("huge.dat", "");
    std::filesystem::resize_file("huge.dat", std::uintmax_t{8} << 30, error);
    if (error)
        GTEST_SKIP() << "the file system here cannot hold a sparse file of 8 GiB";
    auto bytesRead = [] { // "rchar: N" on the first line
        long long value = 0;
        std::ifstream("/proc/self/io").ignore(7) >> value;
        return value;
    };
    const long long before = bytesRead();
    EXPECT_EQ(DiskFiles().readLines("huge.dat", 1000, 100), (Lines{std::string(100, '\0')}));
    EXPECT_LT(bytesRead() - before, 32ll << 20);
}

} // namespace
} // namespace kestrin
