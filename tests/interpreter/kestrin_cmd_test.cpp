// The interpreter: batch lines, file names and short names, the listings of a folder, and the
// real kestrin-cmd run on batch files in temporary folders.
#include "interpreter/batch_line.h"
#include "interpreter/dir_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/wait.h>
#include <tuple>

namespace kestrin::cmd {
namespace {

using Words = std::vector<std::string>;

TEST(BatchText, LinesEndInLineFeedOrCrLfAndEmptyOnesAreSkipped) {
    // Only the CR that ends a line goes.
    EXPECT_EQ(splitBatchLines("a\nb\r\n\r\n\nc\rd\r\r\n"), (Words{"a", "b", "c\rd\r"}));
}

// Blanks outside quotes split words; only an unquoted ">" and a plain file name as the last two
// words redirect, other ">", "<", "|", "&" are text; an arrow without a plain name is refused.
TEST(BatchText, WordsAndTheOnlyRedirectionATrailingPlainFileName) {
    // {line, words, redirection target}
    const std::tuple<std::string, Words, std::optional<std::string>> rows[] = {
        {"  marlo\t-c0   ABC \t", {"marlo", "-c0", "ABC"}, {}},
        {"marlo \"Harbor Run.bin\" a\"b c\"d", {"marlo", "Harbor Run.bin", "ab cd"}, {}},
        {"x \"\" y \"open to the end ", {"x", "", "y", "open to the end "}, {}},
        {"marlo -x ABC  > results.dat", {"marlo", "-x", "ABC"}, "results.dat"},
        {"marlo \"a b\" > \"my results.dat\"", {"marlo", "a b"}, "my results.dat"},
        {"marlo & | < > a b", {"marlo", "&", "|", "<", ">", "a", "b"}, {}},
        {"marlo >x 2> x \">\" results.dat", {"marlo", ">x", "2>", "x", ">", "results.dat"}, {}}};
    for (const auto& [line, words, target] : rows) {
        const ParsedLine parsed = parseLine(line);
        EXPECT_EQ(parsed.command.words, words) << line;
        EXPECT_EQ(parsed.command.outputFile, target) << line;
    }
    EXPECT_EQ(parseLine(std::string("marlo a\0b", 9)).error, LineError::NulCharacter);
    for (const char* line : {"marlo ABC >", "marlo > >", "marlo > ../config.dat", "marlo > ..",
                             "marlo > \"\"", "marlo > \"a\tb\"", "marlo > a\x7f"})
        EXPECT_EQ(parseLine(line).error, LineError::BadRedirection) << line;
}

// Control and reserved characters and bad UTF-8 leave a name out of listings.
TEST(FileNames, ListableNames) {
    for (const std::string name : {"Harbor Run.bin", "a&b.bin", "100%.bin", "-x.bin", ".bin",
                                   "Ünïcode 日本 🎮.bin", "a+b,c;d=e[f].bin", "\xc2\x9b"})
        EXPECT_TRUE(isListableName(name)) << name;
    for (const std::string name :
         {"tab\tx", "cr\r", "del\x7f", "a\\b", "c:d", "*", "q?", "\"", "<", ">", "|", "", ".", "..",
          "\xff.bin", "\xc0\xaf.bin", "\xed\xa0\x80.bin", "\xc3.bin", "\xf4\x90\x80\x80.bin"})
        EXPECT_FALSE(isListableName(name)) << name;
}

// ASCII letters folded, ties broken by bytes, also past the first eight bytes.
TEST(FileNames, NameOrderIgnoresCaseAndBreaksTiesByBytes) {
    const Words sorted = {
        "ax", "BB", "Bb",      "bB", "game number 0001", "GAME NUMBER 0001A", "Game number 0001b",
        "z",  "_x", "\xc3\x9c"};
    Words names(sorted.rbegin(), sorted.rend());
    std::swap(names[2], names[6]);
    sortByName(names);
    EXPECT_EQ(names, sorted);
}

// The short names of a folder holding `names`, each as "LONG NAME=SHORT.EXT".
std::set<std::string> shortNamesOf(Words names) {
    sortByName(names);
    const std::vector<ShortName> shortNames = deriveShortNames(names);
    std::set<std::string> result;
    for (std::size_t i = 0; i < names.size(); ++i)
        result.insert(names[i] + "=" + shortNames.at(i).text());
    return result;
}

// Each row is a folder: its names with the short names they must get.
TEST(FileNames, ShortNamesOfWholeFolders) {
    const std::set<std::string> folders[] = {
        // 8.3 names keep their upper case; others: six characters, "~", a number; dots go.
        {"demo.bin=DEMO.BIN", "README=README", "Pac-Man.Bin=PAC-MAN.BIN", "a_b~1.x=A_B~1.X",
         "Harbor Run.bin=HARBOR~1.BIN", "a.binary=A~1.BIN", "abc.=ABC~1", "a.b.c=AB~1.C"},
        // One "_" for each character an 8.3 name cannot hold; empty bases share the stem "_".
        {"a+b,c.bin=A_B_C~1.BIN", "Ünï.bin=_N_~1.BIN", "   .bin=_~1.BIN", ".bin=_~2.BIN"},
        // Numbered in name order, never taking a name a file has by right (first in bytes).
        {"Harbor Race.bin=HARBOR~2.BIN", "harbor run.bin=HARBOR~3.BIN", "harbor~1.bin=HARBOR~1.BIN",
         "Harbor X.txt=HARBOR~4.TXT", "DEMO.bin=DEMO.BIN", "Demo.Bin=DEMO~1.BIN"},
        // None begins with "-": such names are numbered last, changing no other's number.
        {"-x.bin=_X~2.BIN", "[x.bin=_X~1.BIN", "--help.bin=_-HELP~1.BIN", "-j0=_J0~1",
         "-.bin=_~2.BIN", "..bin=_~1.BIN", " -c0.bin=_C0~1.BIN"},
    };
    for (const auto& expected : folders) {
        Words names;
        for (const std::string& pair : expected)
            names.push_back(pair.substr(0, pair.find('=')));
        EXPECT_EQ(shortNamesOf(names), expected);
    }
}

// The stem gives way to longer numbers; stems that begin alike go on past each other's numbers.
TEST(FileNames, ShortNamesWhereNumberedStemsMeet) {
    Words names;
    for (int i = 1001; i <= 1120; ++i)
        for (const char* stem : {"Harboa ", "Harbob ", "Harboc "})
            if (i <= 1010 || stem[5] == 'a')
                names.push_back(stem + std::to_string(i) + ".bin");
    const std::set<std::string> shortNames = shortNamesOf(names);
    for (const char* pair : {"Harboa 1009.bin=HARBOA~9.BIN", "Harboa 1011.bin=HARBO~11.BIN",
                             "Harboa 1120.bin=HARB~120.BIN", "Harbob 1009.bin=HARBOB~9.BIN",
                             "Harbob 1010.bin=HARB~121.BIN", "Harboc 1010.bin=HARB~122.BIN"})
        EXPECT_EQ(shortNames.count(pair), 1u) << pair;
}

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

// Regular files and links to them named "*.bin" in any case, in name order; the full listing:
// five header lines whatever the folder is called, then the padded short names.
TEST(Listing, ShowsTheRegularBinFilesInNameOrderTheFullOneWithPaddedShortNames) {
    TempFolder folder;
    for (const char* name : {"Harbor Run.bin", "demo.BIN", "Demo.Bin", "notes.txt", "what?.bin"})
        folder.write(name, "");
    std::filesystem::create_directory(folder.path / "folder.bin");
    std::filesystem::create_symlink("demo.BIN", folder.path / "link.bin");
    std::filesystem::create_symlink("nowhere", folder.path / "dangling.bin");
    std::filesystem::create_symlink("folder.bin", folder.path / "dirlink.bin");
    EXPECT_EQ(listing(folder, ListingForm::Bare),
              "Demo.Bin\r\ndemo.BIN\r\nHarbor Run.bin\r\nlink.bin\r\n");
    const std::string full = listing(folder, ListingForm::Full, "/odd\r\nfolder\n");
    const std::string header = full.substr(0, full.find("DEMO "));
    EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 5);
    EXPECT_EQ(std::count(header.begin(), header.end(), '\r'), 5);
    EXPECT_EQ(full.substr(header.size()),
              "DEMO     BIN  Demo.Bin\r\nDEMO~1   BIN  demo.BIN\r\n"
              "HARBOR~1 BIN  Harbor Run.bin\r\nLINK     BIN  link.bin\r\n"
              "    4 files\r\n");
    TempFolder one;
    one.write("Zed.bin", "");
    EXPECT_TRUE(
        listing(one, ListingForm::Full).ends_with("\nZED      BIN  Zed.bin\r\n    1 file\r\n"));
}

// Pieces of output join into whole lines, short names count on across them; a refused piece
// fails the listing.
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

// Status, output and errors of kestrin-cmd running `batch` in `folder` after the shell command
// `setup`, beside a "marlo" that prints each argument on a line and fails on "-X" as marlo does.
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

// Each row runs one batch file; the interpreter's own errors are one clean line each.
TEST(Interpreter, RunsLinesWithShortNamesResolvedAndNamesWhatFailsInOneCleanLine) {
    TempFolder folder;
    for (const char* file : {"Harbor Run.bin", "Harbor Run.txt", "readme", "readme.bin", "-x.bin",
                             "-c0.bin", "plain", "script"})
        folder.write(file, "rom");
    std::filesystem::create_directory(folder.path / "Some Folder");
    // {batch file, status, output, beginning of the errors}
    const std::tuple<std::string, int, std::string, std::string> rows[] = {
        // Short names in any case, a base alone the .bin file first; switches stay.
        {"marlo Harbor~1.Bin HARBOR~2.TXT README SOMEFO~1 -HARBOR~1 HARBOR~9 \"\"\r\n", 0,
         "Harbor Run.bin\nHarbor Run.txt\nreadme.bin\nSome Folder\n-HARBOR~1\nHARBOR~9\n\n", ""},
        // A game whose name begins with "-" arrives as a path, never as a switch.
        {"marlo -x -c0 _x~1  > results.dat\r\ncat results.dat\r\n", 0, "-x\n-c0\n./-x.bin\n", ""},
        {"marlo -c0 _C0~1 & | < \">\" $(touch x)\r\ncat x\r\n", 1,
         "-c0\n./-c0.bin\n&\n|\n<\n>\n$(touch\nx)\n", "cat: x: No such file or directory\n"},
        {"marlo -X\r\nmarlo a\r\n", 0, "a\n", "marlo: unknown switch -X\n"},
        // The batch file stays open while the interpreter runs: the launcher looks for it.
        {"sh -c \"ls -l /proc/$PPID/fd | grep -c run.bat\"\r\n", 0, "1\n", ""},
        {"plain a\r\n", 126, "", "kestrin-cmd: plain is not executable: chmod +x plain\n"},
        {"script\r\n", 126, "", "kestrin-cmd: script is not a program this system can run"},
        {"HARBOR~1 a\r\n", 127, "", "kestrin-cmd: HARBOR~1: program not found\n"},
        {"mar\x01lo\x7f\xc2\x9b[2J\r\n", 127, "", "kestrin-cmd: mar?lo??[2J: program not found\n"},
        {"marlo > \"a\x1b\"\r\n", 122, "", "kestrin-cmd: bad redirection: \"a?\" is not a plain"},
        {"dir /On /b /b *.bin\r\n", 123, "", "kestrin-cmd: dir: only"},
        // Of a program's error output only the end is kept, without the line it starts inside.
        {"sh -c \"yes 0123456789 | head -n 5000000 >&2; head -c 20000 /dev/zero | tr '\\0' x >&2; "
         "printf '\\nmarlo: bad\\n' >&2; exit 3\"\r\n",
         3, "", "marlo: bad\n"},
        // A crash is named, even without a word from the program.
        {"sh -c \"kill -SEGV $$\"\r\n", 139, "", "sh ended with signal 11 (Segmentation fault)\n"}};
    for (const auto& [batch, status, output, errors] : rows) {
        const auto [ran, printed, complained] = run(folder, batch, "chmod +x script");
        EXPECT_EQ(ran, status) << batch;
        EXPECT_EQ(printed, output) << batch;
        EXPECT_EQ(complained.substr(0, errors.size()), errors);
        EXPECT_EQ(std::count(complained.begin(), complained.end(), '\n'),
                  std::max<std::ptrdiff_t>(std::count(errors.begin(), errors.end(), '\n'),
                                           !errors.empty()))
            << complained;
    }
}

// Only a new or regular file of the folder is written, never through a link; anything else is
// refused before the program starts.
TEST(Interpreter, RedirectsOnlyIntoAPlainFileOfItsOwn) {
    // clang-format off
    const std::pair<std::string, int> rows[] = {
        {"true", 0}, {"echo old text >out", 0}, {"ln keep/victim out", 0}, {"mkfifo out", 122},
        {"mknod out c 1 3 2>/dev/null || ln -s /dev/null out", 122}, {"mkdir out", 122},
        {"ln -s keep/victim out", 122},
        {"python3 -c 'import socket; socket.socket(socket.AF_UNIX).bind(\"out\")'", 122}};
    // clang-format on
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
