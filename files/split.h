// "Vokabeldatei teilen": writes the pairs of the current list into numbered
// part files of a chosen number of pairs each, beside the current file
// ("englisch_01.ltk" to "englisch_13.ltk"). The store is not changed.
#pragma once

#include <cstdint>
#include <string>

namespace zl {

struct Program;

// Asks for the part size and for confirmation, then writes the parts. A size
// below 1 is refused with a message; closing the input box does nothing. A
// part that cannot be written stops the split with a message; the parts
// before it are complete files.
void splitFile(Program& program);

// The parts' common beginning: the current path without its extension,
// then "_" ("C:\Vok\englisch.ltk" gives "C:\Vok\englisch_").
std::string splitBaseName(const std::string& currentPath);

// The name of part `number` of `partCount`: the base, the number padded with
// zeros to the digits of `partCount`, ".ltk".
std::string splitPartName(const std::string& base, std::int64_t number, std::int64_t partCount);

}  // namespace zl
