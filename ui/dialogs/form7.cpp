#include "ui/dialogs/form7.h"

#include <QMenu>

namespace kestrin {

Form7::Form7(MessageBoxes& boxes, std::function<void()> clearOtherControllers)
    : OptionDialog(boxes, QStringLiteral("Form7"), QStringLiteral("Keyboard Emulation"),
                   QSize(337, 122)),
      clearOtherControllers_(std::move(clearOtherControllers)) {
    Form7_Form_Load();
}

void Form7::Form7_Form_Load() {
    Frame1 = addFrame(clientArea(), QStringLiteral("Frame1"),
                      QStringLiteral("Keyboard Emulation Settings"), QRect(6, 4, 325, 112));
    Check1 = addCheckBox(Frame1, QStringLiteral("Check1"),
                         QStringLiteral("Enable Keyboard Emulation"), QRect(14, 28, 206, 22));
    addOptionButton(Frame1, Option1, QStringLiteral("Option1_0"), QStringLiteral("Left "),
                    QRect(14, 72, 80, 22));
    addOptionButton(Frame1, Option1, QStringLiteral("Option1_1"), QStringLiteral("Right"),
                    QRect(100, 72, 80, 22));
    addOptionButton(Frame1, Option1, QStringLiteral("Option1_2"), QStringLiteral("Both"),
                    QRect(186, 72, 80, 22));
    Command1 = addButton(Frame1, QStringLiteral("Command1"), QStringLiteral("&Set Keyboard"),
                         QRect(220, 22, 100, 32));

    for (int i = 0; i < Option1.count(); ++i)
        Option1.member(i)->setEnabled(false);

    QMenu* file = addFileMenu();
    mnufilesetkbd =
        addMenuItem(file, QStringLiteral("mnufilesetkbd"), QStringLiteral("&Set Keyboard"));
    mnufilecancel = addMenuItem(file, QStringLiteral("mnufilecancel"), QStringLiteral("&Cancel"));

    connect(Check1, &QCheckBox::toggled, this, [this] { Form7_Check1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Form7_Command1_Click(); });
    connect(mnufilesetkbd, &QAction::triggered, this, [this] { Form7_mnufilesetkbd_Click(); });
    connect(mnufilecancel, &QAction::triggered, this, [this] { Form7_mnufilecancel_Click(); });

    finishBuilding();
}

void Form7::Form7_Form_Activate() {
    backups.Check2 = checkValue(Check1);
    backups.Option2 = Option1.selected();
}

void Form7::Form7_Check1_Click() {
    const bool on = Check1->isChecked();
    // The side keeps its selection while the emulation is off; it only cannot be changed.
    for (int i = 0; i < Option1.count(); ++i)
        Option1.member(i)->setEnabled(on);
    if (on)
        clearOtherControllers_();
}

// Nothing to check: the emulation may even be on with no side chosen.
void Form7::Form7_Command1_Click() {
    hide();
}

void Form7::Form7_mnufilesetkbd_Click() {
    Form7_Command1_Click();
}

void Form7::Form7_mnufilecancel_Click() {
    setCheckValue(Check1, backups.Check2);
    for (int i = 0; i < Option1.count(); ++i)
        Option1.setMember(i, backups.Option2 == i);
    hide();
}

void Form7::Form7_Form_Unload(bool& cancel) {
    cancel = true;
    Form7_mnufilecancel_Click();
}

} // namespace kestrin
