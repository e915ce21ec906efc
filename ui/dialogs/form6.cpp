#include "ui/dialogs/form6.h"

#include "core/numbers.h"

#include <QMenu>

namespace kestrin {

Form6::Form6(MessageBoxes& boxes, std::function<void()> clearOtherControllers)
    : OptionDialog(boxes, QStringLiteral("Form6"), QStringLiteral("Lightgun"), QSize(366, 151)),
      clearOtherControllers_(std::move(clearOtherControllers)) {
    Form6_Form_Load();
}

void Form6::Form6_Form_Load() {
    Frame1 = addFrame(clientArea(), QStringLiteral("Frame1"), QStringLiteral("Lightgun Settings"),
                      QRect(6, 4, 256, 141));
    Check1 = addCheckBox(Frame1, QStringLiteral("Check1"), QStringLiteral("Enable Lightgun"),
                         QRect(14, 26, 170, 22));
    QLabel* Label1_2 = addLabel(Frame1, QStringLiteral("Label1_2"), QStringLiteral("Adjust by"),
                                QRect(14, 62, 122, 24));
    Text2 = addTextBox(Frame1, QStringLiteral("Text2"), QRect(136, 62, 44, 24), Label1_2);
    describe(Text2, {addLabel(Frame1, QStringLiteral("Label1_3"), QStringLiteral("Cycles"),
                              QRect(186, 62, 66, 24))});
    QLabel* Label1_0 = addLabel(Frame1, QStringLiteral("Label1_0"),
                                QStringLiteral("Adjust Lightgun by"), QRect(14, 98, 122, 24));
    Text1 = addTextBox(Frame1, QStringLiteral("Text1"), QRect(136, 98, 44, 24), Label1_0);
    describe(Text1, {addLabel(Frame1, QStringLiteral("Label1_1"), QStringLiteral("Scanlines"),
                              QRect(186, 98, 66, 24))});
    Command1 = addButton(clientArea(), QStringLiteral("Command1"), QStringLiteral("&Set Lightgun"),
                         QRect(268, 60, 92, 32));

    Text1->setEnabled(false);
    Text2->setEnabled(false);

    QMenu* file = addFileMenu();
    mnufilesetlight =
        addMenuItem(file, QStringLiteral("mnufilesetlight"), QStringLiteral("&Set Lightgun"));
    mnufilecancel = addMenuItem(file, QStringLiteral("mnufilecancel"), QStringLiteral("&Cancel"));

    connect(Check1, &QCheckBox::toggled, this, [this] { Form6_Check1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Form6_Command1_Click(); });
    connect(mnufilesetlight, &QAction::triggered, this, [this] { Form6_mnufilesetlight_Click(); });
    connect(mnufilecancel, &QAction::triggered, this, [this] { Form6_mnufilecancel_Click(); });

    finishBuilding();
}

void Form6::Form6_Form_Activate() {
    backups.Text3 = textOf(Text1);
    backups.Text4 = textOf(Text2);
    backups.Check2 = checkValue(Check1);
}

void Form6::Form6_Check1_Click() {
    if (Check1->isChecked()) {
        Text1->setEnabled(true);
        Text2->setEnabled(true);
        clearOtherControllers_();
    } else {
        Text1->setEnabled(false);
        Text2->setEnabled(false);
    }
}

// An adjustment is empty or one number. A rejected one is reported and gets the focus; a
// disabled box cannot take it, so the nearest control that can (the enable box) gets it.
bool Form6::acceptAdjustment(QLineEdit* box) {
    const std::string text = textOf(box);
    if (text.empty() || isNumeric(text, systemNumberSeparators()))
        return true;
    reportInputError("Please enter a numeric value", "Invalid Entry");
    focusNearest(box);
    return false;
}

void Form6::Form6_Command1_Click() {
    // Both run, scan lines first, so two bad texts give two messages and the focus ends on the
    // cycle box.
    const bool scanlinesAccepted = acceptAdjustment(Text1);
    const bool cyclesAccepted = acceptAdjustment(Text2);
    if (scanlinesAccepted && cyclesAccepted)
        hide();
}

void Form6::Form6_mnufilesetlight_Click() {
    Form6_Command1_Click();
}

void Form6::Form6_mnufilecancel_Click() {
    setTextOf(Text1, backups.Text3);
    setTextOf(Text2, backups.Text4);
    setCheckValue(Check1, backups.Check2);
    hide();
}

void Form6::Form6_Form_Unload(bool& cancel) {
    cancel = true;
    Form6_mnufilecancel_Click();
}

} // namespace kestrin
