// Start-up to the first painted window, the trainer against a bare Qt main
// window: as whole processes (exec to first paint and exit), and inside one
// process (window construction only, the application object shared).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QMainWindow>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/startup.h"
#include "bench/first_paint.h"
#include "qt/real_platform.h"

extern char** environ;

namespace {

std::filesystem::path benchFolder;

void runProcess(benchmark::State& state, const char* name) {
  const std::string path = (benchFolder / name).string();
  for (auto _ : state) {
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("cannot start the program");
      return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the program failed");
  }
}

void BM_Process_BareQtMainWindow(benchmark::State& state) { runProcess(state, "zl_bare_window"); }
BENCHMARK(BM_Process_BareQtMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Process_TrainerStartToFirstPaint(benchmark::State& state) { runProcess(state, "zl_first_paint"); }
BENCHMARK(BM_Process_TrainerStartToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InProcess_BareQtMainWindow(benchmark::State& state) {
  for (auto _ : state) {
    QMainWindow window;
    window.setFixedSize(600, 450);
    window.show();
    zl::bench::waitForFirstPaint(&window);
  }
}
BENCHMARK(BM_InProcess_BareQtMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InProcess_TrainerStartToFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    zl::RealPlatformOf<zl::bench::FirstPaintUi> real;
    zl::runProgram(real.platform(), {});
  }
}
BENCHMARK(BM_InProcess_TrainerStartToFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchFolder = std::filesystem::canonical("/proc/self/exe").parent_path();
  // A runtime folder of our own for Qt. The single-instance lock is the
  // user's whatever the environment says: no trainer may run meanwhile.
  const auto runtime = std::filesystem::temp_directory_path() / "zl-bench-runtime";
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  QApplication app(argc, argv);
  zl::useGermanEverywhere();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
