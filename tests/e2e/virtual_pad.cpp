// Preloaded into the real kestrin by the end-to-end test: this machine has no uinput device. When
// the launcher starts SDL's controller support, a virtual controller is plugged in there, driven
// by the lines of the FIFO that KESTRIN_E2E_PAD names: "BUTTON 1" presses, "BUTTON 0" releases.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <thread>

extern "C" int SDL_InitSubSystem(Uint32 flags) {
    const int status = reinterpret_cast<int (*)(Uint32)>(dlsym(RTLD_NEXT, __func__))(flags);
    const char* fifo = std::getenv("KESTRIN_E2E_PAD");
    if (status != 0 || (flags & SDL_INIT_GAMECONTROLLER) == 0 || fifo == nullptr)
        return status;
    unsetenv("LD_PRELOAD"); // the launcher's jobs run without this library
    SDL_Joystick* pad =
        SDL_JoystickOpen(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 21, 0));
    std::thread([pad, fifo] {
        FILE* lines = std::fopen(fifo, "r"); // waits for the test to open it
        for (int button = 0, down = 0; lines && std::fscanf(lines, "%d %d", &button, &down) == 2;)
            SDL_JoystickSetVirtualButton(pad, button, static_cast<Uint8>(down));
    }).detach();
    return status;
}
