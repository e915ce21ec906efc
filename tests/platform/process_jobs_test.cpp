// Jobs run by a stand-in interpreter: a shell script that runs the batch file with sh, so
// each test's batch file says what the job does.
#include "platform/process_jobs.h"

#include "tests/support/recording_message_boxes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace kestrin {
namespace {

using testing::RecordingMessageBoxes;
using testing::ShownBox;

class ProcessJobsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(folder_.path()));
        interpreter_ = folder_.filePath("fake-cmd");
        write(interpreter_.toStdString(), "#!/bin/sh\nexec /bin/sh \"$1\"\n");
        ::chmod(interpreter_.toLocal8Bit().constData(), 0755);
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    static void write(const std::string& name, const std::string& content) {
        std::ofstream(name, std::ios::binary) << content;
    }
    static void processEventsFor(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QTemporaryDir folder_;
    QString previous_;
    QString interpreter_;
    RecordingMessageBoxes boxes;
};

TEST_F(ProcessJobsTest, StartRunsTheBatchInTheWorkingFolderWithoutWaiting) {
    ProcessJobs jobs(boxes, interpreter_);
    write("slow.bat", "sleep 1\necho done > ended.txt\n");
    write("quick.bat", "pwd > where.txt\n");

    QElapsedTimer clock;
    clock.start();
    const auto slow = jobs.start("slow.bat", WindowStyle::MinimizedNoFocus, false);
    const auto quick = jobs.start("quick.bat", WindowStyle::MaximizedFocus, false);
    EXPECT_LT(clock.elapsed(), 700) << "start waited for the job";
    ASSERT_TRUE(slow && quick);
    EXPECT_LT(*slow, *quick);
    EXPECT_FALSE(QFile::exists("ended.txt"));

    jobs.waitUntilEnded(*slow);
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_TRUE(QFile::exists("ended.txt"));
    jobs.waitUntilEnded(*quick);
    std::ifstream where("where.txt");
    std::string path;
    std::getline(where, path);
    EXPECT_EQ(QDir(QString::fromStdString(path)).canonicalPath(),
              QDir(folder_.path()).canonicalPath());

    // Waiting again for an ended or an unknown job returns at once.
    clock.restart();
    jobs.waitUntilEnded(*slow);
    jobs.waitUntilEnded(9999);
    jobs.waitForUserReturn(*quick);
    EXPECT_LT(clock.elapsed(), 200);
}

TEST_F(ProcessJobsTest, AJobThatCannotStartGivesNoTask) {
    ProcessJobs missing(boxes, folder_.filePath("no-such-interpreter"));
    EXPECT_EQ(missing.start("run.bat", WindowStyle::MaximizedFocus, true), std::nullopt);

    write("not-executable", "#!/bin/sh\n");
    ProcessJobs notExecutable(boxes, folder_.filePath("not-executable"));
    EXPECT_EQ(notExecutable.start("run.bat", WindowStyle::MaximizedFocus, true), std::nullopt);
    processEventsFor(50);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ProcessJobsTest, InterpreterErrorsAreShownAfterTheJobEndedOnlyWhenAsked) {
    write("fails.bat", "echo 'to the discarded output'\n"
                       "echo 'kestrin-cmd: marlo: no such program' >&2\n"
                       "echo 'a line of the program itself' >&2\n"
                       "printf 'kestrin-cmd: run.bat line 2: bad redirection\\r\\n' >&2\n"
                       "exit 1\n");
    ProcessJobs jobs(boxes, interpreter_);

    const auto reported = jobs.start("fails.bat", WindowStyle::MaximizedFocus, true);
    ASSERT_TRUE(reported);
    jobs.waitUntilEnded(*reported);
    EXPECT_TRUE(boxes.shown.empty()) << "shown from inside the wait";
    processEventsFor(50);
    EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"kestrin-cmd: marlo: no such program\n"
                                                   "kestrin-cmd: run.bat line 2: bad redirection",
                                                   "Kestrin", Buttons::Ok}}));

    boxes.shown.clear();
    const auto silent = jobs.start("fails.bat", WindowStyle::MinimizedNoFocus, false);
    ASSERT_TRUE(silent);
    jobs.waitUntilEnded(*silent);
    processEventsFor(50);
    EXPECT_TRUE(boxes.shown.empty());

    // Lines that look like errors from a job that succeeded are not errors of the interpreter.
    write("succeeds.bat", "echo 'kestrin-cmd: note' >&2\nexit 0\n");
    const auto fine = jobs.start("succeeds.bat", WindowStyle::MaximizedFocus, true);
    ASSERT_TRUE(fine);
    jobs.waitUntilEnded(*fine);
    processEventsFor(50);
    EXPECT_TRUE(boxes.shown.empty());

    // A failure without interpreter lines (the program's own exit status) shows nothing.
    write("program-failed.bat", "echo 'crashed' >&2\nexit 3\n");
    const auto programFailed = jobs.start("program-failed.bat", WindowStyle::MaximizedFocus, true);
    ASSERT_TRUE(programFailed);
    jobs.waitForUserReturn(*programFailed);
    processEventsFor(50);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ProcessJobsTest, PauseLastsAtLeastItsTimeAndProcessesEvents) {
    ProcessJobs jobs(boxes, interpreter_);
    bool timerRan = false;
    QTimer::singleShot(20, [&timerRan] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    jobs.pause(0.1);
    EXPECT_GE(clock.elapsed(), 100);
    EXPECT_TRUE(timerRan);
    clock.restart();
    jobs.pause(0);
    jobs.pause(-1);
    EXPECT_LT(clock.elapsed(), 50);
}

TEST_F(ProcessJobsTest, WaitForUserReturnWaitsForTheEndWhenTheFocusNeverLeft) {
    ProcessJobs jobs(boxes, interpreter_);
    write("game.bat", "sleep 0.3\necho done > ended.txt\n");
    const auto task = jobs.start("game.bat", WindowStyle::MaximizedFocus, true);
    ASSERT_TRUE(task);
    QElapsedTimer clock;
    clock.start();
    jobs.waitForUserReturn(*task);
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_TRUE(QFile::exists("ended.txt"));
}

// The other program's window taking the focus is announced as the application state changing;
// no second process with a window can be shown here, so the tests announce it themselves.
void announce(Qt::ApplicationState state) {
    emit qGuiApp->applicationStateChanged(state);
}

TEST_F(ProcessJobsTest, WaitForUserReturnEndsWhenTheLauncherIsActiveAgain) {
    QWidget launcher;
    launcher.show();
    launcher.activateWindow();
    processEventsFor(50);
    if (QGuiApplication::applicationState() != Qt::ApplicationActive)
        GTEST_SKIP() << "this platform does not activate windows";

    ProcessJobs jobs(boxes, interpreter_);
    write("game.bat", "sleep 10\n");
    const auto task = jobs.start("game.bat", WindowStyle::MaximizedFocus, true);
    ASSERT_TRUE(task);
    const qint64 pid = jobs.processId(*task);
    ASSERT_GT(pid, 0);

    // Being told "active" while still active is not a return; leaving and coming back is.
    bool returned = false;
    QTimer::singleShot(30, [] { announce(Qt::ApplicationActive); });
    QTimer::singleShot(100, [] { announce(Qt::ApplicationInactive); });
    QTimer::singleShot(200, [&returned] {
        returned = true;
        announce(Qt::ApplicationActive);
    });
    QElapsedTimer clock;
    clock.start();
    jobs.waitForUserReturn(*task);
    EXPECT_TRUE(returned);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(::kill(static_cast<pid_t>(pid), 0), 0) << "the game was ended";
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    jobs.waitUntilEnded(*task);
}

TEST_F(ProcessJobsTest, WaitForUserReturnKeepsServingOtherEvents) {
    QWidget launcher;
    launcher.show();
    launcher.activateWindow();
    processEventsFor(50);

    ProcessJobs jobs(boxes, interpreter_);
    write("game.bat", "sleep 0.3\n");
    const auto task = jobs.start("game.bat", WindowStyle::MaximizedFocus, true);
    ASSERT_TRUE(task);
    bool timerRan = false;
    QTimer::singleShot(50, [&timerRan] { timerRan = true; });
    jobs.waitForUserReturn(*task);
    EXPECT_TRUE(timerRan) << "events other than input must go on during the wait";
}

TEST_F(ProcessJobsTest, RunningJobsOutliveTheirJobsObject) {
    write("game.bat", "sleep 10\n");
    qint64 pid = 0;
    QElapsedTimer clock;
    {
        ProcessJobs jobs(boxes, interpreter_);
        const auto task = jobs.start("game.bat", WindowStyle::MaximizedFocus, true);
        ASSERT_TRUE(task);
        pid = jobs.processId(*task);
        ASSERT_GT(pid, 0);
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 1000);
    processEventsFor(100);
    EXPECT_EQ(::kill(static_cast<pid_t>(pid), 0), 0) << "the job was ended with its owner";
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    processEventsFor(50); // reaped through the orphaned process object, without a crash
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace kestrin
