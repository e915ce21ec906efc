// frmSplash, the window shown while start-up scans for games.
#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;

namespace kestrin {

class frmSplash : public QWidget {
    Q_OBJECT

public:
    frmSplash();

    // A character key closes the splash early; start-up goes on regardless.
    void frmSplash_Form_KeyPress();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
};

} // namespace kestrin
