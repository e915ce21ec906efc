// Splitting a batch file into lines and a line into the words of one program call.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::cmd {

// The lines of a batch file: ended by LF or CR LF (the last one may lack its end), empty lines
// left out.
std::vector<std::string> splitBatchLines(std::string_view content);

struct Word {
    std::string text;
    bool quoted = false; // some part of it stood in double quotes
};

// Words are separated by blanks (spaces and tabs); double quotes group blanks into one word and
// are removed. A quote left open runs to the end of the line.
std::vector<Word> splitWords(std::string_view line);

// A file name the redirection may write to: a plain name in the working folder, not empty, not
// "." or "..", without "/" and without control characters.
bool isPlainFileName(std::string_view name);

struct Command {
    std::vector<std::string> words;        // the program (or built-in) and its arguments
    std::optional<std::string> outputFile; // the redirection target, when there is one
};

enum class LineError { None, BadRedirection, NulCharacter };

struct ParsedLine {
    Command command;
    LineError error = LineError::None;
    std::string message; // why the line cannot run, when `error` is set
};

// The only redirection honoured is an unquoted ">" word followed by exactly one word, the
// target, as the last two words of the line. A ">" anywhere else, a quoted ">", "<", "|" and
// "&" are ordinary argument text. An unquoted ">" as the last word, or a target that is not a
// plain file name, is a bad redirection and nothing may run.
ParsedLine parseLine(std::string_view line);

} // namespace kestrin::cmd
