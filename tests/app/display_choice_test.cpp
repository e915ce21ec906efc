// The display Kestrin opens, from the environment and the displays that answer.
#include "app/display_choice.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Case {
    kestrin::DisplayEnvironment environment; // QT_QPA_PLATFORM, desktop, session, Wayland, X11
    std::set<std::string> answering;
    std::string platform, failure;
};

TEST(DisplayChoice, GnomeUnderWaylandTakesX11AndTheUserAndDeadDisplaysDecide) {
    const std::set<std::string> both = {"xcb", "wayland"}, wayland = {"wayland"};
    const Case cases[] = {
        // GNOME under Wayland with XWayland: X11 first, whatever says Wayland runs.
        {{"", "GNOME", "", "wayland-0", ":0"}, both, "xcb;wayland", ""},
        {{"", "ubuntu:GNOME", "wayland", "", ":1"}, both, "xcb;wayland", ""},
        {{"", "ubuntu:GNOME", "wayland", "wayland-0", ":1"}, wayland, "wayland", ""},
        {{"", "GNOME", "wayland", "wayland-0", ""}, wayland, "wayland", ""},
        // Elsewhere Qt's own order: Wayland where it runs, then X11.
        {{"", "KDE", "wayland", "wayland-0", ":0"}, both, "wayland;xcb", ""},
        {{"", "GNOME-Flashback", "", "wayland-0", ":0"}, both, "wayland;xcb", ""},
        {{"", "GNOME", "x11", "", ":0"}, both, "xcb", ""},
        // The user's QT_QPA_PLATFORM is Qt's to read; only a display that cannot answer ends it.
        {{"wayland", "GNOME", "wayland", "wayland-0", ":0"}, both, "", ""},
        {{"offscreen", "", "", "", ""}, {}, "", ""},
        {{"wayland-egl;xcb:fontengine=x", "", "", "", ":0"}, {"xcb"}, "", ""},
        {{"xcb", "", "", "", ":987"}, {}, "", "X11 display :987 does not answer"},
        // No display at all: what was tried (more in the real program's test).
        {{"", "", "", "", ""}, {}, "", "X11: DISPLAY is not set"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const auto choice = kestrin::chooseDisplay(
            c.environment, [&](const std::string& plugin) { return c.answering.count(plugin); });
        EXPECT_EQ(choice.platform, c.platform);
        EXPECT_EQ(choice.failure, c.failure);
    }
}

} // namespace
