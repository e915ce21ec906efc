// The settings file reader on any bytes: it only ever sets, always selects one member of the
// two groups that both branches select, fills a text box with exactly the line's value (the
// blanks around it removed, Latin-1 when it is no UTF-8), and a file written from what it
// restored reads back to the same settings.
#include "core/settings.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "tests/fuzz/fuzz_rules.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace kestrin;

namespace {

struct Recorder : Holders {
    bool marks[10] = {};
    int checks[14] = {}, groups[6] = {-1, -1, -1, -1, -1, -1}, selects[6] = {};
    std::string texts[14];
    bool mark(MenuMark m) const override { return marks[int(m)]; }
    void setMark(MenuMark m, bool on) override { require(on), marks[int(m)] = on; }
    void performMenuCommand(MenuMark) override { require(false); }
    int check(CheckBox b) const override { return checks[int(b)]; }
    bool enabled(CheckBox) const override { return true; }
    void setCheck(CheckBox b, int v) override { require(v == 1), checks[int(b)] = v; }
    std::string text(TextBox b) const override { return texts[int(b)]; }
    void setText(TextBox b, const std::string& t) override { texts[int(b)] = t; }
    int selected(OptionGroup g) const override { return groups[int(g)]; }
    void select(OptionGroup g, int i) override { groups[int(g)] = i, ++selects[int(g)]; }
};

std::string valueOf(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    const std::string v = first == std::string::npos
                              ? std::string()
                              : line.substr(first, line.find_last_not_of(' ') - first + 1);
    return isUtf8(v) ? v : latin1ToUtf8(v);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto lines = linesOf({reinterpret_cast<const char*>(data), size});
    Recorder read;
    applySettingsLines(lines, read);
    require(read.selects[int(OptionGroup::Form2_Option1)] == 1 &&
            read.selects[int(OptionGroup::Form3_Option1)] == 1);
    // {line, text box}: a box holds the line's value or was never set.
    const std::pair<std::size_t, TextBox> boxes[] = {
        {2, TextBox::Form2_Text1}, {3, TextBox::Form2_Text2}, {6, TextBox::Form6_Text2},
        {7, TextBox::Form6_Text1}, {8, TextBox::Form3_Text1}, {13, TextBox::Form4_Text1},
        {14, TextBox::Form4_Text2}};
    for (const auto& [line, box] : boxes) {
        const std::string& text = read.texts[int(box)];
        require(text.empty() || (line < lines.size() && text == valueOf(lines[line])));
        require(isUtf8(text));
        if (line < 4 || line == 6 || line == 7) // "not empty" lines
            require(text.empty() == (line >= lines.size() || valueOf(lines[line]).empty()));
    }
    // Written and read twice, the settings come back the same.
    Recorder again, third;
    const std::string written = settingsFileText(readSettings(read));
    applySettingsLines(linesOf(written), again);
    const std::string rewritten = settingsFileText(readSettings(again));
    applySettingsLines(linesOf(rewritten), third);
    require(settingsFileText(readSettings(third)) == rewritten && linesOf(rewritten).size() == 23);
    return 0;
}
