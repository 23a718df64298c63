#include "app/dispatch.h"

#include "app/interface_state.h"
#include "app/program.h"

namespace zl {

namespace {

void runCommand(Program& program, Event& event) {
  Ui& ui = program.ui;
  switch (menuCommandOf(event.id)) {
    case CmdQuit:
      event.kind = EventKind::Close;
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

void runControl(Program& program, const Event& event) {
  Ui& ui = program.ui;
  switch (event.id) {
    case VocabListView: {
      // Both clicks look at the selection the click left behind.
      const bool rowSelected = ui.selectedRow() >= 0;
      if (event.subtype == EventSubtype::LeftClick && rowSelected && !program.edit.editMode) {
        ui.setEnabled(EditButton, true);
        ui.setEnabled(DeleteButton, true);
      } else if (event.subtype == EventSubtype::RightClick && rowSelected) {
        ui.showStatisticsPopup();
      }
      break;
    }
    case Test20Option:
    case AllVocabOption:
    case AskForeignCheck:
      resetTest(program);  // a change of the test options ends the running test
      break;
    case EntryVocabularyField:
    case EntryTranslationField:
    case TestVocabularyField:
    case TestTranslationField:
      selectFieldText(program, event.id, event.subtype);
      break;
    default:
      break;
  }
}

void closeWindow(Program& program) {
  // Unsaved pairs are never dropped here: the window stays open until they
  // have gone through the unsaved-data question.
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
  program.ui.endBusy();
}

}  // namespace zl
