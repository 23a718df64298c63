// Typing, editing and deleting pairs on the entry page. The rhythm the page
// is made for: word, Tab, translation, Return, and the fields are empty and
// ready for the next pair.
//
// A new pair is refused at 30000 pairs; editing works at any count and sets
// the pair's counts back to 0. Appending and editing keep every other pair
// where it is, so a running test goes on; deleting ends it.
#pragma once

namespace zl {

struct Program;
struct EditState;
class WindowControls;

// "Übernehmen" or Return: stores the two fields as a new pair, or back into
// the pair being edited. A field left empty is refused with a message.
void acceptEntry(Program& program);

// "Bearbeiten": takes the selected pair into the fields to be changed. A
// pair with a text longer than a field holds (MaxFieldText) is refused with
// a message and left as it is, not in edit.
void beginEdit(Program& program);

// "Löschen": removes the selected pair after a confirmation.
void deleteSelectedEntry(Program& program);

// Ends a pending edit: the fields keep their text, and the next
// "Übernehmen" adds it as a new pair; "Bearbeiten" and "Löschen" disabled.
void abandonEdit(WindowControls& ui, EditState& edit);

}  // namespace zl
