#include "app/dispatch.h"

#include "app/about.h"
#include "app/interface_state.h"
#include "desktop/desktop_commands.h"
#include "edit/entry.h"
#include "edit/pair_statistics.h"
#include "edit/reorder.h"
#include "edit/search.h"
#include "files/backup.h"
#include "files/file_commands.h"
#include "files/merge.h"
#include "files/split.h"
#include "print/help_printout.h"
#include "print/list_printout.h"
#include "quiz/quiz_run.h"
#include "state/program.h"
#include "update/internet_update.h"

namespace zl {

namespace {

void runCommand(Program& program, Event& event) {
  WindowControls& ui = program.controls;
  switch (menuCommandOf(event.id)) {
    case CmdAccept:
      if (ui.currentPage() == EntryPage)
        acceptEntry(program);
      else if (ui.currentPage() == TestPage && program.test.lastIndex() >= 0)
        submitAnswer(program);
      break;
    case CmdSearch:
      searchList(program);
      break;
    case CmdSort:
      sortVocabulary(program);
      break;
    case CmdShuffle:
      shuffleVocabulary(program);
      break;
    case CmdStatistics:
      showPairStatistics(program);
      break;
    case CmdNew:
    case CmdClose:
      newFile(program);
      break;
    case CmdOpen:
      openFile(program, "");
      break;
    case CmdSave:
      if (program.file.currentPath.empty())
        saveFileAs(program);
      else
        saveFile(program);
      break;
    case CmdSaveAs:
      saveFileAs(program);
      break;
    case CmdRestore:
      restoreBackup(program);
      break;
    case CmdSplit:
      splitFile(program);
      break;
    case CmdPrint:
      if (ui.currentPage() == HelpPage)
        printHelpText(program.printer);
      else
        printVocabularyList(program);
      break;
    case CmdQuit:
      event.kind = EventKind::Close;
      break;
    case CmdAbout:
      showAbout(program.dialogs, program.constants);
      break;
    case CmdShortcut:
      createDesktopShortcut(program);
      break;
    case CmdRegister:
      askRegisterFileType(program);
      break;
    case CmdUnregister:
      askUnregisterFileType(program);
      break;
    case TbHomepage:
      openHomepage(program);
      break;
    case TbUpdate:
      if (runInternetUpdate(program)) event.kind = EventKind::Close;  // the new program has started
      break;
    case CmdEntryPage:
      ui.showPage(EntryPage);
      break;
    case CmdTestPage:
      ui.showPage(TestPage);
      break;
    case CmdHelpPage:
      ui.showPage(HelpPage);
      ui.setFocus(HelpViewer);
      break;
    default:
      break;
  }
}

// The test's options as the user has just set them on the test page.
void takeTestOptions(Program& program) {
  TestOptions& options = program.test.options;
  options.twentyPairs = program.controls.isChecked(Test20Option);
  options.askForeign = program.controls.isChecked(AskForeignCheck);
  options.ignoreCase = program.controls.isChecked(IgnoreCaseCheck);
}

void runControl(Program& program, const Event& event) {
  WindowControls& ui = program.controls;
  switch (event.id) {
    case MergeButton:
      mergeFile(program);
      break;
    case DeleteButton:
      deleteSelectedEntry(program);
      break;
    case AcceptEntryButton:
      acceptEntry(program);
      break;
    case EditButton:
      beginEdit(program);
      break;
    case NewTestButton:
      startNewTest(program);
      break;
    case SkipButton:
      skipQuestion(program);
      break;
    case AcceptAnswerButton:
      submitAnswer(program);
      break;
    case TipButton:
      showTip(program);
      break;
    case VocabListView: {
      // Both clicks look at the selection the click left behind.
      const bool rowSelected = program.listView.selectedRow() >= 0;
      if (event.subtype == EventSubtype::LeftClick && rowSelected && !program.edit.editMode) {
        ui.setEnabled(EditButton, true);
        ui.setEnabled(DeleteButton, true);
      } else if (event.subtype == EventSubtype::RightClick && rowSelected) {
        program.listView.showStatisticsPopup();
      }
      break;
    }
    case Test20Option:
    case AllVocabOption:
    case AskForeignCheck:
      takeTestOptions(program);
      endRunningTest(program);  // a change of the test options ends the running test
      break;
    case IgnoreCaseCheck:
      takeTestOptions(program);
      break;
    case EntryVocabularyField:
    case EntryTranslationField:
    case TestVocabularyField:
    case TestTranslationField:
      selectFieldText(ui, event.id, event.subtype);
      break;
    default:
      break;
  }
}

// Unsaved pairs go through the unsaved-data question first; Cancel, or a
// save that fails, keeps the program running.
void closeWindow(Program& program) {
  if (program.file.unsaved) newFile(program);
  if (program.file.unsaved == 0) program.quitRequested = true;
}

}  // namespace

void dispatchEvent(Program& program, Event event) {
  if (event.kind == EventKind::Menu) {
    runCommand(program, event);
    updateInterfaceState(program);
  }
  if (event.kind == EventKind::Control) {
    runControl(program, event);
    updateInterfaceState(program);
  }
  if (event.kind == EventKind::Close) {
    closeWindow(program);
    updateInterfaceState(program);
  }
  program.controls.endBusy();
}

}  // namespace zl
