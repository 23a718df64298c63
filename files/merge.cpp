#include "files/merge.h"

#include <algorithm>

#include "files/file_access.h"
#include "files/texts.h"
#include "state/program.h"
#include "state/texts.h"
#include "store/file_format.h"

namespace zl {

namespace {

// Appends the pairs of `bytes` up to the limit; the rows follow.
void appendPairs(Program& program, ByteBuffer&& bytes, std::int64_t pairRoom) {
  KeepListPosition keep(program.list);
  program.list.reserve(program.list.size() + std::min<std::int64_t>(pairRoom, MaxEntries));
  const std::uint64_t base = program.list.storeBytes(std::move(bytes));
  RecordReader reader(program.list.storedBytes(base));
  PairSpan span;
  int added = 0;
  bool limitReached = false;
  for (bool first = true;; first = false) {
    if (!first && reader.atEnd()) break;
    if (program.list.size() >= MaxEntries) {
      program.dialogs.messageBox(state_text::LimitTitle, state_text::LimitText, MessageButtons::Ok,
                                 MessageIcon::Warning);
      limitReached = true;
      break;
    }
    if (!reader.next(span)) break;
    program.list.appendStored(base, span);
    ++added;
  }
  program.listView.appendRows(added);
  if (added > 0 || limitReached) program.file.unsaved = 1;
}

}  // namespace

void mergeFile(Program& program) {
  WindowControls& ui = program.controls;
  const std::string chosen =
      program.dialogs.openFileDialog(files_text::OpenTitle, dialogFolder(program), vocabularyFilters());
  if (!chosen.empty()) {
    ui.showStatusMessage(files_text::Merging);
    ByteBuffer bytes;
    std::int64_t pairRoom = 0;
    if (readForList(program.dialogs, program.files, program.system, chosen, program.list, bytes, pairRoom))
      appendPairs(program, std::move(bytes), pairRoom);
  }
  ui.setFocus(EntryVocabularyField);
}

}  // namespace zl
