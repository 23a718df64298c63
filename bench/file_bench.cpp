// Reading, writing, and opening-and-showing vocabulary files of 30,000,
// 300,000 and 1,000,000 pairs (about 20 MB at the top), as the trainer does
// it: the real file system, the real reader and writer, the real window.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>

#include "app/interface_state.h"
#include "bench/window_program.h"
#include "files/file_commands.h"
#include "store/file_format.h"

namespace {

namespace fs = std::filesystem;

fs::path benchFolder() {
  static const fs::path folder = [] {
    fs::path p = fs::temp_directory_path() / "zl-file-bench";
    fs::create_directories(p);
    return p;
  }();
  return folder;
}

// A file of `pairs` pairs with words of 6 to 9 letters and small counts.
std::string fileOf(std::int64_t pairs) {
  const fs::path path = benchFolder() / ("pairs-" + std::to_string(pairs) + ".ltk");
  if (!fs::exists(path)) {
    std::string bytes;
    for (std::int64_t i = 0; i < pairs; ++i) {
      bytes += "word" + std::to_string(i % 100000) + "\r\nWort" + std::to_string(i % 99991) + "\r\n" +
               std::to_string(i % 7) + "\r\n" + std::to_string(i % 3) + "\r\n";
    }
    std::ofstream(path, std::ios::binary) << bytes;
  }
  return path.string();
}

void BM_ReadFile(benchmark::State& state) {
  const std::string path = fileOf(state.range(0));
  zl::PosixFileSystem files;
  for (auto _ : state) {
    zl::ByteBuffer bytes;
    files.readFile(path, bytes);
    zl::VocabList list;
    zl::readRecords(std::move(bytes), list);
    benchmark::DoNotOptimize(list.size());
  }
}
BENCHMARK(BM_ReadFile)->Arg(30000)->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_WriteFile(benchmark::State& state) {
  zl::PosixFileSystem files;
  zl::ByteBuffer bytes;
  files.readFile(fileOf(state.range(0)), bytes);
  zl::VocabList list;
  zl::readRecords(std::move(bytes), list);
  const std::string target = (benchFolder() / "written.ltk").string();
  for (auto _ : state) {
    std::string out;
    zl::writeRecords(list, 0, list.size(), out);
    files.replaceFile(target, out);  // with its flush to the disk
  }
}
BENCHMARK(BM_WriteFile)->Arg(30000)->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// openFile in the real window, then the first paint of the filled list.
void BM_OpenAndShow(benchmark::State& state) {
  const std::string path = fileOf(state.range(0));
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
BENCHMARK(BM_OpenAndShow)->Arg(30000)->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
