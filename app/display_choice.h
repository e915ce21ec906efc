// Which display Kestrin opens, decided before the application object exists: Qt ends the
// process with a core dump when its platform plugin cannot connect, so every display it would
// try is probed first, and a start without one ends with a line that says what was tried.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kestrin {

// The environment variables the choice reads; an empty value counts as not set.
struct DisplayEnvironment {
    std::string qtPlatform;     // QT_QPA_PLATFORM: the user's own choice, which always wins
    std::string currentDesktop; // XDG_CURRENT_DESKTOP, a colon-separated list
    std::string sessionType;    // XDG_SESSION_TYPE
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string x11Display;     // DISPLAY

    static DisplayEnvironment current();
};

struct DisplayChoice {
    // The platform plugins for Qt's -platform, separated by ';' in the order Qt tries them;
    // empty when QT_QPA_PLATFORM chooses.
    std::string platform;
    // Not empty when no display can be opened: what was tried, for "cannot open a display (...)".
    std::string failure;
};

// Whether a platform plugin's display answers a connection; true for plugins that need none.
using DisplayProbe = std::function<bool(const std::string& plugin)>;

// Qt's own order is Wayland first where a Wayland session runs, then X11. On GNOME under
// Wayland, whose compositor draws no window frames, X11 (XWayland) comes first, so that every
// window gets the desktop's own frame with the buttons it asks for. Displays that do not answer
// are left out.
DisplayChoice chooseDisplay(const DisplayEnvironment& environment, const DisplayProbe& answers);

// Connects to the display the plugin would use (xcb: the X server of DISPLAY, with its
// authorisation; wayland: the compositor's socket) and disconnects again.
bool displayAnswers(const std::string& plugin);

// The arguments for the application object: the program's name, and "-platform PLUGINS" when
// Kestrin chose the platform. The command line has been read already, and Qt's own options are
// not Kestrin's: a folder named like one stays a folder. QT_QPA_PLATFORM is left alone, so the
// programs Kestrin starts choose their own display.
class ApplicationArguments {
public:
    ApplicationArguments(const char* program, const std::string& platform);
    ApplicationArguments(const ApplicationArguments&) = delete;
    ApplicationArguments& operator=(const ApplicationArguments&) = delete;

    int count = 0;
    std::vector<char*> values; // ending with a null pointer, as main() gets them

private:
    std::string name, option = "-platform", platform;
};

} // namespace kestrin
