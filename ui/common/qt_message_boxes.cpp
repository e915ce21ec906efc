#include "ui/common/qt_message_boxes.h"

#include "ui/common/desktop_window.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <QString>

#include <algorithm>

namespace kestrin {

namespace {

// A message box is only as wide as its text, so a frame would cut a longer title ("Checksum
// Information for ..." and the game's name), or even a short one ("Select a Game"). A spacer
// across the box's grid keeps it wide enough for the whole title in either frame: a window
// manager's, in the desktop's font beside its buttons; or the one Qt draws itself where the
// compositor leaves the frame to the program (Wayland without server-side frames), which
// centres the title in a 14-pixel font between its icon and three buttons.
void keepTitleVisible(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const QString title = box.windowTitle();
    QFont ownFrameFont = box.font();
    ownFrameFont.setPixelSize(14);
    const int windowManager = QFontMetrics(box.font()).horizontalAdvance(title) + 120;
    const int ownFrame = QFontMetrics(ownFrameFont).horizontalAdvance(title) + 160;
    grid->addItem(new QSpacerItem(std::max(windowManager, ownFrame), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// The box keeps a column left of its text for an icon; without an icon it only pushes the text
// off centre. The text takes the whole width instead, centred line by line, with the buttons
// centred below it.
void centreText(QMessageBox& box) {
    if (auto* buttons = box.findChild<QDialogButtonBox*>())
        buttons->setCenterButtons(true);
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!grid || !text || grid->indexOf(text) < 0)
        return;
    for (int i = grid->count() - 1; i >= 0; --i) {
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(i, &row, &column, &rows, &columns);
        if (row == 0 && grid->itemAt(i)->spacerItem() != nullptr)
            delete grid->takeAt(i);
    }
    grid->removeWidget(text);
    grid->addWidget(text, 0, 0, 1, grid->columnCount());
    text->setAlignment(Qt::AlignCenter);
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
    centreText(box);
    // OK shows its focus frame from the start: the user sees which button Enter answers.
    markFocusWhenShown(&box);
    box.exec();

    if (cancel && box.clickedButton() != ok)
        return Answer::Cancel;
    return Answer::Ok;
}

} // namespace kestrin
