#include "app/interface_state.h"

#include <gtest/gtest.h>

#include "desktop/file_type.h"
#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

class InterfaceState : public ::testing::Test {
 protected:
  void addPairs(int count) {
    for (int i = 0; i < count; ++i) f.addPairs({{"house", "Haus", 0, 0}});
  }
  void update() { updateInterfaceState(f.program); }
  bool on(CommandId id) const { return f.ui.isCommandEnabled(id); }

  FakeProgram f;
};

TEST_F(InterfaceState, WithoutAFileTheStatusBarShowsTheWorkingDirectory) {
  update();
  EXPECT_EQ(f.ui.statusText(StatusFileField), " Arbeitsverzeichnis: /opt/zelvo/     (Es ist keine Datei geöffnet)"_w);
  EXPECT_FALSE(f.ui.statusCentred(StatusFileField));
  EXPECT_TRUE(on(CmdRestore));
  EXPECT_FALSE(on(CmdClose));
  EXPECT_FALSE(f.ui.isEnabled(MergeButton));
}

TEST_F(InterfaceState, ACurrentFileOffersCloseAndMergeAndKeepsItsStatusText) {
  f.program.file.currentPath = "/home/anna/englisch.ltk";
  f.ui.setStatusText(StatusFileField, " /home/anna/englisch.ltk", false);
  update();
  EXPECT_EQ(f.ui.statusText(StatusFileField), " /home/anna/englisch.ltk");
  EXPECT_FALSE(on(CmdRestore));
  EXPECT_TRUE(on(CmdClose));
  EXPECT_TRUE(f.ui.isEnabled(MergeButton));
}

TEST_F(InterfaceState, TheChangedMarkFollowsUnsavedAndReplacesAFinishedMessage) {
  f.ui.showStatusMessage("Laden...");
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Laden...");
  EXPECT_TRUE(f.ui.busy());
  update();
  EXPECT_EQ(f.ui.statusText(StatusStateField), "");
  f.program.file.unsaved = 1;
  update();
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Geändert"_w);
  EXPECT_TRUE(f.ui.statusCentred(StatusStateField));
}

TEST_F(InterfaceState, SplittingNeedsACurrentSavedFile) {
  update();
  EXPECT_FALSE(on(CmdSplit));
  f.program.file.currentPath = "/v/a.ltk";
  update();
  EXPECT_TRUE(on(CmdSplit));
  f.program.file.unsaved = 1;
  update();
  EXPECT_FALSE(on(CmdSplit));
}

TEST_F(InterfaceState, EditAndDeleteAreDisabledWhenTheListLosesTheFocusButNeverEnabled) {
  f.ui.setFocus(VocabListView);
  f.ui.setEnabled(EditButton, true);
  f.ui.setEnabled(DeleteButton, true);
  update();
  EXPECT_TRUE(f.ui.isEnabled(EditButton));
  EXPECT_TRUE(f.ui.isEnabled(DeleteButton));
  f.ui.setEnabled(EditButton, false);
  update();
  EXPECT_FALSE(f.ui.isEnabled(EditButton));  // the rule never enables
  f.ui.setFocus(EntryVocabularyField);
  update();
  EXPECT_FALSE(f.ui.isEnabled(DeleteButton));
}

// Registering and removing through the menu switch the two entries
// (desktop/desktop_commands_test.cpp).
TEST_F(InterfaceState, RegistrationIsAskedOnlyForAnAdministrator) {
  registerFileType(f.program, "Zelvo Lingotak", "/opt/zelvo/zelvo-lingotak");
  f.desktop.lookups = 0;
  f.program.isAdministrator = false;
  update();
  EXPECT_EQ(f.desktop.lookups, 0);
  EXPECT_FALSE(on(CmdRegister));
  EXPECT_FALSE(on(CmdUnregister));

  f.program.isAdministrator = true;
  update();
  EXPECT_EQ(f.desktop.lookups, 1);
  EXPECT_FALSE(on(CmdRegister));
  EXPECT_TRUE(on(CmdUnregister));
}

TEST_F(InterfaceState, EntryPageCommands) {
  update();
  EXPECT_TRUE(on(CmdNew) && on(TbNew));
  EXPECT_TRUE(on(CmdOpen) && on(TbOpen));
  EXPECT_FALSE(on(CmdSave) || on(TbSave));
  EXPECT_TRUE(on(CmdSaveAs));
  EXPECT_FALSE(on(CmdSort) || on(TbSort) || on(CmdShuffle));
  EXPECT_FALSE(on(CmdPrint) || on(TbPrint));
  EXPECT_TRUE(on(TbUpdate));
  EXPECT_FALSE(on(CmdEntryPage));
  EXPECT_TRUE(on(CmdTestPage) && on(CmdHelpPage));
  EXPECT_EQ(f.ui.text(EntryCountValue), "");

  addPairs(3);
  f.program.file.unsaved = 1;
  update();
  EXPECT_TRUE(on(CmdSave) && on(TbSave));
  EXPECT_TRUE(on(CmdSort) && on(TbSort) && on(CmdShuffle));
  EXPECT_TRUE(on(CmdPrint) && on(TbPrint));
  EXPECT_FALSE(on(TbUpdate));
  EXPECT_EQ(f.ui.text(EntryCountValue), "3");
}

TEST_F(InterfaceState, SearchNeedsPairsAndExactlyOneFilledField) {
  addPairs(2);
  f.program.edit.searchPosition = 2;
  f.ui.setText(EntryVocabularyField, "hou");
  update();
  EXPECT_TRUE(on(CmdSearch) && on(TbSearch));
  EXPECT_EQ(f.program.edit.searchPosition, 2);

  f.ui.setText(EntryTranslationField, "Ha");
  update();
  EXPECT_FALSE(on(CmdSearch) || on(TbSearch));
  EXPECT_EQ(f.program.edit.searchPosition, 0);

  f.ui.setText(EntryVocabularyField, "");
  f.ui.setText(EntryTranslationField, " ");  // a blank counts as text
  update();
  EXPECT_TRUE(on(CmdSearch));

  f.ui.setText(EntryTranslationField, "");
  update();
  EXPECT_FALSE(on(CmdSearch));
}

TEST_F(InterfaceState, SearchIsOffWithoutPairsAndOnOtherPages) {
  f.ui.setText(EntryVocabularyField, "hou");
  update();
  EXPECT_FALSE(on(CmdSearch));
  addPairs(1);
  f.program.edit.searchPosition = 1;
  f.ui.showPage(TestPage);
  update();
  EXPECT_FALSE(on(CmdSearch));
  EXPECT_EQ(f.program.edit.searchPosition, 0);
}

TEST_F(InterfaceState, TestPageCommands) {
  addPairs(2);
  f.program.file.unsaved = 1;
  f.ui.showPage(TestPage);
  update();
  EXPECT_FALSE(on(CmdNew) || on(TbNew));
  EXPECT_TRUE(on(CmdOpen) && on(TbOpen));
  EXPECT_TRUE(on(CmdSave) && on(TbSave));
  EXPECT_FALSE(on(CmdSaveAs));
  EXPECT_FALSE(on(CmdSort) || on(CmdShuffle));
  EXPECT_TRUE(on(CmdPrint) && on(TbPrint));
  EXPECT_TRUE(on(CmdEntryPage) && on(CmdHelpPage));
  EXPECT_FALSE(on(CmdTestPage));
}

TEST_F(InterfaceState, WithoutATestTheTestPageShowsNothingToAnswer) {
  f.ui.showPage(TestPage);
  for (ControlId id : {AcceptAnswerButton, TipButton, SkipButton}) f.ui.setEnabled(id, true);
  f.ui.setText(RightCountValue, "4");
  f.ui.setText(WrongCountValue, "1");
  f.ui.setText(RemainingValue, "7");
  update();
  EXPECT_EQ(f.ui.text(RemainingValue), "");
  EXPECT_EQ(f.ui.text(RightCountValue), "");
  EXPECT_EQ(f.ui.text(WrongCountValue), "");
  for (ControlId id : {AcceptAnswerButton, TipButton, SkipButton}) EXPECT_FALSE(f.ui.isEnabled(id));
}

TEST_F(InterfaceState, ARunningTestShowsItsRemainingPairsAndKeepsItsButtons) {
  f.ui.showPage(TestPage);
  f.program.test.items.resize(5);
  for (ControlId id : {AcceptAnswerButton, TipButton, SkipButton}) f.ui.setEnabled(id, true);
  f.ui.setText(RightCountValue, "4");
  update();
  EXPECT_EQ(f.ui.text(RemainingValue), "5");
  EXPECT_EQ(f.ui.text(RightCountValue), "4");
  for (ControlId id : {AcceptAnswerButton, TipButton, SkipButton}) EXPECT_TRUE(f.ui.isEnabled(id));
}

TEST_F(InterfaceState, HelpPageOffersPrintingAndTakesTheFocus) {
  f.program.file.unsaved = 1;
  f.ui.showPage(HelpPage);
  update();
  for (CommandId id :
       {CmdNew, TbNew, CmdOpen, TbOpen, CmdSave, TbSave, CmdSaveAs, CmdSearch, CmdSort, CmdShuffle, CmdHelpPage})
    EXPECT_FALSE(on(id)) << commandName(id);
  EXPECT_TRUE(on(CmdPrint) && on(TbPrint));  // even without pairs
  EXPECT_TRUE(on(CmdEntryPage) && on(CmdTestPage));
  EXPECT_EQ(f.ui.focusedControl(), HelpViewer);
  // Back on the entry page the unsaved pairs can be saved again.
  f.ui.showPage(EntryPage);
  update();
  EXPECT_TRUE(on(CmdSave));
}

TEST_F(InterfaceState, AlwaysAvailableCommandsAreNeverDisabled) {
  f.program.isAdministrator = false;
  for (Page page : {EntryPage, TestPage, HelpPage}) {
    f.ui.showPage(page);
    f.program.file.unsaved = 1;
    update();
    for (CommandId id : {CmdQuit, CmdAbout, TbInfo, CmdShortcut, TbHomepage, CmdStatistics}) EXPECT_TRUE(on(id));
    for (ControlId id :
         {AcceptEntryButton, NewTestButton, Test20Option, AllVocabOption, AskForeignCheck, IgnoreCaseCheck})
      EXPECT_TRUE(f.ui.isEnabled(id));
  }
}

TEST(SelectFieldText, FocusInSelectsAllAndFocusOutPutsTheCaretAtTheEnd) {
  FakeProgram f;
  f.ui.setText(EntryTranslationField, "Haus");
  selectFieldText(f.ui, EntryTranslationField, EventSubtype::FocusGained);
  EXPECT_EQ(f.ui.selection(EntryTranslationField).start, 0);
  EXPECT_EQ(f.ui.selection(EntryTranslationField).end, 4);
  selectFieldText(f.ui, EntryTranslationField, EventSubtype::FocusLost);
  EXPECT_EQ(f.ui.selection(EntryTranslationField).start, 4);
  EXPECT_EQ(f.ui.selection(EntryTranslationField).end, 4);
  f.ui.selectText(EntryTranslationField, 1, 2);
  selectFieldText(f.ui, EntryTranslationField, EventSubtype::TextChanged);
  EXPECT_EQ(f.ui.selection(EntryTranslationField).start, 1);
}

}  // namespace
}  // namespace zl
