// The ids of every control and every command of the main window, of its
// pages and of its status bar fields: the names by which the program and
// the window address each other (ui.h), so they stand beside the window's
// interface. Controls (0 to 37) and commands (1 to 31) have two separate
// number spaces; both arrive in the event dispatch and select the handler.
// Their names as texts are the program's (state/controls.h). Plain data.
#pragma once

namespace zl {

enum ControlId : int {
  NoControl = -1,
  PagePanel = 0,
  EntryVocabularyField = 1,
  EntryTranslationField = 2,
  EntryVocabularyLabel = 3,
  EntryTranslationLabel = 4,
  MergeButton = 5,
  DeleteButton = 6,
  AcceptEntryButton = 7,
  EditButton = 8,
  EntryCountValue = 9,
  EntryCountLabel = 10,
  VocabListView = 11,
  TestVocabularyField = 12,
  TestTranslationField = 13,
  TestTranslationLabel = 14,
  TestVocabularyLabel = 15,
  NewTestButton = 16,
  SkipButton = 17,
  AcceptAnswerButton = 18,
  TipButton = 19,
  RemainingValue = 20,
  RemainingLabel = 21,
  OptionsFrame = 22,
  PairStatisticsFrame = 23,
  EvaluationFrame = 24,
  Test20Option = 25,
  AllVocabOption = 26,
  AskForeignCheck = 27,
  IgnoreCaseCheck = 28,
  RightCountValue = 29,
  WrongCountValue = 30,
  RightCountLabel = 31,
  WrongCountLabel = 32,
  RateLabel = 33,
  GradeLabel = 34,
  HelpViewer = 35,
  RateValue = 36,
  GradeValue = 37,
};
inline constexpr int ControlCount = GradeValue + 1;

enum CommandId : int {
  CmdAccept = 1,
  CmdNew = 2,
  CmdOpen = 3,
  CmdClose = 4,
  CmdSave = 5,
  CmdSaveAs = 6,
  CmdSearch = 7,
  CmdSort = 8,
  CmdShuffle = 9,
  CmdPrint = 10,
  CmdRestore = 11,
  CmdSplit = 12,
  CmdQuit = 13,
  CmdEntryPage = 14,
  CmdTestPage = 15,
  CmdHelpPage = 16,
  CmdAbout = 17,
  CmdShortcut = 18,
  CmdRegister = 19,
  CmdUnregister = 20,
  TbNew = 21,
  TbOpen = 22,
  TbSave = 23,
  TbSearch = 24,
  TbSort = 25,
  TbPrint = 26,
  TbUpdate = 27,
  TbHomepage = 28,
  TbInfo = 29,
  StatisticsPopup = 30,
  CmdStatistics = 31,
};
inline constexpr int CommandCount = CmdStatistics + 1;  // 0 is unused

// The pages of `PagePanel`, in tab order.
enum Page : int { EntryPage = 0, TestPage = 1, HelpPage = 2 };

// The two fields of the status bar.
enum StatusField : int { StatusStateField = 0, StatusFileField = 1 };

}  // namespace zl
