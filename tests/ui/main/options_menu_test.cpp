// The Options menu's check-mark commands: one toggle of their own, then their further effects,
// whether chosen from the menu (where Qt toggles the action first) or performed from code.
#include "tests/ui/main/launcher_fakes.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/option_dialogs.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

enum class Path { Menu, Direct };

class OptionsMenu : public ::testing::TestWithParam<Path> {
protected:
    Holders& holders() { return launcher.window().holders(); }

    bool marked(MenuMark item) { return holders().mark(item); }
    void setMarks(std::initializer_list<MenuMark> items) {
        for (MenuMark item : items)
            holders().setMark(item, true);
    }

    // Chooses the item the way the test's path does.
    void choose(MenuMark item) {
        if (GetParam() == Path::Menu)
            launcher.window().menuItem(item)->trigger();
        else
            holders().performMenuCommand(item);
    }

    std::vector<MenuMark> markedItems() {
        std::vector<MenuMark> result;
        for (int i = 0; i <= static_cast<int>(MenuMark::mnupcheck); ++i)
            if (marked(static_cast<MenuMark>(i)))
                result.push_back(static_cast<MenuMark>(i));
        return result;
    }

    Launcher launcher;
};

using M = MenuMark;
using Marks = std::vector<MenuMark>;

TEST_P(OptionsMenu, EachItemTogglesItsOwnMarkExactlyOnce) {
    for (M item : {M::mnuoptjoykbd, M::mnuoptjoyrev, M::mnuoptcontroldrive, M::mnuoptsoundpc,
                   M::mnuoptsounddiag, M::mnuoptsound15700, M::mnuoptsoundhi, M::mnuoptsoundlow,
                   M::mnuoptsoundquiet, M::mnupcheck}) {
        SCOPED_TRACE(static_cast<int>(item));
        choose(item);
        EXPECT_TRUE(marked(item));
        choose(item);
        EXPECT_FALSE(marked(item));
    }
}

TEST_P(OptionsMenu, JoystickItemsExcludeEachOther) {
    setMarks({M::mnuoptjoykbd});
    choose(M::mnuoptjoykbd);
    EXPECT_EQ(markedItems(), Marks{}) << "choosing the checked one leaves both clear";

    setMarks({M::mnuoptjoykbd});
    choose(M::mnuoptjoyrev);
    EXPECT_EQ(markedItems(), Marks{M::mnuoptjoyrev});
    choose(M::mnuoptjoykbd);
    EXPECT_EQ(markedItems(), Marks{M::mnuoptjoykbd});
}

TEST_P(OptionsMenu, PcSpeakerClearsTheOtherSoundItemsButNotQuiet) {
    setMarks({M::mnuoptsoundpc, M::mnuoptsounddiag, M::mnuoptsound15700, M::mnuoptsoundhi,
              M::mnuoptsoundlow, M::mnuoptsoundquiet});
    choose(M::mnuoptsoundpc);
    EXPECT_EQ(markedItems(), Marks{M::mnuoptsoundquiet});

    setMarks({M::mnuoptsounddiag, M::mnuoptsoundlow});
    choose(M::mnuoptsoundpc);
    EXPECT_EQ(markedItems(), (Marks{M::mnuoptsoundpc, M::mnuoptsoundquiet}));
}

TEST_P(OptionsMenu, DiagnosticsMayJoinPcSpeakerUntilPcSpeakerIsChosenAgain) {
    setMarks({M::mnuoptsoundpc});
    choose(M::mnuoptsounddiag);
    EXPECT_EQ(markedItems(), (Marks{M::mnuoptsoundpc, M::mnuoptsounddiag}));
    choose(M::mnuoptsoundpc);
    EXPECT_EQ(markedItems(), Marks{});
}

TEST_P(OptionsMenu, HandEditedPcSpeakerWithSampleRateClearsBothOnSampleRate) {
    // A restored file can hold a pair the commands never produce; it lasts until a command.
    setMarks({M::mnuoptsoundpc, M::mnuoptsound15700});
    EXPECT_EQ(markedItems(), (Marks{M::mnuoptsoundpc, M::mnuoptsound15700}));
    choose(M::mnuoptsound15700);
    EXPECT_EQ(markedItems(), Marks{});
}

TEST_P(OptionsMenu, DspLevelsExcludeEachOtherOnlyWhenTurnedOn) {
    setMarks({M::mnuoptsoundlow, M::mnuoptsoundpc});
    choose(M::mnuoptsoundhi);
    EXPECT_EQ(markedItems(), Marks{M::mnuoptsoundhi});

    // Turning one off leaves the other, but still clears the PC speaker.
    setMarks({M::mnuoptsoundlow, M::mnuoptsoundpc});
    choose(M::mnuoptsoundhi);
    EXPECT_EQ(markedItems(), Marks{M::mnuoptsoundlow});

    setMarks({M::mnuoptsoundpc});
    choose(M::mnuoptsoundlow);
    EXPECT_EQ(markedItems(), Marks{});
}

TEST_P(OptionsMenu, QuietChecksumAndDiagnosticsTouchNothingElse) {
    setMarks({M::mnuoptjoyrev, M::mnuoptsoundpc, M::mnuoptsoundhi, M::mnuoptcontroldrive});
    const Marks before = markedItems();
    for (M item : {M::mnuoptsoundquiet, M::mnupcheck, M::mnuoptsounddiag}) {
        choose(item);
        choose(item);
    }
    EXPECT_EQ(markedItems(), before);
}

TEST_P(OptionsMenu, DrivingControllerOnClearsTheEnableBoxesThroughTheirDialogs) {
    OptionDialogs& dialogs = launcher.window().optionDialogs();
    holders().setCheck(CheckBox::Form2_Check1, 1);
    ASSERT_TRUE(dialogs.form2().Text1->isEnabled());

    choose(M::mnuoptcontroldrive);
    EXPECT_TRUE(marked(M::mnuoptcontroldrive));
    EXPECT_EQ(holders().check(CheckBox::Form2_Check1), 0);
    EXPECT_EQ(holders().check(CheckBox::Form6_Check1), 0);
    EXPECT_EQ(holders().check(CheckBox::Form7_Check1), 0);
    // The paddle dialog's own reaction ran for its box becoming clear.
    EXPECT_FALSE(dialogs.form2().Text1->isEnabled());
    EXPECT_FALSE(dialogs.form2().Text2->isEnabled());
}

TEST_P(OptionsMenu, DrivingControllerOffLeavesTheEnableBoxes) {
    choose(M::mnuoptcontroldrive);
    // Checking an enable box clears the mark; set the mark again by hand to get both.
    holders().setCheck(CheckBox::Form6_Check1, 1);
    EXPECT_FALSE(marked(M::mnuoptcontroldrive)) << "an enable box switched on clears the mark";
    holders().setMark(M::mnuoptcontroldrive, true);

    choose(M::mnuoptcontroldrive);
    EXPECT_FALSE(marked(M::mnuoptcontroldrive));
    EXPECT_EQ(holders().check(CheckBox::Form6_Check1), 1);
}

INSTANTIATE_TEST_SUITE_P(ChosenFrom, OptionsMenu, ::testing::Values(Path::Menu, Path::Direct),
                         [](const ::testing::TestParamInfo<Path>& info) {
                             return info.param == Path::Menu ? std::string("Menu")
                                                             : std::string("Code");
                         });

TEST(OptionsMenuMarks, SettingAMarkFromCodeRunsNoCommand) {
    Launcher launcher;
    Holders& holders = launcher.window().holders();
    holders.setMark(M::mnuoptsounddiag, true);
    holders.setMark(M::mnuoptjoyrev, true);
    holders.setMark(M::mnuoptsoundpc, true);
    holders.setMark(M::mnuoptjoykbd, true);
    EXPECT_TRUE(holders.mark(M::mnuoptsounddiag));
    EXPECT_TRUE(holders.mark(M::mnuoptjoyrev));
    EXPECT_TRUE(holders.mark(M::mnuoptsoundpc));
    EXPECT_TRUE(holders.mark(M::mnuoptjoykbd));
}

} // namespace
} // namespace kestrin::testing
