// The settings' holders in memory, under the names the windows give them. Checking one of the
// controller enable boxes clears the other two and the driving mark, and the two menu commands
// Clear All performs clear their partners, as the windows do; nothing else reacts.
#pragma once

#include "core/holders.h"

#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kestrin::testing {

// The holders' names, in the order of their identifiers.
inline std::vector<std::string> namesOf(const char* words) {
    std::istringstream in(words);
    return {std::istream_iterator<std::string>(in), {}};
}
inline const auto markNames =
    namesOf("mnuoptjoykbd mnuoptjoyrev mnuoptcontroldrive mnuoptsoundpc mnuoptsounddiag "
            "mnuoptsound15700 mnuoptsoundhi mnuoptsoundlow mnuoptsoundquiet mnupcheck");
inline const auto checkNames = namesOf(
    "Form2_Check1 Form2_Check2 Form3_Check1 Form3_Check2 Form3_Check3 Form3_Check4 Form3_Check5 "
    "Form3_Check6 Form4_Check1 Form4_Check2 Form6_Check1 Form6_Check2 Form7_Check1 Form7_Check2");
inline const auto textNames =
    namesOf("Form2_Text1 Form2_Text2 Form2_Text3 Form2_Text4 Form3_Text1 Form3_Text2 Form4_Text1 "
            "Form4_Text2 Form4_Text3 Form4_Text4 Form6_Text1 Form6_Text2 Form6_Text3 Form6_Text4");
inline const auto groupNames = namesOf("Form2_Option1 Form2_Option2 Form3_Option1 Form3_Option2 "
                                       "Form7_Option1 Form7_Option2");

// The state is "NAME=VALUE" words: "1" for a set mark or box, the text, the member index, and
// "NAME.disabled=1" for a disabled box; a holder not named is clear, empty or has none selected.
struct FakeHolders : Holders {
    explicit FakeHolders(const std::string& words = "") { set(words); }
    void set(const std::string& words) {
        std::istringstream in(words);
        for (std::string word; in >> word;)
            put(word.substr(0, word.find('=')), word.substr(word.find('=') + 1));
    }
    std::string dump() const {
        std::string all;
        for (const auto& [name, value] : state)
            all += (all.empty() ? "" : " ") + name + "=" + value;
        return all;
    }

    bool mark(MenuMark m) const override { return get(markNames[int(m)]) == "1"; }
    void setMark(MenuMark m, bool on) override { put(markNames[int(m)], on ? "1" : ""); }
    void performMenuCommand(MenuMark m) override {
        setMark(m, !mark(m));
        if (m == MenuMark::mnuoptsoundpc)
            set("mnuoptsounddiag= mnuoptsound15700= mnuoptsoundhi= mnuoptsoundlow=");
        if (m == MenuMark::mnuoptjoykbd)
            set("mnuoptjoyrev=");
    }
    int check(CheckBox b) const override { return get(checkNames[int(b)]) == "1"; }
    bool enabled(CheckBox b) const override { return get(checkNames[int(b)] + ".disabled") != "1"; }
    void setCheck(CheckBox b, int v) override {
        if (v == 1 && (b == CheckBox::Form2_Check1 || b == CheckBox::Form6_Check1 ||
                       b == CheckBox::Form7_Check1))
            set("Form2_Check1= Form6_Check1= Form7_Check1= mnuoptcontroldrive=");
        put(checkNames[int(b)], v == 1 ? "1" : "");
    }
    std::string text(TextBox b) const override { return get(textNames[int(b)]); }
    void setText(TextBox b, const std::string& t) override { put(textNames[int(b)], t); }
    int selected(OptionGroup g) const override {
        const std::string value = get(groupNames[int(g)]);
        return value.empty() ? noneSelected : std::stoi(value);
    }
    void select(OptionGroup g, int i) override { put(groupNames[int(g)], std::to_string(i)); }

    std::string get(const std::string& name) const {
        return state.contains(name) ? state.at(name) : "";
    }
    void put(const std::string& name, const std::string& value) {
        if (value.empty())
            state.erase(name);
        else
            state[name] = value;
    }
    std::map<std::string, std::string> state;
};

} // namespace kestrin::testing
