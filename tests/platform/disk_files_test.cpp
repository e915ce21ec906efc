#include "platform/disk_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

// Each test works in a fresh folder that is the current working directory.
class DiskFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        // Readable by everybody, so that a test can work in it under another account.
        ::chmod(folder_.path().toLocal8Bit().constData(), 0755);
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    }
    void TearDown() override {
        ::chmod(folder_.path().toLocal8Bit().constData(), 0700);
        QDir::setCurrent(previous_);
    }

    static void put(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string contentOf(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    QStringList entries() const {
        return QDir(folder_.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    DiskFiles files;
    QTemporaryDir folder_;
    QString previous_;
};

TEST_F(DiskFilesTest, ReplaceWritesExactBytesAndLeavesNoTemporaryFile) {
    EXPECT_EQ(files.replace("run.bat", "marlo  GAME \r\n"), std::nullopt);
    EXPECT_EQ(contentOf("run.bat"), "marlo  GAME \r\n");

    put("config.dat", "old content that is longer than the new one\r\n");
    ::chmod("config.dat", 0640);
    const std::string binary("a\0b\r\n\xff", 6);
    EXPECT_EQ(files.replace("config.dat", binary), std::nullopt);
    EXPECT_EQ(contentOf("config.dat"), binary);
    EXPECT_EQ(files.replace("empty.dat", ""), std::nullopt);
    EXPECT_EQ(contentOf("empty.dat"), "");

    struct stat info {};
    ASSERT_EQ(::stat("config.dat", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "an existing file keeps its permissions";
    EXPECT_EQ(entries(), (QStringList{"config.dat", "empty.dat", "run.bat"}));
}

TEST_F(DiskFilesTest, ReplaceThatFailsGivesTheReasonAndKeepsTheTarget) {
    ASSERT_TRUE(QDir().mkdir("config.dat"));
    const auto reason = files.replace("config.dat", "1\r\n");
    ASSERT_TRUE(reason.has_value());
    EXPECT_EQ(*reason, "Is a directory");
    EXPECT_TRUE(QDir("config.dat").exists());
    EXPECT_EQ(entries(), (QStringList{"config.dat"})) << "the temporary file was not removed";
}

TEST_F(DiskFilesTest, ReplaceInAFolderWithoutWritePermission) {
    put("config.dat", "kept\r\n");
    ASSERT_EQ(::chmod(".", 0555), 0);
    // Root writes into any folder, so as root the attempt runs in a child process that has
    // given up root for the "nobody" account.
    std::optional<std::string> reason;
    if (::geteuid() != 0) {
        reason = files.replace("config.dat", "new\r\n");
    } else {
        int channel[2];
        ASSERT_EQ(::pipe(channel), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(channel[0]);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
            const auto childReason = DiskFiles().replace("config.dat", "new\r\n");
            const std::string text = childReason.value_or("<succeeded>");
            const bool sent =
                ::write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
            ::_exit(sent ? 0 : 4);
        }
        ::close(channel[1]);
        char buffer[256];
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        ::close(channel[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
            GTEST_SKIP() << "cannot give up root here";
        ASSERT_GT(got, 0);
        reason = std::string(buffer, static_cast<std::size_t>(got));
    }
    ::chmod(".", 0700);
    EXPECT_EQ(reason, std::optional<std::string>("Permission denied"));
    EXPECT_EQ(contentOf("config.dat"), "kept\r\n");
    EXPECT_EQ(entries(), (QStringList{"config.dat"}));
}

TEST_F(DiskFilesTest, ReadLinesAcceptsCrLfAndLfAlone) {
    put("a.dat", "one\r\ntwo\nthree\r\n\r\nlast without end");
    EXPECT_EQ(files.readLines("a.dat", 100, 100),
              (Lines{"one", "two", "three", "", "last without end"}));
    // A final line end does not start another line; a CR that is not before an LF is content.
    put("b.dat", "x\r\n");
    EXPECT_EQ(files.readLines("b.dat", 100, 100), (Lines{"x"}));
    put("c.dat", "a\rb\r\r\n\n");
    EXPECT_EQ(files.readLines("c.dat", 100, 100), (Lines{"a\rb\r", ""}));
    put("empty.dat", "");
    EXPECT_EQ(files.readLines("empty.dat", 100, 100), Lines{});
}

TEST_F(DiskFilesTest, ReadLinesStopsAtTheLineLimitAndCutsLongLines) {
    put("a.dat", "1\r\n2\r\n3\r\n4\r\n");
    EXPECT_EQ(files.readLines("a.dat", 2, 100), (Lines{"1", "2"}));
    EXPECT_EQ(files.readLines("a.dat", 0, 100), Lines{});

    put("long.dat", std::string(200'000, 'x') + "\r\nnext\r\n" + "12345\r\n" + "123456\r\n");
    const auto lines = files.readLines("long.dat", 10, 5);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (Lines{"xxxxx", "next", "12345", "12345"}));

    // A cut never splits a UTF-8 character: "é" is two bytes, "€" three.
    put("utf8.dat", "ab\xc3\xa9\r\nabc\xe2\x82\xac\r\n\xff\xfe\x80\x80\x80\r\n");
    EXPECT_EQ(files.readLines("utf8.dat", 10, 3), (Lines{"ab", "abc", "\xff\xfe\x80"}));
}

// The file is read in pieces of 64 KiB: lines, line ends and CR LF pairs that straddle a piece
// boundary read as they would within one piece. ASCII only, so a cut is a plain truncation.
TEST_F(DiskFilesTest, ReadLinesJoinsLinesAcrossReadPieces) {
    std::mt19937 random(3);
    std::string bytes;
    Lines expected;
    constexpr std::size_t maxLineBytes = 300;
    auto addLine = [&](std::size_t length, bool crlf) {
        std::string line(length, 'a');
        for (char& c : line)
            c = static_cast<char>('a' + random() % 26);
        if (length > 1 && random() % 8 == 0)
            line[random() % (length - 1)] = '\r'; // a CR that does not end a line is content
        bytes += line + (crlf ? "\r\n" : "\n");
        expected.push_back(line.substr(0, maxLineBytes));
    };
    for (const std::size_t boundary : {std::size_t{65536}, std::size_t{2 * 65536}}) {
        while (bytes.size() < boundary - 700)
            addLine(random() % 700, random() % 2 == 0);
        // Ends of lines just before, on and just after the boundary, with the CR of a CR LF
        // as the last byte of a piece once.
        addLine(boundary - bytes.size() - 2, true);
        addLine(0, true);
        addLine(600, false);
    }
    addLine(65536 * 2 + 5, true); // longer than two pieces
    bytes += "tail without end";
    expected.push_back("tail without end");
    put("pieces.dat", bytes);
    EXPECT_EQ(files.readLines("pieces.dat", 100'000, maxLineBytes), expected);

    // The line limit still holds when it falls in a later piece.
    const auto first = files.readLines("pieces.dat", 250, maxLineBytes);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, Lines(expected.begin(), expected.begin() + 250));
}

TEST_F(DiskFilesTest, ReadLinesSurvivesBinaryContent) {
    std::string bytes(1 << 20, '\0');
    std::mt19937 random(7);
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    put("noise.dat", bytes);
    const auto lines = files.readLines("noise.dat", 1'000'000, 64);
    ASSERT_TRUE(lines.has_value());
    std::size_t expected = 0;
    for (char byte : bytes)
        expected += byte == '\n';
    EXPECT_EQ(lines->size(), expected + (bytes.back() != '\n'));
    for (const auto& line : *lines)
        EXPECT_LE(line.size(), 64u);

    put("nul.dat", std::string("a\0b\r\n\0\r\n", 8));
    EXPECT_EQ(files.readLines("nul.dat", 10, 10),
              (Lines{std::string("a\0b", 3), std::string(1, '\0')}));
}

TEST_F(DiskFilesTest, ReadLinesOfAHugeFileTakesBoundedTime) {
    // A sparse file of 8 GiB of NUL bytes without any line end.
    const int fd = ::open("huge.dat", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const bool sized = ::ftruncate(fd, off_t{8} << 30) == 0;
    ::close(fd);
    if (!sized)
        GTEST_SKIP() << "the file system here cannot hold a sparse file of 8 GiB";
    const auto begin = std::chrono::steady_clock::now();
    const auto lines = files.readLines("huge.dat", 1000, 100);
    const auto took = std::chrono::steady_clock::now() - begin;
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (Lines{std::string(100, '\0')}));
    EXPECT_LT(took, std::chrono::seconds(2));
}

TEST_F(DiskFilesTest, OnlyRegularFilesCanBeRead) {
    EXPECT_EQ(files.readLines("missing.dat", 10, 10), std::nullopt);
    ASSERT_TRUE(QDir().mkdir("folder.dat"));
    EXPECT_EQ(files.readLines("folder.dat", 10, 10), std::nullopt);
    // A pipe without a writer would block a plain open; it is refused at once instead.
    ASSERT_EQ(::mkfifo("pipe.dat", 0600), 0);
    EXPECT_EQ(files.readLines("pipe.dat", 10, 10), std::nullopt);
    ASSERT_EQ(::symlink("/dev/zero", "zero.dat"), 0);
    EXPECT_EQ(files.readLines("zero.dat", 10, 10), std::nullopt);
}

TEST_F(DiskFilesTest, RemoveDeletesAndIgnoresAMissingFile) {
    put("games.dat", "x\r\n");
    files.remove("games.dat");
    EXPECT_FALSE(QFile::exists("games.dat"));
    files.remove("games.dat");
    files.remove("never-was.dat");
    EXPECT_TRUE(entries().isEmpty());
}

} // namespace
} // namespace kestrin
