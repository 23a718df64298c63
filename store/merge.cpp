#include "store/merge.h"

#include "app/interface_state.h"
#include "app/program.h"
#include "store/cp1252.h"
#include "store/file_commands.h"
#include "store/file_format.h"

namespace zl {

void mergeFile(Program& program) {
  Ui& ui = program.ui;
  const std::string chosen =
      ui.openFileDialog("Vokabeldateiatei zum Laden auswählen"_w, dialogFolder(program), vocabularyFilters());
  if (!chosen.empty()) {
    showStatusMessage(program, "Verbinden...");
    ByteBuffer bytes;
    if (readVocabularyFile(program, chosen, bytes)) {
      KeepListPosition keep(program.list);
      const std::uint64_t base = program.list.storeBytes(std::move(bytes));
      RecordReader reader(program.list.storedBytes(base));
      PairSpan span;
      int added = 0;
      bool limitReached = false;
      for (bool first = true;; first = false) {
        if (!first && reader.atEnd()) break;
        if (program.file.entryCount >= MaxEntries) {
          ui.messageBox("Maximale Dateigröße"_w, "Maximal 30000 Einträge pro Datei!"_w, MessageButtons::Ok,
                        MessageIcon::Warning);
          limitReached = true;
          break;
        }
        if (!reader.next(span)) break;
        program.list.appendStored(base, span);
        ++program.file.entryCount;
        ++added;
      }
      ui.appendRows(added);
      if (added > 0 || limitReached) program.file.unsaved = 1;
    }
  }
  ui.setFocus(EntryVocabularyField);
}

}  // namespace zl
