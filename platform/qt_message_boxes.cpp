#include "platform/qt_message_boxes.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QString>

namespace kestrin {

namespace {

// A message box is only as wide as its text, so a window manager would cut a longer title
// ("Checksum Information for ..." and the game's name). A spacer across the box's grid keeps
// it wide enough for the whole title and the frame's buttons.
void keepTitleVisible(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int frameButtons = 120;
    const int width = QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) + frameButtons;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

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
    // Captions only: some styles decorate standard buttons with icons.
    ok->setIcon(QIcon());
    if (cancel)
        cancel->setIcon(QIcon());
    keepTitleVisible(box);
    box.exec();

    if (cancel && box.clickedButton() != ok)
        return Answer::Cancel;
    return Answer::Ok;
}

} // namespace kestrin
