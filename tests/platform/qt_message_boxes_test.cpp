#include "platform/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace kestrin {
namespace {

struct SeenBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::Information;
    QStringList buttons;
};

// Shows a box and, once it is on screen, records what it shows and acts on it.
Answer showAndAct(const std::string& text, const std::string& title, Buttons buttons, SeenBox& seen,
                  const std::function<void(QMessageBox&)>& act) {
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text();
        seen.buttons.sort();
        act(*box);
    });
    poll.start();
    QtMessageBoxes boxes;
    return boxes.show(text, title, buttons);
}

void click(QMessageBox& box, QMessageBox::StandardButton which) {
    QTest::mouseClick(box.button(which), Qt::LeftButton);
}

TEST(QtMessageBoxes, ShowsTitleAndTextExactlyWithoutIcon) {
    SeenBox seen;
    const Answer answer =
        showAndAct("<b>Test</b> & not complete\nline 2 ", "Checksum Information for a<b",
                   Buttons::Ok, seen, [](QMessageBox& box) { click(box, QMessageBox::Ok); });
    EXPECT_EQ(answer, Answer::Ok);
    EXPECT_EQ(seen.title, "Checksum Information for a<b");
    EXPECT_EQ(seen.text, "<b>Test</b> & not complete\nline 2 ");
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
}

TEST(QtMessageBoxes, OkCancelAnswersWhatWasChosen) {
    SeenBox seen;
    EXPECT_EQ(showAndAct("This will clear all options. Do you wish to continue?", "Clear Options",
                         Buttons::OkCancel, seen,
                         [](QMessageBox& box) { click(box, QMessageBox::Ok); }),
              Answer::Ok);
    EXPECT_EQ(seen.buttons, (QStringList{"Cancel", "OK"}));
    EXPECT_EQ(showAndAct("q", "t", Buttons::OkCancel, seen,
                         [](QMessageBox& box) { click(box, QMessageBox::Cancel); }),
              Answer::Cancel);
}

TEST(QtMessageBoxes, EscapeOrClosingAnswersCancelOnlyWhenThereIsCancel) {
    SeenBox seen;
    EXPECT_EQ(showAndAct("q", "t", Buttons::OkCancel, seen,
                         [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
              Answer::Cancel);
    EXPECT_EQ(showAndAct("q", "t", Buttons::OkCancel, seen, [](QMessageBox& box) { box.close(); }),
              Answer::Cancel);
    EXPECT_EQ(showAndAct("q", "t", Buttons::Ok, seen,
                         [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
              Answer::Ok);
}

} // namespace
} // namespace kestrin
