#include "ui/dialogs/form3.h"

#include "core/numbers.h"

#include <QMenu>

namespace kestrin {

Form3::Form3(MessageBoxes& boxes)
    : OptionDialog(boxes, QStringLiteral("Form3"), QStringLiteral("Video "), QSize(312, 206)) {
    Form3_Form_Load();
}

void Form3::Form3_Form_Load() {
    Frame2 = addFrame(clientArea(), QStringLiteral("Frame2"), QStringLiteral("Video Options"),
                      QRect(6, 4, 300, 196));
    QLabel* Label2 = addLabel(Frame2, QStringLiteral("Label2"), QStringLiteral(" (1-14)"),
                              QRect(104, 22, 70, 18));
    QLabel* Label1 = addLabel(Frame2, QStringLiteral("Label1"), QStringLiteral("Video Mode"),
                              QRect(16, 42, 86, 24));
    Text1 = addTextBox(Frame2, QStringLiteral("Text1"), QRect(104, 42, 52, 24), Label1);
    describe(Text1, {Label2});
    Check1 = addCheckBox(Frame2, QStringLiteral("Check1"), QStringLiteral("Black && White Mode"),
                         QRect(16, 76, 156, 22));
    addOptionButton(Frame2, Option1, QStringLiteral("Option1_0"), QStringLiteral("NTSC"),
                    QRect(16, 102, 74, 22));
    addOptionButton(Frame2, Option1, QStringLiteral("Option1_1"), QStringLiteral("PAL"),
                    QRect(96, 102, 74, 22));
    Check3 = addCheckBox(Frame2, QStringLiteral("Check3"),
                         QStringLiteral("Simulate Pal Color Loss"), QRect(16, 128, 220, 22));
    Check5 = addCheckBox(Frame2, QStringLiteral("Check5"),
                         QStringLiteral("Display Number of Scan Lines"), QRect(16, 154, 240, 22));
    Command1 = addButton(Frame2, QStringLiteral("Command1"), QStringLiteral("&Set Video Options"),
                         QRect(172, 78, 126, 46));

    QMenu* file = addFileMenu();
    mnufilevid =
        addMenuItem(file, QStringLiteral("mnufilevid"), QStringLiteral("&Set Video Options"));
    mnufilecan = addMenuItem(file, QStringLiteral("mnufilecan"), QStringLiteral("&Cancel"));

    connect(&Option1, &OptionButtons::memberSelected, this,
            [this](int index) { Form3_Option1_Click(index); });
    connect(Command1, &QPushButton::clicked, this, [this] { Form3_Command1_Click(); });
    connect(mnufilevid, &QAction::triggered, this, [this] { Form3_mnufilevid_Click(); });
    connect(mnufilecan, &QAction::triggered, this, [this] { Form3_mnufilecan_Click(); });

    finishBuilding();
}

void Form3::Form3_Form_Activate() {
    backups.Text2 = textOf(Text1);
    backups.Check2 = checkValue(Check1);
    backups.Option2 = Option1.selected();
    backups.Check4 = checkValue(Check3);
    backups.Check6 = checkValue(Check5);
}

// The PAL rule: colour loss can be chosen only while PAL is selected; its mark is kept.
void Form3::Form3_Option1_Click(int /*index*/) {
    Check3->setEnabled(Option1.selected() == 1);
}

void Form3::Form3_Command1_Click() {
    const std::string mode = textOf(Text1);
    if (!mode.empty()) {
        const double v = leadingNumberValue(mode);
        if (!(v > 0 && v < 15)) {
            reportInputError("Please enter a value between 1 and 14 for Video Mode", "Input Error");
            return;
        }
    }
    hide();
}

void Form3::Form3_mnufilevid_Click() {
    Form3_Command1_Click();
}

void Form3::Form3_mnufilecan_Click() {
    setTextOf(Text1, backups.Text2);
    setCheckValue(Check1, backups.Check2);
    Option1.setMember(0, backups.Option2 == 0);
    Option1.setMember(1, backups.Option2 == 1);
    setCheckValue(Check3, backups.Check4);
    setCheckValue(Check5, backups.Check6);
    hide();
}

void Form3::Form3_Form_Unload(bool& cancel) {
    cancel = true;
    Form3_mnufilecan_Click();
}

} // namespace kestrin
