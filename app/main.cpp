// Kestrin: enters the games folder, then the main window runs the whole start-up in its load
// handler and takes user events.
#include "app/demo_folder.h"
#include "app/display_choice.h"
#include "app/games_folder.h"
#include "input/game_controllers.h"
#include "ui/common/desktop_window.h"
#include "ui/main/form1.h"

#include <QApplication>
#include <QListView>

#include <cstdio>

int main(int argc, char** argv) {
    const kestrin::StartRequest request = kestrin::readCommandLine(argc, argv);
    if (request.exitStatus)
        return *request.exitStatus;
    const kestrin::DisplayChoice display =
        kestrin::chooseDisplay(kestrin::DisplayEnvironment::current(), kestrin::displayAnswers);
    if (!display.failure.empty()) { // before Qt, which would end with a core dump
        std::fprintf(stderr, "kestrin: cannot open a display (%s)\n", display.failure.c_str());
        return 1;
    }
    if (request.demo)
        if (const auto status = kestrin::enterDemoFolder())
            return *status;
    kestrin::ApplicationArguments arguments(argv[0], display.platform);
    QApplication app(arguments.count, arguments.values.data());
    // Wayland compositors find the desktop entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRIN_APP_ID));
    QApplication::setWindowIcon(kestrin::kestrinIcon()); // every window, folder chooser included
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
