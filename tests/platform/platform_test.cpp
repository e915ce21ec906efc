// The launcher's files and jobs, each test in a fresh temporary folder that is the working
// directory while it runs.
#include "platform/disk_files.h"
#include "platform/process_jobs.h"

#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <filesystem>
#include <fstream>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrin {
namespace {

struct InFreshFolder : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(folder_.isValid() && QDir::setCurrent(folder_.path())); }
    void TearDown() override { QDir::setCurrent(previous_); }
    static void put(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string contentOf(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static QStringList entries() {
        return QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot |
                                QDir::System);
    }
    QTemporaryDir folder_;
    const QString previous_ = QDir::currentPath();
};

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
    EXPECT_EQ(DiskFiles(false).replace("folder.dat", ""), "Is a directory"); // the named way
    files.remove("run.bat");
    files.remove("never-was.dat");
    EXPECT_EQ(entries(), (QStringList{"config.dat", "folder.dat"})) << "temporary left";
}

// A killed save leaves old or new content and, after start-up, nothing else; only a regular
// file of one name under a temporary name of either way goes; a folder there is named.
TEST_F(DiskFilesTest, AKilledSaveLeavesNothingBehindAfterTheNextStart) {
    const std::string small = "0\r\n", large(300'000, 'x');
    for (int kill = 0; kill < 40; ++kill) {
        ::unlink("run.bat");
        const pid_t saver = ::fork();
        for (DiskFiles files(kill % 4 < 2); saver == 0;) {
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
            DiskFiles().removeLeftovers({name});
            EXPECT_TRUE(contentOf(name) == small || contentOf(name) == large) << name;
        }
        ASSERT_EQ(entries(), (QStringList{"config.dat", "run.bat"})) << "after kill " << kill;
    }
    ASSERT_TRUE(QDir().mkdir(".getlist.bat.kestrin-new") &&
                ::symlink("config.dat", ".run.bat.kestrin-new") == 0 &&
                ::link("config.dat", ".config.dat.Linked") == 0);
    put(".config.dat.kestrin-new", "left");
    put(".run.bat.x1Y2z3", "left");
    put(".config.dat.kestrin-newer", "mine");
    for (const char* name : {"config.dat", "run.bat", "getlist.bat"})
        DiskFiles().removeLeftovers({name});
    EXPECT_EQ(entries(), (QStringList{".config.dat.kestrin-newer", ".config.dat.Linked",
                                      ".getlist.bat.kestrin-new", ".run.bat.kestrin-new",
                                      "config.dat", "run.bat"}));
    EXPECT_EQ(DiskFiles().replace("getlist.bat", ""),
              ".getlist.bat.kestrin-new is in the way: it is a folder");
}

TEST_F(DiskFilesTest, ReadLinesSplitsCutsCountsAndKeeps) {
    const std::string piece(65535, 'a'); // reads go in pieces of 64 KiB
    const auto firstTwo = [](std::string_view line) { return line.substr(0, 2); };
    // {bytes, limits, lines read}
    const std::tuple<std::string, LineLimits, Lines> cases[] = {
        {"one\r\ntwo\nthree\r\n\r\nlast", {9, 9}, {"one", "two", "three", "", "last"}},
        {"a\rb\r\r\n\n", {9, 9}, {"a\rb\r", ""}}, // a CR not before LF is content
        {"", {9, 9}, {}},
        {"1\r\n2\r\n3\r\n4", {2, 9}, {"1", "2"}},
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
    for (const auto& [bytes, limits, expected] : cases) {
        put("a.dat", bytes);
        EXPECT_EQ(DiskFiles().readLines("a.dat", limits)->lines, expected)
            << ::testing::PrintToString(bytes.substr(0, 40));
    }
    put("a.dat", "1\r\n2\r\n3\r\n4"); // lines past the most kept are counted when asked
    EXPECT_EQ(DiskFiles().readLines("a.dat", {2, 9, nullptr, false, true})->linesLeft, 2u);
}

// Only regular files, never blocking; the interpreter's files never through a link; a huge
// file costs a bounded read.
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
    // A regular file there but unreadable (mode 000; root checks it as nobody), or failing.
    ASSERT_TRUE(::chmod("outside.txt", 0) == 0 && ::chmod(".", 0711) == 0);
    const int user = ::setfsuid(65534);
    const auto closed = DiskFiles().readLines("hard.dat", {9, 9});
    ::setfsuid(user);
    EXPECT_EQ(closed ? closed->failure : "missing", "Permission denied");
    EXPECT_EQ(DiskFiles().readLines("/proc/self/mem", {9, 9})->failure, "Input/output error");
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

// The shell stands in for the interpreter: each test's batch file says what the job does.
struct ProcessJobsTest : InFreshFolder {
    TaskId run(const std::string& script, bool reportErrors = false) {
        const std::string name = "job" + std::to_string(++batches_) + ".bat";
        put(name, script);
        return jobs->start(name, WindowStyle::MaximizedFocus, reportErrors).value_or(-1);
    }
    testing::RecordingMessageBoxes boxes;
    std::unique_ptr<ProcessJobs> jobs = std::make_unique<ProcessJobs>(boxes, "/bin/sh");
    int batches_ = 0;
};

// Start returns while the job waits for a file only the test makes; the wait ends with the job;
// a pause lasts its time and processes events.
TEST_F(ProcessJobsTest, StartReturnsAtOnceAndTheWaitEndsWithTheJob) {
    const TaskId task =
        run("for i in $(seq 2000); do [ -e go ] && break; sleep 0.01; done\npwd > where.txt\n");
    EXPECT_NE(jobs->processId(task), 0);
    bool timerRan = false;
    QTimer::singleShot(20, [&timerRan] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    jobs->pause(0.1);
    EXPECT_TRUE(clock.elapsed() >= 100 && timerRan);
    // The running job holds its batch file; once replaced, the new file is another one.
    put("other.bat", "");
    EXPECT_TRUE(jobs->holdsOpen(task, "job1.bat") && !jobs->holdsOpen(task, "other.bat"));
    EXPECT_EQ(DiskFiles().replace("job1.bat", "true\n"), std::nullopt);
    EXPECT_FALSE(jobs->holdsOpen(task, "job1.bat"));
    put("go", "");
    EXPECT_EQ(jobs->waitUntilEnded(task), std::nullopt);
    EXPECT_TRUE(QFile::exists("where.txt")) << "the job ran in another folder";
    jobs->waitUntilEnded(task); // an ended or unknown job is not waited for
    jobs->waitForUserReturn(task);
    put("not-executable", "#!/bin/sh\n"); // an interpreter that cannot start gives no job
    for (const char* interpreter : {"no-such-interpreter", "not-executable"})
        EXPECT_FALSE(ProcessJobs(boxes, folder_.filePath(interpreter)).start("run.bat", {}, true));
}

// A failed job tells why with its last lines of standard error, and a crash names its signal:
// shown once it has ended when it was started to report them, else returned by the wait.
TEST_F(ProcessJobsTest, AFailedJobTellsItsLastErrorLines) {
    const std::string noisy = "yes noise | head -n 30000 >&2\nprintf 'a\\tb\\033c\\r\\n\\n' >&2\n";
    // More than is kept, all of it one line, or one line and then the complaint.
    const std::string progress = "yes 'frame 1' | head -n 3000 | tr '\\n' '\\r' >&2\n";
    const std::string longLine = "head -c 20000 /dev/zero | tr '\\0' x >&2\n";
    const std::tuple<std::string, bool, std::optional<std::string>> cases[] = {
        {"echo 'kestrin-cmd: no program' >&2\nexit 1\n", true, "kestrin-cmd: no program"},
        {noisy + "echo 'marlo: bad -X' >&2\nexit 2\n", true,
         "noise\nnoise\nnoise\na b?c\nmarlo: bad -X"},
        {progress + "echo 'marlo: no image' >&2\nexit 1\n", true, "marlo: no image"},
        {longLine + "printf '\\nmarlo: no image' >&2\nexit 1\n", true, "marlo: no image"},
        {"printf '%0300d\\n' 0 >&2\nkill -9 $$\n", true,
         std::string(200, '0') + "\nkestrin-cmd ended with signal 9 (Killed)"},
        {"kill -TERM $$\n", false, "kestrin-cmd ended with signal 15 (Terminated)"},
        {"echo warning >&2\nexit 0\n", true, std::nullopt},
        {"exit 3\n", true, std::nullopt}, // a failure status alone may be by design
        {"exit 3\n", false, "the command interpreter kestrin-cmd ended with status 3"},
        {"echo failed >&2\nexit 1\n", false, "failed"}};
    for (const auto& [script, report, failure] : cases) {
        boxes.shown.clear();
        const TaskId task = run(script, report);
        // A silent job's failure is kept for a caller who asks only after it ended.
        while (!report && jobs->processId(task) != 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_EQ(jobs->waitUntilEnded(task), report ? std::nullopt : failure) << script;
        EXPECT_TRUE(boxes.shown.empty()) << "shown from inside the wait";
        QCoreApplication::processEvents();
        const std::vector<testing::ShownBox> none,
            box{{failure.value_or(""), "Kestrin", Buttons::Ok}};
        EXPECT_EQ(boxes.shown, report && failure ? box : none) << script;
    }
}

// Another window taking the focus is announced as the application state changing; the test
// announces it itself. Keys and clicks never reach the launcher meanwhile.
TEST_F(ProcessJobsTest, WaitForUserReturnTakesNoInputAndTheJobOutlivesItsOwner) {
    QPushButton launcher("Run &Game");
    int clicked = 0;
    QObject::connect(&launcher, &QPushButton::clicked, [&clicked] { ++clicked; });
    launcher.show();
    launcher.activateWindow();
    if (!QTest::qWaitForWindowActive(&launcher))
        GTEST_SKIP() << "this platform does not activate windows";
    const TaskId task = run("sleep 10\n", true);
    // Being told "active" while still active is not a return; leaving and coming back is.
    int announced = 0;
    for (const auto state : {Qt::ApplicationActive, Qt::ApplicationInactive, Qt::ApplicationActive})
        QTimer::singleShot(50 * ++announced, &launcher, [state, &announced, &launcher, &clicked] {
            QTest::keyClick(&launcher, Qt::Key_Space);
            QTest::mouseClick(&launcher, Qt::LeftButton);
            EXPECT_EQ(clicked, 0) << "input reached the launcher during the wait";
            --announced;
            emit qGuiApp->applicationStateChanged(state);
        });
    jobs->waitForUserReturn(task);
    EXPECT_EQ(announced, 0) << "the wait ended before the return";
    QTest::mouseClick(&launcher, Qt::LeftButton);
    EXPECT_EQ(clicked, 1) << "input still held back after the wait";
    // The job outlives its jobs object, and is reaped once it ends.
    const auto pid = static_cast<pid_t>(jobs->processId(task));
    ASSERT_GT(pid, 0) << "the wait lasted until the job's end";
    jobs.reset();
    QTest::qWait(100);
    ASSERT_EQ(::kill(pid, 0), 0) << "the job was ended with its owner";
    ::kill(pid, SIGKILL);
    EXPECT_TRUE(QTest::qWaitFor([pid] { return ::kill(pid, 0) != 0; }, 5000)) << "a zombie";
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace kestrin
