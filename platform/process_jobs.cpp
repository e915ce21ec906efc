#include "platform/process_jobs.h"

#include "core/text.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrin {

namespace {

// A file without a name for a job's standard error. A file rather than a pipe: the program the
// job runs inherits it and may outlive the launcher, and writing into a pipe nobody reads any
// more would end it. kestrin-cmd keeps only the last lines of what the programs it runs write
// there, so the file stays small.
int anonymousErrorFile() {
    QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/kestrin-job-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0)
        ::unlink(pattern.constData());
    return fd;
}

// The last lines of what was written into `fd`. Only its end is read, however much that was,
// and the byte before it, which tells whether the end starts inside a line.
std::vector<std::string> errorLinesWrittenTo(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {};
    const auto size = static_cast<std::size_t>(info.st_size);
    const std::size_t from = size > errorTailBytes ? size - errorTailBytes - 1 : 0;
    std::string tail(size - from, '\0');
    std::size_t got = 0;
    while (got < tail.size()) {
        const ssize_t n =
            ::pread(fd, tail.data() + got, tail.size() - got, static_cast<off_t>(from + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    tail.resize(got);
    if (from == 0)
        return lastErrorLines(tail, false);
    const bool startsInsideLine = !tail.empty() && tail.front() != '\n';
    return lastErrorLines(std::string_view(tail).substr(std::min<std::size_t>(1, got)),
                          startsInsideLine);
}

// "kestrin-cmd ended with signal 9 (Killed)", in English as everything the launcher says.
std::string endedBySignal(int signal) {
    const char* name = ::sigdescr_np(signal);
    return "kestrin-cmd ended with signal " + std::to_string(signal) +
           (name != nullptr ? " (" + std::string(name) + ")" : std::string());
}

int waitsForUserReturn = 0; // waits for the user's return in progress, nested ones counted

// Drops key and mouse input to every window and object of the launcher while it exists: what
// the user types or clicks meanwhile is delivered and thrown away, never kept for later.
class InputBlocker final : public QObject {
public:
    InputBlocker() {
        QCoreApplication::instance()->installEventFilter(this);
        ++waitsForUserReturn;
    }
    ~InputBlocker() override {
        --waitsForUserReturn;
        QCoreApplication::instance()->removeEventFilter(this);
    }
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
        }
    }
};

// Processes that were still running when their ProcessJobs went away. A QProcess ends its
// process when destroyed, so these are kept, reachable, until the launcher exits.
std::vector<QProcess*>& orphanedProcesses() {
    static auto* orphans = new std::vector<QProcess*>;
    return *orphans;
}

} // namespace

struct ProcessJobs::Job {
    QProcess* process = nullptr; // deleted once ended, orphaned when still running at the end
    int errorFd = -1;            // the job's standard error, or -1 when it goes nowhere
    bool reportErrors = false;

    ~Job() {
        if (errorFd >= 0)
            ::close(errorFd);
    }
};

ProcessJobs::ProcessJobs(MessageBoxes& boxes, QString interpreterPath)
    : boxes_(boxes), interpreterPath_(std::move(interpreterPath)) {}

ProcessJobs::~ProcessJobs() {
    for (auto& [task, job] : running_) {
        QObject::disconnect(job->process, nullptr, &context_, nullptr);
        orphanedProcesses().push_back(job->process);
    }
}

QString ProcessJobs::interpreterBesideApplication() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/kestrin-cmd");
}

std::optional<TaskId> ProcessJobs::start(const std::string& batchFile, WindowStyle,
                                         bool reportErrors) {
    auto job = std::make_unique<Job>();
    job->reportErrors = reportErrors;
    auto* process = new QProcess;
    job->process = process;
    process->setProgram(interpreterPath_);
    process->setArguments({QString::fromStdString(batchFile)});
    process->setWorkingDirectory(QDir::currentPath());
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    job->errorFd = anonymousErrorFile();
    if (job->errorFd >= 0) {
        // Qt leaves standard error alone in this mode; the child then writes into the file.
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const int fd = job->errorFd;
        process->setChildProcessModifier([fd] { ::dup2(fd, STDERR_FILENO); });
    } else {
        process->setStandardErrorFile(QProcess::nullDevice());
    }

    process->start();
    // Returns as soon as the interpreter runs (or failed to), long before the job ends.
    if (!process->waitForStarted()) {
        delete process;
        return std::nullopt;
    }

    const TaskId task = ++lastTask_;
    QObject::connect(process, &QProcess::finished, &context_, [this, task] { jobEnded(task); });
    running_.emplace(task, std::move(job));
    return task;
}

void ProcessJobs::jobEnded(TaskId task) {
    const auto found = running_.find(task);
    if (found == running_.end())
        return;
    std::unique_ptr<Job> job = std::move(found->second);
    running_.erase(found);

    QProcess* process = job->process;
    const bool crashed = process->exitStatus() != QProcess::NormalExit;
    const int status = process->exitCode();
    process->deleteLater();
    if (!crashed && status == 0)
        return;

    // A crash is never silent: kestrin-cmd names a program it ran that was ended by a signal,
    // and this names kestrin-cmd itself. On a crash, QProcess's exit code is the signal.
    std::vector<std::string> lines =
        job->errorFd >= 0 ? errorLinesWrittenTo(job->errorFd) : std::vector<std::string>();
    if (crashed)
        lines.push_back(endedBySignal(status));
    std::string errors;
    for (std::size_t i = lines.size() > shownErrorLines ? lines.size() - shownErrorLines : 0;
         i < lines.size(); ++i)
        errors += (errors.empty() ? "" : "\n") + lines[i];
    if (!job->reportErrors) {
        // Kept for the caller, who may ask after the job has ended (waitUntilEnded).
        failures_[task] =
            !errors.empty()
                ? errors
                : "the command interpreter kestrin-cmd ended with status " + std::to_string(status);
        return;
    }
    if (errors.empty())
        return; // a failure status alone: a program may end that way by design
    // Shown from the event loop once the wait that saw the end has returned, never from inside
    // the signal that reported it.
    QMetaObject::invokeMethod(
        &context_, [this, errors = std::move(errors)] { reportErrors(errors); },
        Qt::QueuedConnection);
}

void ProcessJobs::reportErrors(const std::string& lines) {
    boxes_.show(lines, "Kestrin", Buttons::Ok);
}

std::optional<std::string> ProcessJobs::waitUntilEnded(TaskId task) {
    if (const auto found = running_.find(task); found != running_.end()) {
        QEventLoop loop;
        // Connected after jobEnded, so the outcome is recorded when the loop ends.
        QObject::connect(found->second->process, &QProcess::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const auto failed = failures_.find(task);
    if (failed == failures_.end())
        return std::nullopt;
    std::optional<std::string> failure = std::move(failed->second);
    failures_.erase(failed);
    return failure;
}

void ProcessJobs::waitForUserReturn(TaskId task) {
    const auto found = running_.find(task);
    if (found == running_.end())
        return;
    QEventLoop loop;
    QObject::connect(found->second->process, &QProcess::finished, &loop, &QEventLoop::quit);
    // The job's window takes the focus from the launcher; when the launcher is active again,
    // the user has come back to it. A job that never takes the focus is waited for to its end.
    bool leftLauncher = QGuiApplication::applicationState() != Qt::ApplicationActive;
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, &loop,
                     [&loop, &leftLauncher](Qt::ApplicationState state) {
                         if (state != Qt::ApplicationActive)
                             leftLauncher = true;
                         else if (leftLauncher)
                             loop.quit();
                     });
    // The windows are drawn meanwhile; keys and clicks are dropped.
    InputBlocker blocker;
    loop.exec();
}

bool ProcessJobs::waitingForUserReturn() {
    return waitsForUserReturn > 0;
}

void ProcessJobs::pause(double seconds) {
    if (!(seconds > 0))
        return;
    const QDeadlineTimer deadline(static_cast<qint64>(std::ceil(seconds * 1000)), Qt::PreciseTimer);
    while (!deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(deadline.remainingTime(), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

qint64 ProcessJobs::processId(TaskId task) const {
    const auto found = running_.find(task);
    return found == running_.end() ? 0 : found->second->process->processId();
}

bool ProcessJobs::holdsOpen(TaskId task, const std::string& name) {
    const qint64 pid = processId(task);
    struct stat file {};
    if (pid <= 0 || ::stat(name.c_str(), &file) != 0)
        return false;
    const std::string descriptors = "/proc/" + std::to_string(pid) + "/fd";
    DIR* folder = ::opendir(descriptors.c_str());
    if (folder == nullptr)
        return false;
    bool held = false;
    while (const dirent* entry = ::readdir(folder)) {
        struct stat open {};
        if (entry->d_name[0] != '.' &&
            ::stat((descriptors + "/" + entry->d_name).c_str(), &open) == 0 &&
            open.st_dev == file.st_dev && open.st_ino == file.st_ino) {
            held = true;
            break;
        }
    }
    ::closedir(folder);
    return held;
}

} // namespace kestrin
