#include "marlo.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>

namespace marlo {

namespace {

enum class Value { None, Required, Optional };

struct SwitchRule {
    const char* name;
    Value value;
};

// Every switch the launcher can write. Switches without a value must match exactly; the others
// are the letters followed directly by their value.
constexpr std::array<SwitchRule, 26> switchRules{{
    {"-x", Value::None},     {"-j0", Value::None},    {"-j2", Value::None},
    {"-p", Value::Required}, {"-k", Value::Optional}, {"-m", Value::Optional},
    {"-v", Value::Required}, {"-b", Value::None},     {"-c0", Value::None},
    {"-c1", Value::None},    {"-o", Value::None},     {"-n", Value::None},
    {"-r", Value::Required}, {"-f", Value::Required}, {"-s1", Value::None},
    {"-s0", Value::None},    {"-d1", Value::None},    {"-d2", Value::None},
    {"-s2", Value::None},    {"-q", Value::None},     {"-l", Value::Required},
    {"-a", Value::Required}, {"-y1", Value::None},    {"-y2", Value::None},
    {"-y3", Value::None},    {"-w", Value::None},
}};

std::optional<Switch> matchSwitch(const std::string& arg, std::string& error) {
    for (const SwitchRule& rule : switchRules) {
        if (rule.value == Value::None && arg == rule.name)
            return Switch{arg, {}};
    }
    for (const SwitchRule& rule : switchRules) {
        if (rule.value == Value::None || arg.compare(0, 2, rule.name) != 0)
            continue;
        std::string value = arg.substr(2);
        if (rule.value == Value::Required && value.empty()) {
            error = std::string("switch ") + rule.name + " needs a value";
            return std::nullopt;
        }
        return Switch{rule.name, value};
    }
    error = "unknown switch " + arg;
    return std::nullopt;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::string Invocation::switchText() const {
    std::string text;
    for (const Switch& s : switches) {
        if (!text.empty())
            text += ' ';
        text += s.name + s.value;
    }
    return text;
}

std::variant<Invocation, std::string> parseArguments(const std::vector<std::string>& args) {
    Invocation run;
    bool haveImage = false;
    for (const std::string& arg : args) {
        if (!arg.empty() && arg[0] == '-') {
            std::string error;
            std::optional<Switch> s = matchSwitch(arg, error);
            if (!s)
                return error;
            if (s->name == "-x")
                run.printChecksum = true;
            else if (s->name == "-n")
                run.countScanLines = true;
            else if (s->name == "-c0" || s->name == "-c1")
                run.pal = s->name == "-c1";
            else if (s->name == "-f")
                run.performanceFrames = s->value;
            run.switches.push_back(*s);
            continue;
        }
        if (arg.empty())
            return std::string("empty image name");
        if (haveImage)
            return "more than one image name (" + run.image + ", " + arg + ")";
        run.image = arg;
        haveImage = true;
    }
    if (!haveImage)
        return std::string("no image name given");
    return run;
}

std::optional<std::filesystem::path> findImage(const std::filesystem::path& folder,
                                               const std::string& name) {
    const bool path = name.starts_with("./");
    const std::string plain = path ? name.substr(2) : name;
    if (plain.empty() || plain.find('/') != std::string::npos || plain == "." || plain == "..")
        return std::nullopt;
    std::error_code ec;
    for (const std::string& exact : {plain, plain + ".bin"}) {
        if (std::filesystem::is_regular_file(folder / exact, ec))
            return folder / exact;
        if (path)
            return std::nullopt;
    }
    const std::string wanted = lower(plain);
    const std::string wantedBin = wanted + ".bin";
    std::vector<std::string> caseless;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::error_code typeError;
        const std::string key = lower(entry.path().filename().string());
        if ((key == wanted || key == wantedBin) && entry.is_regular_file(typeError))
            caseless.push_back(entry.path().filename().string());
    }
    if (caseless.empty())
        return std::nullopt;
    return folder / *std::min_element(caseless.begin(), caseless.end());
}

std::optional<ImageFacts> readImageFacts(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    ImageFacts facts;
    uLong crc = crc32(0L, Z_NULL, 0);
    std::array<char, 65536> buffer;
    while (in) {
        in.read(buffer.data(), buffer.size());
        const std::streamsize got = in.gcount();
        if (got <= 0)
            break;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(buffer.data()), static_cast<uInt>(got));
        facts.size += static_cast<std::uintmax_t>(got);
    }
    if (in.bad())
        return std::nullopt;
    facts.crc32 = static_cast<std::uint32_t>(crc);
    return facts;
}

int scanLinesPerFrame(bool pal) {
    return pal ? 312 : 262;
}

std::string hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

std::uint64_t framesToTime(const std::string& frames) {
    std::uint64_t requested = 0;
    for (char c : frames) {
        if (c < '0' || c > '9')
            break;
        requested = requested * 10 + static_cast<std::uint64_t>(c - '0');
        if (requested > maxTimedFrames)
            return maxTimedFrames;
    }
    return requested;
}

std::string performanceLine(const std::string& frames, const ImageFacts& image) {
    const std::uint64_t timed = framesToTime(frames);

    // The stand-in work per frame: checksum a frame-sized buffer (160 bytes a scan line)
    // seeded from the image, changing one byte a frame so that no frame repeats the last.
    std::vector<unsigned char> frame(160u * 262u);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<unsigned char>((image.crc32 >> (8 * (i % 4))) + i);
    uLong sum = crc32(0L, Z_NULL, 0);
    const auto start = std::chrono::steady_clock::now();
    for (std::uint64_t f = 0; f < timed; ++f) {
        frame[f % frame.size()] ^= static_cast<unsigned char>(sum);
        sum = crc32(sum, frame.data(), static_cast<uInt>(frame.size()));
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double ms = std::chrono::duration<double, std::milli>(elapsed).count();

    const char* unit = timed == 1 ? "frame" : "frames";
    char line[200];
    if (std::to_string(timed) == frames)
        std::snprintf(line, sizeof line, "%llu %s in %.1f ms (stand-in work)",
                      static_cast<unsigned long long>(timed), unit, ms);
    else
        std::snprintf(line, sizeof line, "%llu %s in %.1f ms (stand-in work; asked for %.40s)",
                      static_cast<unsigned long long>(timed), unit, ms, frames.c_str());
    return line;
}

std::vector<std::string> reportLines(const Invocation& run, const ImageFacts& image,
                                     const std::string& performance) {
    if (run.printChecksum)
        return {"CRC-32: " + hex8(image.crc32), "Size: " + std::to_string(image.size) + " bytes"};
    const std::string scanLines = std::to_string(scanLinesPerFrame(run.pal)) +
                                  " scan lines per frame (" + (run.pal ? "PAL" : "NTSC") + ")";
    if (run.countScanLines && run.performanceFrames)
        return {scanLines, "marlo stand-in report", performance};
    if (run.countScanLines)
        return {scanLines};
    if (run.performanceFrames)
        return {performance};
    return {};
}

} // namespace marlo
