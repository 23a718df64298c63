// "Suchen": the list as a dictionary. The term typed into one entry field
// is looked for in either column, regardless of case; each click goes on
// after the pair found last, and after the last one the user is told that
// nothing (more) was found and the next click starts at the top.
#pragma once

namespace zl {

struct Program;

void searchList(Program& program);

// True when a search can run now: the entry page is shown, the list has
// pairs and exactly one entry field holds text. While it cannot, the
// running search is ended, so that the next one starts at the top. Asked
// after every event, as the search command is enabled.
bool searchPossible(Program& program);

}  // namespace zl
