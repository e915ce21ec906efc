// Form2, the paddle setup dialog: enable box, emulation method, speed and paddle number.
#pragma once

#include "ui/dialogs/option_dialog.h"

#include <functional>
#include <string>

namespace kestrin {

class Form2 : public OptionDialog {
    Q_OBJECT
public:
    // `clearOtherControllers` clears "Enable Lightgun", "Enable Keyboard Emulation" and the
    // "&Driving Controller" mark, in that order; it runs when "Enable Paddle" is switched on.
    Form2(MessageBoxes& boxes, std::function<void()> clearOtherControllers);

    // What the controls held at the latest opening; Cancel puts it back.
    struct Backups {
        std::string Text3;          // of Text1
        std::string Text4;          // of Text2
        int Check2 = 0;             // of Check1
        int Option2 = noneSelected; // of Option1
    };

    void Form2_Form_Activate();
    void Form2_Check1_Click();
    void Form2_Command1_Click();
    void Form2_mnufilesetpaddle_Click();
    void Form2_mnufilecancel_Click();
    void Form2_Form_Unload(bool& cancel);

    QGroupBox* Frame1;
    QCheckBox* Check1;     // "Enable Paddle"
    OptionButtons Option1; // 0 "Keyboard", 1 "Mouse"
    QLineEdit* Text1;      // paddle speed
    QLineEdit* Text2;      // paddle number
    QPushButton* Command1;
    QAction* mnufilesetpaddle;
    QAction* mnufilecancel;
    Backups backups;

protected:
    void formActivate() override { Form2_Form_Activate(); }
    void formSet() override { Form2_Command1_Click(); }
    void formCancel() override { Form2_mnufilecancel_Click(); }
    void formUnload(bool& cancel) override { Form2_Form_Unload(cancel); }

private:
    void Form2_Form_Load();

    std::function<void()> clearOtherControllers_;
};

} // namespace kestrin
