#include "state/controls.h"

#include <array>

namespace zl {

namespace {

constexpr auto kControlNames = std::to_array<std::string_view>({
    "PagePanel",
    "EntryVocabularyField",
    "EntryTranslationField",
    "EntryVocabularyLabel",
    "EntryTranslationLabel",
    "MergeButton",
    "DeleteButton",
    "AcceptEntryButton",
    "EditButton",
    "EntryCountValue",
    "EntryCountLabel",
    "VocabListView",
    "TestVocabularyField",
    "TestTranslationField",
    "TestTranslationLabel",
    "TestVocabularyLabel",
    "NewTestButton",
    "SkipButton",
    "AcceptAnswerButton",
    "TipButton",
    "RemainingValue",
    "RemainingLabel",
    "OptionsFrame",
    "PairStatisticsFrame",
    "EvaluationFrame",
    "Test20Option",
    "AllVocabOption",
    "AskForeignCheck",
    "IgnoreCaseCheck",
    "RightCountValue",
    "WrongCountValue",
    "RightCountLabel",
    "WrongCountLabel",
    "RateLabel",
    "GradeLabel",
    "HelpViewer",
    "RateValue",
    "GradeValue",
});
static_assert(kControlNames.size() == ControlCount, "a name for every id");

constexpr auto kCommandNames = std::to_array<std::string_view>({
    "",
    "CmdAccept",
    "CmdNew",
    "CmdOpen",
    "CmdClose",
    "CmdSave",
    "CmdSaveAs",
    "CmdSearch",
    "CmdSort",
    "CmdShuffle",
    "CmdPrint",
    "CmdRestore",
    "CmdSplit",
    "CmdQuit",
    "CmdEntryPage",
    "CmdTestPage",
    "CmdHelpPage",
    "CmdAbout",
    "CmdShortcut",
    "CmdRegister",
    "CmdUnregister",
    "TbNew",
    "TbOpen",
    "TbSave",
    "TbSearch",
    "TbSort",
    "TbPrint",
    "TbUpdate",
    "TbHomepage",
    "TbInfo",
    "StatisticsPopup",
    "CmdStatistics",
});
static_assert(kCommandNames.size() == CommandCount, "a name for every id");

}  // namespace

std::string_view controlName(int id) { return id >= 0 && id < ControlCount ? kControlNames[id] : std::string_view(); }

std::string_view commandName(int id) { return id >= 1 && id < CommandCount ? kCommandNames[id] : std::string_view(); }

namespace {

struct RepeatedCommand {
  int button;
  int command;
};
constexpr std::array<RepeatedCommand, 7> kRepeated = {{
    {TbNew, CmdNew},
    {TbOpen, CmdOpen},
    {TbSave, CmdSave},
    {TbSearch, CmdSearch},
    {TbSort, CmdSort},
    {TbPrint, CmdPrint},
    {TbInfo, CmdAbout},
}};

}  // namespace

int menuCommandOf(int id) {
  for (const auto& r : kRepeated)
    if (r.button == id) return r.command;
  return id;
}

int toolbarButtonOf(int command) {
  for (const auto& r : kRepeated)
    if (r.command == command) return r.button;
  return 0;
}

}  // namespace zl
