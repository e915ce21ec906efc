#include "interpreter/batch_line.h"

namespace kestrin::cmd {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isUnquotedArrow(const Word& word) {
    return !word.quoted && word.text == ">";
}

} // namespace

std::vector<std::string> splitBatchLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? content.size() : end + 1;
        if (end == std::string_view::npos) {
            end = content.size();
        }
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            lines.emplace_back(line);
        }
        start = next;
    }
    return lines;
}

std::vector<Word> splitWords(std::string_view line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        if (i == line.size()) {
            break;
        }
        Word word;
        bool inQuotes = false;
        for (; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '"') {
                inQuotes = !inQuotes;
                word.quoted = true;
            } else if (!inQuotes && isBlank(c)) {
                break;
            } else {
                word.text.push_back(c);
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || u < 0x20 || u == 0x7F) {
            return false;
        }
    }
    return true;
}

ParsedLine parseLine(std::string_view line) {
    ParsedLine parsed;
    if (line.find('\0') != std::string_view::npos) {
        parsed.error = LineError::NulCharacter;
        parsed.message = "the line holds a NUL character";
        return parsed;
    }
    std::vector<Word> words = splitWords(line);
    if (!words.empty() && isUnquotedArrow(words.back())) {
        parsed.error = LineError::BadRedirection;
        parsed.message = "bad redirection: \">\" without a file name";
        return parsed;
    }
    if (words.size() >= 2 && isUnquotedArrow(words[words.size() - 2])) {
        std::string target = std::move(words.back().text);
        if (!isPlainFileName(target)) {
            parsed.error = LineError::BadRedirection;
            parsed.message = "bad redirection: \"" + target +
                             "\" is not a plain file name of the working folder";
            return parsed;
        }
        parsed.command.outputFile = std::move(target);
        words.resize(words.size() - 2);
    }
    parsed.command.words.reserve(words.size());
    for (auto& word : words) {
        parsed.command.words.push_back(std::move(word.text));
    }
    return parsed;
}

} // namespace kestrin::cmd
