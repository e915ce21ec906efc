// Form7, the keyboard emulation dialog: enable box and the side of the keyboard.
#pragma once

#include "ui/dialogs/option_dialog.h"

#include <functional>

namespace kestrin {

class Form7 : public OptionDialog {
    Q_OBJECT
public:
    // `clearOtherControllers` clears "Enable Paddle", "Enable Lightgun" and the
    // "&Driving Controller" mark, in that order; it runs when the emulation is switched on.
    Form7(MessageBoxes& boxes, std::function<void()> clearOtherControllers);

    // What the controls held at the latest opening; Cancel puts it back.
    struct Backups {
        int Check2 = 0;             // of Check1
        int Option2 = noneSelected; // of Option1
    };

    void Form7_Form_Activate();
    void Form7_Check1_Click();
    void Form7_Command1_Click();
    void Form7_mnufilesetkbd_Click();
    void Form7_mnufilecancel_Click();
    void Form7_Form_Unload(bool& cancel);

    QGroupBox* Frame1;
    QCheckBox* Check1;     // "Enable Keyboard Emulation"
    OptionButtons Option1; // 0 "Left ", 1 "Right", 2 "Both"
    QPushButton* Command1;
    QAction* mnufilesetkbd;
    QAction* mnufilecancel;
    Backups backups;

protected:
    void formActivate() override { Form7_Form_Activate(); }
    void formSet() override { Form7_Command1_Click(); }
    void formCancel() override { Form7_mnufilecancel_Click(); }
    void formUnload(bool& cancel) override { Form7_Form_Unload(cancel); }

private:
    void Form7_Form_Load();

    std::function<void()> clearOtherControllers_;
};

} // namespace kestrin
