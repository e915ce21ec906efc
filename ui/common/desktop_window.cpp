#include "ui/common/desktop_window.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <vector>

// The icon's pictures live in this library's resource file; a static library must register it
// explicitly, from outside any namespace.
static void registerDesktopWindowResources() {
    Q_INIT_RESOURCE(desktop_window);
}

namespace kestrin {

namespace {

// The controls placed by hand in `parent`: its child widgets and, inside frames, theirs. The
// inner parts of other controls (a list's scroll bars) are laid out by the controls themselves.
void collectPlaced(QWidget* parent, std::vector<QWidget*>& placed) {
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            continue;
        placed.push_back(child);
        if (qobject_cast<QGroupBox*>(child) != nullptr)
            collectPlaced(child, placed);
    }
}

// The size a control needs for its text in its own font, or an empty size when it shows none
// (a picture, a list, a plain container).
QSize textNeeds(const QWidget* control) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(control))
        return {frame->minimumSizeHint().width(), 0}; // its title across the top
    if (qobject_cast<const QLineEdit*>(control) != nullptr)
        return {0, control->minimumSizeHint().height()}; // one line of text
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text().isEmpty() ? QSize() : label->sizeHint();
    if (qobject_cast<const QAbstractButton*>(control) != nullptr)
        return control->sizeHint();
    return {};
}

int scaled(int pixels, double factor) {
    return static_cast<int>(std::lround(pixels * factor));
}

} // namespace

double growWithFont(QWidget* area) {
    std::vector<QWidget*> placed;
    collectPlaced(area, placed);

    // The factor that gets every control to the size its text needs. Edges are rounded to
    // whole pixels after scaling, which may take a pixel off a grown control's exact share, so
    // a control that must grow gets one more; one that fits already keeps fitting.
    double factor = 1.0;
    for (const QWidget* control : placed) {
        if (!control->isVisibleTo(area->window()))
            continue;
        const QSize needs = textNeeds(control);
        const QSize has = control->size();
        for (const auto& [need, room] :
             {std::pair{needs.width(), has.width()}, std::pair{needs.height(), has.height()}}) {
            if (need > room && room > 0)
                factor = std::max(factor, double(need + 1) / room);
        }
    }
    if (factor == 1.0)
        return factor;

    // Edges, not sizes, are scaled: controls that touched keep touching and none overlap.
    for (QWidget* control : placed) {
        const QRect at = control->geometry();
        control->setGeometry(QRect(QPoint(scaled(at.left(), factor), scaled(at.top(), factor)),
                                   QPoint(scaled(at.left() + at.width(), factor) - 1,
                                          scaled(at.top() + at.height(), factor) - 1)));
        if (control->testAttribute(Qt::WA_SetFont)) {
            QFont font = control->font();
            font.setPointSizeF(font.pointSizeF() * factor);
            control->setFont(font);
        }
    }
    area->setFixedSize(scaled(area->width(), factor), scaled(area->height(), factor));
    return factor;
}

namespace {

class FocusMark final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == parent())
            static_cast<QWidget*>(watched)->setAttribute(Qt::WA_KeyboardFocusChange);
        return false;
    }
};

} // namespace

void markFocusWhenShown(QWidget* window) {
    window->installEventFilter(new FocusMark(window));
}

QIcon kestrinIcon() {
    registerDesktopWindowResources();
    QIcon own;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        own.addFile(QStringLiteral(":/kestrin/icon/%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("org.kestrin.kestrin"), own);
}

} // namespace kestrin
