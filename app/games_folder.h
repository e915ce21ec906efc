// Where Kestrin runs: the working folder, a folder named on the command line, or a folder the
// user picks with the desktop's folder chooser (the way the desktop entry starts it). Everything
// the launcher reads and writes lives in that folder, so it is entered before the main window
// exists, exactly as if Kestrin had been started there.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace kestrin {

// What the command line asks for.
struct StartRequest {
    bool chooseFolder = false;     // ask for the games folder before anything else
    bool demo = false;             // start in the user's demo folder (see demo_folder.h)
    std::optional<int> exitStatus; // end at once with this status (help, version, an error)
};

// Reads the command line. Prints the help and the version on standard output, and an error as
// one line on standard error with status 2. A FOLDER argument is entered here. Needs no display:
// it runs before the application object exists.
StartRequest readCommandLine(int argc, char** argv);

// Shows a folder chooser opened at `startAt`; returns the chosen folder, or empty on Cancel.
using FolderChooser = std::function<QString(const QString& startAt)>;

// The desktop's standard folder chooser (the platform theme's native one where there is one).
QString desktopFolderChooser(const QString& startAt);

// Asks for the games folder, opened at the one chosen last time (kept in the user's
// configuration folder, never in a games folder), enters it and remembers it. Returns the exit
// status when the program ends instead: 0 on Cancel, which writes nothing; 2 when the chosen
// folder cannot be entered.
std::optional<int> chooseGamesFolder(const FolderChooser& choose);

} // namespace kestrin
