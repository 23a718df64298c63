// The pairs that a reader of another format finds, gathered as the
// trainer's files hold them: each text in Windows-1252 on one line.
//
// Readers hand over texts as UTF-8 or Windows-1252. A line break inside a
// text (CR LF, CR or LF) and a NUL byte become one blank each, since every
// text of a vocabulary file is one line. A character that Windows-1252
// cannot hold is either refused (noted with its place, and the conversion
// writes nothing) or, when asked for, replaced by the closest Windows-1252
// text: the letter without its accents where that is what remains, else
// "?" (UnmappableReport). A pair with an empty text is skipped and counted;
// the characters of the other text are then not looked at.
// Nothing here fails; memory is the pairs' texts and one record per pair.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/byte_buffer.h"
#include "store/vocab_store.h"

namespace zl {

// Where something stood in the input: a line of a text file, an entry of
// a KVTML document or a note of an Anki collection, counted from 1.
struct TextPlace {
  enum Kind { Line, Entry, Note } kind = Line;
  std::int64_t number = 0;
};

// A character that a vocabulary file cannot hold, and where it stood.
struct UnmappableCharacter {
  TextPlace place;
  char32_t character = 0;
};

// The characters a conversion met that the target cannot hold: their count
// and the first few places. With `replacing` they were replaced (and the
// count is how many), else the conversion must write nothing.
class UnmappableReport {
 public:
  static constexpr std::size_t KeptPlaces = 5;

  explicit UnmappableReport(bool replacing) : replacing_(replacing) {}
  bool replacing() const { return replacing_; }
  void note(TextPlace place, char32_t character);
  std::int64_t count() const { return count_; }
  // The first KeptPlaces of them, in the order they were met.
  const std::vector<UnmappableCharacter>& firstPlaces() const { return first_; }

 private:
  bool replacing_;
  std::int64_t count_ = 0;
  std::vector<UnmappableCharacter> first_;
};

enum class TextEncoding { Utf8, Cp1252 };

class PairBuilder {
 public:
  // `byteHint`: about how many text bytes will come (the input's size), so
  // that the text block seldom grows.
  PairBuilder(UnmappableReport& report, std::uint64_t byteHint);

  // Appends the pair, its texts converted as above; `place` is where it
  // stood, for the report. A pair whose vocabulary or translation is empty
  // after conversion is not added but counted as skipped. Returns whether
  // it was added.
  bool addPair(std::string_view vocabulary, std::string_view translation, TextEncoding encoding,
               std::int16_t correctCount, std::int16_t wrongCount, TextPlace place);
  // Counts an entry that a reader found without both texts.
  void skip() { ++skipped_; }
  // Sets every pair's counts to 0: for a reader that learns only at the end
  // that what it took for counts were none.
  void clearCounts();

  std::int64_t skipped() const { return skipped_; }

  // Makes `list` the pairs, in the order they were added; the builder is
  // empty afterwards.
  void moveInto(VocabList& list);

 private:
  // Appends `text` to the text block as Windows-1252; returns its length.
  std::uint32_t appendText(std::string_view text, TextEncoding encoding, TextPlace place);
  void appendUtf8Text(std::string_view text, TextPlace place);
  void appendCp1252Text(std::string_view text);

  UnmappableReport& report_;
  ByteBuffer texts_;
  PairRecords spans_;
  std::int64_t skipped_ = 0;
};

}  // namespace zl
