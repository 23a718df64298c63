#include "edit/search.h"

#include <array>

#include "edit/entry.h"
#include "edit/texts.h"
#include "state/program.h"

namespace zl {

namespace {

const std::array<unsigned char, 256> kLower = [] {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = lowerCp1252(static_cast<unsigned char>(b));
  return table;
}();

unsigned char folded(char c) { return kLower[static_cast<unsigned char>(c)]; }

}  // namespace

bool containsFolded(std::string_view text, std::string_view loweredTerm) {
  if (loweredTerm.empty()) return true;
  if (loweredTerm.size() > text.size()) return false;
  const auto first = static_cast<unsigned char>(loweredTerm[0]);
  for (std::size_t at = 0; at + loweredTerm.size() <= text.size(); ++at) {
    if (folded(text[at]) != first) continue;
    std::size_t i = 1;
    while (i < loweredTerm.size() && folded(text[at + i]) == static_cast<unsigned char>(loweredTerm[i])) ++i;
    if (i == loweredTerm.size()) return true;
  }
  return false;
}

void searchList(Program& program) {
  Ui& ui = program.ui;
  EditState& edit = program.edit;
  abandonEdit(ui, edit);
  const std::string typed = ui.text(EntryVocabularyField);
  const std::string term = lowerCp1252(typed.empty() ? ui.text(EntryTranslationField) : typed);
  if (term != edit.searchTerm) {
    edit.searchTerm = term;
    edit.searchPosition = 0;
  }
  ui.clearSelection();
  // After deletions the continuation point may lie past the end: start over.
  if (edit.searchPosition > program.list.size()) edit.searchPosition = 0;
  while (edit.searchPosition < program.list.size()) {
    const std::int32_t row = edit.searchPosition++;
    const PairView pair = program.list[row];
    if (containsFolded(pair.vocabulary, term) || containsFolded(pair.translation, term)) {
      ui.revealListRow(row, true);
      ui.setFocus(VocabListView);
      return;
    }
  }
  edit.searchPosition = 0;
  ui.messageBox(text::SearchFailedTitle, text::SearchFailed, MessageButtons::Ok, MessageIcon::Warning);
}

}  // namespace zl
