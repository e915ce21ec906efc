// The Options menu's check-mark commands and Clear All, on the real window and dialogs.
#include "core/settings_file.h"
#include "tests/ui/main/launcher_fakes.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/option_dialogs.h"

#include <QLineEdit>

#include <set>
#include <tuple>
#include <typeinfo>

namespace kestrin::testing {
namespace {

using M = MenuMark;
using enum MenuMark;
using Marks = std::vector<MenuMark>;
constexpr int markCount = static_cast<int>(mnupcheck) + 1;
constexpr int boxCount = static_cast<int>(TextBox::Form6_Text4) + 1; // of each kind
constexpr int groupCount = static_cast<int>(OptionGroup::Form7_Option2) + 1;
static_assert(boxCount == static_cast<int>(CheckBox::Form7_Check2) + 1);

Marks markedItems(Holders& h) {
    Marks marked;
    for (int i = 0; i < markCount; ++i)
        if (h.mark(M(i)))
            marked.push_back(M(i));
    return marked;
}

void setOnly(Holders& h, const Marks& marks) {
    for (int i = 0; i < markCount; ++i)
        h.setMark(M(i), std::find(marks.begin(), marks.end(), M(i)) != marks.end());
}

// From the menu, where Qt toggles the action before the command runs, or performed from code.
void choose(Launcher& launcher, M item, bool fromMenu) {
    if (fromMenu)
        launcher.form.menuItem(item)->trigger();
    else
        launcher.holders().performMenuCommand(item);
}

TEST(OptionsMenu, EachCommandTogglesItsOwnMarkOnceAndClearsItsPartners) {
    // Marks before, the command chosen, marks after (in declaration order).
    std::vector<std::tuple<Marks, MenuMark, Marks>> rows = {
        {{mnuoptjoykbd}, mnuoptjoyrev, {mnuoptjoyrev}},
        {{mnuoptjoyrev}, mnuoptjoykbd, {mnuoptjoykbd}},
        {{mnuoptsoundpc, mnuoptsounddiag, mnuoptsound15700, mnuoptsoundhi, mnuoptsoundlow,
          mnuoptsoundquiet},
         mnuoptsoundpc,
         {mnuoptsoundquiet}},
        {{mnuoptsounddiag, mnuoptsoundlow}, mnuoptsoundpc, {mnuoptsoundpc}},
        {{mnuoptsoundpc}, mnuoptsounddiag, {mnuoptsoundpc, mnuoptsounddiag}},
        {{mnuoptsoundpc, mnuoptsounddiag}, mnuoptsoundpc, {}},
        // A hand-edited pair the commands never produce; it lasts until a command.
        {{mnuoptsoundpc, mnuoptsound15700}, mnuoptsound15700, {}},
        {{mnuoptsoundpc}, mnuoptsound15700, {mnuoptsound15700}},
        // The DSP levels exclude each other only when turned on; both clear the PC speaker.
        {{mnuoptsoundpc, mnuoptsoundlow}, mnuoptsoundhi, {mnuoptsoundhi}},
        {{mnuoptsoundpc, mnuoptsoundhi}, mnuoptsoundlow, {mnuoptsoundlow}},
        {{mnuoptsoundpc, mnuoptsoundhi, mnuoptsoundlow}, mnuoptsoundhi, {mnuoptsoundlow}},
        {{mnuoptsoundpc, mnuoptsoundlow}, mnuoptsoundlow, {}},
    };
    // Alone, every command only toggles its own mark; with others set, some touch nothing else.
    const Marks others = {mnuoptjoyrev, mnuoptsoundpc, mnuoptsoundhi};
    for (int i = 0; i < markCount; ++i) {
        rows.push_back({{}, M(i), {M(i)}});
        rows.push_back({{M(i)}, M(i), {}});
    }
    for (M item : {mnuoptcontroldrive, mnuoptsounddiag, mnuoptsoundquiet, mnupcheck}) {
        Marks after = others;
        after.insert(std::upper_bound(after.begin(), after.end(), item), item);
        rows.push_back({others, item, after});
    }
    Launcher launcher;
    Holders& h = launcher.holders();
    for (bool fromMenu : {true, false}) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << (fromMenu ? "menu" : "code") << ", row " << i);
            const auto& [before, chosen, after] = rows[i];
            setOnly(h, before);
            ASSERT_EQ(markedItems(h), before) << "setting a mark runs no command";
            choose(launcher, chosen, fromMenu);
            EXPECT_EQ(markedItems(h), after);
        }
    }
}

TEST(OptionsMenu, DrivingControllerOnClearsTheEnableBoxesThroughTheirDialogs) {
    Launcher launcher;
    Holders& h = launcher.holders();
    Form2& paddle = launcher.form.optionDialogs().form2();
    h.setCheck(CheckBox::Form2_Check1, 1);
    ASSERT_TRUE(paddle.Text1->isEnabled());
    h.performMenuCommand(mnuoptcontroldrive);
    EXPECT_TRUE(h.mark(mnuoptcontroldrive));
    for (CheckBox box : {CheckBox::Form2_Check1, CheckBox::Form6_Check1, CheckBox::Form7_Check1})
        EXPECT_EQ(h.check(box), 0);
    EXPECT_FALSE(paddle.Text1->isEnabled() || paddle.Text2->isEnabled()) << "its reaction ran";
    // An enable box switched on clears the mark; turned off, the mark leaves the boxes alone.
    h.setCheck(CheckBox::Form6_Check1, 1);
    EXPECT_FALSE(h.mark(mnuoptcontroldrive));
    h.setMark(mnuoptcontroldrive, true);
    h.performMenuCommand(mnuoptcontroldrive);
    EXPECT_EQ(h.check(CheckBox::Form6_Check1), 1);
}

// Every holder's value by kind and index, so that whole end states compare at once.
using State = std::map<std::string, std::string>;
template <typename E> std::string key(E e) {
    return typeid(E).name() + std::to_string(static_cast<int>(e));
}
State stateOf(Holders& h) {
    State state;
    for (int i = 0; i < boxCount; ++i) {
        state[key(TextBox(i))] = h.text(TextBox(i));
        state[key(CheckBox(i))] = std::to_string(h.check(CheckBox(i)));
    }
    for (int i = 0; i < groupCount; ++i)
        state[key(OptionGroup(i))] = std::to_string(h.selected(OptionGroup(i)));
    for (int i = 0; i < markCount; ++i)
        state[key(M(i))] = std::to_string(h.mark(M(i)));
    return state;
}

TEST(ClearAll, OkResetsWhatItNamesOnTheRealHoldersAndCancelNothing) {
    // Left alone: two video boxes ("PAL" colour loss, scan lines) and the backups it does not name.
    const std::set<std::string> kept = {
        key(TextBox::Form6_Text3),      key(TextBox::Form6_Text4),
        key(CheckBox::Form2_Check2),    key(CheckBox::Form3_Check3),
        key(CheckBox::Form3_Check4),    key(CheckBox::Form3_Check5),
        key(CheckBox::Form3_Check6),    key(CheckBox::Form6_Check2),
        key(CheckBox::Form7_Check2),    key(OptionGroup::Form2_Option2),
        key(OptionGroup::Form7_Option2)};
    Marks all;
    for (int i = 0; i < markCount; ++i)
        all.push_back(M(i));
    // With "PC Spe&aker" and "&Keyboard Only" clear, their commands run twice: on, then off.
    const std::vector<std::pair<Marks, Answer>> rows = {
        {all, Answer::Ok}, {{mnuoptjoyrev, mnuoptsound15700}, Answer::Ok}, {all, Answer::Cancel}};
    for (const auto& [marks, answer] : rows) {
        SCOPED_TRACE(::testing::Message() << marks.size() << " marks, answer " << int(answer));
        Launcher launcher;
        launcher.started();
        Holders& h = launcher.holders();
        for (int i = 0; i < groupCount; ++i) // "PAL" first: it enables its colour-loss box
            h.select(OptionGroup(i), 1);
        for (int i = 0; i < boxCount; ++i) { // the last enable box switched on wins
            h.setText(TextBox(i), std::to_string(i + 1));
            h.setCheck(CheckBox(i), 1);
        }
        setOnly(h, marks);
        const State before = stateOf(h);
        const std::vector<std::string> writtenBefore = launcher.files.written;
        State expected = before;
        for (auto& [name, value] : expected) {
            const std::string cleared = name.starts_with(typeid(TextBox).name()) ? "" : "0";
            if (kept.contains(name))
                EXPECT_NE(value, cleared) << name << " must be set for the test to tell";
            else if (answer == Answer::Ok)
                value = cleared;
        }
        launcher.boxes.answers = {answer};
        launcher.find<QAction>("mnuoptclear")->trigger();
        EXPECT_EQ(launcher.boxes.shown,
                  (std::vector<ShownBox>{{"This will clear all options. Do you wish to continue?",
                                          "Clear Options", Buttons::OkCancel}}));
        EXPECT_EQ(stateOf(h), expected);
        if (answer == Answer::Ok) {
            EXPECT_EQ(launcher.files.contents["config.dat"], clearAllFileText());
            EXPECT_FALSE(h.enabled(CheckBox::Form3_Check3)) << "disabled again with \"NTSC\"";
        } else {
            EXPECT_EQ(launcher.files.written, writtenBefore);
        }
    }
}

} // namespace
} // namespace kestrin::testing
