// Message boxes shown with Qt: no icon, the exact title, the text as plain text.
#pragma once

#include "core/ports.h"

class QWidget;

namespace kestrin {

class QtMessageBoxes : public MessageBoxes {
public:
    // Boxes are modal to the whole application; `parent` only places them over a window.
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}

    // Blocks in a modal loop until the user answers. Closing the box (Esc, the close button)
    // answers Cancel for OK/Cancel and OK for an OK-only box.
    Answer show(const std::string& text, const std::string& title, Buttons buttons) override;

private:
    QWidget* parent_;
};

} // namespace kestrin
