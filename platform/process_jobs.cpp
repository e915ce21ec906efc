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
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrin {

namespace {

// What of a job's standard error is shown: its last lines, for a complaint comes last. Only
// the end of what it wrote is read, however much that was.
constexpr std::size_t errorTailBytes = 16 * 1024;
constexpr std::size_t shownErrorLines = 5;
constexpr std::size_t shownErrorLineBytes = 200;

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

// The last lines of what was written into `fd`, blank ones left out, each made printable.
std::string lastErrorLines(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {};
    const auto size = static_cast<std::size_t>(info.st_size);
    const std::size_t from = size > errorTailBytes ? size - errorTailBytes : 0;
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

    std::vector<std::string_view> lines;
    std::string_view rest(tail);
    for (bool first = true; !rest.empty(); first = false) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        // The first line of a tail that starts inside the output is only the end of a line.
        if ((first && from > 0) || line.find_first_not_of(" \t\r") == std::string_view::npos)
            continue;
        lines.push_back(line);
    }
    std::string shown;
    const std::size_t start = lines.size() > shownErrorLines ? lines.size() - shownErrorLines : 0;
    for (std::size_t i = start; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!shown.empty())
            shown += '\n';
        shown += printableLine(line, shownErrorLineBytes);
    }
    return shown;
}

// Keeps key and mouse input from every window of the launcher while it exists. Input from the
// window system is held back by the wait's own event loop until the wait is over; this catches
// what reaches the windows any other way.
class InputBlocker final : public QObject {
public:
    InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }
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

    std::string errors = job->errorFd >= 0 ? lastErrorLines(job->errorFd) : std::string();
    if (!job->reportErrors) {
        // Kept for the caller, who may ask after the job has ended (waitUntilEnded).
        failures_[task] = !errors.empty() ? errors
                          : crashed ? "the command interpreter kestrin-cmd was ended by a signal"
                                    : "the command interpreter kestrin-cmd ended with status " +
                                          std::to_string(status);
        return;
    }
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
    // The windows are drawn meanwhile, but keys and clicks wait until the wait is over.
    InputBlocker blocker;
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
