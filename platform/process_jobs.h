// Batch jobs run by the command interpreter kestrin-cmd in child processes.
#pragma once

#include "core/ports.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QProcess;

namespace kestrin {

class ProcessJobs : public Jobs {
public:
    // `boxes` shows the interpreter's errors of jobs started with reportErrors; it must outlive
    // this object. `interpreterPath` is the kestrin-cmd program to run.
    ProcessJobs(MessageBoxes& boxes, QString interpreterPath);
    // Jobs still running are left to run: a game the user started is not ended with the
    // launcher, and nothing here waits for it.
    ~ProcessJobs() override;
    ProcessJobs(const ProcessJobs&) = delete;
    ProcessJobs& operator=(const ProcessJobs&) = delete;

    // kestrin-cmd in the folder of the running program.
    static QString interpreterBesideApplication();

    // Runs `kestrin-cmd batchFile` in the current working directory. Its standard output is
    // discarded; its standard error goes to a file without a name, whose last lines tell why a
    // failed job failed. The window style has no meaning for a child process.
    std::optional<TaskId> start(const std::string& batchFile, WindowStyle style,
                                bool reportErrors) override;
    std::optional<std::string> waitUntilEnded(TaskId task) override;
    void waitForUserReturn(TaskId task) override;
    void pause(double seconds) override;
    // Looks through the job's open descriptors for the file `name` is now.
    bool holdsOpen(TaskId task, const std::string& name) override;

    // True while a wait for the user's return is in progress: everything the user does in the
    // launcher meanwhile is dropped, as the keys and clicks are here.
    static bool waitingForUserReturn();

    // The operating system's process id of a running job, or 0 when it has ended.
    qint64 processId(TaskId task) const;

private:
    struct Job;
    void jobEnded(TaskId task);
    void reportErrors(const std::string& lines);

    MessageBoxes& boxes_;
    QString interpreterPath_;
    std::map<TaskId, std::unique_ptr<Job>> running_;
    // Why jobs that do not report their own errors failed, until waitUntilEnded takes it.
    std::map<TaskId, std::string> failures_;
    TaskId lastTask_ = 0;
    QObject context_; // receiver of the process signals and of the deferred error reports
};

} // namespace kestrin
