// The real message box, offscreen: what it shows, where its text stands, what each key and
// button answers.
#include "tests/support/while_modal.h"
#include "ui/common/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>

namespace kestrin {
namespace {

TEST(QtMessageBoxes, ShowTheTextCentredWithoutIconAndAnswerWhatWasChosen) {
    // What is done in the box: a key pressed, a button clicked, or 0: its close box.
    const std::tuple<Buttons, int, Answer> cases[] = {
        {Buttons::Ok, Qt::Key_Return, Answer::Ok},
        {Buttons::Ok, Qt::Key_Escape, Answer::Ok},
        {Buttons::OkCancel, Qt::Key_Return, Answer::Ok},
        {Buttons::OkCancel, Qt::Key_Enter, Answer::Ok},
        {Buttons::OkCancel, Qt::Key_Escape, Answer::Cancel},
        {Buttons::OkCancel, QMessageBox::Ok, Answer::Ok},
        {Buttons::OkCancel, QMessageBox::Cancel, Answer::Cancel},
        {Buttons::OkCancel, 0, Answer::Cancel}};
    const QString text = "<b>Checksum</b> & more\nline 2 ";
    for (const auto& [buttons, act, expected] : cases) {
        const QString title = buttons == Buttons::Ok
                                  ? "Select a Game"
                                  : "Checksum Information for <b>The Longest Night Patrol</b> & Co";
        QStringList seen; // what the box shows, before it is acted on
        const auto inside = [&](QWidget* modal) {
            auto& box = *qobject_cast<QMessageBox*>(modal);
            for (const QAbstractButton* button : box.buttons())
                seen << button->text();
            seen << box.windowTitle();
            EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
            // The title bar shows the whole title beside the window manager's buttons.
            EXPECT_GE(box.width(), box.fontMetrics().horizontalAdvance(title) + 100);
            QFont ownFrame = box.font(); // the frame Qt draws itself, beside its icon and buttons
            ownFrame.setPixelSize(14);
            EXPECT_GE(box.width(), QFontMetrics(ownFrame).horizontalAdvance(title) + 160);
            // The text drawn as it is, each line centred in the box.
            const QLabel& label = *box.findChild<QLabel*>("qt_msgbox_label");
            seen << label.text();
            const QRect lines =
                QStyle::alignedRect(Qt::LeftToRight, label.alignment(),
                                    label.fontMetrics().size(0, text), label.contentsRect());
            EXPECT_EQ(label.textFormat(), Qt::PlainText);
            EXPECT_NEAR(lines.translated(label.pos()).center().x(), box.rect().center().x(), 1);
            if (QAbstractButton* button = box.button(QMessageBox::StandardButton(act)))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                act == 0 ? void(box.close())
                         : QTest::keyClick(QApplication::focusWidget(), Qt::Key(act));
            EXPECT_FALSE(box.isVisible());
        };
        Answer answer{};
        const std::string shownText = text.toStdString(), shownTitle = title.toStdString();
        const auto show = [&] { answer = QtMessageBoxes().show(shownText, shownTitle, buttons); };
        EXPECT_EQ(testing::whileModal(show, inside), 1);
        EXPECT_EQ(answer, expected) << act;
        const QStringList ok{"OK", title, text}, okCancel{"OK", "Cancel", title, text};
        EXPECT_EQ(seen, buttons == Buttons::Ok ? ok : okCancel);
    }
}

} // namespace
} // namespace kestrin
