// What the plain C++ layers need of the platform: message boxes, jobs and waits, files.
// The launcher implements these in platform/; tests record and answer them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

// Message boxes without an icon, with an exact title and the given button set.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer show(const std::string& text, const std::string& title, Buttons buttons) = 0;
};

// The window a batch job would have had on the original system; accepted and without effect.
enum class WindowStyle { MinimizedNoFocus, MinimizedFocus, MaximizedFocus };

using TaskId = std::int64_t;

// Batch files run through the command interpreter `kestrin-cmd` in the working folder.
class Jobs {
public:
    virtual ~Jobs() = default;
    // Starts `kestrin-cmd batchFile` without waiting and returns its task identifier, or nothing
    // when it cannot be started. When `reportErrors` is set and the job fails after writing on
    // standard error (the interpreter or the program it ran), its last lines are shown in a
    // message box once the job has ended.
    virtual std::optional<TaskId> start(const std::string& batchFile, WindowStyle style,
                                        bool reportErrors) = 0;
    // Processes pending events until the job has ended, or returns at once when it already has.
    // Returns why a job started without reportErrors failed (a non-zero exit status or a
    // signal): the last lines it wrote on standard error, or its status when it wrote none;
    // nothing when it succeeded or is unknown.
    virtual std::optional<std::string> waitUntilEnded(TaskId task) = 0;
    // Waits until the job has ended or the user has brought the launcher back to the front
    // after the job's window took the focus; the windows stay drawn and take no other input.
    virtual void waitForUserReturn(TaskId task) = 0;
    // Processes pending events until `seconds` have passed on a monotonic clock.
    virtual void pause(double seconds) = 0;
    // True when the running job holds open the file that `name` of the working folder is now.
    // The interpreter reads its batch file through a descriptor it keeps until it ends, so from
    // then on the file may be replaced by a new one of that name (never rewritten in place)
    // without reaching the job. False when it does not, has ended, or the port cannot tell.
    virtual bool holdsOpen(TaskId task, const std::string& name) {
        (void)task;
        (void)name;
        return false;
    }
};

// How much of a file a read keeps, and which files it accepts.
struct LineLimits {
    std::size_t maxLines = 0;     // lines kept
    std::size_t maxLineBytes = 0; // each line cut to this, never inside a UTF-8 character
    // The part of each line that is kept (a prefix of it), or null for the whole line, so that
    // a long line costs no memory beyond what is needed of it.
    std::string_view (*keep)(std::string_view line) = nullptr;
    // Only a file the interpreter wrote in the folder: a regular file with a single name, never
    // one reached through a symbolic link.
    bool interpreterFile = false;
    bool countLinesLeft = false; // whether the lines past `maxLines` are counted
    // When set, each kept line is handed to it instead of being collected, so that a long
    // listing is never held as one string a line.
    std::function<void(std::string_view)> each = {};
    // When set, told the file's size in bytes before its first line, so that room for what the
    // lines will fill can be taken at once, and no more than the file can fill.
    std::function<void(std::size_t)> sized = {};
};

struct FileLines {
    std::vector<std::string> lines;
    std::size_t linesLeft = 0; // lines past `maxLines`, when counted
    // Why a regular file that is there could not be read to its end ("Permission denied",
    // "Input/output error"); empty when it could. `lines` then holds what was read before.
    std::string failure;
};

// Files of the working folder, named without a path.
class Files {
public:
    virtual ~Files() = default;
    // Replaces the file with `content` atomically. Returns the reason when that failed.
    virtual std::optional<std::string> replace(const std::string& name,
                                               std::string_view content) = 0;
    // Reads lines ended by CR LF or LF alone within `limits`. Returns nothing when the file is
    // missing or is not one that `limits` accepts; a regular file that cannot be opened or read
    // to its end gives its `failure`.
    virtual std::optional<FileLines> readLines(const std::string& name,
                                               const LineLimits& limits) = 0;
    // Deletes the file; a file that does not exist is not an error.
    virtual void remove(const std::string& name) = 0;
    // Removes what saves of these files that were killed midway left behind.
    virtual void removeLeftovers(const std::vector<std::string>& names) = 0;
};

} // namespace kestrin
