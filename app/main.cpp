// Kestrin: enters the games folder, then the main window runs the whole start-up in its load
// handler and takes user events.
#include "app/games_folder.h"
#include "input/game_controllers.h"
#include "ui/main/form1.h"

#include <QApplication>
#include <QListView>

int main(int argc, char** argv) {
    const kestrin::StartRequest request = kestrin::readCommandLine(argc, argv);
    if (request.exitStatus)
        return *request.exitStatus;
    QApplication app(argc, argv);
    // Wayland compositors find the desktop entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRIN_APP_ID));
    if (request.chooseFolder)
        if (const auto status = kestrin::chooseGamesFolder(kestrin::desktopFolderChooser))
            return *status;
    kestrin::Form1 form;
    // Game controllers press the keys of the main window and its message boxes; without one
    // (or without SDL's controller support) nothing changes.
    kestrin::GameControllers controllers(&form, form.gameList());
    QObject::connect(&form, &kestrin::Form1::gameRunning, &controllers,
                     &kestrin::GameControllers::setGameRunning);
    form.Form1_Form_Load();
    form.show();
    return app.exec();
}
