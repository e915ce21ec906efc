// Where Kestrin starts: the folder chooser through its seam, the folder argument, the demo
// folder, and the real program's answers without a display.
#include "app/demo_folder.h"
#include "app/games_folder.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A home with its configuration folder, a games folder and an empty working folder.
class GamesFolder : public testing::Test {
protected:
    void SetUp() override {
        for (const char* sub : {"home/.config", "games", "work"})
            fs::create_directories(path(sub));
        qputenv("HOME", QByteArray::fromStdString(path("home")));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           path("home/.config").c_str());
        fs::current_path(path("work"));
    }
    std::string path(const std::string& sub) const { return root.path().toStdString() + "/" + sub; }
    bool written(const char* sub) const { return !fs::is_empty(path(sub)); }
    // The chooser step with a chooser that records where it opened and answers `answer`.
    std::optional<int> choose(const std::string& answer) {
        return kestrin::chooseGamesFolder([&](const QString& startAt) {
            openedAt = startAt.toStdString();
            return QString::fromStdString(answer);
        });
    }

    QTemporaryDir root;
    std::string openedAt;
};

// Cancel ends with 0 and writes nothing. The chooser opens at the last folder chosen, kept in
// the user's configuration only, and enters the one chosen; a folder that cannot be entered ends
// with 2 and is not kept. A folder argument is entered whatever bytes its name has.
TEST_F(GamesFolder, ChooserAndFolderArgument) {
    EXPECT_EQ(choose(""), 0);
    EXPECT_FALSE(written("home/.config") || written("games") || written("work"));
    EXPECT_EQ(choose(path("games")), std::nullopt);
    EXPECT_EQ(openedAt, path("home"));
    EXPECT_EQ(fs::current_path(), path("games"));
    EXPECT_TRUE(written("home/.config") && !written("games") && !written("work"));
    EXPECT_EQ(choose(path("games/missing")), 2);
    EXPECT_EQ(choose(path("games")), std::nullopt);
    EXPECT_EQ(openedAt, path("games"));
    fs::remove_all(path("games"));
    EXPECT_EQ(choose(path("work")), std::nullopt);
    EXPECT_EQ(openedAt, path("home")) << "the remembered folder is gone";

    std::string folder = path("work/caf\xe9 \xff"), name = "kestrin";
    fs::create_directory(folder);
    char* argv[] = {name.data(), folder.data()};
    EXPECT_EQ(kestrin::readCommandLine(2, argv).exitStatus, std::nullopt);
    EXPECT_EQ(fs::current_path(), folder);
    fs::remove_all(folder); // a name that is not UTF-8 is beyond the temporary folder's removal
}

// The real program with no display at all: it answers, a bad argument is one line on standard
// error and status 2, and a start is one line and status 1, before any window and without
// writing anything anywhere. Under QT_QPA_PLATFORM=offscreen a start reaches the demo folder.
TEST_F(GamesFolder, WithoutADisplayTheProgramAnswersOrSaysSoInOneLine) {
    const std::string none = "X11: DISPLAY is not set)\n1\n", not_a_folder = "Not a directory\n2\n";
    const std::pair<std::string, std::string> cases[] = {
        {"QT_QPA_PLATFORM=xcb " KESTRIN_PATH " --version", "kestrin 1.1\n0\n"},
        {"/no/such/dir", "kestrin: cannot start in /no/such/dir: No such file or directory\n2\n"},
        {"/etc/passwd", "kestrin: cannot start in /etc/passwd: " + not_a_folder},
        {"--frobnicate", "kestrin: Unknown option 'frobnicate'.\n2\n"},
        {"one two", "kestrin: give one games folder, --choose-folder or --demo\n2\n"},
        {"--demo ../games", "kestrin: give one games folder, --choose-folder or --demo\n2\n"},
        {"", "kestrin: cannot open a display (" + none},
        {"--demo", "kestrin: cannot open a display (" + none},
        {"DISPLAY=:987 " KESTRIN_PATH " --choose-folder",
         "kestrin: cannot open a display (X11 display :987 does not answer)\n1\n"},
        {"WAYLAND_DISPLAY=nowhere " KESTRIN_PATH,
         "kestrin: cannot open a display (Wayland display nowhere does not answer; " + none},
        {"QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=/etc/passwd " KESTRIN_PATH " --demo",
         "kestrin: cannot create the demo folder /etc/passwd/kestrin/demo: " + not_a_folder}};
    for (const auto& [arguments, expected] : cases) {
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE -u "
            "XDG_DATA_HOME " +
            (arguments.find(KESTRIN_PATH) == std::string::npos ? KESTRIN_PATH " " : std::string()) +
            arguments + " >../out 2>&1; echo $? >>../out";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream out(path("out"));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(out), {}), expected);
        EXPECT_FALSE(written("home/.config") || written("work")) << arguments;
        EXPECT_EQ(std::distance(fs::directory_iterator(path("home")), {}), 1) << arguments;
    }
}

// --demo fills the demo folder from the build folder, laid out as an installation, and never
// replaces what is there: the user's settings and images, or even a dangling link, stay.
TEST_F(GamesFolder, DemoFolderIsFilledWhereFilesAreMissingOnly) {
    qputenv("XDG_DATA_HOME", "relative");
    EXPECT_EQ(kestrin::demoFolder(), path("home") + "/.local/share/kestrin/demo");
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));
    const fs::path demo = kestrin::demoFolder(), program = fs::path(KESTRIN_PATH).parent_path();
    const auto files = kestrin::DemoFiles::besideProgram(program);
    ASSERT_EQ(demo, path("data/kestrin/demo"));
    const auto names = [](const fs::path& folder) {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            found.insert(entry.path().filename());
        return found;
    };
    auto expected = names(files.images);
    expected.insert("marlo");
    ASSERT_EQ(expected.size(), 6);
    EXPECT_EQ(kestrin::fillDemoFolder(files, demo), std::nullopt);
    EXPECT_EQ(names(demo), expected);
    EXPECT_EQ(fs::file_size(demo / "maze.bin"), fs::file_size(files.images / "maze.bin"));
    EXPECT_EQ(access((demo / "marlo").c_str(), X_OK), 0);

    std::ofstream(demo / "config.dat") << "mine";
    std::ofstream(demo / "Harbor Run.bin") << "mine";
    fs::remove(demo / "maze.bin");
    fs::remove(demo / "marlo");
    fs::create_symlink("nowhere", demo / "marlo");
    EXPECT_EQ(kestrin::fillDemoFolder(files, demo), std::nullopt);
    expected.insert("config.dat");
    EXPECT_EQ(names(demo), expected);
    EXPECT_EQ(fs::file_size(demo / "Harbor Run.bin") + fs::file_size(demo / "config.dat"), 8);
    EXPECT_TRUE(fs::is_symlink(demo / "marlo") && fs::exists(demo / "maze.bin"));

    // A copy that fails says so and leaves nothing half-done behind.
    fs::remove(demo / "marlo");
    EXPECT_EQ(kestrin::fillDemoFolder({files.images, "/no/marlo"}, demo),
              "cannot copy /no/marlo into " + demo.string() + ": No such file or directory");
    expected.erase("marlo");
    EXPECT_EQ(names(demo), expected);
}

} // namespace
