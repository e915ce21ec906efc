#include "platform/qt_message_boxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

namespace kestrin {

Answer QtMessageBoxes::show(const std::string& text, const std::string& title, Buttons buttons) {
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QString::fromStdString(title));
    // Plain text, so that "<", "&" and the like from files and text boxes show as they are.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    box.setWindowModality(Qt::ApplicationModal);

    // Fixed captions: the platform theme would otherwise choose them (and access keys).
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    ok->setText(QStringLiteral("OK"));
    QPushButton* cancel = nullptr;
    if (buttons == Buttons::OkCancel) {
        cancel = box.addButton(QMessageBox::Cancel);
        cancel->setText(QStringLiteral("Cancel"));
        box.setEscapeButton(cancel);
    } else {
        box.setEscapeButton(ok);
    }
    box.setDefaultButton(ok);
    box.exec();

    if (cancel && box.clickedButton() != ok)
        return Answer::Cancel;
    return Answer::Ok;
}

} // namespace kestrin
