#include "app/dispatch.h"

#include <gtest/gtest.h>

#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

TEST(Dispatch, PageCommandsSwitchTabs) {
  FakeProgram f;
  f.menu(CmdTestPage);
  EXPECT_EQ(f.ui.currentPage(), TestPage);
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdTestPage));
  f.menu(CmdHelpPage);
  EXPECT_EQ(f.ui.currentPage(), HelpPage);
  EXPECT_EQ(f.ui.focusedControl(), HelpViewer);
  f.menu(CmdEntryPage);
  EXPECT_EQ(f.ui.currentPage(), EntryPage);
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdEntryPage));
}

TEST(Dispatch, ATabClickUpdatesTheRulesOfTheNewPage) {
  FakeProgram f;
  f.ui.showPage(HelpPage);  // as the click itself has done
  f.control(PagePanel, EventSubtype::TabChanged);
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdOpen));
  EXPECT_EQ(f.ui.focusedControl(), HelpViewer);
}

TEST(Dispatch, ReturnChangesNothingWhereNothingCanBeAccepted) {
  FakeProgram f;
  f.ui.showPage(HelpPage);
  f.menu(CmdAccept);
  f.ui.showPage(TestPage);
  f.menu(CmdAccept);  // no test runs
  EXPECT_EQ(f.program.list.size(), 0);
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_TRUE(f.ui.shownMessages().empty());
}

TEST(Dispatch, QuitWithNothingUnsavedEndsAtOnceWithoutAQuestion) {
  FakeProgram f;
  f.addPairs({{"a", "b", 0, 0}});
  f.program.file.currentPath = "/v/a.ltk";
  f.menu(CmdQuit);
  EXPECT_TRUE(f.program.quitRequested);
  EXPECT_TRUE(f.ui.shownMessages().empty());
  EXPECT_EQ(f.program.list.size(), 1);  // nothing is cleared on the way out
  EXPECT_EQ(f.program.file.currentPath, "/v/a.ltk");
}

TEST(Dispatch, ClosingTheWindowWithNothingUnsavedEnds) {
  FakeProgram f;
  f.close();
  EXPECT_TRUE(f.program.quitRequested);
}

TEST(Dispatch, ClosingNeverDropsUnsavedPairsWithoutTheQuestion) {
  FakeProgram f;
  f.addPairs({{"a", "b", 0, 0}});
  f.program.file.unsaved = 1;
  f.ui.expectMessage("Ungesicherte Daten", "Es gibt noch ungesicherte Daten,\nsollen diese jetzt gespeichert werden?",
                     Answer::Cancel);
  f.close();
  EXPECT_FALSE(f.program.quitRequested);
  EXPECT_EQ(f.program.list.size(), 1);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Geändert"_w);
}

TEST(Dispatch, ALeftClickOnASelectedRowOffersEditAndDelete) {
  FakeProgram f;
  f.ui.setFocus(VocabListView);
  f.ui.setSelectedRow(2);
  f.control(VocabListView, EventSubtype::LeftClick);
  EXPECT_TRUE(f.ui.isEnabled(EditButton));
  EXPECT_TRUE(f.ui.isEnabled(DeleteButton));
  // Clicking into a text field afterwards takes them away again.
  f.ui.setFocus(EntryVocabularyField);
  f.control(EntryVocabularyField, EventSubtype::FocusGained);
  EXPECT_FALSE(f.ui.isEnabled(EditButton));
  EXPECT_FALSE(f.ui.isEnabled(DeleteButton));
}

TEST(Dispatch, ClicksThatLeaveNoRowSelectedOrComeDuringAnEditOfferNothing) {
  FakeProgram f;
  f.ui.setFocus(VocabListView);
  f.ui.setSelectedRow(-1);
  f.control(VocabListView, EventSubtype::LeftClick);
  EXPECT_FALSE(f.ui.isEnabled(EditButton));
  f.control(VocabListView, EventSubtype::RightClick);
  EXPECT_EQ(f.ui.popupsShown(), 0);

  f.ui.setSelectedRow(0);
  f.program.edit.editMode = true;
  f.control(VocabListView, EventSubtype::LeftClick);
  EXPECT_FALSE(f.ui.isEnabled(EditButton));
  EXPECT_FALSE(f.ui.isEnabled(DeleteButton));
}

TEST(Dispatch, ARightClickOnASelectedRowShowsThePopup) {
  FakeProgram f;
  f.ui.setFocus(VocabListView);
  f.ui.setSelectedRow(0);
  f.program.edit.editMode = true;  // the popup does not depend on the edit
  f.control(VocabListView, EventSubtype::RightClick);
  EXPECT_EQ(f.ui.popupsShown(), 1);
  EXPECT_FALSE(f.ui.isEnabled(EditButton));
}

class TestOptions : public ::testing::TestWithParam<ControlId> {};

TEST_P(TestOptions, ChangingTheTestOptionsEndsTheRunningTest) {
  FakeProgram f;
  f.ui.showPage(TestPage);
  f.program.test.items.resize(3);
  f.ui.setText(TestTranslationField, "Haus");
  f.ui.setText(RightCountValue, "2");
  f.ui.setText(WrongCountValue, "1");
  f.ui.setFieldReadOnly(TestVocabularyField, false);
  for (ControlId id : {AcceptAnswerButton, TipButton, SkipButton}) f.ui.setEnabled(id, true);

  f.control(GetParam());

  EXPECT_EQ(f.program.test.lastIndex(), -1);
  EXPECT_TRUE(f.program.test.items.empty());
  EXPECT_EQ(f.ui.text(TestTranslationField), "");
  EXPECT_TRUE(f.ui.isReadOnly(TestVocabularyField));
  EXPECT_EQ(f.ui.text(RemainingValue), "");
  EXPECT_EQ(f.ui.text(RightCountValue), "");
  EXPECT_EQ(f.ui.text(WrongCountValue), "");
  for (ControlId id : {AcceptAnswerButton, TipButton, SkipButton}) EXPECT_FALSE(f.ui.isEnabled(id));
  EXPECT_EQ(f.ui.focusedControl(), NewTestButton);
}

INSTANTIATE_TEST_SUITE_P(Dispatch, TestOptions, ::testing::Values(Test20Option, AllVocabOption, AskForeignCheck));

// The program holds the test's options: what the user sets goes into it,
// and what it holds is what the window shows after the next event.
TEST(Dispatch, TheTestsOptionsAreTheProgramsAndTheWindowShowsThem) {
  FakeProgram f;
  f.ui.showPage(TestPage);
  f.ui.setChecked(Test20Option, false);
  f.ui.setChecked(AllVocabOption, true);
  f.control(AllVocabOption, EventSubtype::Toggled);
  for (const ControlId box : {AskForeignCheck, IgnoreCaseCheck}) {
    f.ui.setChecked(box, false);
    f.control(box, EventSubtype::Toggled);
  }
  const zl::TestOptions& options = f.program.test.options;
  EXPECT_FALSE(options.twentyPairs);
  EXPECT_FALSE(options.askForeign);
  EXPECT_FALSE(options.ignoreCase);

  f.program.test.options = zl::TestOptions{};
  f.menu(CmdTestPage);
  for (const ControlId on : {Test20Option, AskForeignCheck, IgnoreCaseCheck}) EXPECT_TRUE(f.ui.isChecked(on)) << on;
  EXPECT_FALSE(f.ui.isChecked(AllVocabOption));
}

TEST(Dispatch, IgnoringCaseDoesNotEndTheTest) {
  FakeProgram f;
  f.ui.showPage(TestPage);
  f.program.test.items.resize(3);
  f.control(IgnoreCaseCheck);
  EXPECT_EQ(f.program.test.lastIndex(), 2);
  EXPECT_EQ(f.ui.text(RemainingValue), "3");
}

TEST(Dispatch, FocusEventsOfTheFourFieldsSelectTheirText) {
  FakeProgram f;
  for (ControlId id : {EntryVocabularyField, EntryTranslationField, TestVocabularyField, TestTranslationField}) {
    f.ui.setText(id, "Wort");
    f.control(id, EventSubtype::FocusGained);
    EXPECT_EQ(f.ui.selection(id).start, 0) << controlName(id);
    EXPECT_EQ(f.ui.selection(id).end, 4) << controlName(id);
    f.control(id, EventSubtype::FocusLost);
    EXPECT_EQ(f.ui.selection(id).start, 4) << controlName(id);
  }
}

TEST(Dispatch, TypingUpdatesTheInterfaceAfterEveryKeystroke) {
  FakeProgram f;
  f.program.list.append(VocabEntry{"house", "Haus", 0, 0});
  f.type(EntryVocabularyField, "h");
  EXPECT_TRUE(f.ui.isCommandEnabled(CmdSearch));
  f.type(EntryTranslationField, "H");
  EXPECT_FALSE(f.ui.isCommandEnabled(CmdSearch));
}

TEST(Dispatch, UnknownIdsChangeNothingButStillUpdate) {
  FakeProgram f;
  f.program.file.unsaved = 1;
  f.menu(99);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Geändert"_w);
  f.program.file.unsaved = 0;
  f.control(77);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "");
  EXPECT_FALSE(f.program.quitRequested);
}

TEST(Dispatch, AFinishedActionEndsTheWaitCursor) {
  FakeProgram f;
  f.ui.showStatusMessage("Laden...");
  f.menu(CmdEntryPage);
  EXPECT_FALSE(f.ui.busy());
}

}  // namespace
}  // namespace zl
