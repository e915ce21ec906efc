// What every window of the launcher does for the desktop it runs on: it grows with a larger
// desktop font, it marks the control that has the focus when it opens, and it carries the
// Kestrin icon.
#pragma once

class QIcon;
class QWidget;

namespace kestrin {

// The windows are laid out in pixels for a small font. When the window's fonts need more room,
// `area` (a window or its client area, of fixed size) and every control placed in it grow by
// one factor, the smallest at which every caption fits, so that the window keeps its
// proportions; explicitly sized fonts grow by the same factor. Where everything fits already,
// nothing changes. Call it once the controls are placed; returns the factor (1 or more).
double growWithFont(QWidget* area);

// Each time `window` is shown, the control that has the focus draws its focus frame, as when
// the focus came by keyboard: a window opened by a key shows at once where the next key goes.
// (Qt draws the frame only after a Tab, and showing a window forgets it.)
void markFocusWhenShown(QWidget* window);

// The Kestrin icon in every size of the hicolor theme (16 to 256 pixels): the installed theme's
// where the desktop has it, so that the windows look like the menu entry, and otherwise the
// same pictures built into the program. Set as the application's window icon, every window
// (dialogs, message boxes and the folder chooser included) carries it.
QIcon kestrinIcon();

} // namespace kestrin
