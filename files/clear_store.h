// Emptying the store together with everything that shows it.
#pragma once

namespace zl {

struct Program;

// Forgets the current file and every pair: no current path, no pairs, no
// rows, both entry fields empty, any running test ended, nothing unsaved, a
// pending edit abandoned, "Bearbeiten" and "Löschen" disabled. Cannot fail.
void clearStore(Program& program);

}  // namespace zl
