// Clear All: after asking, store cleared settings and reset the holders to match.
#pragma once

#include "core/holders.h"
#include "core/ports.h"

namespace kestrin {

// Asks first; Cancel changes nothing. The cleared config.dat is written before any holder
// changes, and when that write fails the failure is shown and every holder stays as it was, so
// that the screen never disagrees with the file.
void clearAll(Holders& holders, Files& files, MessageBoxes& boxes);

} // namespace kestrin
