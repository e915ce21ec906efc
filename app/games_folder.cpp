#include "app/games_folder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace kestrin {

namespace {

constexpr int usageError = 2;
const QString lastFolderKey = QStringLiteral("lastGamesFolder");

void printError(const QByteArray& message) {
    std::fprintf(stderr, "kestrin: %s\n", message.constData());
}

// Enters `folder`, given as the bytes of its path so that any name Linux allows works.
bool enter(const QByteArray& folder) {
    if (::chdir(folder.constData()) == 0)
        return true;
    printError("cannot start in " + folder + ": " + std::strerror(errno));
    return false;
}

// The user's own Kestrin settings, in the configuration folder ($XDG_CONFIG_HOME).
QSettings userSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("kestrin"),
                     QStringLiteral("kestrin"));
}

} // namespace

StartRequest readCommandLine(int argc, char** argv) {
    // The parser names the program from the application object; it needs no display.
    int count = argc;
    QCoreApplication core(count, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Lists the games (*.bin) of a folder, keeps the options of the marlo emulator in that\n"
        "folder and runs the chosen game in marlo."));
    // Only Kestrin's own options: Qt's are not accepted here, so its help does not list them.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    parser.addVersionOption();
    const QCommandLineOption choose(
        QStringLiteral("choose-folder"),
        QStringLiteral("Ask for the games folder first, opened at the one chosen last time."));
    parser.addOption(choose);
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Start in your own demo folder, $XDG_DATA_HOME/kestrin/demo (by default "
                       "~/.local/share/kestrin/demo), copying into it the demo games and a "
                       "stand-in emulator where they are missing."));
    parser.addOption(demo);
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("The games folder (default: the working folder)."),
                                 QStringLiteral("[FOLDER]"));

    StartRequest request;
    if (!parser.parse(QCoreApplication::arguments())) {
        printError(parser.errorText().toLocal8Bit());
        request.exitStatus = usageError;
        return request;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("version"))) {
        const QString text = parser.isSet(help) ? parser.helpText()
                                                : QStringLiteral("kestrin " KESTRIN_VERSION "\n");
        std::fputs(text.toLocal8Bit().constData(), stdout);
        request.exitStatus = 0;
        return request;
    }
    const QStringList folders = parser.positionalArguments();
    request.chooseFolder = parser.isSet(choose);
    request.demo = parser.isSet(demo);
    if (folders.size() + request.chooseFolder + request.demo > 1) {
        printError("give one games folder, --choose-folder or --demo");
        request.exitStatus = usageError;
    } else if (!folders.isEmpty()) {
        // The argument's own bytes: decoding may have replaced what is not valid text.
        QByteArray folder = folders.first().toLocal8Bit();
        for (int i = argc - 1; i > 0; --i)
            if (QString::fromLocal8Bit(argv[i]) == folders.first()) {
                folder = argv[i];
                break;
            }
        if (!enter(folder))
            request.exitStatus = usageError;
    }
    return request;
}

QString desktopFolderChooser(const QString& startAt) {
    // The dialog QFileDialog::getExistingDirectory shows, built here because a file dialog
    // records its history in the user's configuration when it is destroyed, and Cancel must
    // write nothing: a cancelled chooser is left to the end of the process, which follows.
    [[maybe_unused]] static QFileDialog* cancelled = nullptr;
    auto dialog =
        std::make_unique<QFileDialog>(nullptr, QStringLiteral("Kestrin: Games Folder"), startAt);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    if (dialog->exec() != QDialog::Accepted) {
        cancelled = dialog.release();
        return {};
    }
    return dialog->selectedFiles().value(0);
}

std::optional<int> chooseGamesFolder(const FolderChooser& choose) {
    const QString last = userSettings().value(lastFolderKey).toString();
    const QString chosen =
        choose(!last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath());
    if (chosen.isEmpty())
        return 0;
    if (!enter(QFile::encodeName(chosen)))
        return usageError;
    userSettings().setValue(lastFolderKey, QDir::currentPath());
    return std::nullopt;
}

} // namespace kestrin
