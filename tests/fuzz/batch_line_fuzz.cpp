// Feeds arbitrary batch files to the interpreter's line splitter and line parser and checks their
// rules: lines hold no line feed and are never empty; a line with a NUL runs nothing; a line that
// runs has at most one redirection, whose target is a plain name (no "/", control character or
// DEL, not "." or ".."); no word holds a double quote; and every character of the line that is
// neither a blank nor a quote reaches a word, the ">" or the target, in the order of the line.
#include "interpreter/batch_line.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void require(bool rule) {
    if (!rule)
        __builtin_trap();
}

// The characters of `text` that are neither blanks nor double quotes, in order.
std::string visible(std::string_view text) {
    std::string kept;
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '"')
            kept.push_back(c);
    return kept;
}

void checkLine(std::string_view line) {
    using namespace kestrin::cmd;
    const ParsedLine parsed = parseLine(line);
    const bool hasNul = line.find('\0') != std::string_view::npos;
    require((parsed.error == LineError::NulCharacter) == hasNul);
    if (parsed.error != LineError::None) {
        require(!parsed.message.empty() && parsed.command.words.empty());
        require(hasNul || line.find('>') != std::string_view::npos);
        return;
    }
    std::string rejoined;
    for (const std::string& word : parsed.command.words) {
        require(word.find('"') == std::string::npos);
        rejoined += visible(word);
    }
    if (const auto& target = parsed.command.outputFile) {
        require(!target->empty() && *target != "." && *target != "..");
        for (const char c : *target)
            require(c != '/' && c != '"' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        rejoined += ">" + visible(*target);
    }
    require(rejoined == visible(line));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    std::size_t bytes = 0;
    for (const std::string& line : kestrin::cmd::splitBatchLines(content)) {
        require(!line.empty() && line.find('\n') == std::string::npos);
        bytes += line.size();
        checkLine(line);
    }
    // Only line feeds, the carriage return before each and empty lines are dropped.
    std::size_t dropped = 0;
    for (std::size_t i = 0; i < size; ++i)
        dropped +=
            content[i] == '\n' || (content[i] == '\r' && (i + 1 == size || content[i + 1] == '\n'));
    require(bytes + dropped == size);
    return 0;
}
