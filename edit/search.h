// "Suchen": the list as a dictionary. The term typed into one entry field
// is looked for in either column, regardless of case; each click goes on
// after the pair found last, and after the last one the user is told that
// nothing (more) was found and the next click starts at the top.
#pragma once

namespace zl {

struct Program;

void searchList(Program& program);

}  // namespace zl
