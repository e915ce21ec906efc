// Form6, the lightgun settings dialog: enable box and the cycle and scan-line adjustments.
#pragma once

#include "ui/dialogs/option_dialog.h"

#include <functional>
#include <string>

namespace kestrin {

class Form6 : public OptionDialog {
    Q_OBJECT
public:
    // `clearOtherControllers` clears "Enable Paddle", "Enable Keyboard Emulation" and the
    // "&Driving Controller" mark, in that order; it runs when "Enable Lightgun" is switched on.
    Form6(MessageBoxes& boxes, std::function<void()> clearOtherControllers);

    // What the controls held at the latest opening; Cancel puts it back.
    struct Backups {
        std::string Text3; // of Text1
        std::string Text4; // of Text2
        int Check2 = 0;    // of Check1
    };

    void Form6_Form_Activate();
    void Form6_Check1_Click();
    void Form6_Command1_Click();
    void Form6_mnufilesetlight_Click();
    void Form6_mnufilecancel_Click();
    void Form6_Form_Unload(bool& cancel);

    QGroupBox* Frame1;
    QCheckBox* Check1; // "Enable Lightgun"
    QLineEdit* Text2;  // cycle adjustment
    QLineEdit* Text1;  // scan-line adjustment
    QPushButton* Command1;
    QAction* mnufilesetlight;
    QAction* mnufilecancel;
    Backups backups;

protected:
    void formActivate() override { Form6_Form_Activate(); }
    void formSet() override { Form6_Command1_Click(); }
    void formCancel() override { Form6_mnufilecancel_Click(); }
    void formUnload(bool& cancel) override { Form6_Form_Unload(cancel); }

private:
    void Form6_Form_Load();
    bool acceptAdjustment(QLineEdit* box);

    std::function<void()> clearOtherControllers_;
};

} // namespace kestrin
