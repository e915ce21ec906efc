// Where Kestrin starts: the folder chooser through its seam, the folder argument, and the
// command line's answers from the real program without a display.
#include "app/games_folder.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

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

// The real program with no display at all: it answers, and a bad argument is one line on
// standard error and status 2, before any window and without writing anything anywhere.
TEST_F(GamesFolder, CommandLineAnswersWithoutADisplayAndBadFoldersEndWithStatus2) {
    const std::pair<std::string, std::string> cases[] = {
        {"--version", "kestrin 1.1\n0\n"},
        {"/no/such/dir", "kestrin: cannot start in /no/such/dir: No such file or directory\n2\n"},
        {"/etc/passwd", "kestrin: cannot start in /etc/passwd: Not a directory\n2\n"},
        {"--frobnicate", "kestrin: Unknown option 'frobnicate'.\n2\n"},
        {"one two", "kestrin: give one games folder, or --choose-folder to choose it\n2\n"}};
    for (const auto& [arguments, expected] : cases) {
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " KESTRIN_PATH " " + arguments +
            " >../out 2>&1; echo $? >>../out";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream out(path("out"));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(out), {}), expected);
        EXPECT_FALSE(written("home/.config") || written("work")) << arguments;
    }
}

} // namespace
