#include "app/interface_state.h"

#include "app/texts.h"
#include "desktop/file_type.h"
#include "edit/search.h"
#include "state/program.h"

namespace zl {

namespace {

// A rule that names a menu entry and its toolbar button sets both alike.
void enableCommand(WindowControls& ui, CommandId command, bool enabled) {
  ui.setCommandEnabled(command, enabled);
  if (const int button = toolbarButtonOf(command)) ui.setCommandEnabled(static_cast<CommandId>(button), enabled);
}

// The text of StatusFileField while no file is current.
std::string workingDirectoryText(const std::string& workingDirectory) {
  return app_text::WorkingDirectory + cp1252FromUtf8(workingDirectory) + app_text::NoFileOpen;
}

}  // namespace

void updateInterfaceState(Program& program) {
  WindowControls& ui = program.controls;
  const bool fileCurrent = !program.file.currentPath.empty();
  const bool unsaved = program.file.unsaved != 0;
  const bool pairsExist = !program.list.empty();
  const bool testRuns = program.test.lastIndex() >= 0;
  const bool listHasFocus = ui.focusedControl() == VocabListView;
  const Page page = ui.currentPage();

  // 0. The test's options, as the program holds them.
  const TestOptions& options = program.test.options;
  ui.setChecked(Test20Option, options.twentyPairs);
  ui.setChecked(AllVocabOption, !options.twentyPairs);
  ui.setChecked(AskForeignCheck, options.askForeign);
  ui.setChecked(IgnoreCaseCheck, options.ignoreCase);

  // 1. File-dependent commands.
  ui.setCommandEnabled(CmdRestore, !fileCurrent);
  ui.setCommandEnabled(CmdClose, fileCurrent);
  ui.setEnabled(MergeButton, fileCurrent);
  if (!fileCurrent) ui.setStatusText(StatusFileField, workingDirectoryText(program.constants.workingDirectory), false);

  // 2. The "changed" mark; this also replaces a finished action's message.
  ui.setStatusText(StatusStateField, unsaved ? app_text::Changed : std::string(), true);

  // 3. Splitting needs a current, saved file.
  ui.setCommandEnabled(CmdSplit, fileCurrent && !unsaved);

  // 4. Only a left click in the list enables these; losing its focus ends that.
  if (!listHasFocus) {
    ui.setEnabled(EditButton, false);
    ui.setEnabled(DeleteButton, false);
  }

  // 5. The file-type association, offered to an administrator only.
  bool registerOn = false;
  bool unregisterOn = false;
  if (program.isAdministrator) {
    const bool registered = isFileTypeRegistered(program);
    registerOn = !registered;
    unregisterOn = registered;
  }
  ui.setCommandEnabled(CmdRegister, registerOn);
  ui.setCommandEnabled(CmdUnregister, unregisterOn);

  // 6. The rules of the page shown.
  const bool entry = page == EntryPage;
  const bool test = page == TestPage;
  const bool help = page == HelpPage;
  enableCommand(ui, CmdNew, entry);
  enableCommand(ui, CmdOpen, !help);
  enableCommand(ui, CmdSave, !help && unsaved);
  enableCommand(ui, CmdSaveAs, entry);
  enableCommand(ui, CmdSearch, searchPossible(program));
  enableCommand(ui, CmdSort, entry && pairsExist);
  enableCommand(ui, CmdShuffle, entry && pairsExist);
  enableCommand(ui, CmdPrint, help || pairsExist);
  ui.setCommandEnabled(TbUpdate, !unsaved);
  ui.setCommandEnabled(CmdEntryPage, !entry);
  ui.setCommandEnabled(CmdTestPage, !test);
  ui.setCommandEnabled(CmdHelpPage, !help);
  if (entry) {
    const std::int64_t count = program.list.size();
    ui.setText(EntryCountValue, count > 0 ? std::to_string(count) : std::string());
  } else if (test) {
    ui.setText(RemainingValue, testRuns ? std::to_string(program.test.lastIndex() + 1) : std::string());
    if (!testRuns) {
      for (ControlId id : {AcceptAnswerButton, TipButton, SkipButton}) ui.setEnabled(id, false);
      ui.setText(RightCountValue, "");
      ui.setText(WrongCountValue, "");
    }
  } else {
    ui.setFocus(HelpViewer);
  }
}

void selectFieldText(WindowControls& ui, int controlId, EventSubtype subtype) {
  const auto id = static_cast<ControlId>(controlId);
  // The length in characters equals the length in bytes: one byte each.
  const int length = static_cast<int>(ui.text(id).size());
  if (subtype == EventSubtype::FocusGained) ui.selectText(id, 0, length);
  if (subtype == EventSubtype::FocusLost) ui.selectText(id, length, length);
}

}  // namespace zl
