// Building a 20-pair test from 30,000 and 1,000,000 pairs: the one pass
// that keeps the 20 pairs of highest priority, in the real window.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "app/program.h"
#include "platform/posix/file_system_posix.h"
#include "platform/posix/system_posix.h"
#include "platform/qt/qt_ui.h"
#include "test/test_selection.h"

namespace {

void BM_BuildTwentyPairTest(benchmark::State& state) {
  zl::QtUi ui;
  zl::PosixSystem system;
  zl::PosixDesktopShell desktop;
  zl::PosixFileSystem files;
  zl::Program program(zl::Platform{ui, system, desktop, files});
  ui.createFonts();
  ui.buildMainWindow(program.list);
  // Counts spread over the whole range, a few pairs never asked.
  for (std::int64_t i = 0; i < state.range(0); ++i)
    program.list.append({"word", "Wort", static_cast<std::int16_t>(i * 7919 % 50), static_cast<std::int16_t>(i % 13)});
  for (auto _ : state) {
    zl::buildTestList(program);
    ui.endBusy();
    benchmark::DoNotOptimize(program.test.items.data());
  }
}
BENCHMARK(BM_BuildTwentyPairTest)->Arg(30000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
