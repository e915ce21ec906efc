// What the five option dialogs share: a dialog created once and reused, shown application-modal
// without an owner, that sees every key first (Enter sets, Esc cancels), refuses to be closed
// (a close request cancels instead) and ends its modal showing by hiding itself.
#pragma once

#include "core/holders.h"
#include "core/ports.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <initializer_list>
#include <string>
#include <vector>

namespace kestrin {

// An option-button group that, unlike a plain exclusive QButtonGroup, may have no member
// selected and lets code deselect a member.
class OptionButtons : public QObject {
    Q_OBJECT
public:
    explicit OptionButtons(QObject* parent = nullptr);

    void add(QRadioButton* button); // members are indexed in the order they are added
    QRadioButton* member(int index) const;
    int count() const { return static_cast<int>(members_.size()); }

    int selected() const; // member index or noneSelected
    // Selects a member as a click would (its partners are cleared); noneSelected deselects all.
    void select(int index);
    // Writes one member's selected state: selecting clears the partners, deselecting touches
    // nothing else. Out-of-range indexes are ignored.
    void setMember(int index, bool isSelected);

signals:
    // A member became selected, by a click or from code.
    void memberSelected(int index);

private:
    QButtonGroup group_;
    std::vector<QRadioButton*> members_;
};

class OptionDialog : public QDialog {
    Q_OBJECT
public:
    // `clientSize` is the fixed area below the dialog's menu bar.
    OptionDialog(MessageBoxes& boxes, const QString& objectName, const QString& title,
                 QSize clientSize);

    // Takes the activation snapshot, then shows the dialog application-modal and returns once
    // Set or Cancel has hidden it.
    void showModal();

    QMenuBar* menuBar() const { return menuBar_; }
    QWidget* clientArea() const { return client_; }

protected:
    // The activation snapshot, Set and Cancel of the concrete dialog.
    virtual void formActivate() = 0;
    virtual void formSet() = 0;
    virtual void formCancel() = 0;
    // A close request; sets `cancel` to keep the window.
    virtual void formUnload(bool& cancel) = 0;

    // Ends the building of the dialog: every control now gets the key preview.
    void finishBuilding();

    void reportInputError(const std::string& text, const std::string& title);

    // Building blocks; positions are in the client area's (or the given frame's) pixels.
    QGroupBox* addFrame(QWidget* parent, const QString& name, const QString& caption, QRect at);
    QLabel* addLabel(QWidget* parent, const QString& name, const QString& caption, QRect at);
    // A text box takes its accessible name from `label`; the range or unit shown beside it
    // becomes its accessible description.
    QLineEdit* addTextBox(QWidget* parent, const QString& name, QRect at, QLabel* label);
    static void describe(QLineEdit* box, std::initializer_list<const QLabel*> hints);
    QCheckBox* addCheckBox(QWidget* parent, const QString& name, const QString& caption, QRect at);
    QRadioButton* addOptionButton(QWidget* parent, OptionButtons& group, const QString& name,
                                  const QString& caption, QRect at);
    QPushButton* addButton(QWidget* parent, const QString& name, const QString& caption, QRect at);
    QMenu* addFileMenu();
    QAction* addMenuItem(QMenu* menu, const QString& name, const QString& caption);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public slots:
    // QDialog's own rejection (Esc, a window manager's request) becomes Cancel.
    void reject() override;

private:
    bool previewKey(QKeyEvent* event);

    MessageBoxes& boxes_;
    QMenuBar* menuBar_;
    QWidget* client_;
};

// Check box values as the settings know them: 1 checked, 0 clear.
inline int checkValue(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}
// Writes a check box as a click would; its `toggled` reactions run only when the value changes.
inline void setCheckValue(QCheckBox* box, int value) {
    box->setChecked(value == 1);
}

// Texts cross into the plain C++ layers as UTF-8.
inline std::string textOf(const QLineEdit* box) {
    return box->text().toStdString();
}
inline void setTextOf(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
}

// Gives the focus to `target`, or, when it cannot take it (disabled), to the nearest control
// before it in the tab order that can.
void focusNearest(QWidget* target);

} // namespace kestrin
