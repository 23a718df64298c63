#include "quiz/quiz_run.h"

#include "files/file_commands.h"
#include "quiz/grade.h"
#include "quiz/quiz_selection.h"
#include "quiz/texts.h"
#include "state/program.h"
#include "state/texts.h"
#include "state/window_rules.h"

namespace zl {

namespace {

// The field the user types the answer into, and the one showing the question.
ControlId answerField(const Program& program) {
  return program.test.options.askForeign ? TestVocabularyField : TestTranslationField;
}

ControlId questionField(const Program& program) {
  return program.test.options.askForeign ? TestTranslationField : TestVocabularyField;
}

TestItem& currentItem(Program& program) {
  return program.test.items[static_cast<std::size_t>(program.test.currentItem)];
}

PairView askedPair(Program& program) { return program.list[currentItem(program).pairIndex]; }

std::string_view solution(Program& program) {
  const PairView pair = askedPair(program);
  return program.test.options.askForeign ? pair.vocabulary : pair.translation;
}

void showPairCounts(Program& program) {
  const PairView pair = askedPair(program);
  program.controls.setText(RightCountValue, std::to_string(pair.correctCount));
  program.controls.setText(WrongCountValue, std::to_string(pair.wrongCount));
}

void evaluateAnswer(Program& program, std::string_view answer) {
  WindowControls& ui = program.controls;
  TestState& test = program.test;
  program.file.unsaved = 1;
  TestItem& item = currentItem(program);
  const PairView pair = askedPair(program);
  const bool twenty = program.test.options.twentyPairs;
  if (answerMatches(answer, solution(program), program.test.options.ignoreCase)) {
    if (!item.statsLocked) {
      program.list.setCounts(item.pairIndex, wrappingIncrement(pair.correctCount), pair.wrongCount);
      ++test.testRightCount;
    }
    test.items.erase(test.items.begin() + test.currentItem);
    test.currentItem = -1;
    if (test.lastIndex() >= 0) {
      askNextQuestion(program);
    } else {
      ui.setText(TestVocabularyField, "");
      ui.setText(TestTranslationField, "");
      if (twenty) showGrade(ui, test.testRightCount);
      saveFile(program);
      ui.setFieldReadOnly(TestVocabularyField, true);
      ui.setFieldReadOnly(TestTranslationField, true);
      ui.setFocus(NewTestButton);
    }
  } else {
    program.dialogs.messageBox(state_text::InputErrorTitle, quiz_text::WrongAnswer, MessageButtons::Ok,
                               MessageIcon::Error);
    if (!item.statsLocked) {
      program.list.setCounts(item.pairIndex, pair.correctCount, wrappingIncrement(pair.wrongCount));
      showPairCounts(program);
    }
    item.statsLocked = 1;
    ui.setText(answerField(program), "");
    ui.setFocus(answerField(program));
  }
  if (twenty) showRate(ui, test.testRightCount);
}

}  // namespace

void clearTestPage(WindowControls& controls) {
  for (ControlId id : {TestTranslationField, TestVocabularyField, RateValue, GradeValue}) controls.setText(id, "");
  controls.setFieldReadOnly(TestVocabularyField, true);
  controls.setFieldReadOnly(TestTranslationField, true);
  // Only where the user sees it: a focus on the hidden test page would
  // swallow what is typed on the entry page (after an open, a delete, a sort).
  if (controls.currentPage() == TestPage) controls.setFocus(NewTestButton);
}

bool answerMatches(std::string_view answer, std::string_view solution, bool ignoreCase) {
  return ignoreCase ? lowerCp1252(answer) == lowerCp1252(solution) : answer == solution;
}

void startNewTest(Program& program) {
  WindowControls& ui = program.controls;
  if (program.file.currentPath.empty()) {
    openFile(program, "");
    if (program.file.currentPath.empty()) return;
  }
  for (ControlId id : {AcceptAnswerButton, SkipButton, TipButton}) ui.setEnabled(id, false);
  endRunningTest(program);
  buildTestList(ui, program.list, program.test);
  if (program.test.lastIndex() < 0) {
    program.dialogs.messageBox(quiz_text::NewTestTitle,
                               program.list.size() == 0 ? quiz_text::NothingToAsk : quiz_text::NoneFitsAField,
                               MessageButtons::Ok, MessageIcon::Information);
    return;
  }
  askNextQuestion(program);
  program.test.testRightCount = 0;
  for (ControlId id : {AcceptAnswerButton, SkipButton, TipButton}) ui.setEnabled(id, true);
}

void askNextQuestion(Program& program) {
  WindowControls& ui = program.controls;
  TestState& test = program.test;
  test.currentItem = static_cast<std::int32_t>(program.random.uniform(test.lastIndex()));
  program.list.select(currentItem(program).pairIndex);  // the asked pair is the list's current pair
  const PairView pair = askedPair(program);
  const bool askForeign = program.test.options.askForeign;
  ui.setText(questionField(program), std::string(askForeign ? pair.translation : pair.vocabulary));
  ui.setText(answerField(program), "");
  ui.setFocus(answerField(program));
  ui.setFieldReadOnly(answerField(program), false);
  showPairCounts(program);
}

void submitAnswer(Program& program) {
  if (program.test.lastIndex() < 0) return;
  const std::string answer = program.controls.text(answerField(program));
  if (answer.empty()) {
    program.dialogs.messageBox(state_text::InputErrorTitle, quiz_text::AnswerNeeded, MessageButtons::Ok,
                               MessageIcon::Warning);
    program.controls.setFocus(answerField(program));
    return;
  }
  evaluateAnswer(program, answer);
}

void showTip(Program& program) {
  if (program.test.lastIndex() < 0) return;
  program.dialogs.messageBox(quiz_text::TipTitle, std::string(shownStart(solution(program))), MessageButtons::Ok,
                             MessageIcon::Information);
  program.controls.setFocus(answerField(program));
  currentItem(program).statsLocked = 1;
}

void skipQuestion(Program& program) {
  if (program.test.lastIndex() >= 0) askNextQuestion(program);
}

}  // namespace zl
