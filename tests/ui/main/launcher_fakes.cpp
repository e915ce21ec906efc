#include "tests/ui/main/launcher_fakes.h"

#include <QTest>

namespace kestrin::testing {

void Launcher::waitUntilActive(QWidget& widget) {
    widget.activateWindow();
    if (!QTest::qWaitForWindowActive(&widget))
        ADD_FAILURE() << "window never became active";
}

void whenModalOpens(std::function<void(QWidget* modal)> step) {
    auto* poll = new QTimer();
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, ticks, step = std::move(step)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            step(modal);
        } else if (++*ticks > 500) {
            ADD_FAILURE() << "no modal window opened";
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(10);
}

} // namespace kestrin::testing
