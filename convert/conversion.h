// One conversion of a file of pairs into another format: the input's
// format recognised from its content, its pairs read as the trainer's
// files hold them, and the output written safely.
//
// The output is written without a name and named only when it is whole
// and flushed, so an interrupted run leaves no part of it; an existing
// file of that name is kept unless the options say otherwise, and the
// input itself is never written. A character that the trainer's files
// cannot hold means nothing is written, unless it may be replaced. The
// outcome carries the text for the user (German, UTF-8).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "convert/anki_collection.h"
#include "convert/delimited_text.h"
#include "convert/kvtml.h"
#include "platform/file_system.h"
#include "store/file_format.h"

namespace zl {

// Anki is Anki's plain-text export, Apkg its packages.
enum class Format { Ltk, Csv, Tsv, Anki, Kvtml, Apkg };

// The format of a name as the options give it (ltk, csv, tsv, anki, kvtml,
// apkg; any letter case). False for any other name.
bool formatOfName(std::string_view name, Format& format);
// The format that a file name's extension stands for (.ltk, .csv, .tsv,
// .txt for Anki, .kvtml, .apkg; any letter case). False for any other.
bool formatOfPath(std::string_view path, Format& format);

// True when the bytes look like a vocabulary file of the trainer: records
// of four lines whose third and fourth lines are whole numbers, judged on
// the records of its first 64 KiB (at least one whole record).
bool looksLikeVocabularyFile(std::string_view bytes);

struct ConversionOptions {
  std::optional<Format> from;  // the input's format; recognised from its content when not given
  DelimitedOptions delimited;
  KvtmlOptions kvtml;
  AnkiOptions anki;
  bool replaceUnmappable = false;
  char csvDelimiter = ';';  // between the fields of a CSV output: ';', as German spreadsheets expect, or ','
  ExistingFile existing = ExistingFile::Keep;  // what happens to a file already at the output's name
  std::int64_t now = 0;                        // seconds since 1970: when an Anki package is made
  // What an Anki package may unpack to: at most 4 GB, like any input, and
  // less where the memory is short.
  std::uint64_t unpackLimit = MaxFileBytes;
};

struct ConversionOutcome {
  enum Kind {
    Done,
    Failed,      // the input cannot be converted or the output not written
    NameTaken,   // the output's name is taken and the file there was kept
    Unmappable,  // characters the trainer's files cannot hold, nothing written
  } kind = Failed;
  // The summary (followed by what an Anki package held besides pairs, a
  // line each), or what went wrong.
  std::string message;
  std::string warning;  // on success, what the user should know; may be empty
  std::int64_t pairs = 0;
  std::int64_t skipped = 0;
  std::int64_t replaced = 0;
};

// Converts the pairs of the file `input` into the file `output` in the
// format `to`. The files are left as they were unless the outcome is Done.
ConversionOutcome convertFile(FileSystem& files, const std::string& input, const std::string& output, Format to,
                              const ConversionOptions& options);

}  // namespace zl
