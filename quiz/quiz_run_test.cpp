#include "quiz/quiz_run.h"

#include <gtest/gtest.h>

#include <cmath>

#include "files/file_commands.h"
#include "state/window_rules.h"
#include "store/cp1252.h"
#include "test_support/fake_platform.h"

namespace zl {
namespace {

const std::string kWrongTitle = "Eingabefehler";
const std::string kWrong = "Das war leider falsch!";

class TestRun : public ::testing::Test {
 protected:
  // A saved file of `count` pairs ("Wort<i>" / "word<i>", never asked),
  // opened, with the test page shown.
  void haveFile(int count, const std::string& extra = "") {
    std::string bytes;
    for (int i = 0; i < count; ++i)
      bytes += "Wort" + std::to_string(i) + "\r\nword" + std::to_string(i) + "\r\n0\r\n0\r\n";
    file_ = f.folder / "test.ltk";
    writeBytes(file_, bytes + extra);
    openFile(f.program, file_);
    f.menu(CmdTestPage);
  }
  void start() { f.control(NewTestButton); }
  // The list position of the pair being asked, and the pair.
  std::int32_t askedIndex() const {
    const TestState& t = f.program.test;
    return t.items[static_cast<std::size_t>(t.currentItem)].pairIndex;
  }
  PairView asked() const { return f.program.list[askedIndex()]; }
  std::string solution() const { return std::string(asked().vocabulary); }
  // Types into the answer field and presses Return.
  void answer(const std::string& text) {
    f.type(TestVocabularyField, text);
    f.menu(CmdAccept);
  }
  void answerRight() { answer(solution()); }
  void answerWrong() {
    f.ui.expectMessage(kWrongTitle, kWrong, Answer::Ok);
    answer("falsch");
  }
  std::int32_t remaining() const { return f.program.test.lastIndex() + 1; }
  void TearDown() override { EXPECT_TRUE(f.ui.allMessagesShown()); }

  FakeProgram f;
  std::string file_;
};

TEST_F(TestRun, ANewTestAsksAPairInTheForeignDirection) {
  haveFile(20);
  start();
  EXPECT_EQ(remaining(), 20);
  EXPECT_EQ(f.ui.text(RemainingValue), "20");
  EXPECT_EQ(f.ui.text(TestTranslationField), asked().translation);
  EXPECT_EQ(f.ui.text(TestVocabularyField), "");
  EXPECT_FALSE(f.ui.isReadOnly(TestVocabularyField));
  EXPECT_TRUE(f.ui.isReadOnly(TestTranslationField));
  EXPECT_EQ(f.ui.focusedControl(), TestVocabularyField);
  EXPECT_EQ(f.ui.text(RightCountValue), "0");
  EXPECT_EQ(f.ui.text(WrongCountValue), "0");
  for (ControlId id : {AcceptAnswerButton, SkipButton, TipButton}) EXPECT_TRUE(f.ui.isEnabled(id));
  EXPECT_EQ(f.program.list.position(), askedIndex());
}

TEST_F(TestRun, TheOtherDirectionAsksTheTranslation) {
  haveFile(3);
  f.ui.setChecked(AskForeignCheck, false);
  f.control(AskForeignCheck, EventSubtype::Toggled);
  start();
  EXPECT_EQ(f.ui.text(TestVocabularyField), asked().vocabulary);
  EXPECT_FALSE(f.ui.isReadOnly(TestTranslationField));
  EXPECT_TRUE(f.ui.isReadOnly(TestVocabularyField));
  const std::string translation(asked().translation);
  f.type(TestTranslationField, translation);
  f.menu(CmdAccept);
  EXPECT_EQ(remaining(), 2);
}

TEST_F(TestRun, RightAtTheFirstAttemptCountsAndMovesOn) {
  haveFile(20);
  start();
  const std::int32_t pair = askedIndex();
  answerRight();
  EXPECT_EQ(f.program.list[pair].correctCount, 1);
  EXPECT_EQ(f.program.list[pair].wrongCount, 0);
  EXPECT_EQ(f.program.test.testRightCount, 1);
  EXPECT_EQ(remaining(), 19);
  EXPECT_EQ(f.ui.text(RemainingValue), "19");
  EXPECT_EQ(f.ui.text(RateValue), "5%");
  EXPECT_EQ(f.program.file.unsaved, 1);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "Geändert"_w);
  for (const TestItem& item : f.program.test.items) EXPECT_NE(item.pairIndex, pair);
}

TEST_F(TestRun, WrongThenRightCountsOneWrongOnly) {
  haveFile(20);
  start();
  const std::int32_t pair = askedIndex();
  answerWrong();
  EXPECT_EQ(f.program.list[pair].wrongCount, 1);
  EXPECT_EQ(f.ui.text(WrongCountValue), "1");
  EXPECT_EQ(f.ui.text(TestVocabularyField), "");
  EXPECT_EQ(f.ui.focusedControl(), TestVocabularyField);
  EXPECT_EQ(f.ui.text(RateValue), "0%");
  EXPECT_EQ(asked().vocabulary, "Wort" + std::to_string(pair));  // the same pair stays
  answerWrong();
  EXPECT_EQ(f.program.list[pair].wrongCount, 1);  // not twice
  answerRight();
  EXPECT_EQ(f.program.list[pair].correctCount, 0);
  EXPECT_EQ(f.program.list[pair].wrongCount, 1);
  EXPECT_EQ(f.program.test.testRightCount, 0);
  EXPECT_EQ(remaining(), 19);
}

TEST_F(TestRun, TheTipKeepsThePairsCountsAsTheyAre) {
  haveFile(20);
  start();
  const std::int32_t pair = askedIndex();
  f.type(TestVocabularyField, "halb");
  f.ui.expectMessage("Tip", solution(), Answer::Ok);
  f.control(TipButton);
  EXPECT_EQ(f.ui.text(TestVocabularyField), "halb");  // the text stays
  EXPECT_EQ(f.ui.focusedControl(), TestVocabularyField);
  EXPECT_EQ(f.program.file.unsaved, 0);
  answerRight();
  EXPECT_EQ(f.program.list[pair].correctCount, 0);
  EXPECT_EQ(f.program.list[pair].wrongCount, 0);
  EXPECT_EQ(f.program.test.testRightCount, 0);
  EXPECT_EQ(remaining(), 19);
}

TEST_F(TestRun, SkippingWithOnePairLeftAsksItAgain) {
  haveFile(1);
  start();
  f.control(SkipButton);
  EXPECT_EQ(remaining(), 1);
  EXPECT_EQ(f.ui.text(TestTranslationField), "word0");
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.program.list[0].correctCount, 0);
}

TEST_F(TestRun, CaseCountsOnlyWithoutTheCheckBox) {
  haveFile(0, "Haus\r\nhouse\r\n0\r\n0\r\nÄpfel\r\napples\r\n0\r\n0\r\nx\r\ny\r\n0\r\n0\r\n"_w);
  f.ui.setChecked(Test20Option, false);
  f.ui.setChecked(AllVocabOption, true);
  f.control(AllVocabOption, EventSubtype::Toggled);
  start();
  while (remaining() > 1) {
    const std::string right = solution();
    answer(lowerCp1252(right) == right ? right : lowerCp1252(right));  // haus, äpfel
  }
  EXPECT_EQ(f.program.test.testRightCount, 2);
  f.ui.setChecked(IgnoreCaseCheck, false);
  f.control(IgnoreCaseCheck);  // does not end the test
  ASSERT_EQ(remaining(), 1);
  f.ui.expectMessage(kWrongTitle, kWrong, Answer::Ok);
  answer(solution() == "x" ? "X" : lowerCp1252(solution()));
  EXPECT_EQ(remaining(), 1);
}

TEST_F(TestRun, ATrailingBlankIsWrong) {
  haveFile(2);
  start();
  f.ui.expectMessage(kWrongTitle, kWrong, Answer::Ok);
  answer(solution() + " ");
  EXPECT_EQ(remaining(), 2);
}

TEST_F(TestRun, AnEmptyAnswerIsRefusedAndChangesNothing) {
  haveFile(2);
  start();
  f.ui.setFocus(SkipButton);
  f.ui.expectMessage(kWrongTitle, "Bitte geben Sie ein Wort in\ndas entsprechende Feld ein!", Answer::Ok);
  answer("");
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(remaining(), 2);
  EXPECT_EQ(f.ui.focusedControl(), TestVocabularyField);
}

TEST_F(TestRun, AWholeTwentyPairTestIsGradedAndSaved) {
  haveFile(20);
  const std::string before = readBytes(file_);
  start();
  for (int i = 0; i < 5; ++i) {
    answerWrong();
    answerRight();
  }
  while (remaining() > 0) answerRight();
  EXPECT_EQ(f.program.test.testRightCount, 15);
  EXPECT_EQ(f.ui.text(RateValue), "75%");
  EXPECT_EQ(f.ui.text(GradeValue), "2-");
  EXPECT_EQ(f.program.file.unsaved, 0);
  EXPECT_EQ(f.ui.statusText(StatusStateField), "");
  EXPECT_EQ(f.ui.text(RemainingValue), "");
  EXPECT_EQ(f.ui.text(TestVocabularyField), "");
  EXPECT_EQ(f.ui.text(TestTranslationField), "");
  EXPECT_TRUE(f.ui.isReadOnly(TestVocabularyField));
  EXPECT_TRUE(f.ui.isReadOnly(TestTranslationField));
  EXPECT_EQ(f.ui.focusedControl(), NewTestButton);
  for (ControlId id : {AcceptAnswerButton, SkipButton, TipButton}) EXPECT_FALSE(f.ui.isEnabled(id));
  EXPECT_EQ(readBytes(f.folder / "test.lts"), before);  // the backup keeps the old counts
  const std::string after = readBytes(file_);
  int rights = 0, wrongs = 0;
  for (std::int64_t i = 0; i < 20; ++i) {
    rights += f.program.list[i].correctCount;
    wrongs += f.program.list[i].wrongCount;
  }
  EXPECT_EQ(rights, 15);
  EXPECT_EQ(wrongs, 5);
  std::string expected;
  for (std::int64_t i = 0; i < 20; ++i)
    expected += "Wort" + std::to_string(i) + "\r\nword" + std::to_string(i) + "\r\n" +
                std::to_string(f.program.list[i].correctCount) + "\r\n" + std::to_string(f.program.list[i].wrongCount) +
                "\r\n";
  EXPECT_EQ(after, expected);
}

TEST_F(TestRun, AllRightGivesTheBestGrade) {
  haveFile(20);
  start();
  while (remaining() > 0) answerRight();
  EXPECT_EQ(f.ui.text(RateValue), "100%");
  EXPECT_EQ(f.ui.text(GradeValue), "1+");
}

TEST_F(TestRun, AnAllPairsTestIsNeitherRatedNorGraded) {
  haveFile(19);  // fewer than 20: runs as an all-pairs test
  start();
  EXPECT_FALSE(f.program.test.options.twentyPairs);
  answerWrong();
  while (remaining() > 0) answerRight();
  EXPECT_EQ(f.ui.text(RateValue), "");
  EXPECT_EQ(f.ui.text(GradeValue), "");
  EXPECT_EQ(f.program.file.unsaved, 0);
}

TEST_F(TestRun, ChangingAnOptionEndsTheTestWithoutGradeOrSave) {
  haveFile(20);
  start();
  answerRight();
  f.control(AskForeignCheck);
  EXPECT_EQ(f.program.test.lastIndex(), -1);
  EXPECT_EQ(f.ui.text(RateValue), "");
  EXPECT_EQ(f.ui.text(GradeValue), "");
  EXPECT_EQ(f.program.file.unsaved, 1);  // the count given stays, unsaved
  f.menu(CmdAccept);                     // Return now does nothing
  EXPECT_EQ(f.program.file.unsaved, 1);
}

TEST_F(TestRun, AFailedSaveAtTheEndStillEndsTheTest) {
  haveFile(1);
  start();
  f.files.failSync = true;
  f.ui.expectMessage("Datei Zugriffsfehler", "Datei konnte nicht gespeichert werden!", Answer::Ok);
  answerRight();
  EXPECT_EQ(f.program.test.lastIndex(), -1);
  EXPECT_EQ(f.program.list[0].correctCount, 1);
  EXPECT_EQ(f.program.file.unsaved, 1);
  EXPECT_EQ(readBytes(file_), "Wort0\r\nword0\r\n0\r\n0\r\n");
}

TEST_F(TestRun, SavingOrMergingDuringATestKeepsTheAskedPair) {
  haveFile(5);
  start();
  const std::string question = f.ui.text(TestTranslationField);
  const std::int32_t item = f.program.test.currentItem;
  answerWrong();
  f.menu(CmdSave);
  writeBytes(f.folder / "more.ltk", "a\r\nb\r\n0\r\n0\r\n");
  f.menu(CmdEntryPage);
  f.ui.expectOpenDialog("Vokabeldateiatei zum Laden auswählen"_w, "", f.folder / "more.ltk");
  f.control(MergeButton);
  f.menu(CmdTestPage);
  EXPECT_EQ(f.program.test.currentItem, item);
  EXPECT_EQ(asked().translation, question);
  answerRight();
  EXPECT_EQ(remaining(), 4);
}

TEST_F(TestRun, NewTestWithoutAFileAsksForOneAndCancellingChangesNothing) {
  f.menu(CmdTestPage);
  f.ui.expectOpenDialog("Vokabeldateiatei zum Laden auswählen"_w, "/opt/zelvo/", "");
  start();
  EXPECT_EQ(f.program.test.lastIndex(), -1);
  EXPECT_EQ(f.ui.text(TestTranslationField), "");
  EXPECT_TRUE(f.program.test.options.twentyPairs);
}

TEST_F(TestRun, NewTestWithTypedPairsAsksAboutThemFirst) {
  writeBytes(f.folder / "a.ltk", "x\r\ny\r\n0\r\n0\r\n");
  f.program.list.append({"typed", "getippt", 0, 0});
  f.program.file.unsaved = 1;
  f.menu(CmdTestPage);
  f.ui.expectMessage("Ungesicherte Daten"_w, "Es gibt noch ungesicherte Daten,\nsollen diese jetzt gespeichert werden?",
                     Answer::No);
  f.ui.expectOpenDialog("Vokabeldateiatei zum Laden auswählen"_w, "/opt/zelvo/", f.folder / "a.ltk");
  start();
  EXPECT_EQ(f.ui.text(TestTranslationField), "y");
}

TEST_F(TestRun, AFileWithoutPairsGivesAMessageAndNoTest) {
  haveFile(0);
  f.ui.expectMessage("Neuer Test", "Die Vokabeldatei enthält noch keine Vokabeln,\nes gibt nichts abzufragen."_w,
                     Answer::Ok);
  start();
  EXPECT_EQ(f.program.test.lastIndex(), -1);
  for (ControlId id : {AcceptAnswerButton, SkipButton, TipButton}) EXPECT_FALSE(f.ui.isEnabled(id));
  EXPECT_EQ(f.ui.text(RemainingValue), "");
}

// A field holds MaxFieldText characters: a longer solution could never be
// typed, and a test holding it could never end.
TEST_F(TestRun, AnAnswerLongerThanTheFieldIsNotAskedSoTheTestEnds) {
  const std::string longest(MaxFieldText, 'x');
  const std::string tooLong(MaxFieldText + 1, 'y');
  const std::string pairs =
      longest + "\r\nganz\r\n0\r\n0\r\n" + tooLong + "\r\nlang\r\n0\r\n0\r\nkurz\r\n" + tooLong + "\r\n0\r\n0\r\n";
  for (const bool askForeign : {true, false}) {
    SCOPED_TRACE(askForeign);
    haveFile(1, pairs);
    f.ui.setChecked(AskForeignCheck, askForeign);
    f.control(AskForeignCheck, EventSubtype::Toggled);
    start();
    EXPECT_EQ(remaining(), 3);
    const ControlId field = askForeign ? TestVocabularyField : TestTranslationField;
    for (int i = 0; i < 5 && remaining() > 0; ++i) {
      f.type(field, std::string(askForeign ? asked().vocabulary : asked().translation));
      f.menu(CmdAccept);
    }
    EXPECT_EQ(remaining(), 0);
    EXPECT_EQ(f.program.file.unsaved, 0);  // ended and saved
  }

  haveFile(0, tooLong + "\r\nlang\r\n0\r\n0\r\n");
  f.ui.setChecked(AskForeignCheck, true);
  f.control(AskForeignCheck, EventSubtype::Toggled);
  f.ui.expectMessage("Neuer Test",
                     "Keine Antwort dieser Vokabeldatei passt in ein Eingabefeld\n(höchstens 32767 Zeichen), es gibt "
                     "nichts abzufragen."_w,
                     Answer::Ok);
  start();
  EXPECT_EQ(f.program.test.lastIndex(), -1);
}

// The test ends in the middle of the open, and the page shows it before
// the open goes on to tell of a file it cannot read.
TEST_F(TestRun, OpeningAFileClearsTheTestPageBeforeItsMessages) {
  haveFile(5);
  start();
  const std::string locked = f.folder / "locked.ltk";
  writeBytes(locked, "a\r\nb\r\n0\r\n0\r\n");
  f.files.failReads = true;
  f.ui.expectOpenDialog("Vokabeldateiatei zum Laden auswählen"_w, "", locked);
  f.ui.expectMessage("Datei Zugriffsfehler", "Die Datei\n" + locked + "\nkonnte nicht gelesen werden!", Answer::Ok,
                     [&] {
                       EXPECT_EQ(f.ui.text(TestTranslationField), "");
                       EXPECT_TRUE(f.ui.isReadOnly(TestVocabularyField));
                       EXPECT_EQ(f.ui.focusedControl(), NewTestButton);
                     });
  f.menu(CmdOpen);
  EXPECT_EQ(f.program.test.lastIndex(), -1);
}

TEST_F(TestRun, EveryRemainingItemIsDrawnWithTheSameChance) {
  haveFile(8);
  start();
  std::vector<int> seen(8, 0);
  const int draws = 16000;
  for (int i = 0; i < draws; ++i) {
    askNextQuestion(f.program);
    ++seen[static_cast<std::size_t>(f.program.test.currentItem)];
  }
  double chiSquare = 0;
  const double expected = draws / 8.0;
  for (int count : seen) chiSquare += (count - expected) * (count - expected) / expected;
  EXPECT_LT(chiSquare, 24.32);  // 7 degrees of freedom, p = 0.001
}

// On the entry page the focus stays: what the user types there must not go
// to the hidden test page.
TEST(ClearTestPage, TakesTheFocusOnlyWhileTheTestPageIsShown) {
  FakeControls controls;
  controls.showPage(EntryPage);
  controls.setFocus(EntryVocabularyField);
  controls.setFieldReadOnly(TestVocabularyField, false);
  controls.setText(GradeValue, "2-");
  clearTestPage(controls);
  EXPECT_EQ(controls.focusedControl(), EntryVocabularyField);
  EXPECT_TRUE(controls.isReadOnly(TestVocabularyField));
  EXPECT_EQ(controls.text(GradeValue), "");
  controls.showPage(TestPage);
  clearTestPage(controls);
  EXPECT_EQ(controls.focusedControl(), NewTestButton);
}

TEST(AnswerMatches, ComparesWholeTextsByteForByte) {
  EXPECT_TRUE(answerMatches("Haus", "Haus", false));
  EXPECT_FALSE(answerMatches("haus", "Haus", false));
  EXPECT_TRUE(answerMatches("haus", "Haus", true));
  EXPECT_TRUE(answerMatches("ÄPFEL"_w, "äpfel"_w, true));
  EXPECT_FALSE(answerMatches("Haus ", "Haus", true));
  EXPECT_FALSE(answerMatches("Hau", "Haus", true));
  EXPECT_FALSE(answerMatches("", "Haus", true));
}

}  // namespace
}  // namespace zl
