// Arbitrary batch files through the interpreter's line splitter and line parser. Lines are never
// empty and hold no line feed; a line with a NUL runs nothing; a line that runs has at most one
// redirection, whose target is a plain name (no "/", control character or DEL, not "." or "..");
// and every character that is neither a blank nor a double quote reaches a word (which holds no
// quote), the ">" or the target, in line order.
#include "interpreter/batch_line.h"
#include "tests/fuzz/fuzz_rules.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrin::cmd;
    const auto visible = [](std::string text) {
        std::erase_if(text, [](char c) { return c == ' ' || c == '\t' || c == '"'; });
        return text;
    };
    for (const std::string& line : splitBatchLines({reinterpret_cast<const char*>(data), size})) {
        require(!line.empty() && line.find('\n') == std::string::npos);
        const ParsedLine parsed = parseLine(line);
        require((parsed.error == LineError::NulCharacter) ==
                (line.find('\0') != std::string::npos));
        if (parsed.error != LineError::None) {
            require(parsed.command.words.empty());
            continue;
        }
        std::string rejoined;
        for (const std::string& word : parsed.command.words)
            rejoined += word.find('"') == std::string::npos ? visible(word) : "\"";
        if (const auto& target = parsed.command.outputFile) {
            require(!target->empty() && *target != "." && *target != "..");
            for (const char c : *target)
                require(c != '/' && c != '"' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
            rejoined += ">" + visible(*target);
        }
        require(rejoined == visible(line));
    }
    return 0;
}
