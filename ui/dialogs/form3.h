// Form3, the video options dialog: video mode, black and white, TV standard, PAL colour loss
// and the scan-line count.
#pragma once

#include "ui/dialogs/option_dialog.h"

#include <string>

namespace kestrin {

class Form3 : public OptionDialog {
    Q_OBJECT
public:
    explicit Form3(MessageBoxes& boxes);

    // What the controls held at the latest opening; Cancel puts it back.
    struct Backups {
        std::string Text2;          // of Text1
        int Check2 = 0;             // of Check1
        int Option2 = noneSelected; // of Option1
        int Check4 = 0;             // of Check3
        int Check6 = 0;             // of Check5
    };

    void Form3_Form_Activate();
    void Form3_Option1_Click(int index);
    void Form3_Command1_Click();
    void Form3_mnufilevid_Click();
    void Form3_mnufilecan_Click();
    void Form3_Form_Unload(bool& cancel);

    QGroupBox* Frame2;
    QLineEdit* Text1;      // video mode
    QCheckBox* Check1;     // "Black && White Mode"
    OptionButtons Option1; // 0 "NTSC", 1 "PAL"
    QCheckBox* Check3;     // "Simulate Pal Color Loss"
    QCheckBox* Check5;     // "Display Number of Scan Lines"
    QPushButton* Command1;
    QAction* mnufilevid;
    QAction* mnufilecan;
    Backups backups;

protected:
    void formActivate() override { Form3_Form_Activate(); }
    void formSet() override { Form3_Command1_Click(); }
    void formCancel() override { Form3_mnufilecan_Click(); }
    void formUnload(bool& cancel) override { Form3_Form_Unload(cancel); }

private:
    void Form3_Form_Load();
};

} // namespace kestrin
