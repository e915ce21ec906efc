// The real message box, offscreen: what it shows, where its text stands, what each key and
// button answers.
#include "platform/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <functional>

namespace kestrin {
namespace {

using Act = std::function<void(QMessageBox&)>;
Act key(Qt::Key k) {
    return [k](QMessageBox&) { QTest::keyClick(QApplication::focusWidget(), k); };
}
Act click(QMessageBox::StandardButton which) {
    return [which](QMessageBox& box) { QTest::mouseClick(box.button(which), Qt::LeftButton); };
}

TEST(QtMessageBoxes, ShowTheTextCentredWithoutIconAndAnswerWhatWasChosen) {
    const struct {
        Buttons buttons;
        Act act;
        Answer expected;
    } cases[] = {{Buttons::Ok, key(Qt::Key_Return), Answer::Ok},
                 {Buttons::Ok, key(Qt::Key_Escape), Answer::Ok},
                 {Buttons::OkCancel, key(Qt::Key_Return), Answer::Ok},
                 {Buttons::OkCancel, key(Qt::Key_Enter), Answer::Ok},
                 {Buttons::OkCancel, key(Qt::Key_Escape), Answer::Cancel},
                 {Buttons::OkCancel, click(QMessageBox::Ok), Answer::Ok},
                 {Buttons::OkCancel, click(QMessageBox::Cancel), Answer::Cancel},
                 {Buttons::OkCancel, [](QMessageBox& box) { box.close(); }, Answer::Cancel}};
    const QString text = "<b>Checksum</b> & more\nline 2 ",
                  title = "Checksum Information for <b>The Longest Night Patrol</b> & Co";
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        QStringList seen; // what the box shows once it is active; then it is acted on
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box && QTest::qWaitForWindowActive(box));
            for (const QAbstractButton* button : box->buttons())
                seen << button->text();
            seen << box->windowTitle();
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            // The title bar shows the whole title beside the window manager's buttons.
            EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(title) + 100);
            // The text drawn as it is, each line centred in the box.
            for (QLabel* label : box->findChildren<QLabel*>()) {
                if (label->text() != text)
                    continue;
                seen << label->text();
                const QRect lines =
                    QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                        label->fontMetrics().size(0, text), label->contentsRect());
                EXPECT_EQ(label->textFormat(), Qt::PlainText);
                EXPECT_NEAR(lines.translated(label->pos()).center().x(), box->rect().center().x(),
                            1);
            }
            c.act(*box);
        });
        EXPECT_EQ(QtMessageBoxes().show(text.toStdString(), title.toStdString(), c.buttons),
                  c.expected);
        const QStringList ok{"OK", title, text}, okCancel{"OK", "Cancel", title, text};
        EXPECT_EQ(seen, c.buttons == Buttons::Ok ? ok : okCancel);
    }
}

} // namespace
} // namespace kestrin
