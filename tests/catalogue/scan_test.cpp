// The scan against a folder and an interpreter in memory: what is written, started, waited for,
// read and deleted, and in which order.
#include "catalogue/game_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

class FakeFolder;

// An interpreter whose jobs run from start until waitUntilEnded; a listing job writes its
// listing only when it ends, as a slow real one would.
class FakeJobs : public Jobs {
public:
    explicit FakeJobs(FakeFolder& folder) : folder_(folder) {}

    std::optional<TaskId> start(const std::string& batchFile, WindowStyle style,
                                bool reportErrors) override;
    void waitUntilEnded(TaskId task) override;
    void waitForUserReturn(TaskId) override { log.push_back("waitForUserReturn"); }
    void pause(double seconds) override {
        log.push_back("pause " + std::to_string(static_cast<int>(seconds * 1000)) + "ms");
    }

    bool running() const { return !running_.empty(); }

    Lines log;
    bool failToStart = false;
    Lines bareListing; // what "dir /On /b" writes
    Lines fullListing; // what "dir /On" writes
    std::vector<WindowStyle> styles;
    std::vector<bool> reportErrorsFlags;

private:
    FakeFolder& folder_;
    std::map<TaskId, std::string> running_; // task -> batch content it runs
    TaskId next_ = 41;
};

class FakeFolder : public Files {
public:
    std::optional<std::string> replace(const std::string& name, std::string_view content) override {
        if (jobs && jobs->running() && name == scanBatchFile)
            violations.push_back("rewrote " + name + " while a job ran");
        if (unwritable.count(name)) {
            log.push_back("write failed " + name);
            return "Permission denied";
        }
        files[name] = std::string(content);
        log.push_back("write " + name + ": " + std::string(content));
        return std::nullopt;
    }
    std::optional<Lines> readLines(const std::string& name, std::size_t maxLines,
                                   std::size_t maxLineBytes) override {
        if (jobs && jobs->running())
            violations.push_back("read " + name + " while a job ran");
        limits = {maxLines, maxLineBytes};
        log.push_back("read " + name);
        const auto found = files.find(name);
        if (found == files.end() || unreadable.count(name))
            return std::nullopt;
        Lines lines;
        std::string line;
        for (char c : found->second) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else if (c != '\r') {
                line += c;
            }
        }
        if (!line.empty())
            lines.push_back(line);
        return lines;
    }
    void remove(const std::string& name) override {
        log.push_back("remove " + name);
        files.erase(name);
    }

    FakeJobs* jobs = nullptr;
    std::map<std::string, std::string> files;
    std::set<std::string> unwritable;
    std::set<std::string> unreadable;
    Lines log;
    Lines violations;
    std::pair<std::size_t, std::size_t> limits{};
};

std::string joined(const Lines& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::optional<TaskId> FakeJobs::start(const std::string& batchFile, WindowStyle style,
                                      bool reportErrors) {
    const auto content = folder_.files.find(batchFile);
    const std::string ran = content == folder_.files.end() ? "<missing>" : content->second;
    styles.push_back(style);
    reportErrorsFlags.push_back(reportErrors);
    if (failToStart) {
        log.push_back("start failed");
        folder_.log.push_back("start failed");
        return std::nullopt;
    }
    const TaskId task = next_++;
    running_[task] = ran;
    log.push_back("start " + std::to_string(task));
    folder_.log.push_back("start " + batchFile + ": " + ran);
    return task;
}

void FakeJobs::waitUntilEnded(TaskId task) {
    log.push_back("wait " + std::to_string(task));
    const auto job = running_.find(task);
    if (job == running_.end())
        return;
    if (job->second == "dir /On /b *.bin > games.dat\r\n")
        folder_.files["games.dat"] = joined(bareListing);
    else if (job->second == "dir /On *.bin > lgames.dat\r\n")
        folder_.files["lgames.dat"] = joined(fullListing);
    running_.erase(job);
    folder_.log.push_back("ended");
}

struct ScanTest : ::testing::Test {
    FakeFolder folder;
    FakeJobs jobs{folder};
    void SetUp() override { folder.jobs = &jobs; }
};

const Lines kHeader{"", " Volume in drive C has no label", " Volume Serial Number is 0",
                    " Directory of C:\\GAMES", ""};

TEST_F(ScanTest, RunsBothListingsInOrderAndCleansUp) {
    jobs.bareListing = {"Harbor Run.bin", "pong.BIN"};
    jobs.fullListing = kHeader;
    jobs.fullListing.insert(jobs.fullListing.end(), {"HARBOR~1 BIN  Harbor Run.bin",
                                                     "PONG     BIN  pong.BIN", "    2 files"});
    folder.files["getlist.bat"] = "stale content\r\n";

    const GameCatalogue catalogue = scanGames(folder, jobs);

    EXPECT_EQ(catalogue.displayNames, (Lines{"Harbor Run", "pong"}));
    EXPECT_EQ(catalogue.shortNames, (Lines{"HARBOR~1 ", "PONG ", " "}));
    EXPECT_EQ(folder.log, (Lines{
                              "write getlist.bat: dir /On /b *.bin > games.dat\r\n",
                              "start getlist.bat: dir /On /b *.bin > games.dat\r\n",
                              "ended",
                              "write getlist.bat: dir /On *.bin > lgames.dat\r\n",
                              "start getlist.bat: dir /On *.bin > lgames.dat\r\n",
                              "ended",
                              "remove getlist.bat",
                              "read lgames.dat",
                              "read games.dat",
                              "remove lgames.dat",
                              "remove games.dat",
                          }));
    EXPECT_EQ(jobs.log,
              (Lines{"start 41", "wait 41", "pause 100ms", "start 42", "wait 42", "pause 100ms"}));
    EXPECT_EQ(jobs.styles, (std::vector<WindowStyle>{WindowStyle::MinimizedNoFocus,
                                                     WindowStyle::MinimizedFocus}));
    EXPECT_EQ(jobs.reportErrorsFlags, (std::vector<bool>{false, false})); // start-up stays silent
    EXPECT_TRUE(folder.violations.empty()) << folder.violations.front();
    EXPECT_TRUE(folder.files.empty()) << "temporary files left behind";
    EXPECT_EQ(folder.limits, (std::pair{listingMaxLines, listingMaxLineBytes}));
}

TEST_F(ScanTest, EmptyListingsGiveEmptyLists) {
    jobs.fullListing = kHeader;
    const GameCatalogue catalogue = scanGames(folder, jobs);
    EXPECT_TRUE(catalogue.displayNames.empty());
    EXPECT_TRUE(catalogue.shortNames.empty());
    EXPECT_TRUE(folder.files.empty());
}

TEST_F(ScanTest, JobsThatCannotStartAreNotWaitedForAndGiveNoEntries) {
    jobs.failToStart = true;
    const GameCatalogue catalogue = scanGames(folder, jobs);
    EXPECT_EQ(jobs.log, (Lines{"start failed", "pause 100ms", "start failed", "pause 100ms"}));
    EXPECT_TRUE(catalogue.displayNames.empty());
    EXPECT_TRUE(catalogue.shortNames.empty());
    EXPECT_TRUE(folder.files.empty());
}

TEST_F(ScanTest, AMissingOrUnreadableListingOnlyEmptiesItsOwnList) {
    jobs.bareListing = {"a.bin"};
    jobs.fullListing = kHeader;
    jobs.fullListing.push_back("A        BIN");
    folder.unreadable.insert("lgames.dat");
    GameCatalogue catalogue = scanGames(folder, jobs);
    EXPECT_EQ(catalogue.displayNames, (Lines{"a"}));
    EXPECT_TRUE(catalogue.shortNames.empty());

    folder.unreadable.clear();
    folder.unreadable.insert("games.dat");
    catalogue = scanGames(folder, jobs);
    EXPECT_TRUE(catalogue.displayNames.empty());
    EXPECT_EQ(catalogue.shortNames, (Lines{"A "}));
    EXPECT_TRUE(folder.files.empty());
}

TEST_F(ScanTest, ABatchFileThatCannotBeWrittenIsNotStarted) {
    // An old getlist.bat may hold anything; running it instead of the listing would be wrong.
    folder.files["getlist.bat"] = "something else\r\n";
    folder.unwritable.insert("getlist.bat");
    jobs.bareListing = {"a.bin"};
    const GameCatalogue catalogue = scanGames(folder, jobs);
    EXPECT_EQ(jobs.log, (Lines{"pause 100ms", "pause 100ms"}));
    EXPECT_TRUE(catalogue.displayNames.empty());
    EXPECT_EQ(folder.files.count("getlist.bat"), 0u);
}

TEST_F(ScanTest, ListingsThatDisagreeKeepTheirOwnLengths) {
    jobs.bareListing = {"one.bin", "two.bin", "three.bin"};
    jobs.fullListing = kHeader;
    jobs.fullListing.push_back("ONE      BIN");
    const GameCatalogue catalogue = scanGames(folder, jobs);
    EXPECT_EQ(catalogue.displayNames.size(), 3u);
    EXPECT_EQ(catalogue.shortNames, (Lines{"ONE "}));
}

} // namespace
} // namespace kestrin
