// Printing in the real window (offscreen) to a PDF file: the whole list at
// the limit of 30,000 pairs (500 pages), and one over-wide word fitted into
// its box.
#include <benchmark/benchmark.h>

#include <QFileInfo>

#include "bench/corpus.h"
#include "bench/window_program.h"
#include "files/file_commands.h"
#include "print/list_printout.h"

namespace {

void BM_PrintListToPdf(benchmark::State& state) {
  zl::bench::WindowProgram window;
  zl::openFile(window.program, zl::bench::generatedFile(state.range(0)));
  for (auto _ : state) zl::printVocabularyList(window.program);
  const QFileInfo pdf(QDir::temp().filePath(QStringLiteral("zl-bench-printout.pdf")));
  state.counters["pdf_MB"] = static_cast<double>(pdf.size()) / 1e6;
}
BENCHMARK(BM_PrintListToPdf)->Arg(zl::MaxEntries)->Unit(benchmark::kMillisecond)->UseRealTime();

// A word of 10,000 letters into the 73 mm of the vocabulary column, in the
// table font, measured by the printer's real font metrics.
void BM_FitLongWord(benchmark::State& state) {
  zl::bench::WindowProgram window;
  zl::Printer& printer = window.printer;
  printer.showPrintDialog("bench");
  printer.beginDocument();
  printer.selectFont(zl::createListFont(printer, 2.5F, 700));  // the table's font
  const std::string word(10000, 'w');
  for (auto _ : state)
    zl::drawFittedText(printer, zl::mmToDeviceX(printer, 15), 0, zl::mmToDeviceX(printer, 73), zl::TextAlignment::Left,
                       word, true, 0x000000, 0xFFFFFF);
  printer.endDocument();
}
BENCHMARK(BM_FitLongWord)->Unit(benchmark::kMillisecond);

}  // namespace
