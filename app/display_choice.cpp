#include "app/display_choice.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kestrin {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

bool isX11(const std::string& plugin) {
    return plugin == "xcb";
}
bool isWayland(const std::string& plugin) {
    return plugin.starts_with("wayland");
}

// The socket the Wayland client library connects to: WAYLAND_DISPLAY (wayland-0 when not set),
// in the runtime folder unless it is a whole path.
std::string waylandName(const DisplayEnvironment& environment) {
    return environment.waylandDisplay.empty() ? "wayland-0" : environment.waylandDisplay;
}

// What a failed attempt tried, in the user's terms.
std::string attempt(const std::string& plugin, const DisplayEnvironment& environment) {
    if (isWayland(plugin))
        return "Wayland display " + waylandName(environment) + " does not answer";
    if (environment.x11Display.empty())
        return "X11: DISPLAY is not set";
    return "X11 display " + environment.x11Display + " does not answer";
}

} // namespace

DisplayEnvironment DisplayEnvironment::current() {
    return {variable("QT_QPA_PLATFORM"), variable("XDG_CURRENT_DESKTOP"),
            variable("XDG_SESSION_TYPE"), variable("WAYLAND_DISPLAY"), variable("DISPLAY")};
}

DisplayChoice chooseDisplay(const DisplayEnvironment& environment, const DisplayProbe& answers) {
    const bool userChose = !environment.qtPlatform.empty();
    std::vector<std::string> plugins;
    if (userChose) {
        // A list such as "wayland;xcb", each entry a plugin name with its options after ':'.
        for (const std::string& entry : split(environment.qtPlatform, ';'))
            if (!entry.empty())
                plugins.push_back(entry.substr(0, entry.find(':')));
    } else {
        const bool waylandSession =
            !environment.waylandDisplay.empty() || environment.sessionType == "wayland";
        const std::vector<std::string> desktops = split(environment.currentDesktop, ':');
        const bool gnome = std::find(desktops.begin(), desktops.end(), "GNOME") != desktops.end();
        if (waylandSession && gnome && !environment.x11Display.empty())
            plugins = {"xcb", "wayland"};
        else if (waylandSession)
            plugins = {"wayland", "xcb"};
        else
            plugins = {"xcb"};
    }

    DisplayChoice choice;
    std::string answering, tried;
    for (const std::string& plugin : plugins) {
        // Plugins without a display of their own (offscreen, eglfs, vnc ...) are Qt's to judge.
        if (!(isX11(plugin) || isWayland(plugin)) || answers(plugin))
            answering += (answering.empty() ? "" : ";") + plugin;
        else
            tried += (tried.empty() ? "" : "; ") + attempt(plugin, environment);
    }
    if (answering.empty() && !tried.empty())
        choice.failure = tried;
    else if (!userChose)
        choice.platform = answering;
    return choice;
}

bool displayAnswers(const std::string& plugin) {
    if (isX11(plugin)) {
        // The whole connection set-up, authorisation included, as Qt's plugin does it.
        xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
        const bool connected = xcb_connection_has_error(connection) == 0;
        xcb_disconnect(connection);
        return connected;
    }
    if (!isWayland(plugin))
        return true;
    // A connection handed over by the compositor can be taken once only: it is left to Qt.
    if (!variable("WAYLAND_SOCKET").empty())
        return true;
    const DisplayEnvironment environment = DisplayEnvironment::current();
    std::string path = waylandName(environment);
    if (!path.starts_with('/')) {
        const std::string runtime = variable("XDG_RUNTIME_DIR");
        if (runtime.empty())
            return false;
        path = runtime + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool connected =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

ApplicationArguments::ApplicationArguments(const char* program, const std::string& chosen)
    : name(program ? program : "kestrin"), platform(chosen) {
    values.push_back(name.data());
    if (!platform.empty())
        values.insert(values.end(), {option.data(), platform.data()});
    count = static_cast<int>(values.size());
    values.push_back(nullptr);
}

} // namespace kestrin
