#include "core/settings_file.h"

#include "core/text.h"

#include <array>
#include <cstddef>

namespace kestrin {

namespace {

constexpr std::size_t settingsLineCount = 23;
// Far longer than any value a text box holds; overlong lines are cut instead of read whole.
constexpr std::size_t settingsLineLimit = 1024 * 1024;

std::string withoutLineBreaks(const std::string& text) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (c != '\r' && c != '\n')
            kept.push_back(c);
    }
    return kept;
}

std::string checkState(int state) {
    return state == 1 ? "1" : "0";
}
std::string markState(bool checked) {
    return checked ? "1" : "0";
}
std::string textOrZero(const std::string& text) {
    return text.empty() ? "0" : text;
}

std::string joystickLine(const SettingsSnapshot& s) {
    if (s.keyboardOnly)
        return " 1 ";
    return s.reversed ? " 2 " : "0";
}

std::string paddleMethodLine(int selected) {
    if (selected == 0)
        return "0";
    return selected == 1 ? "1" : "-1";
}

std::string dspLine(const SettingsSnapshot& s) {
    if (s.dspHigh)
        return "1";
    return s.dspLow ? "0" : "";
}

std::string keyboardSideLine(int selected) {
    if (selected == 1)
        return "1";
    return selected == 2 ? "2" : "0";
}

std::string performanceLine(const SettingsSnapshot& s) {
    return s.performanceTest == 1 && !s.performanceFrames.empty() ? s.performanceFrames : "0";
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += withoutLineBreaks(line);
        text += "\r\n";
    }
    return text;
}

// The line with the blanks before and after it removed, as the reader takes it.
std::string_view trimmed(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = line.find_last_not_of(' ');
    return line.substr(first, last - first + 1);
}

// Sorts after "0" character by character, bytes compared as unsigned codes: "00" and "1" do,
// "", "0" and "-1" do not.
bool aboveZero(std::string_view value) {
    if (value.empty())
        return false;
    unsigned char first = static_cast<unsigned char>(value[0]);
    if (first != '0')
        return first > '0';
    return value.size() > 1;
}

// One line of the file as the reader takes it: without the blanks around it, and read as
// Latin-1 when it is not UTF-8 (a file of an older single-byte installation), so that no
// character is lost and every later save writes it back as UTF-8.
struct SettingsLine {
    std::string value;
    explicit SettingsLine(std::string_view line = {}) {
        line = trimmed(line);
        value = isUtf8(line) ? std::string(line) : latin1ToUtf8(line);
    }
    bool equals(std::string_view literal) const { return value == literal; }
    bool above0() const { return aboveZero(value); }
    bool notEmpty() const { return !value.empty(); }
};

void restoreJoystick(const SettingsLine& line, Holders& h) {
    if (line.equals("1"))
        h.setMark(MenuMark::mnuoptjoykbd, true);
    else if (line.equals("2"))
        h.setMark(MenuMark::mnuoptjoyrev, true);
}

void restoreText(const SettingsLine& line, bool condition, TextBox box, Holders& h) {
    if (condition)
        h.setText(box, line.value);
}

void restoreCheck(bool condition, CheckBox box, Holders& h) {
    if (condition)
        h.setCheck(box, 1);
}

void restoreMark(bool condition, MenuMark item, Holders& h) {
    if (condition)
        h.setMark(item, true);
}

void restoreDsp(const SettingsLine& line, Holders& h) {
    if (line.equals("0"))
        h.setMark(MenuMark::mnuoptsoundlow, true);
    else if (line.equals("1"))
        h.setMark(MenuMark::mnuoptsoundhi, true);
}

void restoreKeyboardSide(const SettingsLine& line, Holders& h) {
    for (int index = 0; index <= 2; ++index) {
        if (line.equals(std::string(1, static_cast<char>('0' + index)))) {
            h.select(OptionGroup::Form7_Option1, index);
            return;
        }
    }
}

} // namespace

std::string settingsFileText(const SettingsSnapshot& s) {
    return joinLines({
        joystickLine(s),
        checkState(s.paddleEnabled),
        s.paddleSpeed,
        s.paddleNumber,
        paddleMethodLine(s.paddleMethod),
        checkState(s.lightgunEnabled),
        s.lightgunCycles,
        s.lightgunScanlines,
        textOrZero(s.videoMode),
        checkState(s.blackAndWhite),
        s.tvStandard == 0 ? "0" : "1",
        checkState(s.palColorLoss),
        checkState(s.showScanlineCount),
        textOrZero(s.speedAdjustment),
        performanceLine(s),
        markState(s.pcSpeaker),
        markState(s.soundDiagnostics),
        markState(s.forceSampleRate15700),
        dspLine(s),
        markState(s.quietSound),
        checkState(s.keyboardEmulationEnabled),
        keyboardSideLine(s.keyboardEmulationSide),
        markState(s.drivingController),
    });
}

std::string clearAllFileText() {
    return joinLines({"0", "0", "",  "",  "0", "0", "", "",  "0", "0", "0", "0",
                      "0", "0", "0", "0", "0", "0", "", "0", "0", "0", "0", ""});
}

void applySettingsLines(const std::vector<std::string>& lines, Holders& h) {
    std::array<SettingsLine, settingsLineCount> l;
    for (std::size_t i = 0; i < settingsLineCount && i < lines.size(); ++i)
        l[i] = SettingsLine(lines[i]);

    restoreJoystick(l[0], h);
    restoreCheck(l[1].equals("1"), CheckBox::Form2_Check1, h);
    restoreText(l[2], l[2].notEmpty(), TextBox::Form2_Text1, h);
    restoreText(l[3], l[3].notEmpty(), TextBox::Form2_Text2, h);
    h.select(OptionGroup::Form2_Option1, l[4].above0() ? 1 : 0);
    restoreCheck(l[5].equals("1"), CheckBox::Form6_Check1, h);
    restoreText(l[6], l[6].notEmpty(), TextBox::Form6_Text2, h);
    restoreText(l[7], l[7].notEmpty(), TextBox::Form6_Text1, h);
    restoreText(l[8], l[8].above0(), TextBox::Form3_Text1, h);
    restoreCheck(l[9].above0(), CheckBox::Form3_Check1, h);
    h.select(OptionGroup::Form3_Option1, l[10].above0() ? 1 : 0);
    restoreCheck(l[11].equals("1"), CheckBox::Form3_Check3, h);
    restoreCheck(l[12].equals("1"), CheckBox::Form3_Check5, h);
    restoreText(l[13], l[13].above0(), TextBox::Form4_Text1, h);
    restoreCheck(l[14].above0(), CheckBox::Form4_Check1, h);
    restoreText(l[14], l[14].above0(), TextBox::Form4_Text2, h);
    restoreMark(l[15].above0(), MenuMark::mnuoptsoundpc, h);
    restoreMark(l[16].above0(), MenuMark::mnuoptsounddiag, h);
    restoreMark(l[17].above0(), MenuMark::mnuoptsound15700, h);
    restoreDsp(l[18], h);
    restoreMark(l[19].equals("1"), MenuMark::mnuoptsoundquiet, h);
    restoreCheck(l[20].above0(), CheckBox::Form7_Check1, h);
    restoreKeyboardSide(l[21], h);
    restoreMark(l[22].above0(), MenuMark::mnuoptcontroldrive, h);
}

std::optional<std::string> restoreSettings(Files& files, Holders& holders) {
    const auto read = files.readLines(settingsFileName, {settingsLineCount, settingsLineLimit});
    const bool whole = read && read->failure.empty();
    applySettingsLines(whole ? read->lines : std::vector<std::string>{}, holders);
    return read && !whole ? std::optional(read->failure) : std::nullopt;
}

} // namespace kestrin
