// What the window offers and shows, recomputed from the program's state.
//
// `updateInterfaceState` runs after every event (and once at start): it
// enables and disables commands and buttons by the page shown, writes the
// status bar and the count displays, and shows the test's options in their
// controls. It reads only memory, the two entry
// field texts and, for an administrator, the cheap registration query, so it
// can run after every keystroke. Handlers never call it themselves. A long
// action's status message is the window's own (`WindowControls::showStatusMessage`).
#pragma once

#include "platform/event.h"

namespace zl {

struct Program;
class WindowControls;

void updateInterfaceState(Program& program);

// Focus gained selects the whole text of the field, focus lost puts the
// caret after the last character; other subtypes change nothing.
void selectFieldText(WindowControls& ui, int controlId, EventSubtype subtype);

}  // namespace zl
