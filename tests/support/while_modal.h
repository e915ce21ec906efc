// Runs `open`; each time a modal window is shown and active within it, runs `inside` on it and
// hides it if it is still shown, so that `open` returns. Returns how many windows were seen.
// Its timer ends with the call: nothing of it can fire in a later test.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

namespace kestrin::testing {

inline int whileModal(const std::function<void()>& open,
                      const std::function<void(QWidget* modal)>& inside) {
    int seen = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            poll.stop();
            if (QTest::qWaitForWindowActive(modal) && ++seen > 0)
                inside(modal);
            modal->hide();
            poll.start(5);
        }
    });
    poll.start(5);
    open();
    return seen;
}

} // namespace kestrin::testing
