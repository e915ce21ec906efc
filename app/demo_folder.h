// kestrin --demo: a demo folder of the user's own, filled from the demo files installed with the
// program (the made-up game images and the stand-in emulator), where Kestrin then starts.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kestrin {

// The installed demo files, found from the folder of the running program: the images in
// <prefix>/share/kestrin/demo, the stand-in marlo in <prefix>/lib/kestrin. The build folder
// mirrors that layout, so a built kestrin finds them the same way.
struct DemoFiles {
    std::filesystem::path images;
    std::filesystem::path emulator;

    static DemoFiles besideProgram(const std::filesystem::path& programFolder);
};

// $XDG_DATA_HOME/kestrin/demo, or ~/.local/share/kestrin/demo where XDG_DATA_HOME is not an
// absolute path.
std::filesystem::path demoFolder();

// Creates `folder` with its parents and copies every demo image and the stand-in emulator it
// does not hold yet. Nothing there is ever replaced, and a copy that fails leaves no partial
// file. Returns what went wrong, as a line for the user, or nothing.
std::optional<std::string> fillDemoFolder(const DemoFiles& files,
                                          const std::filesystem::path& folder);

// Fills the demo folder from the files beside the running program and enters it. Returns the
// exit status when that fails, after one line on standard error.
std::optional<int> enterDemoFolder();

} // namespace kestrin
