// Jobs run by a stand-in interpreter: a shell script that runs the batch file with sh, so
// each test's batch file says what the job does.
#include "catalogue/game_catalogue.h"
#include "platform/disk_files.h"
#include "platform/process_jobs.h"

#include "tests/platform/in_fresh_folder.h"
#include "tests/support/recording_message_boxes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include <csignal>

#include <sys/stat.h>

namespace kestrin {
namespace {

void processEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class ProcessJobsTest : public InFreshFolder {
protected:
    void SetUp() override {
        InFreshFolder::SetUp();
        put("fake-cmd", "#!/bin/sh\nexec /bin/sh \"$1\"\n");
        ::chmod("fake-cmd", 0755);
    }
    std::optional<TaskId> run(const std::string& script, bool reportErrors = false) {
        const std::string name = "job" + std::to_string(++batches_) + ".bat";
        put(name, script);
        return jobs->start(name, WindowStyle::MaximizedFocus, reportErrors);
    }

    testing::RecordingMessageBoxes boxes;
    std::unique_ptr<ProcessJobs> jobs =
        std::make_unique<ProcessJobs>(boxes, folder_.filePath("fake-cmd"));
    int batches_ = 0;
};

TEST_F(ProcessJobsTest, StartRunsTheBatchInTheWorkingFolderAndTheWaitEndsWithTheJob) {
    const auto slow = run("sleep 1\necho done > ended.txt\n");
    ASSERT_TRUE(slow);
    EXPECT_FALSE(QFile::exists("ended.txt")) << "start waited for the job";
    const auto quick = run("pwd > where.txt\n");
    ASSERT_TRUE(quick);
    EXPECT_LT(*slow, *quick);
    jobs->waitUntilEnded(*slow);
    EXPECT_TRUE(QFile::exists("ended.txt"));
    jobs->waitUntilEnded(*quick); // ended meanwhile
    EXPECT_EQ(QDir(QString::fromStdString(contentOf("where.txt")).trimmed()).canonicalPath(),
              QDir(folder_.path()).canonicalPath());
    // Waits for an ended or unknown job return at once (a hang ends the test by its time limit).
    jobs->waitUntilEnded(*slow);
    jobs->waitUntilEnded(9999);
    jobs->waitForUserReturn(*quick);

    put("not-executable", "#!/bin/sh\n");
    for (const char* interpreter : {"no-such-interpreter", "not-executable"})
        EXPECT_EQ(ProcessJobs(boxes, folder_.filePath(interpreter))
                      .start("run.bat", WindowStyle::MaximizedFocus, true),
                  std::nullopt);
}

TEST_F(ProcessJobsTest, InterpreterErrorsAreShownAfterAFailedJobOnlyWhenAsked) {
    const std::string errors = "echo 'kestrin-cmd: marlo: no such program' >&2\n"
                               "echo 'a line of the program itself' >&2\n"
                               "printf 'kestrin-cmd: bad redirection\\r\\n' >&2\n";
    const std::vector<testing::ShownBox> none,
        shown{{"kestrin-cmd: marlo: no such program\nkestrin-cmd: bad redirection", "Kestrin",
               Buttons::Ok}};
    const struct {
        std::string script;
        bool reportErrors;
        const std::vector<testing::ShownBox>& expected;
    } cases[] = {
        {errors + "exit 1\n", true, shown},
        {errors + "kill -9 $$\n", true, shown},
        {errors + "exit 1\n", false, none},
        {errors + "exit 0\n", true, none},          // a job that succeeded
        {"echo crashed >&2\nexit 3\n", true, none}, // the program's own exit status
    };
    for (const auto& c : cases) {
        boxes.shown.clear();
        const auto task = run(c.script, c.reportErrors);
        ASSERT_TRUE(task);
        // With the launcher never left, the wait for the user's return ends with the job.
        jobs->waitForUserReturn(*task);
        EXPECT_EQ(jobs->processId(*task), 0);
        EXPECT_TRUE(boxes.shown.empty()) << "shown from inside the wait";
        processEventsFor(50);
        EXPECT_EQ(boxes.shown, c.expected) << c.script;
    }
}

TEST_F(ProcessJobsTest, PauseLastsAtLeastItsTimeAndProcessesEvents) {
    bool timerRan = false;
    QTimer::singleShot(20, [&timerRan] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    jobs->pause(0.1);
    EXPECT_GE(clock.elapsed(), 100);
    EXPECT_TRUE(timerRan);
}

// Another program's window taking the focus is announced as the application state changing;
// no second program with a window can be shown here, so the test announces it itself.
TEST_F(ProcessJobsTest, WaitForUserReturnEndsWhenTheLauncherIsActiveAgain) {
    QWidget launcher;
    launcher.show();
    launcher.activateWindow();
    processEventsFor(50);
    if (QGuiApplication::applicationState() != Qt::ApplicationActive)
        GTEST_SKIP() << "this platform does not activate windows";
    const auto task = run("sleep 10\n", true);
    ASSERT_TRUE(task);
    // Being told "active" while still active is not a return; leaving and coming back is.
    int announced = 0;
    for (const auto state : {Qt::ApplicationActive, Qt::ApplicationInactive, Qt::ApplicationActive})
        QTimer::singleShot(50 * ++announced, &launcher, [state, &announced] {
            --announced;
            emit qGuiApp->applicationStateChanged(state);
        });
    jobs->waitForUserReturn(*task);
    EXPECT_EQ(announced, 0) << "the wait ended before the return";
    const auto pid = static_cast<pid_t>(jobs->processId(*task));
    ASSERT_GT(pid, 0) << "the wait lasted until the job's end";
    ::kill(pid, SIGTERM);
    jobs->waitUntilEnded(*task);
}

TEST_F(ProcessJobsTest, RunningJobsOutliveTheirJobsObjectAndAreReaped) {
    const auto task = run("sleep 10\n", true);
    ASSERT_TRUE(task);
    const auto pid = static_cast<pid_t>(jobs->processId(*task));
    jobs.reset();
    processEventsFor(100);
    ASSERT_EQ(::kill(pid, 0), 0) << "the job was ended with its owner";
    ::kill(pid, SIGKILL);
    for (int tries = 0; tries < 500 && ::kill(pid, 0) == 0; ++tries)
        processEventsFor(10);
    EXPECT_NE(::kill(pid, 0), 0) << "left as a zombie";
    EXPECT_TRUE(boxes.shown.empty());
}

// The start-up scan, the interpreter slow to read its batch file: a scan that did not wait for
// a job's end would hand it the wrong batch content or read a listing not written yet.
TEST_F(ProcessJobsTest, TheScanWaitsForEachListingJob) {
    put("fake-cmd", R"(#!/bin/sh
sleep 0.2
batch=$(cat "$1")
cat "$1" >> batches.log
case "$batch" in
*"/b "*) sleep 0.2; printf 'Harbor Run.bin\r\npong.BIN\r\n' > games.dat ;;
*) sleep 0.2; printf 'h1\r\nh2\r\nh3\r\nh4\r\nh5\r\nHARBOR~1 BIN  4 Harbor Run.bin\r\nPONG     BIN  4 pong.BIN\r\n   2 files\r\n' > lgames.dat ;;
esac
)");
    DiskFiles files;
    const GameCatalogue catalogue = scanGames(files, *jobs);
    EXPECT_EQ(contentOf("batches.log"),
              "dir /On /b *.bin > games.dat\r\ndir /On *.bin > lgames.dat\r\n");
    EXPECT_EQ(catalogue.displayNames, (std::vector<std::string>{"Harbor Run", "pong"}));
    EXPECT_EQ(catalogue.shortNames, (std::vector<std::string>{"HARBOR~1 ", "PONG ", " "}));
    EXPECT_EQ(entries(), (QStringList{"batches.log", "fake-cmd"}));
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace kestrin
