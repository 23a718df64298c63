// The question-and-answer cycle of a test on the test page: a randomly drawn
// pair shows one side, the user types the other. Each pair changes its
// counts at most once per test (right at the first attempt, or wrong at the
// first wrong answer; a tip locks them), must be answered right to leave the
// test, and the file is saved when the last pair is done.
#pragma once

#include <string_view>

namespace zl {

struct Program;
class WindowControls;

// "Neuer Test": asks for a file when none is current, then builds the test
// and asks its first question. A file without pairs, or with none short
// enough to be answered, gets a message and no test.
void startNewTest(Program& program);

// Draws one of the remaining items, each with the same chance, and shows
// its question in the direction "Fremdsprache abfragen" sets.
void askNextQuestion(Program& program);

// Return or "Übernehmen": judges the typed answer; an empty one is refused.
void submitAnswer(Program& program);

// "Tip": shows the solution (as much of it as a message box line shows);
// the pair's counts stay as they are this test.
void showTip(Program& program);

// "Überspringen": draws again; the pair stays in the test.
void skipQuestion(Program& program);

// What the test page shows once a test has ended without evaluation: both
// test fields, the rate and the grade empty, both fields read-only and, when
// the test page is shown, the focus on "Neuer Test" (elsewhere the focus
// stays where it is). Every `Program` is made with it; commands reach it
// through `endRunningTest` (state/program.h).
void clearTestPage(WindowControls& controls);

// True when `answer` is the solution byte for byte, or, with `ignoreCase`,
// after both are lower-cased as Windows-1252. Blanks count.
bool answerMatches(std::string_view answer, std::string_view solution, bool ignoreCase);

}  // namespace zl
