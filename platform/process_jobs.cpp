#include "platform/process_jobs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>

#include <cerrno>
#include <cmath>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace kestrin {

namespace {

constexpr std::string_view interpreterErrorPrefix = "kestrin-cmd: ";
// The interpreter reports its errors before or instead of running a program, so they stand at
// the start of what the job wrote; the emulator's own output may follow and is not needed.
constexpr std::size_t errorCaptureBytes = 16 * 1024;

// A file without a name for a job's standard error. A file rather than a pipe: the program the
// job runs inherits it and may outlive the launcher, and writing into a pipe nobody reads any
// more would end it.
int anonymousErrorFile() {
    QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/kestrin-job-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0)
        ::unlink(pattern.constData());
    return fd;
}

std::string readHead(int fd, std::size_t limit) {
    std::string text(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::pread(fd, text.data() + got, limit - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return text;
}

// The interpreter's own error lines of what a job wrote on standard error, one a line.
std::string interpreterErrors(const std::string& written) {
    std::string errors;
    std::size_t at = 0;
    while (at < written.size()) {
        std::size_t end = written.find('\n', at);
        if (end == std::string::npos)
            end = written.size();
        std::string_view line(written.data() + at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.starts_with(interpreterErrorPrefix)) {
            if (!errors.empty())
                errors += '\n';
            errors += line;
        }
        at = end + 1;
    }
    return errors;
}

// Processes that were still running when their ProcessJobs went away. A QProcess ends its
// process when destroyed, so these are kept, reachable, until the launcher exits.
std::vector<QProcess*>& orphanedProcesses() {
    static auto* orphans = new std::vector<QProcess*>;
    return *orphans;
}

} // namespace

struct ProcessJobs::Job {
    QProcess* process = nullptr; // deleted once ended, orphaned when still running at the end
    int errorFd = -1;            // standard error of a job that reports errors, else -1
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
    if (reportErrors)
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
    const bool failed = process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0;
    process->deleteLater();

    if (!job->reportErrors || job->errorFd < 0 || !failed)
        return;
    std::string errors = interpreterErrors(readHead(job->errorFd, errorCaptureBytes));
    if (errors.empty())
        return;
    // Shown from the event loop once the wait that saw the end has returned, never from inside
    // the signal that reported it.
    QMetaObject::invokeMethod(
        &context_, [this, errors = std::move(errors)] { reportErrors(errors); },
        Qt::QueuedConnection);
}

void ProcessJobs::reportErrors(const std::string& lines) {
    boxes_.show(lines, "Kestrin", Buttons::Ok);
}

void ProcessJobs::waitUntilEnded(TaskId task) {
    const auto found = running_.find(task);
    if (found == running_.end())
        return;
    QEventLoop loop;
    QObject::connect(found->second->process, &QProcess::finished, &loop, &QEventLoop::quit);
    loop.exec();
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
    // The windows are drawn meanwhile, but keys and clicks wait until the wait is over.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
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

} // namespace kestrin
