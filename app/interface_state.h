// What the window offers and shows, recomputed from the program's state.
//
// `updateInterfaceState` runs after every event (and once at start): it
// enables and disables commands and buttons by the page shown, writes the
// status bar and the count displays. It reads only memory, the two entry
// field texts and, for an administrator, the cheap registration query, so it
// can run after every keystroke. Handlers never call it themselves.
#pragma once

#include <string>

#include "platform/event.h"

namespace zl {

struct Program;

void updateInterfaceState(Program& program);

// Shows a long action's message in the status bar at once, with a wait
// cursor; both stay until the event has been handled.
void showStatusMessage(Program& program, const std::string& message);

// Focus gained selects the whole text of the field, focus lost puts the
// caret after the last character; other subtypes change nothing.
void selectFieldText(Program& program, int controlId, EventSubtype subtype);

}  // namespace zl
