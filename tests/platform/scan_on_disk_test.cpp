// The start-up scan with the real files and jobs, the interpreter played by a shell script
// that is slow to read its batch file: a scan that did not wait for a job's end would hand it
// the wrong batch content or read a listing that is not written yet.
#include "catalogue/game_catalogue.h"
#include "platform/disk_files.h"
#include "platform/process_jobs.h"

#include "tests/support/recording_message_boxes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>

#include <sys/stat.h>

namespace kestrin {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kSlowInterpreter = R"(#!/bin/sh
sleep 0.2
batch=$(cat "$1")
cat "$1" >> batches.log
case "$batch" in
*"/b "*) sleep 0.2; printf 'Harbor Run.bin\r\npong.BIN\r\n' > games.dat ;;
*) sleep 0.2; printf 'h1\r\nh2\r\nh3\r\nh4\r\nh5\r\nHARBOR~1 BIN  4 Harbor Run.bin\r\nPONG     BIN  4 pong.BIN\r\n   2 files\r\n' > lgames.dat ;;
esac
)";

TEST(ScanOnDisk, EachJobReadsItsOwnBatchAndTheListingsAreReadWhole) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    std::ofstream("fake-cmd") << kSlowInterpreter;
    ::chmod("fake-cmd", 0755);

    testing::RecordingMessageBoxes boxes;
    DiskFiles files;
    ProcessJobs jobs(boxes, folder.filePath("fake-cmd"));
    const GameCatalogue catalogue = scanGames(files, jobs);

    std::stringstream batches;
    batches << std::ifstream("batches.log").rdbuf();
    EXPECT_EQ(batches.str(), "dir /On /b *.bin > games.dat\r\ndir /On *.bin > lgames.dat\r\n");
    EXPECT_EQ(catalogue.displayNames, (Lines{"Harbor Run", "pong"}));
    EXPECT_EQ(catalogue.shortNames, (Lines{"HARBOR~1 ", "PONG ", " "}));
    EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden),
              (QStringList{"batches.log", "fake-cmd"}));
    EXPECT_TRUE(boxes.shown.empty());
    QDir::setCurrent(previous);
}

} // namespace
} // namespace kestrin
