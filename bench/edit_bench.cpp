// Typing a pair into a long list, a search click, sorting and shuffling,
// in the real window (offscreen), as the entry page does them.
#include <benchmark/benchmark.h>

#include "app/dispatch.h"
#include "bench/corpus.h"
#include "bench/window_program.h"
#include "edit/entry.h"
#include "edit/search.h"
#include "files/file_commands.h"
#include "store/cp1252.h"
#include "store/vocab_store.h"

namespace {

// A list of `pairs` pairs with words in no particular order, shown in the
// window.
template <typename Window>
void fill(Window& window, std::int64_t pairs) {
  zl::Program& program = window.program;
  for (std::int64_t i = 0; i < pairs; ++i)
    program.list.append({"word" + std::to_string(i * 7919 % 1000003), "Wort" + std::to_string(i), 0, 0});
  window.ui.appendRows(static_cast<int>(pairs));
}

// A new pair into a list just below the limit (29,999 pairs: one more is
// allowed), taken out again between the runs.
void BM_AcceptNewPair(benchmark::State& state) {
  zl::bench::WindowProgram window;
  fill(window, zl::MaxEntries - 1);
  zl::Program& program = window.program;
  for (auto _ : state) {
    window.ui.setText(zl::EntryVocabularyField, "neighbour");
    window.ui.setText(zl::EntryTranslationField, "Nachbar");
    zl::acceptEntry(program);
    state.PauseTiming();
    program.list.select(program.list.size() - 1);
    program.list.removeCurrent();
    window.ui.removeRow(static_cast<int>(program.list.size()));
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AcceptNewPair)->Unit(benchmark::kMillisecond);

// An edited pair accepted back into a list of 30,000 and of 1,000,000
// pairs: the limit refuses new pairs there, edits are accepted at any size.
void BM_AcceptEditedPair(benchmark::State& state) {
  zl::bench::WindowProgram window;
  fill(window, state.range(0));
  zl::Program& program = window.program;
  for (auto _ : state) {
    program.edit.editMode = true;
    program.edit.editRow = static_cast<std::int32_t>(state.range(0) / 2);
    window.ui.setText(zl::EntryVocabularyField, "neighbour");
    window.ui.setText(zl::EntryTranslationField, "Nachbar");
    zl::acceptEntry(program);
  }
}
BENCHMARK(BM_AcceptEditedPair)->Arg(30000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A window whose message boxes answer Yes at once: sort and shuffle go
// ahead, and a search without a hit does not wait for its message.
using zl::bench::YesWindowProgram;

enum Corpus : std::int64_t { Generated, Dictionary };

// A file of 1,000,000 pairs of `corpus`, opened in the window.
template <typename Window>
void openMillion(Window& window, std::int64_t corpus) {
  constexpr std::int64_t Million = 1000000;
  const std::string path = corpus == Generated ? zl::bench::generatedFile(Million) : zl::bench::dictionaryFile(Million);
  zl::openFile(window.program, path);
  window.ui.endBusy();
}

// Search terms as typed (UTF-8 here): the first two occur nowhere, the
// others a few thousand times in the dictionary.
const char* const kTerms[] = {"zqxj", "Ölkännchenqu", "wort", "straße"};

// One click that walks the whole list without a hit: the worst case.
void BM_SearchClickNoHit(benchmark::State& state) {
  YesWindowProgram window;
  openMillion(window, state.range(0));
  window.ui.setText(zl::EntryVocabularyField, zl::cp1252FromUtf8(kTerms[state.range(1)]));
  for (auto _ : state) {
    window.program.edit.searchPosition = 0;
    zl::searchList(window.program);
  }
}
BENCHMARK(BM_SearchClickNoHit)
    ->ArgsProduct({{Generated, Dictionary}, {0, 1}})
    ->ArgNames({"dictionary", "term"})
    ->Unit(benchmark::kMillisecond);

// Clicks from the top through every hit until the search starts over;
// "clicks" counts them, so the time of one click is the time / clicks.
void BM_SearchEveryHit(benchmark::State& state) {
  YesWindowProgram window;
  openMillion(window, state.range(0));
  window.ui.setText(zl::EntryVocabularyField, zl::cp1252FromUtf8(kTerms[state.range(1)]));
  std::int64_t clicks = 0;
  for (auto _ : state) {
    window.program.edit.searchPosition = 0;
    do {
      zl::searchList(window.program);
      ++clicks;
    } while (window.program.edit.searchPosition != 0);
  }
  state.counters["clicks"] = benchmark::Counter(static_cast<double>(clicks), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SearchEveryHit)
    ->ArgsProduct({{Dictionary}, {2, 3}})
    ->ArgNames({"dictionary", "term"})
    ->Unit(benchmark::kMillisecond);

// Sorting a shuffled list, shuffled again before every run.
void BM_Sort(benchmark::State& state) {
  YesWindowProgram window;
  openMillion(window, state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    zl::dispatchEvent(window.program, {zl::EventKind::Menu, zl::CmdShuffle, zl::EventSubtype::None});
    state.ResumeTiming();
    zl::dispatchEvent(window.program, {zl::EventKind::Menu, zl::CmdSort, zl::EventSubtype::None});
  }
}
BENCHMARK(BM_Sort)->Arg(Generated)->Arg(Dictionary)->ArgName("dictionary")->Unit(benchmark::kMillisecond);

void BM_Shuffle(benchmark::State& state) {
  YesWindowProgram window;
  openMillion(window, state.range(0));
  for (auto _ : state) zl::dispatchEvent(window.program, {zl::EventKind::Menu, zl::CmdShuffle, zl::EventSubtype::None});
}
BENCHMARK(BM_Shuffle)->Arg(Generated)->Arg(Dictionary)->ArgName("dictionary")->Unit(benchmark::kMillisecond);

}  // namespace
