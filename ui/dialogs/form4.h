// Form4, the performance options dialog: speed adjustment and the performance test with its
// frame count.
#pragma once

#include "ui/dialogs/option_dialog.h"

#include <string>

namespace kestrin {

class Form4 : public OptionDialog {
    Q_OBJECT
public:
    explicit Form4(MessageBoxes& boxes);

    // What the controls held at the latest opening; Cancel puts it back.
    struct Backups {
        std::string Text3; // of Text1
        std::string Text4; // of Text2
        int Check2 = 0;    // of Check1
    };

    void Form4_Form_Activate();
    void Form4_Check1_Click();
    void Form4_Command1_Click();
    void Form4_mnufileperf_Click();
    void Form4_mnufilecancel_Click();
    void Form4_Form_Unload(bool& cancel);

    QGroupBox* Frame1;
    QLineEdit* Text1;  // speed adjustment
    QCheckBox* Check1; // "Performance Test"
    QLineEdit* Text2;  // number of frames
    QPushButton* Command1;
    QAction* mnufileperf;
    QAction* mnufilecancel;
    Backups backups;

protected:
    void formActivate() override { Form4_Form_Activate(); }
    void formSet() override { Form4_Command1_Click(); }
    void formCancel() override { Form4_mnufilecancel_Click(); }
    void formUnload(bool& cancel) override { Form4_Form_Unload(cancel); }

private:
    void Form4_Form_Load();
};

} // namespace kestrin
