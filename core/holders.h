// The controls that hold the launcher's settings, as seen from the plain C++ layers.
//
// The settings have no storage of their own: each one lives in a menu check mark of the main
// window or in a control of an option dialog. Code outside the windows reads and writes those
// controls through this interface only. The identifiers carry the names the windows give their
// controls, so that a reader can find each one on screen.
#pragma once

#include <string>

namespace kestrin {

// Check marks of the main window's Options menu.
enum class MenuMark {
    mnuoptjoykbd,       // "&Keyboard Only"
    mnuoptjoyrev,       // "&Reverse Joystick"
    mnuoptcontroldrive, // "&Driving Controller"
    mnuoptsoundpc,      // "PC Spe&aker"
    mnuoptsounddiag,    // "Show &Diagnostics"
    mnuoptsound15700,   // "Force 15700 sample rate"
    mnuoptsoundhi,      // "&High"
    mnuoptsoundlow,     // "&Low"
    mnuoptsoundquiet,   // "&Quiet"
    mnupcheck,          // "Print Chec&ksum"
};

// Check boxes of the option dialogs; the even-numbered ones are the hidden backups.
enum class CheckBox {
    Form2_Check1, // "Enable Paddle"
    Form2_Check2, // backup of Form2_Check1
    Form3_Check1, // "Black && White Mode"
    Form3_Check2, // backup of Form3_Check1
    Form3_Check3, // "Simulate Pal Color Loss" (enabled only while "PAL" is selected)
    Form3_Check4, // backup of Form3_Check3
    Form3_Check5, // "Display Number of Scan Lines"
    Form3_Check6, // backup of Form3_Check5
    Form4_Check1, // "Performance Test"
    Form4_Check2, // backup of Form4_Check1
    Form6_Check1, // "Enable Lightgun"
    Form6_Check2, // backup of Form6_Check1
    Form7_Check1, // "Enable Keyboard Emulation"
    Form7_Check2, // backup of Form7_Check1
};

// Text boxes of the option dialogs, visible ones and their hidden backups.
enum class TextBox {
    Form2_Text1, // "Paddle Speed"
    Form2_Text2, // "Which Paddle"
    Form2_Text3, // backup of Form2_Text1
    Form2_Text4, // backup of Form2_Text2
    Form3_Text1, // "Video Mode"
    Form3_Text2, // backup of Form3_Text1
    Form4_Text1, // "Speed Adjustment"
    Form4_Text2, // "Numbers or Frames "
    Form4_Text3, // backup of Form4_Text1
    Form4_Text4, // backup of Form4_Text2
    Form6_Text1, // scan-line adjustment
    Form6_Text2, // cycle adjustment
    Form6_Text3, // backup of Form6_Text1
    Form6_Text4, // backup of Form6_Text2
};

// Option-button groups of the option dialogs, visible ones and their hidden backups.
enum class OptionGroup {
    Form2_Option1, // 0 "Keyboard", 1 "Mouse"
    Form2_Option2, // backup of Form2_Option1
    Form3_Option1, // 0 "NTSC", 1 "PAL"
    Form3_Option2, // backup of Form3_Option1
    Form7_Option1, // 0 "Left ", 1 "Right", 2 "Both"
    Form7_Option2, // backup of Form7_Option1
};

inline constexpr int noneSelected = -1;

class Holders {
public:
    virtual ~Holders() = default;

    virtual bool mark(MenuMark item) const = 0;
    // Sets or clears a check mark without running the item's command.
    virtual void setMark(MenuMark item, bool checked) = 0;
    // Runs the item's menu command once, exactly as choosing it does (its own toggle included).
    virtual void performMenuCommand(MenuMark item) = 0;

    virtual int check(CheckBox box) const = 0; // 0 or 1
    virtual bool enabled(CheckBox box) const = 0;
    // Changes the box as a click would: the owning dialog's reaction runs when the value changes.
    virtual void setCheck(CheckBox box, int value) = 0;

    virtual std::string text(TextBox box) const = 0; // UTF-8, exactly as typed
    virtual void setText(TextBox box, const std::string& text) = 0;

    virtual int selected(OptionGroup group) const = 0; // member index, or noneSelected
    // Selects a member as a click would: its partners are cleared and the group's reaction runs.
    virtual void select(OptionGroup group, int index) = 0;
};

} // namespace kestrin
