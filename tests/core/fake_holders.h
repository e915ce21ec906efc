// The settings' holders in memory, under the names the windows give them. Checking one of the
// controller enable boxes clears the other two and the driving mark, and the two menu commands
// Clear All performs clear their partners, as the windows do; nothing else reacts.
#pragma once

#include "core/holders.h"

#include <iterator>
#include <map>
#include <sstream>
#include <vector>

namespace kestrin::testing {

// Every holder's name: the menu marks, check boxes, text boxes and option groups, each kind
// in the order of its identifiers.
inline const std::vector<std::string> holderNames = [] {
    std::istringstream in(
        "mnuoptjoykbd mnuoptjoyrev mnuoptcontroldrive mnuoptsoundpc mnuoptsounddiag "
        "mnuoptsound15700 mnuoptsoundhi mnuoptsoundlow mnuoptsoundquiet mnupcheck Form2_Check1 "
        "Form2_Check2 Form3_Check1 Form3_Check2 Form3_Check3 Form3_Check4 Form3_Check5 "
        "Form3_Check6 Form4_Check1 Form4_Check2 Form6_Check1 Form6_Check2 Form7_Check1 "
        "Form7_Check2 Form2_Text1 Form2_Text2 Form2_Text3 Form2_Text4 Form3_Text1 Form3_Text2 "
        "Form4_Text1 Form4_Text2 Form4_Text3 Form4_Text4 Form6_Text1 Form6_Text2 Form6_Text3 "
        "Form6_Text4 Form2_Option1 Form2_Option2 Form3_Option1 Form3_Option2 Form7_Option1 "
        "Form7_Option2");
    return std::vector<std::string>(std::istream_iterator<std::string>(in), {});
}();
// The state is "NAME=VALUE" words: "1" for a set mark or box, the text, the member index, and
// "NAME.disabled=1" for a disabled box; a holder not named is clear, empty or has none selected.
struct FakeHolders : Holders {
    explicit FakeHolders(const std::string& words = "") { set(words); }
    static const std::string& nameOf(MenuMark m) { return holderNames[int(m)]; }
    static const std::string& nameOf(CheckBox b) { return holderNames[10 + int(b)]; }
    static const std::string& nameOf(TextBox b) { return holderNames[24 + int(b)]; }
    static const std::string& nameOf(OptionGroup g) { return holderNames[38 + int(g)]; }
    void set(const std::string& words) {
        std::istringstream in(words);
        for (std::string word; in >> word;)
            put(word.substr(0, word.find('=')), word.substr(word.find('=') + 1));
    }

    bool mark(MenuMark m) const override { return get(nameOf(m)) == "1"; }
    void setMark(MenuMark m, bool on) override { put(nameOf(m), on ? "1" : ""); }
    void performMenuCommand(MenuMark m) override {
        setMark(m, !mark(m));
        set(m == MenuMark::mnuoptjoykbd ? "mnuoptjoyrev="
            : m == MenuMark::mnuoptsoundpc
                ? "mnuoptsounddiag= mnuoptsound15700= mnuoptsoundhi= mnuoptsoundlow="
                : "");
    }
    int check(CheckBox b) const override { return get(nameOf(b)) == "1"; }
    bool enabled(CheckBox b) const override { return get(nameOf(b) + ".disabled") != "1"; }
    void setCheck(CheckBox b, int v) override {
        if (v == 1 && (b == CheckBox::Form2_Check1 || b == CheckBox::Form6_Check1 ||
                       b == CheckBox::Form7_Check1))
            set("Form2_Check1= Form6_Check1= Form7_Check1= mnuoptcontroldrive=");
        put(nameOf(b), v == 1 ? "1" : "");
    }
    std::string text(TextBox b) const override { return get(nameOf(b)); }
    void setText(TextBox b, const std::string& t) override { put(nameOf(b), t); }
    int selected(OptionGroup g) const override {
        return get(nameOf(g)).empty() ? noneSelected : std::stoi(get(nameOf(g)));
    }
    void select(OptionGroup g, int i) override { put(nameOf(g), std::to_string(i)); }

    std::string get(const std::string& name) const {
        return state.contains(name) ? state.at(name) : "";
    }
    void put(const std::string& name, const std::string& value) {
        value.empty() ? void(state.erase(name)) : void(state[name] = value);
    }
    std::map<std::string, std::string> state;
};

} // namespace kestrin::testing
