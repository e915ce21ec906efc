#include "core/clear_all.h"

#include "core/run_game.h"
#include "core/settings_file.h"

namespace kestrin {

namespace {

void clearPaddle(Holders& h) {
    h.setText(TextBox::Form2_Text1, "");
    h.setText(TextBox::Form2_Text2, "");
    h.select(OptionGroup::Form2_Option1, 0);
    h.setText(TextBox::Form2_Text3, "");
    h.setText(TextBox::Form2_Text4, "");
    h.setCheck(CheckBox::Form2_Check1, 0);
}

// "Simulate Pal Color Loss" and "Display Number of Scan Lines" keep their state.
void clearVideo(Holders& h) {
    h.setText(TextBox::Form3_Text1, "");
    h.setText(TextBox::Form3_Text2, "");
    h.setCheck(CheckBox::Form3_Check1, 0);
    h.setCheck(CheckBox::Form3_Check2, 0);
    h.select(OptionGroup::Form3_Option1, 0);
    h.select(OptionGroup::Form3_Option2, 0);
}

void clearPerformance(Holders& h) {
    h.setText(TextBox::Form4_Text1, "");
    h.setText(TextBox::Form4_Text2, "");
    h.setText(TextBox::Form4_Text3, "");
    h.setText(TextBox::Form4_Text4, "");
    h.setCheck(CheckBox::Form4_Check1, 0);
    h.setCheck(CheckBox::Form4_Check2, 0);
}

void clearLightgun(Holders& h) {
    h.setCheck(CheckBox::Form6_Check1, 0);
    h.setText(TextBox::Form6_Text2, "");
    h.setText(TextBox::Form6_Text1, "");
}

void clearKeyboardEmulation(Holders& h) {
    h.setCheck(CheckBox::Form7_Check1, 0);
    h.select(OptionGroup::Form7_Option1, 0);
}

// The command toggles its own mark and clears its partners: performed once when the mark is
// set and twice when it is clear, it always ends with the mark and its partners clear.
void clearThroughCommand(Holders& h, MenuMark item) {
    if (!h.mark(item))
        h.performMenuCommand(item);
    h.performMenuCommand(item);
}

} // namespace

void clearAll(Holders& holders, Files& files, MessageBoxes& boxes) {
    if (boxes.show("This will clear all options. Do you wish to continue?", "Clear Options",
                   Buttons::OkCancel) != Answer::Ok)
        return;
    if (!saveOrReport(files, boxes, settingsFileName, clearAllFileText()))
        return;

    clearPaddle(holders);
    clearVideo(holders);
    clearPerformance(holders);
    clearLightgun(holders);
    clearKeyboardEmulation(holders);
    holders.setMark(MenuMark::mnuoptcontroldrive, false);
    holders.setMark(MenuMark::mnuoptsoundquiet, false);
    holders.setMark(MenuMark::mnupcheck, false);
    clearThroughCommand(holders, MenuMark::mnuoptsoundpc);
    clearThroughCommand(holders, MenuMark::mnuoptjoykbd);
}

} // namespace kestrin
