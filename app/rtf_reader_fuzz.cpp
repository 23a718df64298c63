// libFuzzer target for the RTF reader: any bytes must read without a crash
// or a hang, into a document that keeps the promises of platform/rich_text.h
// and of the reader's limits.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/rtf_reader.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const zl::RichDocument document = zl::readRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const zl::RichParagraph& paragraph : document.paragraphs) {
    check(!paragraph.runs.empty());
    check(paragraph.leftIndentTwips >= -zl::MaxIndentTwips && paragraph.leftIndentTwips <= zl::MaxIndentTwips);
    check(paragraph.firstLineIndentTwips >= -zl::MaxIndentTwips &&
          paragraph.firstLineIndentTwips <= zl::MaxIndentTwips);
    for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
      const zl::TextRun& run = paragraph.runs[i];
      check(!run.text.empty() || paragraph.runs.size() == 1);  // only an empty line has an empty run
      check(i == 0 || !(run.style == paragraph.runs[i - 1].style));
      check(run.style.halfPoints >= 1 && run.style.halfPoints <= zl::MaxHalfPoints);
      check(run.style.rgb <= 0xFFFFFF);
      for (const char c : run.text) check(static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n');
    }
  }
  return 0;
}
