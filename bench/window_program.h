// The program over the real platform with its window built (offscreen in
// the benchmarks), for benchmarks that time what the window does.
#pragma once

#include <QDir>

#include "qt/real_platform.h"
#include "quiz/quiz_run.h"
#include "state/program.h"

namespace zl::bench {

template <typename WindowUi = QtUi>
struct WindowProgramOf : RealPlatformOf<WindowUi> {
  // Prints to a PDF file: no dialog waits in a benchmark.
  WindowProgramOf() : RealPlatformOf<WindowUi>(QDir::temp().filePath(QStringLiteral("zl-bench-printout.pdf"))) {
    this->ui.createFonts();
    this->ui.buildMainWindow(program.list);
    this->ui.showMainWindow();
  }
  Program program{this->platform(), clearTestPage};
};

using WindowProgram = WindowProgramOf<>;

// The window whose message boxes answer Yes at once where a question
// would wait.
class YesUi : public QtUi {
 public:
  Answer messageBox(const std::string&, const std::string&, MessageButtons, MessageIcon) override {
    return Answer::Yes;
  }
};

using YesWindowProgram = WindowProgramOf<YesUi>;

}  // namespace zl::bench
