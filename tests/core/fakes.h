// Test doubles for the core: holders that log every write, files in memory, scripted jobs.
#pragma once

#include "core/holders.h"
#include "core/ports.h"
#include "core/run_game.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrin::testing {

inline std::string nameOf(MenuMark m) {
    static const char* const names[] = {"mnuoptjoykbd",  "mnuoptjoyrev",    "mnuoptcontroldrive",
                                        "mnuoptsoundpc", "mnuoptsounddiag", "mnuoptsound15700",
                                        "mnuoptsoundhi", "mnuoptsoundlow",  "mnuoptsoundquiet",
                                        "mnupcheck"};
    return names[static_cast<int>(m)];
}
inline std::string nameOf(CheckBox b) {
    static const char* const names[] = {
        "Form2_Check1", "Form2_Check2", "Form3_Check1", "Form3_Check2", "Form3_Check3",
        "Form3_Check4", "Form3_Check5", "Form3_Check6", "Form4_Check1", "Form4_Check2",
        "Form6_Check1", "Form6_Check2", "Form7_Check1", "Form7_Check2"};
    return names[static_cast<int>(b)];
}
inline std::string nameOf(TextBox b) {
    static const char* const names[] = {"Form2_Text1", "Form2_Text2", "Form2_Text3", "Form2_Text4",
                                        "Form3_Text1", "Form3_Text2", "Form4_Text1", "Form4_Text2",
                                        "Form4_Text3", "Form4_Text4", "Form6_Text1", "Form6_Text2",
                                        "Form6_Text3", "Form6_Text4"};
    return names[static_cast<int>(b)];
}
inline std::string nameOf(OptionGroup g) {
    static const char* const names[] = {"Form2_Option1", "Form2_Option2", "Form3_Option1",
                                        "Form3_Option2", "Form7_Option1", "Form7_Option2"};
    return names[static_cast<int>(g)];
}

// Holds every control's state under its name ("mnupcheck", "Form3_Check5"; "NAME.enabled" "0"
// for a disabled box) and logs each write as "setMark NAME 0|1", "setCheck NAME N", "setText
// NAME [TEXT]", "select NAME N" or "perform NAME". The two menu commands Clear All performs
// clear their partners as the Options menu's do; there are no other reactions.
struct FakeHolders : Holders {
    bool mark(MenuMark m) const override { return get(nameOf(m), "0") == "1"; }
    void setMark(MenuMark m, bool on) override { set("setMark ", nameOf(m), on ? "1" : "0"); }
    void performMenuCommand(MenuMark m) override {
        calls.push_back("perform " + nameOf(m));
        state[nameOf(m)] = mark(m) ? "0" : "1";
        if (m == MenuMark::mnuoptsoundpc)
            for (const char* p :
                 {"mnuoptsounddiag", "mnuoptsound15700", "mnuoptsoundhi", "mnuoptsoundlow"})
                state[p] = "0";
        if (m == MenuMark::mnuoptjoykbd)
            state["mnuoptjoyrev"] = "0";
    }
    int check(CheckBox b) const override { return std::stoi(get(nameOf(b), "0")); }
    bool enabled(CheckBox b) const override { return get(nameOf(b) + ".enabled", "1") == "1"; }
    void setCheck(CheckBox b, int v) override { set("setCheck ", nameOf(b), std::to_string(v)); }
    std::string text(TextBox b) const override { return get(nameOf(b), ""); }
    void setText(TextBox b, const std::string& t) override { set("setText ", nameOf(b), t); }
    int selected(OptionGroup g) const override { return std::stoi(get(nameOf(g), "-1")); }
    void select(OptionGroup g, int i) override { set("select ", nameOf(g), std::to_string(i)); }

    std::string get(const std::string& name, const char* absent) const {
        return state.contains(name) ? state.at(name) : absent;
    }
    void set(const std::string& verb, const std::string& name, const std::string& value) {
        calls.push_back(verb + name + (verb == "setText " ? " [" + value + "]" : " " + value));
        state[name] = value;
    }
    std::map<std::string, std::string> state;
    std::vector<std::string> calls;
};

// Files in memory and scripted jobs. Every step is logged in order in `events` ("replace NAME",
// "read NAME MAXLINES", "remove NAME", "start FILE", "waitForUserReturn ID", "pause SECONDS");
// `whileRunning` (what the emulator and the user do) runs during a wait.
struct FakePlatform : Files, Jobs {
    std::optional<std::string> replace(const std::string& name, std::string_view text) override {
        events.push_back("replace " + name);
        if (failures.contains(name))
            return failures[name];
        contents[name] = text;
        return std::nullopt;
    }
    std::optional<std::vector<std::string>> readLines(const std::string& name, std::size_t maxLines,
                                                      std::size_t maxLineBytes) override {
        events.push_back("read " + name + " " + std::to_string(maxLines));
        lastMaxLineBytes = maxLineBytes;
        if (!contents.contains(name))
            return std::nullopt;
        std::vector<std::string> lines;
        const std::string& text = contents[name];
        for (std::size_t start = 0, end; start < text.size() && lines.size() < maxLines;
             start = end + 1) {
            end = std::min(text.find('\n', start), text.size());
            std::string line = text.substr(start, end - start);
            if (line.ends_with('\r'))
                line.pop_back();
            lines.push_back(line.substr(0, maxLineBytes));
        }
        return lines;
    }
    void remove(const std::string& name) override {
        events.push_back("remove " + name);
        contents.erase(name);
    }
    std::optional<TaskId> start(const std::string& file, WindowStyle s, bool errors) override {
        events.push_back("start " + file);
        style = s;
        reportErrors = errors;
        return startFails ? std::nullopt : std::optional<TaskId>(42);
    }
    void waitUntilEnded(TaskId) override { wait("waitUntilEnded"); }
    void waitForUserReturn(TaskId task) override {
        wait("waitForUserReturn " + std::to_string(task));
    }
    void pause(double seconds) override { wait("pause " + std::to_string(seconds)); }
    void wait(const std::string& event) {
        events.push_back(event);
        if (whileRunning)
            whileRunning();
    }

    std::vector<std::string> events;
    std::map<std::string, std::string> contents;
    std::map<std::string, std::string> failures; // name -> reason a replace gives
    std::size_t lastMaxLineBytes = 0;
    bool startFails = false;
    std::optional<WindowStyle> style;
    bool reportErrors = false;
    std::function<void()> whileRunning;
};

struct FakeGameList : GameList {
    int index = 0;
    std::string display = "Space Game", shortText = "SPACEG~1 ";
    int selectedIndex() const override { return index; }
    std::string displayName() const override { return display; }
    std::string shortName() const override { return shortText; }
};

} // namespace kestrin::testing
