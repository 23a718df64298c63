// Building a 20-pair test from 30,000 and 1,000,000 pairs: the one pass
// that keeps the 20 pairs of highest priority, in the real window.
#include <benchmark/benchmark.h>

#include "bench/window_program.h"
#include "quiz/quiz_selection.h"

namespace {

void BM_BuildTwentyPairTest(benchmark::State& state) {
  zl::bench::WindowProgram window;
  zl::Program& program = window.program;
  // Counts spread over the whole range, a few pairs never asked.
  for (std::int64_t i = 0; i < state.range(0); ++i)
    program.list.append({"word", "Wort", static_cast<std::int16_t>(i * 7919 % 50), static_cast<std::int16_t>(i % 13)});
  for (auto _ : state) {
    zl::buildTestList(program.controls, program.list, program.test);
    window.ui.endBusy();
    benchmark::DoNotOptimize(program.test.items.data());
  }
}
BENCHMARK(BM_BuildTwentyPairTest)->Arg(30000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
