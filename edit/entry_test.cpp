#include "edit/entry.h"

#include <gtest/gtest.h>

#include "state/window_rules.h"
#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

const std::string kBothWords = "Bitte immer beide Wörter eingeben!"_w;
const std::string kDeleteTitle = "Löschen bestätigen"_w;
const std::string kDeleteText =
    "Wollen Sie diesen Datensatz wirklich löschen?\nDiese Aktion kann nicht Rückgängig gemacht werden!"_w;

class Entry : public ::testing::Test {
 protected:
  // Types a pair the way the page is made for: word, Tab, translation, Return.
  void typePair(const std::string& vocabulary, const std::string& translation) {
    f.ui.setFocus(EntryVocabularyField);
    f.type(EntryVocabularyField, vocabulary);
    f.ui.setFocus(EntryTranslationField);
    f.type(EntryTranslationField, translation);
    f.menu(CmdAccept);
  }
  void havePairs(int count) {
    for (int i = 0; i < count; ++i) f.addPairs({{"w" + std::to_string(i), "t", 5, 2}});
  }
  // A left click on a row, as the list reports it.
  void clickRow(int row) {
    f.ui.setFocus(VocabListView);
    f.ui.setSelectedRow(row);
    f.control(VocabListView, EventSubtype::LeftClick);
  }
  void TearDown() override { EXPECT_TRUE(f.ui.allMessagesShown()); }
  FakeProgram f;
};

TEST_F(Entry, AcceptingAddsTheLastRowAndEmptiesTheFields) {
  typePair("house", "Haus");
  typePair("tree", "Baum");
  ASSERT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.list[1].vocabulary, "tree");
  EXPECT_EQ(f.program.list[1].translation, "Baum");
  EXPECT_EQ(f.program.list[1].correctCount, 0);
  EXPECT_EQ(f.ui.rowCount(), 2);
  EXPECT_EQ(f.ui.selectedRow(), 1);
  EXPECT_EQ(f.ui.revealedRow(), 1);
  EXPECT_EQ(f.ui.text(EntryVocabularyField), "");
  EXPECT_EQ(f.ui.text(EntryTranslationField), "");
  EXPECT_EQ(f.ui.focusedControl(), EntryVocabularyField);
  EXPECT_EQ(f.ui.text(EntryCountValue), "2");
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Geändert"_w);
}

TEST_F(Entry, AnEmptyFieldIsRefusedWithTheFocusOnIt) {
  f.ui.expectMessage("Eingabefehler", kBothWords, Answer::Ok);
  typePair("house", "");
  EXPECT_EQ(f.ui.focusedControl(), EntryTranslationField);
  f.ui.setText(EntryVocabularyField, "");
  f.ui.setText(EntryTranslationField, "Haus");
  f.ui.expectMessage("Eingabefehler", kBothWords, Answer::Ok);
  f.control(AcceptEntryButton);
  EXPECT_EQ(f.ui.focusedControl(), EntryVocabularyField);
  f.ui.setText(EntryTranslationField, "");
  f.ui.expectMessage("Eingabefehler", kBothWords, Answer::Ok);
  f.control(AcceptEntryButton);
  EXPECT_EQ(f.ui.focusedControl(), EntryTranslationField);  // both empty: the translation field
  EXPECT_TRUE(f.program.list.empty());
  EXPECT_EQ(f.program.file.unsaved, 0);
}

TEST_F(Entry, ASingleBlankCountsAsAWord) {
  typePair(" ", "Leerzeichen");
  EXPECT_EQ(f.program.list.size(), 1);
}

TEST_F(Entry, TheLimitRefusesNewPairsButNotEdits) {
  havePairs(MaxEntries - 1);
  typePair("one", "more");
  EXPECT_EQ(f.program.list.size(), MaxEntries);
  f.ui.expectMessage("Maximale Dateigröße"_w, "Maximal 30000 Einträge pro Datei!"_w, Answer::Ok);
  typePair("too", "many");
  EXPECT_EQ(f.program.list.size(), MaxEntries);
  EXPECT_EQ(f.ui.text(EntryVocabularyField), "too");  // the fields keep their text
  clickRow(7);
  f.control(EditButton);
  typePair("seven", "sieben");
  EXPECT_EQ(f.program.list[7].vocabulary, "seven");
  EXPECT_EQ(f.program.list.size(), MaxEntries);
}

TEST_F(Entry, EditingReplacesThePairAndStartsItsCountsAfresh) {
  havePairs(3);
  clickRow(1);
  EXPECT_TRUE(f.ui.isEnabled(EditButton));
  f.control(EditButton);
  EXPECT_EQ(f.ui.text(EntryVocabularyField), "w1");
  EXPECT_EQ(f.ui.text(EntryTranslationField), "t");
  EXPECT_EQ(f.ui.selectedRow(), -1);
  EXPECT_EQ(f.ui.focusedControl(), EntryVocabularyField);
  EXPECT_FALSE(f.ui.isEnabled(EditButton));
  EXPECT_EQ(f.program.file.unsaved, 0);  // nothing changed yet
  clickRow(2);                           // no second edit can start meanwhile
  EXPECT_FALSE(f.ui.isEnabled(EditButton));
  EXPECT_FALSE(f.ui.isEnabled(DeleteButton));
  f.menu(CmdAccept);  // accepted unchanged
  EXPECT_EQ(f.program.list[1].vocabulary, "w1");
  EXPECT_EQ(f.program.list[1].correctCount, 0);
  EXPECT_EQ(f.program.list[1].wrongCount, 0);
  EXPECT_EQ(f.program.list[2].correctCount, 5);
  EXPECT_EQ(f.program.list.size(), 3);
  EXPECT_EQ(f.ui.updatedRows(), std::vector<int>{1});
  EXPECT_EQ(f.ui.selectedRow(), 1);
  EXPECT_EQ(f.program.file.unsaved, 1);
  EXPECT_FALSE(f.program.edit.editMode);
}

// Regression: "Bearbeiten" put only the start of a text too long for a field
// into it, and "Übernehmen" then stored that start in place of the pair.
TEST_F(Entry, OnlyPairsThatFitTheFieldsCanBeEdited) {
  const std::string longest(MaxFieldText, 'x');
  f.addPairs({{"fits", longest, 5, 2}, {longest + "y", "too long", 5, 2}});
  clickRow(1);
  f.ui.expectMessage("Vokabel zu lang",
                     "Diese Vokabel ist zu lang zum Bearbeiten:\nEin Eingabefeld fasst höchstens 32767 Zeichen.\n"
                     "Die Vokabel bleibt unverändert."_w,
                     Answer::Ok);
  f.control(EditButton);
  EXPECT_FALSE(f.program.edit.editMode);
  EXPECT_EQ(f.ui.text(EntryVocabularyField), "");
  clickRow(0);  // a text that just fits is edited as any other
  f.control(EditButton);
  f.menu(CmdAccept);
  EXPECT_EQ(f.program.list[0].translation, longest);
}

TEST_F(Entry, DeletingAsksAndAnsweringNoOnlyClearsTheSelection) {
  havePairs(3);
  clickRow(1);
  f.ui.expectMessage(kDeleteTitle, kDeleteText, Answer::No);
  f.control(DeleteButton);
  EXPECT_EQ(f.program.list.size(), 3);
  EXPECT_EQ(f.ui.selectedRow(), -1);
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.ui.shownMessages().back().icon, MessageIcon::Error);
  EXPECT_EQ(f.ui.shownMessages().back().buttons, MessageButtons::YesNo);
}

TEST_F(Entry, DeletingRemovesThePairAndEndsARunningTest) {
  havePairs(3);
  f.program.test.items.resize(3);
  clickRow(1);
  f.ui.expectMessage(kDeleteTitle, kDeleteText, Answer::Yes);
  f.control(DeleteButton);
  ASSERT_EQ(f.program.list.size(), 2);
  EXPECT_EQ(f.program.list[1].vocabulary, "w2");
  EXPECT_EQ(f.ui.rowCount(), 2);
  EXPECT_EQ(f.ui.text(EntryCountValue), "2");
  EXPECT_EQ(f.program.file.unsaved, 1);
  EXPECT_EQ(f.program.test.lastIndex(), -1);
  EXPECT_EQ(f.ui.focusedControl(), EntryVocabularyField);
}

TEST_F(Entry, AppendingDuringATestKeepsTheAskedPair) {
  havePairs(3);
  f.program.test.items = {{0, 0, 0}, {2, 0, 0}};
  f.program.test.currentItem = 1;
  f.program.list.select(2);
  typePair("new", "neu");
  EXPECT_EQ(f.program.test.lastIndex(), 1);
  EXPECT_EQ(f.program.list.position(), 2);
}

}  // namespace
}  // namespace zl
