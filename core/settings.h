// The launcher's settings, read from their holders in one pass.
#pragma once

#include "core/holders.h"

#include <string>

namespace kestrin {

// Every setting as its holder showed it at one moment. Menu marks are bools, check boxes 0 or 1
// (only 1 counts as set), option groups a member index or `noneSelected`, and text boxes their
// text exactly as typed. The snapshot is taken afresh each time it is needed; it is never kept.
struct SettingsSnapshot {
    bool keyboardOnly = false;         // mnuoptjoykbd; together with reversed, the joystick mode
    bool reversed = false;             // mnuoptjoyrev
    int paddleEnabled = 0;             // Form2 Check1
    std::string paddleSpeed;           // Form2 Text1
    std::string paddleNumber;          // Form2 Text2
    int paddleMethod = noneSelected;   // Form2 Option1: 0 keyboard, 1 mouse
    int lightgunEnabled = 0;           // Form6 Check1
    std::string lightgunCycles;        // Form6 Text2
    std::string lightgunScanlines;     // Form6 Text1
    std::string videoMode;             // Form3 Text1
    int blackAndWhite = 0;             // Form3 Check1
    int tvStandard = noneSelected;     // Form3 Option1: 0 NTSC, 1 PAL
    int palColorLoss = 0;              // Form3 Check3
    bool palColorLossEnabled = false;  // whether Form3 Check3 is enabled
    int showScanlineCount = 0;         // Form3 Check5
    std::string speedAdjustment;       // Form4 Text1
    int performanceTest = 0;           // Form4 Check1
    std::string performanceFrames;     // Form4 Text2
    bool pcSpeaker = false;            // mnuoptsoundpc
    bool soundDiagnostics = false;     // mnuoptsounddiag
    bool forceSampleRate15700 = false; // mnuoptsound15700
    bool dspHigh = false;              // mnuoptsoundhi; together with dspLow, the DSP setting
    bool dspLow = false;               // mnuoptsoundlow
    bool quietSound = false;           // mnuoptsoundquiet
    bool printChecksum = false;        // mnupcheck
    int keyboardEmulationEnabled = 0;  // Form7 Check1
    int keyboardEmulationSide = noneSelected; // Form7 Option1: 0 left, 1 right, 2 both
    bool drivingController = false;           // mnuoptcontroldrive
};

// Reads every holder once, in the order in which the settings file stores them.
SettingsSnapshot readSettings(const Holders& holders);

} // namespace kestrin
