// The one dispatcher of every event of the window.
//
// A menu event (menu bar, popup, toolbar, the Return key) runs its command,
// then a control event its control handler, then a close event the close
// handling, each followed by `updateInterfaceState`; a command can turn the
// event into a close event and so is closed in the same pass. Unknown ids
// change nothing but still update the interface. Handlers report their own
// failures; the dispatcher reports nothing.
#pragma once

#include "platform/event.h"

namespace zl {

struct Program;

void dispatchEvent(Program& program, Event event);

}  // namespace zl
