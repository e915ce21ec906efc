// marlo: a stand-in for the console emulator that Kestrin launches. It accepts the launcher's
// command line, finds the image, and answers the reporting switches with honest figures of its
// own (a real CRC-32, the frame height of the chosen TV standard, the time of a stand-in loop).
// It emulates nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace marlo {

// One switch as it stood on the command line: its letters and the value glued to them.
struct Switch {
    std::string name;  // "-p", "-c0", "-k"
    std::string value; // text after the letters, as given; empty for switches without a value
};

struct Invocation {
    std::vector<Switch> switches;                 // in command-line order
    std::string image;                            // the one image name, as given
    bool printChecksum = false;                   // -x
    bool countScanLines = false;                  // -n
    bool pal = false;                             // -c1 (NTSC is the default and -c0)
    std::optional<std::string> performanceFrames; // -fN

    // A reporting run prints figures and ends; a plain run shows the game window.
    bool reporting() const { return printChecksum || countScanLines || performanceFrames; }
    // The switches as they were given, joined by blanks.
    std::string switchText() const;
};

// Parses the arguments after the program name. Returns the invocation, or a one-line reason
// why the command line is not one marlo accepts.
std::variant<Invocation, std::string> parseArguments(const std::vector<std::string>& args);

// Finds the image `name` in `folder`: a file of exactly that name, else of that name with ".bin"
// added, else either of them in another letter case (the first in byte order). A name that
// begins with "./" is the path of one file of the folder, taken exactly as given; that is how a
// name that begins with "-" arrives, so that it is not a switch. Only files of the folder itself
// are found (no other folder part).
std::optional<std::filesystem::path> findImage(const std::filesystem::path& folder,
                                               const std::string& name);

struct ImageFacts {
    std::uint32_t crc32 = 0;
    std::uintmax_t size = 0;
};

// Reads the whole file; nothing when it cannot be read.
std::optional<ImageFacts> readImageFacts(const std::filesystem::path& file);

// Frame height in scan lines of the TV standard.
int scanLinesPerFrame(bool pal);

// Upper bound of the stand-in frames timed for a performance test, so that a huge count still
// ends in a few seconds.
inline constexpr std::uint64_t maxTimedFrames = 100000;

// The number of frames timed for the text of -f: its leading decimal digits, at most
// maxTimedFrames.
std::uint64_t framesToTime(const std::string& frames);

// Runs the stand-in work for framesToTime(frames) frames and returns the line that reports it.
std::string performanceLine(const std::string& frames, const ImageFacts& image);

// The lines a reporting run prints, in order.
std::vector<std::string> reportLines(const Invocation& run, const ImageFacts& image,
                                     const std::string& performance);

// 8 upper-case hexadecimal digits.
std::string hex8(std::uint32_t value);

} // namespace marlo
