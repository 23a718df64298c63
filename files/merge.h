// "Verbinden": appends the pairs of a second vocabulary file, with their
// counts, to the end of the list, up to the limit of 30000 pairs.
#pragma once

namespace zl {

struct Program;

// Asks for the file and appends its pairs in file order; the current file
// stays the one that was open and the current pair stays current. At the
// limit the user is told and the rest of the file is left out. A file that
// cannot be read is reported and adds nothing, and neither it nor a file
// without pairs marks the list as changed.
void mergeFile(Program& program);

}  // namespace zl
