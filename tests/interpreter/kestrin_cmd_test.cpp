// The listings of a folder, and the real kestrin-cmd run on batch files, in temporary folders.
#include "interpreter/dir_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <tuple>

namespace kestrin::cmd {
namespace {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
struct TempFolder {
    TempFolder() {
        std::string pattern = std::filesystem::temp_directory_path() / "kestrin-cmd-XXXXXX";
        path = ::mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("no folder");
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    void write(const std::string& name, const std::string& content) const {
        std::ofstream(path / name, std::ios::binary) << content;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path path;
};

std::string listing(const TempFolder& folder, ListingForm form, std::string_view label = "/x") {
    std::string error;
    return makeListing(folder.path, label, form, error).value_or("unreadable: " + error);
}

TEST(Listing, ShowsTheRegularBinFilesInNameOrderTheFullOneWithPaddedShortNames) {
    TempFolder folder;
    const std::string longName = std::string(251, 'L') + ".bin",
                      longLine = "LLLLLL~1 BIN  " + longName;
    for (const std::string name : {"Harbor Run.bin", "demo.BIN", "Demo.Bin", "a.bin.b.bin", ".bin",
                                   "-x.bin", "notes.txt", "what?.bin", longName.c_str()})
        folder.write(name, "");
    std::filesystem::create_directory(folder.path / "folder.bin");
    std::filesystem::create_symlink("demo.BIN", folder.path / "link.bin");
    std::filesystem::create_symlink("nowhere", folder.path / "dangling.bin");
    std::filesystem::create_symlink("folder.bin", folder.path / "dirlink.bin");
    std::string files, bare;
    for (const std::string line :
         {"_X~1     BIN  -x.bin", "_~1      BIN  .bin", "ABINB~1  BIN  a.bin.b.bin",
          "DEMO     BIN  Demo.Bin", "DEMO~1   BIN  demo.BIN", "HARBOR~1 BIN  Harbor Run.bin",
          "LINK     BIN  link.bin", longLine.c_str()})
        files += line + "\r\n", bare += line.substr(14) + "\r\n";
    EXPECT_EQ(listing(folder, ListingForm::Bare), bare);
    // Five header lines, whatever the folder is called, then the files and a summary line.
    const std::string full = listing(folder, ListingForm::Full, "/odd\r\nfolder\n");
    const std::string header = full.substr(0, full.find("_X~1 "));
    EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 5);
    EXPECT_EQ(std::count(header.begin(), header.end(), '\r'), 5);
    EXPECT_EQ(full.substr(header.size()), files + "    8 files\r\n");
}

// More than one piece of output: the pieces join into whole lines, and the short names count
// on across them. A piece the output refuses fails the listing.
TEST(Listing, StaysWholeAcrossPiecesAndFailsWhenOutputFails) {
    TempFolder folder;
    std::string bare;
    for (int i = 10000; i < 13000; ++i)
        bare += "Game number " + std::to_string(i) + ".bin\r\n";
    for (int i = 12999; i >= 10000; --i)
        folder.write("Game number " + std::to_string(i) + ".bin", "");
    EXPECT_EQ(listing(folder, ListingForm::Bare), bare);
    const std::string full = listing(folder, ListingForm::Full);
    EXPECT_EQ(std::count(full.begin(), full.end(), '\n'), 3006);
    EXPECT_TRUE(full.ends_with("\nGAM~3000 BIN  Game number 12999.bin\r\n    3000 files\r\n"));
    std::string error;
    const auto read = readFolder(folder.path, error, scopeFor(ListingForm::Full));
    EXPECT_FALSE(
        writeListing(*read, "", ListingForm::Full, [](std::string_view) { return false; }));
}

// Runs the shell command `setup`, then kestrin-cmd on run.bat holding `batch`, in `folder`
// beside a stand-in emulator that prints each argument on a line of its own and rejects "-X"
// with a complaint and status 2: the status, output and errors. These go to another folder, so
// that the working folder holds only what the run wrote. A run that blocks is ended.
std::tuple<int, std::string, std::string> run(const TempFolder& folder, const std::string& batch,
                                              const std::string& setup = "true") {
    static const TempFolder side;
    folder.write("run.bat", batch);
    folder.write("marlo", "#!/bin/sh\n[ \"$1\" = -X ] && echo 'marlo: unknown switch -X' >&2 && "
                          "exit 2\nfor a; do printf '%s\\n' \"$a\"; done\n");
    const std::string out = side.path / "out", err = side.path / "err";
    const std::string command = "cd '" + folder.path.string() + "' && chmod +x marlo && " + setup +
                                " && timeout 20 '" KESTRIN_CMD_PATH "' run.bat >'" + out + "' 2>'" +
                                err + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, side.read("out"), side.read("err")};
}

// Each row runs one batch file: what the program printed, the status of the last line, and
// what reached standard error, where the interpreter's own errors are one line each.
TEST(Interpreter, RunsLinesWithShortNamesResolvedAndNamesWhatFailsInOneCleanLine) {
    TempFolder folder;
    for (const char* file : {"Harbor Run.bin", "Harbor Run.txt", "readme", "readme.bin", "-x.bin",
                             "-c0.bin", "plain", "script"})
        folder.write(file, "rom");
    std::filesystem::create_directory(folder.path / "Some Folder");
    const struct {
        std::string batch;
        int status;
        std::string output, errors;
    } rows[] = {
        {"marlo -c0 HARBOR~1 \r\n", 0, "-c0\nHarbor Run.bin\n", ""},
        // Short names in any case; a base alone names the .bin file first, then the name
        // without extension; switches and unknown words stay.
        {"marlo Harbor~1.Bin HARBOR~2.TXT README SOMEFO~1 -HARBOR~1 HARBOR~9 \"\"\r\n", 0,
         "Harbor Run.bin\nHarbor Run.txt\nreadme.bin\nSome Folder\n-HARBOR~1\nHARBOR~9\n\n", ""},
        // A game whose name begins with "-" arrives as a path, never as a switch.
        {"marlo -x -c0 _x~1  > results.dat\r\ncat results.dat\r\n", 0, "-x\n-c0\n./-x.bin\n", ""},
        {"marlo -c0 _C0~1 & | < \">\" $(touch x)\r\ncat x\r\n", 1,
         "-c0\n./-c0.bin\n&\n|\n<\n>\n$(touch\nx)\n", "cat: x: No such file or directory\n"},
        {"marlo -X\r\nmarlo a\r\n", 0, "a\n", "marlo: unknown switch -X\n"},
        {"marlo -X a\r\n", 2, "", "marlo: unknown switch -X\n"},
        {"plain a\r\n", 126, "", "kestrin-cmd: plain is not executable: chmod +x plain\n"},
        {"script\r\n", 126, "", "kestrin-cmd: script is not a program this system can run"},
        {"HARBOR~1 a\r\n", 127, "", "kestrin-cmd: HARBOR~1: program not found\n"},
        {"mar\x01lo\x7f\xc2\x9b[2J\r\n", 127, "", "kestrin-cmd: mar?lo??[2J: program not found\n"},
        {"marlo > \"a\x1b\"\r\n", 122, "", "kestrin-cmd: bad redirection: \"a?\" is not a plain"},
        {"marlo a >\r\n", 122, "", "kestrin-cmd: bad redirection: \">\" without a file name\n"},
        {"dir /On /b /b *.bin\r\n", 123, "", "kestrin-cmd: dir: only"},
    };
    for (const auto& row : rows) {
        const auto [status, output, errors] = run(folder, row.batch, "chmod +x script");
        EXPECT_EQ(status, row.status) << row.batch;
        EXPECT_EQ(output, row.output) << row.batch;
        EXPECT_EQ(errors.substr(0, row.errors.size()), row.errors);
        EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;
    }
}

// The redirection writes only into a new or a regular file of the folder, and never through a
// link: anything else is refused before the program starts, and nothing outside changes.
TEST(Interpreter, RedirectsOnlyIntoAPlainFileOfItsOwn) {
    const std::pair<std::string, int> rows[] = {
        {"true", 0},
        {"echo old text >out", 0},
        {"ln keep/victim out", 0},
        {"mkfifo out", 122},
        {"mknod out c 1 3 2>/dev/null || ln -s /dev/null out", 122},
        {"ln -s /dev/null out", 122},
        {"ln -s keep/victim out", 122},
        {"mkdir out", 122},
        {"python3 -c 'import socket; socket.socket(socket.AF_UNIX).bind(\"out\")'", 122}};
    for (const auto& [setup, status] : rows) {
        TempFolder folder;
        const auto [ran, output, errors] =
            run(folder, "marlo game > out\r\n", "mkdir keep && echo k >keep/victim && " + setup);
        EXPECT_EQ(ran, status) << setup;
        EXPECT_EQ(output, "");
        EXPECT_EQ(folder.read("keep/victim"), "k\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 4);
        // Written: the program's output alone. Refused: why, and nothing is read from "out".
        EXPECT_EQ(status ? errors.substr(0, 38) : folder.read("out") + errors,
                  status ? "kestrin-cmd: cannot write out: it is a" : "game\n");
    }
}

} // namespace
} // namespace kestrin::cmd
