// What a user sees on any desktop: every caption whole at any font size, each control named
// and given its role for a screen reader, the focus marked when a window opens.
#include "tests/ui/main/launcher_fakes.h"
#include "ui/dialogs/option_dialog.h"
#include "ui/dialogs/option_dialogs.h"
#include "ui/main/form5.h"
#include "ui/main/frm_splash.h"

#include <QtWidgets>

namespace kestrin::testing {
namespace {

// Where a control draws its caption (a text box: one line of text), and the room its style
// gives it, in the control's coordinates; nothing for a control without one.
std::pair<QRect, QRect> captionAndRoom(QWidget* w) {
    const QFontMetrics metrics = w->fontMetrics();
    QStyle* style = w->style();
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
        const QRect room = label->contentsRect();
        return {QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                    metrics.size(0, label->text()), room),
                room};
    }
    if (auto* frame = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(w);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        return {style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, w),
                w->rect()};
    }
    if (qobject_cast<QLineEdit*>(w) != nullptr) {
        QStyleOptionFrame option;
        option.initFrom(w);
        option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, w);
        const QRect room = style->subElementRect(QStyle::SE_LineEditContents, &option, w);
        return {QRect(room.topLeft(), QSize(1, metrics.height())), room};
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (button == nullptr)
        return {};
    QStyleOptionButton option;
    option.initFrom(w);
    option.text = button->text();
    const bool push = qobject_cast<QPushButton*>(w) != nullptr;
    const QRect room =
        style->subElementRect(push                             ? QStyle::SE_PushButtonContents
                              : qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                               : QStyle::SE_CheckBoxContents,
                              &option, w);
    return {QStyle::alignedRect(Qt::LeftToRight,
                                push ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter,
                                metrics.size(Qt::TextShowMnemonic, button->text()), room),
            room};
}

// Each caption lies in its room and in the window; no two controls of one parent, nor a
// frame's title and its controls, overlap.
void expectReadable(QWidget* window) {
    QList<QWidget*> all = window->findChildren<QWidget*>();
    all.prepend(window);
    for (QWidget* w : all) {
        SCOPED_TRACE(w->objectName().toStdString());
        const auto [caption, room] = captionAndRoom(w);
        if (caption.isValid() && w->isVisibleTo(window)) {
            EXPECT_TRUE(room.contains(caption));
            EXPECT_TRUE(window->rect().contains(caption.translated(w->mapTo(window, QPoint()))));
        }
        if (w != window && w->objectName() != "client" && qobject_cast<QGroupBox*>(w) == nullptr)
            continue;
        std::vector<QRect> placed = {qobject_cast<QGroupBox*>(w) ? caption : QRect()};
        for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisibleTo(window) && !child->isWindow())
                placed.push_back(child->geometry());
        for (std::size_t i = 0; i < placed.size(); ++i) {
            for (std::size_t j = i + 1; j < placed.size(); ++j)
                EXPECT_FALSE(placed[i].intersects(placed[j])) << i << "/" << j;
        }
    }
}

// What a screen reader is told of `node` and what is in it: role and name of each object, its
// description in brackets, its parts in braces, "*" on the focused control when its focus frame
// shows; unnamed containers only hold parts.
std::string told(QAccessibleInterface* node) {
    std::string parts;
    for (int i = 0; i < node->childCount(); ++i)
        parts += (parts.empty() ? "" : ", ") + told(node->child(i));
    if (node->role() == QAccessible::Client || node->role() == QAccessible::PopupMenu)
        return parts;
    std::string self = qAccessibleRoleString(node->role()) + std::string(" ") +
                       node->text(QAccessible::Name).toStdString();
    if (const QString about = node->text(QAccessible::Description); !about.isEmpty())
        self += " [" + about.toStdString() + "]";
    QStyleOption option;
    if (node->state().focused && node->object()->isWidgetType()) {
        option.initFrom(static_cast<QWidget*>(node->object()));
        self += option.state & QStyle::State_KeyboardFocusChange ? "*" : " (focus unmarked)";
    }
    return parts.empty() ? self : self + " {" + parts + "}";
}

// At the default font every window keeps its specified client area; at a larger font it grows,
// by one factor across and down, so that every caption stays whole. A screen reader is told
// each control's name (a text box: its label, with the hints beside it as description; any
// other control: its caption without the "&") and role (option buttons are radio buttons), and
// the focus frame shows on the first control when a window opens.
TEST(Desktop, EveryCaptionIsWholeAtAnyFontEachControlNamedAndTheFocusMarked) {
    const QSize specified[] = {{429, 322}, {311, 146}, {312, 213}, {310, 256},
                               {312, 206}, {328, 199}, {366, 151}, {337, 122}};
    const std::string file = "MenuBar  {MenuItem File {MenuItem ";
    const std::string expected[] = {
        "Window Kestrin v1.1 {Grouping Games {List Games}, Button Run Game*, Button Exit, "
        "Graphic , " +
            file +
            "Exit}, MenuItem Options {MenuItem Control {MenuItem Joystick "
            "{MenuItem Keyboard Only, MenuItem Reverse Joystick}, MenuItem Paddle (F7), MenuItem "
            "Lightgun (F8), MenuItem Keyboard Emulation (F9), MenuItem Driving Controller}, "
            "MenuItem "
            "Sound {MenuItem PC Speaker, MenuItem Show Diagnostics, MenuItem Force 15700 sample "
            "rate, "
            "MenuItem DSP Settings {MenuItem High, MenuItem Low}, MenuItem Quiet}, MenuItem Misc "
            "{MenuItem Print Checksum}, MenuItem Video (F5), MenuItem Performance (F6), MenuItem "
            "Clear "
            "All (F10)}, MenuItem Help {MenuItem About (F1)}}}",
        "StaticText Scanning for Games, StaticText LOADING... Please Wait",
        "Dialog About Kestrin {StaticText About Kestrin, StaticText Version 1.1, StaticText "
        "Author: Ovrey, StaticText 08/22/2000, Button OK*}",
        "Dialog Paddle  {" + file +
            "Set Paddle, MenuItem Cancel}}, Grouping Paddle Setup "
            "{CheckBox Enable Paddle*, StaticText (Method of Emulation), RadioButton Keyboard, "
            "RadioButton Mouse, StaticText  (1-15), StaticText Paddle Speed, EditableText Paddle "
            "Speed [(1-15)], StaticText   (0-3), StaticText Which Paddle, EditableText Which "
            "Paddle "
            "[(0-3)], Button Set Paddle}}",
        "Dialog Video  {" + file +
            "Set Video Options, MenuItem Cancel}}, Grouping Video Options "
            "{StaticText  (1-14), StaticText Video Mode, EditableText Video Mode [(1-14)]*, "
            "CheckBox "
            "Black & White Mode, RadioButton NTSC, RadioButton PAL, CheckBox Simulate Pal Color "
            "Loss, "
            "CheckBox Display Number of Scan Lines, Button Set Video Options}}",
        "Dialog Performance {" + file +
            "Set Performance Options, MenuItem Cancel}}, Grouping "
            "Performance Options {StaticText (1-254), StaticText Speed Adjustment, EditableText "
            "Speed "
            "Adjustment [(1-254) (60 is Normal)]*, StaticText (60 is Normal), CheckBox Performance "
            "Test, StaticText Numbers or Frames , EditableText Numbers or Frames , Button Set "
            "Performance}}",
        "Dialog Lightgun {" + file +
            "Set Lightgun, MenuItem Cancel}}, Grouping Lightgun Settings "
            "{CheckBox Enable Lightgun*, StaticText Adjust by, EditableText Adjust by [Cycles], "
            "StaticText Cycles, StaticText Adjust Lightgun by, EditableText Adjust Lightgun by "
            "[Scanlines], StaticText Scanlines}, Button Set Lightgun}",
        "Dialog Keyboard Emulation {" + file +
            "Set Keyboard, MenuItem Cancel}}, Grouping "
            "Keyboard Emulation Settings {CheckBox Enable Keyboard Emulation*, RadioButton Left , "
            "RadioButton Right, RadioButton Both, Button Set Keyboard}}"};
    const QFont standard = QApplication::font();
    for (int points : {0, 10, 12, 14}) {
        if (points > 0)
            QApplication::setFont(QFont("DejaVu Sans", points));
        Launcher launcher;
        Form5 about;
        launcher.started();
        OptionDialogs& d = launcher.form.optionDialogs();
        QWidget* const all[] = {
            &launcher.form,           &launcher.form.splash(),  &about,
            &d.window(Dialog::Form2), &d.window(Dialog::Form3), &d.window(Dialog::Form4),
            &d.window(Dialog::Form6), &d.window(Dialog::Form7)};
        for (std::size_t i = 0; i < std::size(all); ++i) {
            SCOPED_TRACE(all[i]->objectName().toStdString() + " " + std::to_string(points));
            all[i]->show();
            expectReadable(all[i]);
            QWidget* client = all[i]->findChild<QWidget*>("client");
            const QSize size = (client != nullptr ? client : all[i])->size();
            EXPECT_TRUE(points > 0 || size == specified[i]);
            EXPECT_NEAR(double(size.width()) / specified[i].width(),
                        double(size.height()) / specified[i].height(), 0.01);
            if (points == 0) {
                all[i]->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(all[i]));
                EXPECT_EQ(told(QAccessible::queryAccessibleInterface(all[i])), expected[i]);
            }
        }
    }
    QApplication::setFont(standard);
}

} // namespace
} // namespace kestrin::testing
