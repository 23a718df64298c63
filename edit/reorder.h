// "Vokabeln Sortieren" and "Vokabeln Mischen": both ask first, end a running
// test (positions change), end a pending edit (so no other pair can be
// overwritten by it), rebuild the list's rows and mark the list changed.
// Texts and counts of the pairs stay as they are.
#pragma once

namespace zl {

struct Program;

// Sorts by the foreign word, A to Z folded only, equal words in their order.
void sortVocabulary(Program& program);

// One pass of exchanges: each position in turn with a partner drawn from the
// whole list by the program's one generator.
void shuffleVocabulary(Program& program);

}  // namespace zl
