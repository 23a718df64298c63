// The help text: read from its RTF into paragraphs; handed to the viewer of
// the real window (offscreen) while the help page is hidden, as start-up
// does; and read and shown on the help page: the viewer's document filled,
// laid out to its end, and the visible part painted.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QTextBrowser>

#include "app/help_document.h"
#include "app/rtf_reader.h"
#include "bench/window_program.h"
#include "state/controls.h"

namespace {

struct Window : zl::bench::WindowProgram {
  explicit Window(zl::Page page) { ui.showPage(page); }
  QTextBrowser* viewer() const { return static_cast<QTextBrowser*>(ui.window()->control(zl::HelpViewer)); }
};

void BM_ReadHelpDocument(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(zl::readRtf(zl::helpDocumentRtf()));
}
BENCHMARK(BM_ReadHelpDocument)->Unit(benchmark::kMillisecond);

void BM_HelpDocumentIntoTheHiddenViewer(benchmark::State& state) {
  Window window(zl::EntryPage);
  for (auto _ : state) window.ui.setHelpDocument(zl::readRtf(zl::helpDocumentRtf()));
}
BENCHMARK(BM_HelpDocumentIntoTheHiddenViewer)->Unit(benchmark::kMillisecond);

void BM_ReadAndShowHelpDocument(benchmark::State& state) {
  Window window(zl::HelpPage);
  QTextBrowser* viewer = window.viewer();
  for (auto _ : state) {
    window.ui.setHelpDocument(zl::readRtf(zl::helpDocumentRtf()));
    viewer->document()->documentLayout()->documentSize();  // lays out the whole text
    viewer->viewport()->repaint();
  }
}
BENCHMARK(BM_ReadAndShowHelpDocument)->Unit(benchmark::kMillisecond);

}  // namespace
