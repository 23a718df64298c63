#include "convert/conversion.h"

#include <array>
#include <cstdio>
#include <memory>

#include "convert/anki_package.h"
#include "convert/failure_text.h"
#include "convert/text_export.h"
#include "convert/texts.h"
#include "convert/unicode.h"
#include "platform/paths.h"
#include "store/cp1252.h"
#include "store/file_format.h"

namespace zl {

namespace {

using convert_text::fill;

struct FormatName {
  Format format;
  std::string_view name;
  std::string_view extension;
};
constexpr std::array<FormatName, 6> kFormats = {{
    {Format::Ltk, "ltk", ".ltk"},
    {Format::Csv, "csv", ".csv"},
    {Format::Tsv, "tsv", ".tsv"},
    {Format::Anki, "anki", ".txt"},
    {Format::Kvtml, "kvtml", ".kvtml"},
    {Format::Apkg, "apkg", ".apkg"},
}};

bool isWholeNumber(std::string_view line) {
  if (line.starts_with('-')) line.remove_prefix(1);
  if (line.empty()) return false;
  for (const char c : line)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string placeText(TextPlace place) {
  const std::string number = std::to_string(place.number);
  switch (place.kind) {
    case TextPlace::Line:
      return fill(convert_text::Line, {number});
    case TextPlace::Entry:
      return fill(convert_text::Entry, {number});
    case TextPlace::Note:
      break;
  }
  return fill(convert_text::Note, {number});
}

std::string failureText(const std::string& input, const ReadFailure& failure) {
  if (failure.place.number == 0) return input + ": " + failure.reason;
  return fill(convert_text::AtPlace, {input, placeText(failure.place), failure.reason});
}

std::string unmappableText(const std::string& file, const UnmappableReport& report) {
  std::string text = fill(convert_text::Unmappable, {file, std::to_string(report.count())});
  for (const UnmappableCharacter& found : report.firstPlaces()) {
    ByteBuffer character;
    if (found.character >= 0x20) appendUtf8(character, found.character);
    char code[16];
    std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(found.character));
    text += "\n" + fill(convert_text::UnmappablePlace, {placeText(found.place), viewOf(character), code});
  }
  if (report.count() > static_cast<std::int64_t>(report.firstPlaces().size())) text += "\n  ...";
  return text;
}

// Why `bytes` cannot hold pairs as text (what they are instead), or
// nullptr when they may: a zip (an Anki package, say), a PDF or a program
// by their first bytes; any other binary data by NUL bytes or by more than
// one control character in four, judged on the first 64 KiB. A vocabulary
// file may end its lines with NUL, and UTF-16 text (which comes with its
// byte-order mark) holds NUL bytes too.
const std::string* notText(std::string_view bytes, bool vocabularyFile) {
  if (bytes.starts_with("PK\x03\x04") || bytes.starts_with("PK\x05\x06")) return &convert_text::ZipArchive;
  if (bytes.starts_with("%PDF-")) return &convert_text::PdfDocument;
  if (bytes.starts_with("\x7f"
                        "ELF"))
    return &convert_text::Program;
  if (vocabularyFile || bytes.starts_with("\xff\xfe") || bytes.starts_with("\xfe\xff")) return nullptr;
  const std::string_view judged = bytes.substr(0, 64 * 1024);
  std::size_t controls = 0;
  for (const char c : judged) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) return &convert_text::BinaryData;
    if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7f) ++controls;
  }
  return controls > judged.size() / 4 ? &convert_text::BinaryData : nullptr;
}

// The name of the deck that a package written to `path` holds: the file's
// name without its extension, as UTF-8.
std::string deckNameOf(std::string_view path) {
  const std::string file = fileNameOf(path);
  std::string_view name = file;
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return wellFormedUtf8(name);
}

// What reading an Anki package found besides the pairs, a line each.
std::string findingsText(const AnkiFindings& findings, const AnkiOptions& options) {
  using convert_text::counted;
  std::string text;
  if (findings.mediaReferences > 0)
    text += "\n" + fill(convert_text::MediaDropped, {counted(findings.mediaReferences, convert_text::OneMediaReference,
                                                             convert_text::MediaReferences)});
  if (findings.cloze > 0)
    text += "\n" + fill(convert_text::ClozeSkipped,
                        {counted(findings.cloze, convert_text::OneClozeNote, convert_text::ClozeNotes)});
  if (findings.withoutFields > 0)
    text += "\n" + fill(convert_text::FieldsMissing,
                        {counted(findings.withoutFields, convert_text::OneNote, convert_text::Notes),
                         options.firstField, options.secondField});
  return text;
}

// Reads the pairs of `bytes` into `list`; false with `failure` set when
// they cannot be read. What an Anki package held besides them goes into
// `findings`.
bool readPairs(std::string_view bytes, const ConversionOptions& options, VocabList& list, UnmappableReport& report,
               std::int64_t& skipped, AnkiFindings& findings, ReadFailure& failure) {
  Format from = Format::Csv;
  if (options.from)
    from = *options.from;
  else if (isAnkiPackage(bytes))
    from = Format::Apkg;
  else if (isKvtmlDocument(bytes))
    from = Format::Kvtml;
  else if (looksLikeVocabularyFile(bytes))
    from = Format::Ltk;
  if (from != Format::Apkg) {
    if (const std::string* what = notText(bytes, from == Format::Ltk)) {
      failure.reason = *what + convert_text::NothingRead;
      return false;
    }
  }
  if (from == Format::Ltk) {
    // The trainer's own texts, taken as they are.
    readRecords(bufferOf(bytes), list);
    return true;
  }
  // A package's texts are a part of its unpacked collection.
  PairBuilder pairs(report, from == Format::Apkg ? 0 : bytes.size());
  bool read = false;
  if (from == Format::Apkg)
    read = readAnkiPackage(bytes, options.unpackLimit, options.anki, pairs, findings, failure);
  else if (from == Format::Kvtml)
    read = readKvtml(bytes, options.kvtml, pairs, failure);
  else
    read = readDelimitedText(bytes, options.delimited, pairs, failure);
  skipped = pairs.skipped();
  pairs.moveInto(list);
  return read;
}

// Writes `list` in the format `to`, piece by piece (an Anki package, which
// SQLite and the zip make whole, is `package`); false when the file cannot
// take it. Characters the format cannot carry go into `report`.
bool writePairs(const VocabList& list, Format to, char csvDelimiter, const ByteBuffer& package, OutputFile& file,
                UnmappableReport& report) {
  if (to == Format::Apkg) return file.write(viewOf(package));
  static constexpr std::int64_t kPairsAtOnce = 16384;
  ByteBuffer bytes;
  const auto flush = [&] {
    const bool ok = file.write(viewOf(bytes));
    bytes.clear();
    return ok;
  };
  if (to == Format::Anki) writeAnkiHead(bytes);
  if (to == Format::Csv) writeByteOrderMark(bytes);
  if (to == Format::Kvtml) writeKvtmlHead(bytes);
  for (std::int64_t first = 0; first < list.size(); first += kPairsAtOnce) {
    const std::int64_t last = std::min(list.size(), first + kPairsAtOnce);
    switch (to) {
      case Format::Ltk:
        writeRecords(list, first, last, bytes);
        break;
      case Format::Csv:
        writeDelimitedPairs(list, first, last, csvDelimiter, bytes);
        break;
      case Format::Tsv:
      case Format::Anki:
        writeDelimitedPairs(list, first, last, '\t', bytes);
        break;
      case Format::Kvtml:
        writeKvtmlEntries(list, first, last, bytes, report);
        break;
      case Format::Apkg:  // written above
        break;
    }
    if (!flush()) return false;
  }
  if (to == Format::Kvtml) writeKvtmlTail(list.size(), bytes);
  return flush();
}

}  // namespace

bool formatOfName(std::string_view name, Format& format) {
  const std::string lower = lowerCp1252(name);
  for (const FormatName& known : kFormats) {
    if (lower == known.name) {
      format = known.format;
      return true;
    }
  }
  return false;
}

bool formatOfPath(std::string_view path, Format& format) {
  const std::string lower = lowerCp1252(fileNameOf(path));
  for (const FormatName& known : kFormats) {
    if (lower.size() > known.extension.size() && lower.ends_with(known.extension)) {
      format = known.format;
      return true;
    }
  }
  return false;
}

bool looksLikeVocabularyFile(std::string_view bytes) {
  static constexpr std::size_t kJudged = 64 * 1024;
  std::string_view judged = bytes.substr(0, kJudged);
  // Whole lines only: the last one may be cut off by the 64 KiB.
  if (bytes.size() > kJudged) judged = judged.substr(0, judged.find_last_of("\r\n") + 1);
  int lineInRecord = 0;
  int records = 0;
  while (!judged.empty()) {
    std::size_t end = judged.find_first_of(std::string_view("\r\n\0", 3));
    const std::string_view line = judged.substr(0, end);
    if (end != std::string_view::npos && judged[end] == '\r' && end + 1 < judged.size() && judged[end + 1] == '\n')
      ++end;
    judged.remove_prefix(end == std::string_view::npos ? judged.size() : end + 1);
    if (lineInRecord >= 2 && !isWholeNumber(line)) return false;
    if (++lineInRecord == 4) {
      lineInRecord = 0;
      ++records;
    }
  }
  return records > 0;
}

namespace {

ConversionOutcome convertInMemory(FileSystem& files, const std::string& input, const std::string& output, Format to,
                                  const ConversionOptions& options) {
  ConversionOutcome outcome;
  if (input == output || files.isSameFile(input, output)) {
    outcome.message = fill(convert_text::OutputIsInput, {output});
    return outcome;
  }
  const FileStatus existing = files.status(output);
  if (existing.exists && !existing.regular) {
    outcome.message = writeFailureText(output, {FailureCause::NotAFile, 0, output});
    return outcome;
  }
  if (options.existing == ExistingFile::Keep && existing.exists) {
    outcome.kind = ConversionOutcome::NameTaken;
    outcome.message = fill(convert_text::OutputExists, {output});
    return outcome;
  }
  VocabList list;
  UnmappableReport report(options.replaceUnmappable);
  AnkiFindings findings;
  {
    Failure failure;
    const std::unique_ptr<FileBytes> bytes = files.mapFile(input, MaxFileBytes, failure);
    if (!bytes) {
      outcome.message = readFailureText(input, failure);
      return outcome;
    }
    if (bytes->bytes().size() > MaxFileBytes) {  // a text's length must fit 32 bits
      outcome.message = fill(convert_text::TooLarge, {input});
      return outcome;
    }
    ReadFailure unread;
    if (!readPairs(bytes->bytes(), options, list, report, outcome.skipped, findings, unread)) {
      outcome.message = failureText(input, unread);
      return outcome;
    }
  }
  if (report.count() > 0 && !report.replacing()) {
    outcome.kind = ConversionOutcome::Unmappable;
    outcome.message = unmappableText(input, report);
    return outcome;
  }
  if (list.empty()) {
    outcome.message = fill(convert_text::NoPairs, {input}) + findingsText(findings, options.anki);
    return outcome;
  }
  ByteBuffer package;  // made whole before the file, as SQLite and the zip need it
  if (to == Format::Apkg) {
    std::string reason;
    if (!writeAnkiPackage(list, deckNameOf(output), options.now, package, reason)) {
      outcome.message = fill(convert_text::PackageNotMade, {output, reason});
      return outcome;
    }
  }
  Failure notCreated;
  const std::unique_ptr<OutputFile> file = files.createOutputFile(output, options.existing, notCreated);
  UnmappableReport written(options.replaceUnmappable);
  if (!file || !writePairs(list, to, options.csvDelimiter, package, *file, written) ||
      (written.count() > 0 && !written.replacing()) || !file->finish()) {
    if (written.count() > 0 && !written.replacing()) {
      outcome.kind = ConversionOutcome::Unmappable;
      outcome.message = unmappableText(output, written);
    } else {
      const Failure failure = file ? file->failure() : notCreated;
      if (failure.systemSaid(EEXIST)) outcome.kind = ConversionOutcome::NameTaken;
      outcome.message = writeFailureText(output, failure);
    }
    return outcome;
  }
  outcome.kind = ConversionOutcome::Done;
  outcome.pairs = list.size();
  outcome.replaced = report.count() + written.count();
  using convert_text::counted;
  outcome.message =
      fill(convert_text::Summary, {output, counted(outcome.pairs, convert_text::OnePair, convert_text::Pairs),
                                   counted(outcome.skipped, convert_text::OneEntry, convert_text::Entries),
                                   counted(outcome.replaced, convert_text::Characters, convert_text::Characters)}) +
      findingsText(findings, options.anki);
  if (to == Format::Ltk && list.size() > MaxEntries)
    outcome.warning = fill(convert_text::TooManyPairs, {output, std::to_string(list.size())});
  return outcome;
}

}  // namespace

ConversionOutcome convertFile(FileSystem& files, const std::string& input, const std::string& output, Format to,
                              const ConversionOptions& options) {
  try {
    return convertInMemory(files, input, output, to, options);
  } catch (const std::bad_alloc&) {  // the pairs of a huge file; the output is gone with its OutputFile
    ConversionOutcome outcome;
    outcome.message = fill(convert_text::OutOfMemory, {input});
    return outcome;
  }
}

}  // namespace zl
