#include "ui/dialogs/form2.h"

#include "core/numbers.h"

#include <QMenu>

namespace kestrin {

Form2::Form2(MessageBoxes& boxes, std::function<void()> clearOtherControllers)
    : OptionDialog(boxes, QStringLiteral("Form2"), QStringLiteral("Paddle "), QSize(310, 256)),
      clearOtherControllers_(std::move(clearOtherControllers)) {
    Form2_Form_Load();
}

void Form2::Form2_Form_Load() {
    QWidget* client = clientArea();
    Frame1 = addFrame(client, QStringLiteral("Frame1"), QStringLiteral("Paddle Setup"),
                      QRect(6, 4, 298, 246));
    Check1 = addCheckBox(Frame1, QStringLiteral("Check1"), QStringLiteral("Enable Paddle"),
                         QRect(16, 26, 160, 22));
    addLabel(Frame1, QStringLiteral("Label4"), QStringLiteral("(Method of Emulation)"),
             QRect(16, 60, 200, 18));
    addOptionButton(Frame1, Option1, QStringLiteral("Option1_0"), QStringLiteral("Keyboard"),
                    QRect(28, 80, 140, 22));
    addOptionButton(Frame1, Option1, QStringLiteral("Option1_1"), QStringLiteral("Mouse"),
                    QRect(28, 104, 140, 22));
    QLabel* Label2_0 = addLabel(Frame1, QStringLiteral("Label2_0"), QStringLiteral(" (1-15)"),
                                QRect(112, 136, 70, 18));
    QLabel* Label1 = addLabel(Frame1, QStringLiteral("Label1"), QStringLiteral("Paddle Speed"),
                              QRect(16, 156, 94, 24));
    Text1 = addTextBox(Frame1, QStringLiteral("Text1"), QRect(112, 156, 52, 24), Label1);
    describe(Text1, {Label2_0});
    QLabel* Label2_1 = addLabel(Frame1, QStringLiteral("Label2_1"), QStringLiteral("  (0-3)"),
                                QRect(112, 186, 70, 18));
    QLabel* Label3 = addLabel(Frame1, QStringLiteral("Label3"), QStringLiteral("Which Paddle"),
                              QRect(16, 206, 94, 24));
    Text2 = addTextBox(Frame1, QStringLiteral("Text2"), QRect(112, 206, 52, 24), Label3);
    describe(Text2, {Label2_1});
    Command1 = addButton(Frame1, QStringLiteral("Command1"), QStringLiteral("&Set Paddle"),
                         QRect(180, 154, 104, 28));

    Text1->setEnabled(false);
    Text2->setEnabled(false);

    QMenu* file = addFileMenu();
    mnufilesetpaddle =
        addMenuItem(file, QStringLiteral("mnufilesetpaddle"), QStringLiteral("&Set Paddle"));
    mnufilecancel = addMenuItem(file, QStringLiteral("mnufilecancel"), QStringLiteral("&Cancel"));

    connect(Check1, &QCheckBox::toggled, this, [this] { Form2_Check1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Form2_Command1_Click(); });
    connect(mnufilesetpaddle, &QAction::triggered, this,
            [this] { Form2_mnufilesetpaddle_Click(); });
    connect(mnufilecancel, &QAction::triggered, this, [this] { Form2_mnufilecancel_Click(); });

    finishBuilding();
}

void Form2::Form2_Form_Activate() {
    backups.Text3 = textOf(Text1);
    backups.Text4 = textOf(Text2);
    backups.Check2 = checkValue(Check1);
    backups.Option2 = Option1.selected();
}

void Form2::Form2_Check1_Click() {
    if (Check1->isChecked()) {
        Text1->setEnabled(true);
        Text2->setEnabled(true);
        clearOtherControllers_();
    } else {
        Text1->setEnabled(false);
        Text2->setEnabled(false);
    }
}

void Form2::Form2_Command1_Click() {
    // Both checks always run, so one press can report both fields; disabled boxes are checked too.
    bool accepted = true;
    const std::string speed = textOf(Text1);
    if (!speed.empty()) {
        const double v = leadingNumberValue(speed);
        if (!(v > 0 && v < 16)) {
            reportInputError("Please enter a value between 1 and 15 for Paddle Speed",
                             "Input Error");
            accepted = false;
        }
    }
    const std::string number = textOf(Text2);
    if (!number.empty()) {
        const double v = leadingNumberValue(number);
        if (!(v >= 0 && v <= 3)) {
            reportInputError("Please enter a value between 0 and 3 for Paddle Number",
                             "Input Error");
            accepted = false;
        }
    }
    if (accepted)
        hide();
}

void Form2::Form2_mnufilesetpaddle_Click() {
    Form2_Command1_Click();
}

void Form2::Form2_mnufilecancel_Click() {
    setTextOf(Text2, backups.Text4);
    setTextOf(Text1, backups.Text3);
    setCheckValue(Check1, backups.Check2);
    Option1.setMember(0, backups.Option2 == 0);
    Option1.setMember(1, backups.Option2 == 1);
    hide();
}

void Form2::Form2_Form_Unload(bool& cancel) {
    cancel = true;
    Form2_mnufilecancel_Click();
}

} // namespace kestrin
