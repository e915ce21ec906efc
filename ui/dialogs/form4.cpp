#include "ui/dialogs/form4.h"

#include "core/numbers.h"

#include <QMenu>

namespace kestrin {

Form4::Form4(MessageBoxes& boxes)
    : OptionDialog(boxes, QStringLiteral("Form4"), QStringLiteral("Performance"), QSize(328, 199)) {
    Form4_Form_Load();
}

void Form4::Form4_Form_Load() {
    Frame1 = addFrame(clientArea(), QStringLiteral("Frame1"), QStringLiteral("Performance Options"),
                      QRect(6, 4, 316, 189));
    QLabel* Label3 = addLabel(Frame1, QStringLiteral("Label3"), QStringLiteral("(1-254)"),
                              QRect(148, 22, 80, 18));
    QLabel* Label1 = addLabel(Frame1, QStringLiteral("Label1"), QStringLiteral("Speed Adjustment"),
                              QRect(16, 42, 128, 24));
    Text1 = addTextBox(Frame1, QStringLiteral("Text1"), QRect(148, 42, 56, 24), Label1);
    QLabel* Label4 = addLabel(Frame1, QStringLiteral("Label4"), QStringLiteral("(60 is Normal)"),
                              QRect(148, 68, 110, 18));
    describe(Text1, {Label3, Label4});
    Check1 = addCheckBox(Frame1, QStringLiteral("Check1"), QStringLiteral("Performance Test"),
                         QRect(16, 104, 160, 22));
    QLabel* Label2 = addLabel(Frame1, QStringLiteral("Label2"),
                              QStringLiteral("Numbers or Frames "), QRect(16, 144, 132, 24));
    Text2 = addTextBox(Frame1, QStringLiteral("Text2"), QRect(148, 144, 56, 24), Label2);
    Command1 = addButton(Frame1, QStringLiteral("Command1"), QStringLiteral("&Set Performance"),
                         QRect(186, 96, 120, 32));

    Text2->setEnabled(false);

    QMenu* file = addFileMenu();
    mnufileperf = addMenuItem(file, QStringLiteral("mnufileperf"),
                              QStringLiteral("&Set Performance Options"));
    mnufilecancel = addMenuItem(file, QStringLiteral("mnufilecancel"), QStringLiteral("&Cancel"));

    connect(Check1, &QCheckBox::toggled, this, [this] { Form4_Check1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Form4_Command1_Click(); });
    connect(mnufileperf, &QAction::triggered, this, [this] { Form4_mnufileperf_Click(); });
    connect(mnufilecancel, &QAction::triggered, this, [this] { Form4_mnufilecancel_Click(); });

    finishBuilding();
}

void Form4::Form4_Form_Activate() {
    backups.Text3 = textOf(Text1);
    backups.Text4 = textOf(Text2);
    backups.Check2 = checkValue(Check1);
}

void Form4::Form4_Check1_Click() {
    Text2->setEnabled(Check1->isChecked());
}

void Form4::Form4_Command1_Click() {
    bool accepted = true;
    const std::string speed = textOf(Text1);
    if (!speed.empty()) {
        const double v = leadingNumberValue(speed);
        if (!(v > 0 && v < 255)) {
            reportInputError("Please enter a value between 1 and 254 for Speed Setting",
                             "Input Error");
            accepted = false;
        }
    }
    // The frame count matters only while the test is on; then an empty count (0) fails too.
    if (Check1->isChecked() && !(leadingNumberValue(textOf(Text2)) > 0)) {
        reportInputError("Please enter a value > 0 for Performance Test", "Input Error");
        accepted = false;
    }
    if (accepted)
        hide();
}

void Form4::Form4_mnufileperf_Click() {
    Form4_Command1_Click();
}

void Form4::Form4_mnufilecancel_Click() {
    setTextOf(Text1, backups.Text3);
    setTextOf(Text2, backups.Text4);
    setCheckValue(Check1, backups.Check2);
    hide();
}

void Form4::Form4_Form_Unload(bool& cancel) {
    cancel = true;
    Form4_mnufilecancel_Click();
}

} // namespace kestrin
