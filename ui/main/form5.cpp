#include "ui/main/form5.h"

#include "ui/common/desktop_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace kestrin {

namespace {

QLabel* centredLabel(QWidget* parent, const char* name, const QString& caption,
                     const QRect& place) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

} // namespace

Form5::Form5()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("About Kestrin"));
    setFixedSize(312, 213);
    setSizeGripEnabled(false);
    setWindowModality(Qt::ApplicationModal);

    Label1 = centredLabel(this, "Label1", QStringLiteral("About Kestrin"), {0, 32, 313, 33});
    QFont title(QStringLiteral("MS Sans Serif"));
    title.setStyleHint(QFont::SansSerif);
    title.setPointSize(18);
    title.setBold(true);
    Label1->setFont(title);
    Label2 = centredLabel(this, "Label2", QStringLiteral("Version 1.1"), {0, 72, 313, 17});
    Label3 = centredLabel(this, "Label3", QStringLiteral("Author: Ovrey"), {8, 96, 313, 17});
    Label4 = centredLabel(this, "Label4", QStringLiteral("08/22/2000"), {0, 120, 313, 25});

    // Neither the default nor the cancel button: Enter and Esc are no shortcuts for it.
    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(112, 160, 89, 41);
    Command1->setAutoDefault(false);
    Command1->setDefault(false);
    connect(Command1, &QPushButton::clicked, this, [this] { Form5_Command1_Click(); });
    growWithFont(this);
    markFocusWhenShown(this);
}

void Form5::showModal() {
    Command1->setFocus();
    exec();
}

void Form5::Form5_Command1_Click() {
    hide();
}

void Form5::Form5_Form_Unload() {
    Form5_Command1_Click();
}

void Form5::closeEvent(QCloseEvent* event) {
    // The box is kept for the next opening: a close only hides it.
    event->ignore();
    Form5_Form_Unload();
}

void Form5::keyPressEvent(QKeyEvent* event) {
    // QDialog would reject on Esc; the box stays open until "&OK" or its close box.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    // Enter presses the button that has the focus, as Space does.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && Command1->hasFocus()) {
        Command1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kestrin
