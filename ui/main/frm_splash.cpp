#include "ui/main/frm_splash.h"

#include "ui/common/desktop_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPalette>

namespace kestrin {

namespace {

QFont sansSerifBold(double points) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

} // namespace

frmSplash::frmSplash() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(311, 146);

    // The strip across the top looks like an active window's title bar.
    Label2 = new QLabel(QStringLiteral("Scanning for Games"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(0, 0, 313, 17);
    Label2->setFont(sansSerifBold(8.25));
    QPalette strip = Label2->palette();
    strip.setColor(QPalette::Window, strip.color(QPalette::Active, QPalette::Highlight));
    strip.setColor(QPalette::WindowText, strip.color(QPalette::Active, QPalette::HighlightedText));
    Label2->setPalette(strip);
    Label2->setAutoFillBackground(true);

    Label1 = new QLabel(QStringLiteral("LOADING... Please Wait"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 56, 265, 41);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(sansSerifBold(12));
    growWithFont(this);
}

void frmSplash::frmSplash_Form_KeyPress() {
    close();
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    // Keys that produce a character (Esc and Enter included); Shift or F5 alone do not.
    if (!event->text().isEmpty()) {
        frmSplash_Form_KeyPress();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kestrin
