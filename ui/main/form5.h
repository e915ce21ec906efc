// Form5, the About box: name, version, author and date, closed with "&OK" or its close box.
#pragma once

#include <QDialog>

class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace kestrin {

class Form5 : public QDialog {
    Q_OBJECT

public:
    Form5();

    // Shows the box application-modal and returns once it is hidden again.
    void showModal();

    void Form5_Command1_Click();
    void Form5_Form_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* Command1 = nullptr;
};

} // namespace kestrin
