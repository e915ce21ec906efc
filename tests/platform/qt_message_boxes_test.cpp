#include "platform/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace kestrin {
namespace {

TEST(QtMessageBoxes, ShowTheExactTextWithoutIconAndAnswerWhatWasChosen) {
    using Act = std::function<void(QMessageBox&)>;
    auto click = [](QMessageBox::StandardButton which) -> Act {
        return [which](QMessageBox& box) { QTest::mouseClick(box.button(which), Qt::LeftButton); };
    };
    const Act escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
    const struct {
        Buttons buttons;
        Act act;
        Answer expected;
    } cases[] = {{Buttons::Ok, click(QMessageBox::Ok), Answer::Ok},
                 {Buttons::Ok, escape, Answer::Ok},
                 {Buttons::OkCancel, click(QMessageBox::Ok), Answer::Ok},
                 {Buttons::OkCancel, click(QMessageBox::Cancel), Answer::Cancel},
                 {Buttons::OkCancel, escape, Answer::Cancel},
                 {Buttons::OkCancel, [](QMessageBox& box) { box.close(); }, Answer::Cancel}};
    const QString text = "<b>Test</b> & not complete\nline 2 ", title = "Checksum for a<b";
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        QStringList seen; // what the box shows once it is on screen; then it is acted on
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll.stop();
            for (const QAbstractButton* button : box->buttons())
                seen << button->text();
            seen.sort();
            seen << box->windowTitle() << box->text();
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            c.act(*box);
        });
        poll.start(5);
        EXPECT_EQ(QtMessageBoxes().show(text.toStdString(), title.toStdString(), c.buttons),
                  c.expected);
        const QStringList ok{"OK", title, text}, okCancel{"Cancel", "OK", title, text};
        EXPECT_EQ(seen, c.buttons == Buttons::Ok ? ok : okCancel);
    }
}

} // namespace
} // namespace kestrin
