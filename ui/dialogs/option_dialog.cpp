#include "ui/dialogs/option_dialog.h"

#include "ui/common/desktop_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QVBoxLayout>

#include <limits>

namespace kestrin {

// ---- OptionButtons ------------------------------------------------------------------------

OptionButtons::OptionButtons(QObject* parent) : QObject(parent) {
    group_.setExclusive(true);
    connect(&group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            emit memberSelected(id);
    });
}

void OptionButtons::add(QRadioButton* button) {
    // A member of a group follows the group's exclusivity, not its siblings'; it stays
    // auto-exclusive so that assistive technology reports it as a radio button.
    group_.addButton(button, static_cast<int>(members_.size()));
    members_.push_back(button);
}

QRadioButton* OptionButtons::member(int index) const {
    if (index < 0 || index >= count())
        return nullptr;
    return members_[static_cast<std::size_t>(index)];
}

int OptionButtons::selected() const {
    const int id = group_.checkedId();
    return id < 0 ? noneSelected : id;
}

void OptionButtons::select(int index) {
    if (index == noneSelected) {
        for (int i = 0; i < count(); ++i)
            setMember(i, false);
        return;
    }
    setMember(index, true);
}

void OptionButtons::setMember(int index, bool isSelected) {
    QRadioButton* button = member(index);
    if (button == nullptr)
        return;
    if (isSelected) {
        button->setChecked(true); // the exclusive group clears the partner
        return;
    }
    if (!button->isChecked())
        return;
    // An exclusive group refuses to let its checked member go; lift it for this one write.
    group_.setExclusive(false);
    button->setChecked(false);
    group_.setExclusive(true);
}

// ---- OptionDialog -------------------------------------------------------------------------

OptionDialog::OptionDialog(MessageBoxes& boxes, const QString& objectName, const QString& title,
                           QSize clientSize)
    : QDialog(nullptr), boxes_(boxes), menuBar_(new QMenuBar(this)), client_(new QWidget(this)) {
    setObjectName(objectName);
    setWindowTitle(title);
    setModal(true);
    setWindowModality(Qt::ApplicationModal);

    menuBar_->setNativeMenuBar(false);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFixedSize(clientSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(client_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    markFocusWhenShown(this);
}

void OptionDialog::showModal() {
    if (isVisible())
        return; // already shown: its own opening took the snapshot
    formActivate();
    exec();
}

void OptionDialog::finishBuilding() {
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) {
        // Menus handle their own keys while open: Enter picks the highlighted item there.
        if (qobject_cast<QMenu*>(child) != nullptr || qobject_cast<QMenuBar*>(child) != nullptr)
            continue;
        child->installEventFilter(this);
    }
    growWithFont(client_);
    adjustSize();
}

void OptionDialog::reportInputError(const std::string& text, const std::string& title) {
    boxes_.show(text, title, Buttons::Ok);
}

bool OptionDialog::previewKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        formSet();
        return true;
    case Qt::Key_Escape:
        formCancel();
        return true;
    default:
        return false;
    }
}

bool OptionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType())
        return previewKey(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void OptionDialog::keyPressEvent(QKeyEvent* event) {
    if (previewKey(event))
        return;
    // Not QDialog's handling: Enter and Esc have their meaning above, nothing else is special.
    QWidget::keyPressEvent(event);
}

void OptionDialog::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    formUnload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void OptionDialog::reject() {
    formCancel();
}

// ---- building blocks ----------------------------------------------------------------------

QGroupBox* OptionDialog::addFrame(QWidget* parent, const QString& name, const QString& caption,
                                  QRect at) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    frame->setGeometry(at);
    return frame;
}

QLabel* OptionDialog::addLabel(QWidget* parent, const QString& name, const QString& caption,
                               QRect at) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(at);
    return label;
}

QLineEdit* OptionDialog::addTextBox(QWidget* parent, const QString& name, QRect at, QLabel* label) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    // A screen reader names the box by its label; without one it would take the frame's title,
    // the same for every box of the dialog.
    label->setBuddy(box);
    // The text boxes set no limit of their own: a long text is kept whole, never cut.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setGeometry(at);
    return box;
}

void OptionDialog::describe(QLineEdit* box, std::initializer_list<const QLabel*> hints) {
    QStringList description;
    for (const QLabel* hint : hints)
        description << hint->text().trimmed();
    box->setAccessibleDescription(description.join(u' '));
}

QCheckBox* OptionDialog::addCheckBox(QWidget* parent, const QString& name, const QString& caption,
                                     QRect at) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setTristate(false);
    box->setGeometry(at);
    return box;
}

QRadioButton* OptionDialog::addOptionButton(QWidget* parent, OptionButtons& group,
                                            const QString& name, const QString& caption, QRect at) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(at);
    group.add(button);
    return button;
}

QPushButton* OptionDialog::addButton(QWidget* parent, const QString& name, const QString& caption,
                                     QRect at) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Enter belongs to the dialog's key preview, never to a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setGeometry(at);
    return button;
}

QMenu* OptionDialog::addFileMenu() {
    QMenu* menu = menuBar_->addMenu(QStringLiteral("&File"));
    menu->setObjectName(QStringLiteral("mnufile"));
    return menu;
}

QAction* OptionDialog::addMenuItem(QMenu* menu, const QString& name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

// ---- focus --------------------------------------------------------------------------------

namespace {

bool canTakeFocus(QWidget* widget, QWidget* window) {
    return widget->window() == window && widget->isEnabled() &&
           (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isVisibleTo(window);
}

} // namespace

void focusNearest(QWidget* target) {
    QWidget* window = target->window();
    if (canTakeFocus(target, window)) {
        target->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The focus chain is a ring: walking back from the target visits every control once.
    for (QWidget* w = target->previousInFocusChain(); w != nullptr && w != target;
         w = w->previousInFocusChain()) {
        if (canTakeFocus(w, window)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

} // namespace kestrin
