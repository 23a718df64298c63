// Reading, saving, and opening-and-showing vocabulary files as the trainer
// does it (the real file system, the real reader and writer, the real
// window): generated files of 30,000, 300,000 and 1,000,000 pairs, and the
// real dictionary once (about 390,000 pairs) and repeated to 1,000,000.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>

#include "app/dispatch.h"
#include "app/interface_state.h"
#include "bench/corpus.h"
#include "bench/window_program.h"
#include "files/file_commands.h"
#include "store/file_format.h"
#include "store/piece_reader.h"

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

// The file read from the disk cache and its pairs put into a list, as
// opening does it where memory is plentiful: in one pass, each piece of the
// file read into place and its pairs at once.
void BM_ReadFile(benchmark::State& state) {
  const std::string path = fileFor(state);
  zl::PosixFileSystem files;
  for (auto _ : state) {
    zl::VocabList list;  // room for the pairs as opening a file makes it, where memory is plentiful
    zl::readPairsInPieces(files, path, static_cast<std::int64_t>(fs::file_size(path) / 16), list);
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
    zl::ByteBuffer out;
    zl::writeRecords(list, 0, list.size(), out);
    files.replaceFile(target, zl::viewOf(out), backup);
  }
}
BENCHMARK(BM_WriteFile)->Apply(corpusArguments);

// The three sizes of the save command: 30,000 and 1,000,000 generated
// pairs, and the dictionary three times over (1,175,157 pairs).
void saveArguments(benchmark::internal::Benchmark* bench) {
  bench->ArgNames({"dictionary", "pairs"});
  bench->Args({0, 30000})->Args({0, 1000000})->Args({1, 1175157});
  bench->Unit(benchmark::kMillisecond);
}

// The file the save command writes, a sorted copy of the corpus file, so
// that every byte changes.
std::string savedFile(const benchmark::State& state) {
  return (fs::path(fileFor(state)).parent_path() /
          ("saved-" + std::to_string(state.range(0)) + "-" + std::to_string(state.range(1)) + ".ltk"))
      .string();
}

// "Speichern" as the user meets it: the command dispatched in the real
// window (offscreen) over a sorted list of the file it opened, from the
// command to the interface updated after it and the window repainted; the
// old file becomes the backup. `MB` is the size of the file.
void BM_SaveCommand(benchmark::State& state) {
  const std::string path = savedFile(state);
  fs::copy_file(fileFor(state), path, fs::copy_options::overwrite_existing);
  zl::bench::YesWindowProgram window;  // sorting asks first
  zl::Program& program = window.program;
  zl::openFile(program, path);
  zl::dispatchEvent(program, {zl::EventKind::Menu, zl::CmdSort, zl::EventSubtype::None});
  for (auto _ : state) {
    program.file.unsaved = 1;
    zl::dispatchEvent(program, {zl::EventKind::Menu, zl::CmdSave, zl::EventSubtype::None});
    window.ui.window()->repaint();
  }
  if (program.file.unsaved) state.SkipWithError("not saved");
  state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_SaveCommand)->Apply(saveArguments);

// The yardstick of the save command, in the same run: `dd bs=1M
// conv=fsync` of the file it saved, as a process of its own.
void BM_DdConvFsync(benchmark::State& state) {
  const std::string from = "if=" + savedFile(state);
  const std::string to = "of=" + (fs::path(savedFile(state)).parent_path() / "yardstick-dd.ltk").string();
  const char* const argv[] = {"dd", from.c_str(), to.c_str(), "bs=1M", "conv=fsync", "status=none", nullptr};
  for (auto _ : state) {
    pid_t child = 0;
    int status = 0;
    if (::posix_spawnp(&child, "dd", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0 ||
        ::waitpid(child, &status, 0) != child || status != 0)
      state.SkipWithError("dd failed");
  }
}
BENCHMARK(BM_DdConvFsync)->Apply(saveArguments);

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
