// Idle cost of the game controller support: the CPU time the launcher uses per second while its
// main window waits for input, without SDL, with SDL and no controller, and with a controller
// attached (a virtual one, which SDL reads like a device) and nothing pressed.
#include "input/game_controllers.h"
#include "ui/main/form1.h"

#include <QApplication>
#include <QEventLoop>
#include <QListView>
#include <QTimer>

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

double cpuSeconds() {
    rusage used{};
    ::getrusage(RUSAGE_SELF, &used);
    return static_cast<double>(used.ru_utime.tv_sec + used.ru_stime.tv_sec) +
           static_cast<double>(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
}

void runEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool waitFor(const std::function<bool()>& condition) {
    for (int waited = 0; !condition(); waited += 10)
        if (waited > 5000)
            return false;
        else
            runEvents(10);
    return true;
}

// Runs the event loop for `seconds` and prints the CPU time used as a share of one CPU.
void measure(const char* what, int seconds) {
    const double before = cpuSeconds();
    runEvents(seconds * 1000);
    std::printf("idle CPU, %s: %.3f %% of a CPU over %d s\n", what,
                100 * (cpuSeconds() - before) / seconds, seconds);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::stoi(argv[1]) : 10;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kestrin-idle-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    for (const char* game : {"Comet Chase.bin", "Deep Cave.bin", "Harbor Run.bin"})
        std::ofstream(folder / game) << "image";

    int status = 0;
    {
        kestrin::Form1 form;
        form.Form1_Form_Load();
        form.show();
        form.activateWindow();
        if (!waitFor([&] { return form.isActiveWindow(); }))
            std::printf("the main window did not become active\n");
        measure("the main window alone", seconds);

        kestrin::GameControllers controllers(&form, form.gameList());
        if (!controllers.started()) {
            std::printf("SDL's controller support did not start: %s\n", SDL_GetError());
            status = 1;
        } else {
            measure("SDL started, no controller", seconds);
            SDL_VirtualJoystickDesc desc{};
            desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
            desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
            desc.naxes = SDL_CONTROLLER_AXIS_MAX;
            desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
            SDL_JoystickAttachVirtualEx(&desc);
            if (!waitFor([&] { return controllers.attached() == 1; }))
                std::printf("the controller was not seen\n");
            measure("a controller attached, nothing pressed, the main window active", seconds);
            QWidget other;
            other.show();
            other.activateWindow();
            waitFor([&] { return other.isActiveWindow(); });
            measure("a controller attached, another window active", seconds);
        }
    }
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    return status;
}
