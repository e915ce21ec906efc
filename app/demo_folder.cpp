#include "app/demo_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

namespace kestrin {

namespace fs = std::filesystem;

namespace {

constexpr int folderError = 2;

std::error_code lastError() {
    return {errno, std::system_category()};
}

// Copies `source` to `target` unless something of that name is there, a dangling link included.
// The copy is written under a hidden temporary name beside the target and then linked to its
// name, which fails instead of replacing what may have been created meanwhile; so the target
// is never half-written either.
std::error_code copyIfMissing(const fs::path& source, const fs::path& target) {
    std::error_code error;
    if (fs::symlink_status(target, error).type() != fs::file_type::not_found)
        return error; // kept as it is, or the error that hides it
    error.clear();
    std::string name = (target.parent_path() / ".kestrin-demo-XXXXXX").string();
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0)
        return lastError();
    ::close(descriptor);
    const fs::path temporary = name;
    fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error); // and its mode
    if (!error && ::link(temporary.c_str(), target.c_str()) != 0 && errno != EEXIST)
        error = lastError();
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return error;
}

fs::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "/";
}

} // namespace

DemoFiles DemoFiles::besideProgram(const fs::path& programFolder) {
    return {(programFolder / KESTRIN_DEMO_IMAGES).lexically_normal(),
            (programFolder / KESTRIN_DEMO_EMULATOR).lexically_normal()};
}

fs::path demoFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const fs::path base =
        data && fs::path(data).is_absolute() ? fs::path(data) : homeFolder() / ".local/share";
    return base / "kestrin" / "demo";
}

std::optional<std::string> fillDemoFolder(const DemoFiles& files, const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return "cannot create the demo folder " + folder.string() + ": " + error.message();
    fs::directory_iterator images(files.images, error);
    for (; !error && images != fs::directory_iterator(); images.increment(error)) {
        if (!images->is_regular_file())
            continue;
        if (const auto failed = copyIfMissing(images->path(), folder / images->path().filename()))
            return "cannot copy " + images->path().string() + " into " + folder.string() + ": " +
                   failed.message();
    }
    if (error)
        return "cannot read the demo files in " + files.images.string() + ": " + error.message();
    if (const auto failed = copyIfMissing(files.emulator, folder / files.emulator.filename()))
        return "cannot copy " + files.emulator.string() + " into " + folder.string() + ": " +
               failed.message();
    return std::nullopt;
}

namespace {

// The failure, as a line for the user, or nothing once the filled folder is entered.
std::optional<std::string> fillAndEnter() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return "cannot find the demo files: " + error.message();
    const fs::path folder = demoFolder();
    if (auto failure = fillDemoFolder(DemoFiles::besideProgram(program.parent_path()), folder))
        return failure;
    if (::chdir(folder.c_str()) != 0)
        return "cannot start in " + folder.string() + ": " + std::strerror(errno);
    return std::nullopt;
}

} // namespace

std::optional<int> enterDemoFolder() {
    const std::optional<std::string> failure = fillAndEnter();
    if (!failure)
        return std::nullopt;
    std::fprintf(stderr, "kestrin: %s\n", failure->c_str());
    return folderError;
}

} // namespace kestrin
