// Reading, saving, and opening-and-showing vocabulary files as the trainer
// does it (the real file system, the real reader and writer, the real
// window): generated files of 30,000, 300,000 and 1,000,000 pairs, and the
// real dictionary once (about 390,000 pairs) and repeated to 1,000,000.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>

#include "app/interface_state.h"
#include "bench/corpus.h"
#include "bench/window_program.h"
#include "files/file_commands.h"
#include "store/file_format.h"

namespace {

namespace fs = std::filesystem;

// Benchmark arguments: {dictionary (0 or 1), pairs}; the whole dictionary
// once is {1, 0}.
std::string fileFor(const benchmark::State& state) {
  return state.range(0) ? zl::bench::dictionaryFile(state.range(1)) : zl::bench::generatedFile(state.range(1));
}

void corpusArguments(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"dictionary", "pairs"});
  for (std::int64_t pairs : {30000, 300000, 1000000}) bench->Args({0, pairs});
  for (std::int64_t pairs : {zl::bench::WholeDictionary, std::int64_t{1000000}}) bench->Args({1, pairs});
  bench->Unit(benchmark::kMillisecond);
}

// The file read from the disk cache and its pairs put into a list, after a
// pass that counts them: opening does that pass only when memory is tight,
// so this is the slower of its two ways.
void BM_ReadFile(benchmark::State& state) {
  const std::string path = fileFor(state);
  zl::PosixFileSystem files;
  for (auto _ : state) {
    zl::ByteBuffer bytes;
    files.readFile(path, bytes);
    zl::VocabList list;
    zl::readRecords(std::move(bytes), list);
    benchmark::DoNotOptimize(list.size());
  }
}
BENCHMARK(BM_ReadFile)->Apply(corpusArguments);

// A save as the user sees it: over the file of the save before, which
// becomes the backup; flushed to the disk.
void BM_WriteFile(benchmark::State& state) {
  const std::string path = fileFor(state);
  zl::PosixFileSystem files;
  zl::ByteBuffer bytes;
  files.readFile(path, bytes);
  zl::VocabList list;
  zl::readRecords(std::move(bytes), list);
  const fs::path folder = fs::path(path).parent_path();
  const std::string target = (folder / "written.ltk").string();
  const std::string backup = (folder / "written.lts").string();
  fs::copy_file(path, target, fs::copy_options::overwrite_existing);
  for (auto _ : state) {
    std::string out;
    zl::writeRecords(list, 0, list.size(), out);
    files.replaceFile(target, out, backup);
  }
}
BENCHMARK(BM_WriteFile)->Apply(corpusArguments);

// openFile in the real window, then the first paint of the filled list.
void BM_OpenAndShow(benchmark::State& state) {
  const std::string path = fileFor(state);
  zl::bench::WindowProgram window;
  zl::Program& program = window.program;
  for (auto _ : state) {
    zl::openFile(program, path);
    zl::updateInterfaceState(program);
    window.ui.endBusy();
    window.ui.window()->repaint();
    state.PauseTiming();
    zl::newFile(program);
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenAndShow)->Apply(corpusArguments);

}  // namespace
