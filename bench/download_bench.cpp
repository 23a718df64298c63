// Downloading a 50 MB body from a server on 127.0.0.1 (test_support's
// scripted server, on a thread of this process) into a file in the temp
// folder: the program's download against curl on the same server in the
// same run. The program's download ends with an fsync of the file (it is
// about to become the program); curl's does not, so the curl figure is also
// given with an fsync of its file. `rss_growth_MB` is how much the
// process's peak memory grew over the downloads: the body goes to the file
// as it arrives, so it stays near the block buffers, whatever the size.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "posix/file_system_posix.h"
#include "posix/network_posix.h"
#include "test_support/local_server.h"
#include "update/http_download.h"

extern char** environ;

namespace {

constexpr std::uint64_t Megabytes = 50;
constexpr std::uint64_t BodyBytes = Megabytes * 1024 * 1024;

zl::LocalServer& server() {
  static zl::LocalServer* local = [] {
    auto* s = new zl::LocalServer;
    s->reply("/Lingotak.upd", {{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(BodyBytes) + "\r\n\r\n"},
                               {std::string(1024 * 1024, 'x'), Megabytes}});
    return s;
  }();
  return *local;
}

std::string target() { return (std::filesystem::temp_directory_path() / "zl-download-bench.upd").string(); }

long peakKilobytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void finish(benchmark::State& state, bool whole) {
  if (!whole) state.SkipWithError("the body did not arrive whole");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * BodyBytes));
  std::filesystem::remove(target());
}

void BM_Download_Program(benchmark::State& state) {
  zl::PosixNetwork network;
  zl::PosixFileSystem files;
  const std::string url = server().url("/Lingotak.upd");
  const long before = peakKilobytes();
  bool whole = true;
  for (auto _ : state) {
    const std::unique_ptr<zl::OutputFile> file = files.createOutputFile(target(), zl::ExistingFile::Replace);
    whole = file && zl::httpDownloadToFile(network, url, *file) == zl::DownloadOutcome::Done && whole;
  }
  state.counters["rss_growth_MB"] = static_cast<double>(peakKilobytes() - before) / 1024;
  whole = whole && std::filesystem::file_size(target()) == BodyBytes;
  finish(state, whole);
}
BENCHMARK(BM_Download_Program)->Unit(benchmark::kMillisecond)->UseRealTime();

// curl as a whole process, as a user would run it, then (with `sync`) the
// file flushed as the program's download does.
void curlDownload(benchmark::State& state, bool sync) {
  const std::string url = server().url("/Lingotak.upd"), file = target();
  bool whole = true;
  for (auto _ : state) {
    const char* argv[] = {"curl", "-s", "-f", "-o", file.c_str(), url.c_str(), nullptr};
    pid_t child = 0;
    int status = 0;
    whole = ::posix_spawnp(&child, "curl", nullptr, nullptr, const_cast<char* const*>(argv), environ) == 0 &&
            ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && whole;
    if (sync) {
      const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
      whole = fd >= 0 && ::fsync(fd) == 0 && whole;
      ::close(fd);
    }
  }
  whole = whole && std::filesystem::file_size(file) == BodyBytes;
  finish(state, whole);
}

void BM_Download_Curl(benchmark::State& state) { curlDownload(state, false); }
BENCHMARK(BM_Download_Curl)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Download_CurlThenFsync(benchmark::State& state) { curlDownload(state, true); }
BENCHMARK(BM_Download_CurlThenFsync)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
