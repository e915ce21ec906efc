#include "core/settings.h"

namespace kestrin {

SettingsSnapshot readSettings(const Holders& holders) {
    SettingsSnapshot s;
    s.keyboardOnly = holders.mark(MenuMark::mnuoptjoykbd);
    s.reversed = holders.mark(MenuMark::mnuoptjoyrev);
    s.paddleEnabled = holders.check(CheckBox::Form2_Check1);
    s.paddleSpeed = holders.text(TextBox::Form2_Text1);
    s.paddleNumber = holders.text(TextBox::Form2_Text2);
    s.paddleMethod = holders.selected(OptionGroup::Form2_Option1);
    s.lightgunEnabled = holders.check(CheckBox::Form6_Check1);
    s.lightgunCycles = holders.text(TextBox::Form6_Text2);
    s.lightgunScanlines = holders.text(TextBox::Form6_Text1);
    s.videoMode = holders.text(TextBox::Form3_Text1);
    s.blackAndWhite = holders.check(CheckBox::Form3_Check1);
    s.tvStandard = holders.selected(OptionGroup::Form3_Option1);
    s.palColorLoss = holders.check(CheckBox::Form3_Check3);
    s.palColorLossEnabled = holders.enabled(CheckBox::Form3_Check3);
    s.showScanlineCount = holders.check(CheckBox::Form3_Check5);
    s.speedAdjustment = holders.text(TextBox::Form4_Text1);
    s.performanceTest = holders.check(CheckBox::Form4_Check1);
    s.performanceFrames = holders.text(TextBox::Form4_Text2);
    s.pcSpeaker = holders.mark(MenuMark::mnuoptsoundpc);
    s.soundDiagnostics = holders.mark(MenuMark::mnuoptsounddiag);
    s.forceSampleRate15700 = holders.mark(MenuMark::mnuoptsound15700);
    s.dspHigh = holders.mark(MenuMark::mnuoptsoundhi);
    s.dspLow = holders.mark(MenuMark::mnuoptsoundlow);
    s.quietSound = holders.mark(MenuMark::mnuoptsoundquiet);
    s.printChecksum = holders.mark(MenuMark::mnupcheck);
    s.keyboardEmulationEnabled = holders.check(CheckBox::Form7_Check1);
    s.keyboardEmulationSide = holders.selected(OptionGroup::Form7_Option1);
    s.drivingController = holders.mark(MenuMark::mnuoptcontroldrive);
    return s;
}

} // namespace kestrin
