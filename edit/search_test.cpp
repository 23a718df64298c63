#include "edit/search.h"

#include <gtest/gtest.h>

#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

class Search : public ::testing::Test {
 protected:
  void havePairs(const std::vector<std::pair<std::string, std::string>>& pairs) {
    for (const auto& [vocabulary, translation] : pairs) f.addPairs({{vocabulary, translation, 0, 0}});
  }
  // Types `term` into `field` and empties the other one.
  void typeTerm(const std::string& term, ControlId field = EntryTranslationField) {
    f.type(field == EntryTranslationField ? EntryVocabularyField : EntryTranslationField, "");
    f.type(field, term);
  }
  // One click on "Suchen"; the row it selects, -1 for none.
  int click() {
    EXPECT_TRUE(f.ui.isCommandEnabled(CmdSearch));
    f.menu(CmdSearch);
    return f.ui.selectedRow();
  }
  int clickNotFound() {
    f.ui.expectMessage("Suche erfolglos", "Der gesuchte Begriff\nwurde nicht gefunden!", Answer::Ok);
    return click();
  }
  void TearDown() override { EXPECT_TRUE(f.ui.allMessagesShown()); }
  FakeProgram f;
};

TEST_F(Search, FindsTheTermInEitherColumnOnePairPerClick) {
  havePairs({{"Haustür"_w, "front door"}, {"tree", "Baum"}, {"town hall", "Rathaus"}, {"HAUS", "house"}});
  typeTerm("haus");
  EXPECT_EQ(click(), 0);
  EXPECT_EQ(f.ui.focusedControl(), VocabListView);
  EXPECT_EQ(f.ui.revealedRow(), 0);
  f.ui.setFocus(EntryTranslationField);  // the user goes back to the field
  EXPECT_EQ(click(), 2);
  EXPECT_EQ(click(), 3);
  EXPECT_EQ(clickNotFound(), -1);            // the fourth click
  EXPECT_EQ(click(), 0);                     // the fifth starts at the top again
  EXPECT_FALSE(f.ui.isEnabled(EditButton));  // a hit does not offer editing
}

TEST_F(Search, ATermWithoutMatchesReportsAtTheFirstClick) {
  havePairs({{"tree", "Baum"}});
  typeTerm("zebra", EntryVocabularyField);
  EXPECT_EQ(clickNotFound(), -1);
}

TEST_F(Search, AChangedTermStartsAtTheTopAndADifferentCaseContinues) {
  havePairs({{"Haus", "house"}, {"Maus", "mouse"}, {"Haus", "home"}});
  typeTerm("haus");
  EXPECT_EQ(click(), 0);
  typeTerm("HAUS");
  EXPECT_EQ(click(), 2);
  typeTerm("aus");
  EXPECT_EQ(click(), 0);
}

TEST_F(Search, SearchingIsOffWithTextInBothFieldsOrNeither) {
  havePairs({{"Haus", "house"}});
  f.type(EntryVocabularyField, "a");
  f.type(EntryTranslationField, "b");
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdSearch));
  f.type(EntryVocabularyField, "");
  f.type(EntryTranslationField, "");
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdSearch));
}

TEST_F(Search, ASearchAbandonsAnEdit) {
  havePairs({{"Haus", "house"}, {"Baum", "tree"}});
  f.ui.setFocus(VocabListView);
  f.ui.setSelectedRow(0);
  f.control(VocabListView, EventSubtype::LeftClick);
  f.control(EditButton);
  f.type(EntryTranslationField, "");  // leaves "Haus" in the word field: a search key
  EXPECT_EQ(click(), 0);
  EXPECT_FALSE(f.program.edit.editMode);
  f.type(EntryTranslationField, "Haus");
  f.menu(CmdEntryPage);
  f.control(AcceptEntryButton);  // adds a new pair; the edited one stays as it was
  ASSERT_EQ(f.program.list.size(), 3);
  EXPECT_EQ(f.program.list[0].translation, "house");
  EXPECT_EQ(f.program.list[2].vocabulary, "Haus");
}

TEST_F(Search, AContinuationPastTheEndStartsAgainFromTheTop) {
  havePairs({{"a", "x"}, {"b", "x"}, {"c", "haus"}});
  typeTerm("haus", EntryVocabularyField);
  EXPECT_EQ(click(), 2);
  // Two pairs go; the continuation point (3) now lies past the end (1).
  for (int i = 0; i < 2; ++i) {
    f.program.list.select(0);
    f.program.list.removeCurrent();
  }
  EXPECT_EQ(click(), 0);
}

TEST_F(Search, TheListAndATestsPairStayAsTheyAre) {
  havePairs({{"Haus", "house"}, {"Baum", "tree"}});
  f.program.list.select(1);
  typeTerm("haus", EntryVocabularyField);
  click();
  EXPECT_EQ(f.program.list.position(), 1);
  EXPECT_EQ(f.program.list[0].vocabulary, "Haus");
  EXPECT_EQ(f.program.file.unsaved, 0);
}

}  // namespace
}  // namespace zl
