// What the plain C++ layers need of the platform: message boxes, jobs and waits, files.
// The launcher implements these in platform/; tests record and answer them.
#pragma once

#include <cstddef>
#include <cstdint>
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
    // when it cannot be started. When `reportErrors` is set, the interpreter's own errors are
    // shown in a message box once the job has ended.
    virtual std::optional<TaskId> start(const std::string& batchFile, WindowStyle style,
                                        bool reportErrors) = 0;
    // Processes pending events until the job has ended.
    virtual void waitUntilEnded(TaskId task) = 0;
    // Waits until the job has ended or the user has brought the launcher back to the front
    // after the job's window took the focus; the windows stay drawn and take no other input.
    virtual void waitForUserReturn(TaskId task) = 0;
    // Processes pending events until `seconds` have passed on a monotonic clock.
    virtual void pause(double seconds) = 0;
};

// Files of the working folder, named without a path.
class Files {
public:
    virtual ~Files() = default;
    // Replaces the file with `content` atomically. Returns the reason when that failed.
    virtual std::optional<std::string> replace(const std::string& name,
                                               std::string_view content) = 0;
    // Reads at most `maxLines` lines, ended by CR LF or LF alone, each cut to `maxLineBytes`.
    // Returns nothing when the file cannot be opened.
    virtual std::optional<std::vector<std::string>>
    readLines(const std::string& name, std::size_t maxLines, std::size_t maxLineBytes) = 0;
    // Deletes the file; a file that does not exist is not an error.
    virtual void remove(const std::string& name) = 0;
};

} // namespace kestrin
