// What a user sees on any desktop: every caption whole at any font size, each control named
// and given its role for a screen reader, the focus marked when a window opens.
#include "tests/support/fake_platform.h"
#include "ui/dialogs/option_dialog.h"
#include "ui/dialogs/option_dialogs.h"
#include "ui/main/form1.h"
#include "ui/main/form5.h"
#include "ui/main/frm_splash.h"

#include <QTest>
#include <QtWidgets>
#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

// Where a label or a button draws its caption and the room its style gives it, in the
// control's coordinates; nothing for other controls.
std::pair<QRect, QRect> captionAndRoom(QWidget* w) {
    const QFontMetrics metrics = w->fontMetrics();
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty())
        return {QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                    metrics.size(0, label->text()), label->contentsRect()),
                label->contentsRect()};
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (button == nullptr)
        return {};
    QStyleOptionButton option;
    option.initFrom(w);
    option.text = button->text();
    const bool push = qobject_cast<QPushButton*>(w) != nullptr;
    const QRect room = w->style()->subElementRect(push ? QStyle::SE_PushButtonContents
                                                       : (qobject_cast<QRadioButton*>(w)
                                                              ? QStyle::SE_RadioButtonContents
                                                              : QStyle::SE_CheckBoxContents),
                                                  &option, w);
    return {QStyle::alignedRect(Qt::LeftToRight,
                                push ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter,
                                metrics.size(Qt::TextShowMnemonic, button->text()), room),
            room};
}

// Each caption lies in its room and in the window; no two controls of one parent overlap.
void expectReadable(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        SCOPED_TRACE(w->objectName().toStdString());
        if (const auto [caption, room] = captionAndRoom(w); caption.isValid()) {
            EXPECT_TRUE(room.contains(caption));
            EXPECT_TRUE(window->rect().contains(caption.translated(w->mapTo(window, QPoint()))));
        }
        QWidget* parent = w->parentWidget();
        if (parent != window && parent->objectName() != "client" &&
            !qobject_cast<QGroupBox*>(parent))
            continue; // the parts of a control are its own to place
        const auto siblings = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* other : siblings.mid(siblings.indexOf(w) + 1))
            EXPECT_FALSE(other->isVisibleTo(window) && !other->isWindow() &&
                         other->geometry().intersects(w->geometry()))
                << other->objectName().toStdString();
    }
}

// What a screen reader is told of a control: its role, its name and its description.
std::string told(QWidget* w) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(w);
    return (qAccessibleRoleString(node->role()) + (" " + node->text(QAccessible::Name)) + " [" +
            node->text(QAccessible::Description) + "]")
        .toStdString();
}

// At the default font every window keeps its specified client area; at a larger font it grows,
// by one factor across and down, so that every caption stays whole. A screen reader is told
// each control's role (option buttons are radio buttons) and a text box's label as its name,
// with the hints beside it as description; the focus frame shows when a window opens.
TEST(Desktop, EveryCaptionIsWholeAtAnyFontEachControlNamedAndTheFocusMarked) {
    const QSize specified[] = {{429, 322}, {311, 146}, {312, 213}, {310, 256},
                               {312, 206}, {328, 199}, {366, 151}, {337, 122}};
    const std::tuple<int, const char*, std::string> named[] = {
        // window, control, told
        {0, "List1", "List Games []"},
        {3, "Text1", "EditableText Paddle Speed [(1-15)]"},
        {3, "Option1_1", "RadioButton Mouse []"},
        {5, "Text1", "EditableText Speed Adjustment [(1-254) (60 is Normal)]"},
        {6, "Text2", "EditableText Adjust by [Cycles]"}};
    const QFont standard = QApplication::font();
    for (int points : {0, 10, 12, 14}) {
        if (points > 0)
            QApplication::setFont(QFont("DejaVu Sans", points));
        FakePlatform platform;
        Form1 form{platform.boxes, platform, platform, [] {}};
        Form5 about;
        form.Form1_Form_Load();
        OptionDialogs& d = form.optionDialogs();
        QWidget* const all[] = {&form,
                                &form.splash(),
                                &about,
                                &d.window(Dialog::Form2),
                                &d.window(Dialog::Form3),
                                &d.window(Dialog::Form4),
                                &d.window(Dialog::Form6),
                                &d.window(Dialog::Form7)};
        for (std::size_t i = 0; i < std::size(all); ++i) {
            SCOPED_TRACE(all[i]->objectName().toStdString() + " " + std::to_string(points));
            all[i]->show();
            expectReadable(all[i]);
            QWidget* client = all[i]->findChild<QWidget*>("client");
            const QSize size = (client != nullptr ? client : all[i])->size();
            EXPECT_TRUE(points > 0 || size == specified[i]);
            EXPECT_NEAR(double(size.width()) / specified[i].width(),
                        double(size.height()) / specified[i].height(), 0.01);
            if (points > 0 || i == 1) // the splash takes no focus
                continue;
            all[i]->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(all[i]));
            QStyleOption focus;
            focus.initFrom(all[i]->focusWidget());
            EXPECT_TRUE(focus.state & QStyle::State_KeyboardFocusChange);
        }
        for (const auto& [window, control, expected] : named)
            EXPECT_EQ(told(all[window]->findChild<QWidget*>(control)), expected);
    }
    QApplication::setFont(standard);
}

} // namespace
} // namespace kestrin::testing
