// Preloaded into the real kestrin by the end-to-end test, as a controller plugged in would be:
// this machine has no uinput device. When the launcher starts SDL's controller support, a
// virtual controller is attached there, driven by the lines written into the FIFO that
// KESTRIN_E2E_PAD names: "BUTTON 1" presses a button (SDL's game controller numbering), "BUTTON 0"
// releases it.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <thread>

extern "C" int SDL_InitSubSystem(Uint32 flags) {
    static const auto real =
        reinterpret_cast<int (*)(Uint32)>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
    const int status = real(flags);
    const char* fifo = std::getenv("KESTRIN_E2E_PAD");
    if (status != 0 || (flags & SDL_INIT_GAMECONTROLLER) == 0 || fifo == nullptr)
        return status;
    unsetenv("LD_PRELOAD"); // the launcher's jobs run without it
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    SDL_Joystick* pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    std::thread([pad, fifo] {
        FILE* lines = std::fopen(fifo, "r");
        for (int button = 0, down = 0; lines && std::fscanf(lines, "%d %d", &button, &down) == 2;)
            SDL_JoystickSetVirtualButton(pad, button, static_cast<Uint8>(down));
    }).detach();
    return status;
}
