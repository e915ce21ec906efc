// Jobs run by a stand-in interpreter: a shell script that runs the batch file with sh, so
// each test's batch file says what the job does.
#include "platform/process_jobs.h"

#include "tests/platform/in_fresh_folder.h"
#include "tests/support/recording_message_boxes.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>

#include <sys/stat.h>

namespace kestrin {
namespace {

struct ProcessJobsTest : InFreshFolder {
    void SetUp() override {
        InFreshFolder::SetUp();
        put("fake-cmd", "#!/bin/sh\nexec /bin/sh \"$1\"\n");
        ::chmod("fake-cmd", 0755);
    }
    TaskId run(const std::string& script, bool reportErrors = false) {
        const std::string name = "job" + std::to_string(++batches_) + ".bat";
        put(name, script);
        return jobs->start(name, WindowStyle::MaximizedFocus, reportErrors).value_or(-1);
    }
    testing::RecordingMessageBoxes boxes;
    std::unique_ptr<ProcessJobs> jobs =
        std::make_unique<ProcessJobs>(boxes, folder_.filePath("fake-cmd"));
    int batches_ = 0;
};

// Start returns while the job still runs (it waits for a file that only the test makes), in
// the working folder; the wait ends with the job; a pause lasts its time and processes events.
TEST_F(ProcessJobsTest, StartReturnsAtOnceAndTheWaitEndsWithTheJob) {
    const TaskId task = run("while [ ! -e go ]; do sleep 0.01; done\npwd > where.txt\n");
    EXPECT_NE(jobs->processId(task), 0);
    bool timerRan = false;
    QTimer::singleShot(20, [&timerRan] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    jobs->pause(0.1);
    EXPECT_TRUE(clock.elapsed() >= 100 && timerRan);
    put("go", "");
    EXPECT_EQ(jobs->waitUntilEnded(task), std::nullopt);
    EXPECT_EQ(QDir(QString::fromStdString(contentOf("where.txt")).trimmed()).canonicalPath(),
              QDir(folder_.path()).canonicalPath());
    jobs->waitUntilEnded(task); // an ended or unknown job is not waited for
    jobs->waitForUserReturn(task);
    put("not-executable", "#!/bin/sh\n");
    for (const char* interpreter : {"no-such-interpreter", "not-executable"})
        EXPECT_EQ(ProcessJobs(boxes, folder_.filePath(interpreter))
                      .start("run.bat", WindowStyle::MaximizedFocus, true),
                  std::nullopt);
}

// A failed job tells why with the last lines it wrote on standard error, the program's own
// complaint included; a job started to report its errors shows them once it has ended.
TEST_F(ProcessJobsTest, AFailedJobTellsItsLastErrorLines) {
    const std::string noisy = "yes noise | head -n 30000 >&2\nprintf 'a\\tb\\033c\\r\\n\\n' >&2\n";
    const std::tuple<std::string, bool, std::optional<std::string>> cases[] = {
        {"echo 'kestrin-cmd: no program' >&2\nexit 1\n", true, "kestrin-cmd: no program"},
        {noisy + "echo 'marlo: bad -X' >&2\nexit 2\n", true,
         "noise\nnoise\nnoise\na b?c\nmarlo: bad -X"},
        {"printf '%0300d\\n' 0 >&2\nkill -9 $$\n", true, std::string(200, '0')},
        {"echo warning >&2\nexit 0\n", true, std::nullopt},
        {"exit 3\n", false, "the command interpreter kestrin-cmd ended with status 3"},
        {"echo failed >&2\nexit 1\n", false, "failed"}};
    for (const auto& [script, report, failure] : cases) {
        boxes.shown.clear();
        const TaskId task = run(script, report);
        // A silent job's failure is kept for a caller who asks only after it ended (the scan
        // pauses first); a job that shows its own errors leaves nothing for the caller.
        while (!report && jobs->processId(task) != 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        EXPECT_EQ(jobs->waitUntilEnded(task), report ? std::nullopt : failure) << script;
        EXPECT_TRUE(boxes.shown.empty()) << "shown from inside the wait";
        QCoreApplication::processEvents();
        EXPECT_EQ(boxes.shown,
                  (report && failure
                       ? std::vector<testing::ShownBox>{{*failure, "Kestrin", Buttons::Ok}}
                       : std::vector<testing::ShownBox>{}))
            << script;
    }
}

// Another program's window taking the focus is announced as the application state changing;
// no second program with a window can be shown here, so the test announces it itself. Keys and
// clicks never reach the launcher's windows meanwhile.
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
