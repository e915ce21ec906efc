// Runs the built marlo as a child process in a given folder and collects what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct MarloResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
    std::vector<std::string> outLines() const;
};

// Runs marlo with `args` in `folder`, without DISPLAY or WAYLAND_DISPLAY, so that a plain run
// never opens a window. A run that takes longer than 20 s is killed and reported as status -1.
MarloResult runMarlo(const std::filesystem::path& folder, const std::vector<std::string>& args);

// A fresh empty folder below the system's temporary folder, removed by the destructor.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    void write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path path_;
};
