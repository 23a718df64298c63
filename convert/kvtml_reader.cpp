#include <expat.h>

#include <algorithm>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "convert/kvtml.h"
#include "convert/texts.h"
#include "store/cp1252.h"
#include "store/file_format.h"

namespace zl {
namespace {

// The line the parser stands at, through the call the installed expat
// offers: the 64-bit one where it has it, else the older one.
std::int64_t currentLine(XML_Parser parser) {
#ifdef ZL_EXPAT_LINE_NUMBER_64
  return static_cast<std::int64_t>(XML_GetCurrentLineNumber64(parser));
#else
  return static_cast<std::int64_t>(XML_GetCurrentLineNumber(parser));
#endif
}

// Pieces fed to the parser, so that it never needs a copy of a large file.
constexpr std::size_t PieceBytes = std::size_t{1} << 20;
// How far isKvtmlDocument looks for the root element.
constexpr std::size_t RootSearchBytes = std::size_t{1} << 20;
// How many languages a failure lists.
constexpr std::size_t ListedLanguages = 10;

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using ParserHandle = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree>;

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return lowerAscii(static_cast<unsigned char>(x)) == lowerAscii(static_cast<unsigned char>(y));
  });
}

// expat knows UTF-8, UTF-16, ISO-8859-1 and US-ASCII; Windows-1252 comes
// from here.
int XMLCALL windows1252Encoding(void*, const XML_Char* name, XML_Encoding* info) {
  const std::string_view encoding(name);
  if (!equalIgnoringAsciiCase(encoding, "windows-1252") && !equalIgnoringAsciiCase(encoding, "cp1252") &&
      !equalIgnoringAsciiCase(encoding, "x-cp1252"))
    return XML_STATUS_ERROR;
  for (int byte = 0; byte < 256; ++byte)
    info->map[byte] = static_cast<int>(codePointOfCp1252(static_cast<unsigned char>(byte)));
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return XML_STATUS_OK;
}

ParserHandle newParser(void* userData) {
  ParserHandle parser(XML_ParserCreate(nullptr));
  if (!parser) throw std::bad_alloc();
  XML_SetUserData(parser.get(), userData);
  XML_SetUnknownEncodingHandler(parser.get(), windows1252Encoding, nullptr);
  return parser;
}

std::string_view attribute(const XML_Char** attributes, std::string_view name) {
  for (; attributes[0] != nullptr; attributes += 2)
    if (name == attributes[0]) return attributes[1];
  return {};
}

// The elements the reader follows; everything inside any other is Other.
enum class Element : std::uint8_t {
  Other,
  Root,
  Identifiers,
  Identifier,
  IdentifierName,
  Entries,
  Entry,
  Translation,
  Text,
  Grade,
  Count,
  ErrorCount,
  OldEntry,   // version 1: <e>
  OldColumn,  // version 1: <o> or <t>
};

Element childOf(Element parent, std::string_view name, bool version1) {
  switch (parent) {
    case Element::Root:
      if (version1) return name == "e" ? Element::OldEntry : Element::Other;
      if (name == "identifiers") return Element::Identifiers;
      return name == "entries" ? Element::Entries : Element::Other;
    case Element::Identifiers:
      return name == "identifier" ? Element::Identifier : Element::Other;
    case Element::Identifier:
      return name == "name" ? Element::IdentifierName : Element::Other;
    case Element::Entries:
      return name == "entry" ? Element::Entry : Element::Other;
    case Element::Entry:
      return name == "translation" ? Element::Translation : Element::Other;
    case Element::Translation:
      if (name == "text") return Element::Text;
      return name == "grade" ? Element::Grade : Element::Other;
    case Element::Grade:
      if (name == "count") return Element::Count;
      return name == "errorcount" ? Element::ErrorCount : Element::Other;
    case Element::OldEntry:
      return name == "o" || name == "t" ? Element::OldColumn : Element::Other;
    default:
      return Element::Other;
  }
}

// A count of a grade: the number, blanks and line breaks around it
// ignored; anything that is no number counts 0.
std::uint64_t gradeNumber(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return static_cast<std::uint64_t>(parseLenientNumber(text));
}

const std::string& xmlProblem(XML_Error error, bool insideRoot) {
  switch (error) {
    case XML_ERROR_NO_ELEMENTS:
      return insideRoot ? convert_text::XmlUnclosedElement : convert_text::XmlNoElement;
    case XML_ERROR_TAG_MISMATCH:
      return convert_text::XmlTagMismatch;
    case XML_ERROR_INVALID_TOKEN:
      return convert_text::XmlInvalidToken;
    case XML_ERROR_UNCLOSED_TOKEN:
      return convert_text::XmlUnclosedToken;
    case XML_ERROR_PARTIAL_CHAR:
      return convert_text::XmlPartialCharacter;
    case XML_ERROR_DUPLICATE_ATTRIBUTE:
      return convert_text::XmlDuplicateAttribute;
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
      return convert_text::XmlJunkAfterDocument;
    case XML_ERROR_UNDEFINED_ENTITY:
      return convert_text::XmlUndefinedEntity;
    case XML_ERROR_BAD_CHAR_REF:
      return convert_text::XmlBadCharacterReference;
    case XML_ERROR_UNKNOWN_ENCODING:
      return convert_text::XmlUnknownEncoding;
    case XML_ERROR_INCORRECT_ENCODING:
      return convert_text::XmlIncorrectEncoding;
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
      return convert_text::XmlUnclosedCdata;
    case XML_ERROR_XML_DECL:
      return convert_text::XmlBadDeclaration;
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
      return convert_text::XmlTooManyEntities;
    default:
      return convert_text::XmlSyntax;
  }
}

class KvtmlReader {
 public:
  KvtmlReader(const KvtmlOptions& options, PairBuilder& pairs) : options_(options), pairs_(pairs) { open_.reserve(32); }

  bool read(std::string_view bytes, ReadFailure& failure);

 private:
  static KvtmlReader& of(void* self) { return *static_cast<KvtmlReader*>(self); }
  static void XMLCALL onStart(void* self, const XML_Char* name, const XML_Char** attributes) {
    of(self).start(name, attributes);
  }
  static void XMLCALL onEnd(void* self, const XML_Char*) { of(self).end(); }
  static void XMLCALL onText(void* self, const XML_Char* text, int length) {
    of(self).text(std::string_view(text, static_cast<std::size_t>(length)));
  }
  static void XMLCALL onEntityDeclaration(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                          const XML_Char*, const XML_Char*, const XML_Char*) {
    of(self).fail(convert_text::DeclaresEntities);
  }
  static void XMLCALL onSkippedEntity(void* self, const XML_Char* name, int) {
    of(self).fail(convert_text::fill(convert_text::UndeclaredEntity, {name}));
  }

  void start(std::string_view name, const XML_Char** attributes);
  void end();
  void text(std::string_view text);
  void fail(std::string reason);

  void startRoot(std::string_view name, const XML_Char** attributes);
  // Settles which identifiers make the pair; false (and failed) when the
  // document lacks them.
  bool chooseLanguages();
  // False (and failed) when a language asked of a version 1 document is
  // not one of its columns.
  bool checkOldColumns();
  void failUnknownLanguage(std::string_view id, std::string_view present);
  void startTranslation(std::string_view id);
  void startOldColumn(std::string_view name);
  void endEntry();

  XML_Parser parser_ = nullptr;
  const KvtmlOptions& options_;
  PairBuilder& pairs_;
  ReadFailure failure_;
  bool failed_ = false;
  std::vector<Element> open_;
  bool version1_ = false;

  std::vector<std::string> languageIds_;
  std::vector<std::string> languageNames_;
  bool languagesChosen_ = false;
  std::string chosenIds_[2];
  // Version 1: the chosen columns (0 is <o>), the most seen in an entry.
  long chosenColumns_[2] = {0, 1};
  long columnsInEntry_ = 0;
  long highestColumn_ = -1;

  // The entry being read.
  std::int64_t entryNumber_ = 0;
  std::string texts_[2];
  bool found_[2] = {false, false};
  unsigned targets_ = 0;  // bit 0 (1): the translation being read is the first (second) language's
  std::string number_;
  std::uint64_t asked_ = 0;
  std::uint64_t wrong_ = 0;
};

bool KvtmlReader::read(std::string_view bytes, ReadFailure& failure) {
  const ParserHandle parser = newParser(this);
  parser_ = parser.get();
  XML_SetElementHandler(parser_, onStart, onEnd);
  XML_SetCharacterDataHandler(parser_, onText);
  XML_SetEntityDeclHandler(parser_, onEntityDeclaration);
  XML_SetSkippedEntityHandler(parser_, onSkippedEntity);

  std::size_t at = 0;
  do {
    const std::size_t piece = std::min(PieceBytes, bytes.size() - at);
    const bool last = at + piece == bytes.size();
    if (XML_Parse(parser_, bytes.data() + at, static_cast<int>(piece), last) != XML_STATUS_OK) {
      if (!failed_)
        failure_ = {{TextPlace::Line, currentLine(parser_)},
                    convert_text::fill(convert_text::NotXml, {xmlProblem(XML_GetErrorCode(parser_), !open_.empty())})};
      failure = failure_;
      return false;
    }
    at += piece;
  } while (at < bytes.size());

  // Languages asked for are checked even when the document has no entries.
  const bool asked = !options_.firstLanguage.empty() || !options_.secondLanguage.empty();
  if (asked && !(version1_ ? checkOldColumns() : languagesChosen_ || chooseLanguages())) {
    failure = failure_;
    return false;
  }
  return true;
}

void KvtmlReader::fail(std::string reason) {
  if (failed_) return;
  failed_ = true;
  failure_ = {{TextPlace::Line, currentLine(parser_)}, std::move(reason)};
  XML_StopParser(parser_, XML_FALSE);
}

void KvtmlReader::start(std::string_view name, const XML_Char** attributes) {
  if (failed_) return;
  if (open_.empty()) {
    startRoot(name, attributes);
    return;
  }
  const Element element = childOf(open_.back(), name, version1_);
  open_.push_back(element);
  switch (element) {
    case Element::Identifier:
      languageIds_.emplace_back(attribute(attributes, "id"));
      languageNames_.emplace_back();
      break;
    case Element::Entries:
      if (!languagesChosen_) chooseLanguages();
      break;
    case Element::Entry:
    case Element::OldEntry:
      ++entryNumber_;
      break;
    case Element::Translation:
      startTranslation(attribute(attributes, "id"));
      break;
    case Element::Count:
    case Element::ErrorCount:
      number_.clear();
      break;
    case Element::OldColumn:
      startOldColumn(name);
      break;
    default:
      break;
  }
}

void KvtmlReader::startRoot(std::string_view name, const XML_Char** attributes) {
  if (name != "kvtml") {
    fail(convert_text::fill(convert_text::NotKvtml, {name}));
    return;
  }
  open_.push_back(Element::Root);
  const std::string_view version = attribute(attributes, "version");
  version1_ = version.empty() || version.front() == '1';
  if (!version1_) return;
  const std::string* asked[2] = {&options_.firstLanguage, &options_.secondLanguage};
  for (int slot = 0; slot < 2; ++slot) {
    if (asked[slot]->empty()) continue;
    const std::string& id = *asked[slot];
    const bool digits =
        id.size() <= 6 && std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
      failUnknownLanguage(id, convert_text::OldLanguages);
      return;
    }
    chosenColumns_[slot] = std::stol(id);
  }
}

bool KvtmlReader::chooseLanguages() {
  const std::string* asked[2] = {&options_.firstLanguage, &options_.secondLanguage};
  for (std::size_t slot = 0; slot < 2; ++slot) {
    if (asked[slot]->empty()) {
      if (languageIds_.size() <= slot) {
        fail(convert_text::NoTwoLanguages);
        return false;
      }
      chosenIds_[slot] = languageIds_[slot];
      continue;
    }
    if (std::find(languageIds_.begin(), languageIds_.end(), *asked[slot]) == languageIds_.end()) {
      std::string present;
      for (std::size_t i = 0; i < languageIds_.size() && i < ListedLanguages; ++i) {
        if (i > 0) present += ", ";
        present += languageIds_[i] + " („" + languageNames_[i] + "“)";
      }
      if (languageIds_.size() > ListedLanguages) present += ", …";
      failUnknownLanguage(*asked[slot], present.empty() ? convert_text::NoLanguages : present);
      return false;
    }
    chosenIds_[slot] = *asked[slot];
  }
  languagesChosen_ = true;
  return true;
}

bool KvtmlReader::checkOldColumns() {
  const std::string* asked[2] = {&options_.firstLanguage, &options_.secondLanguage};
  for (int slot = 0; slot < 2; ++slot) {
    if (asked[slot]->empty() || chosenColumns_[slot] <= highestColumn_) continue;
    failUnknownLanguage(*asked[slot], highestColumn_ < 0 ? convert_text::NoLanguages
                                                         : convert_text::fill(convert_text::LanguageRange,
                                                                              {std::to_string(highestColumn_)}));
    return false;
  }
  return true;
}

void KvtmlReader::failUnknownLanguage(std::string_view id, std::string_view present) {
  fail(convert_text::fill(convert_text::NoSuchLanguage, {id, present}));
}

void KvtmlReader::startTranslation(std::string_view id) {
  targets_ = 0;
  for (unsigned slot = 0; slot < 2; ++slot)
    if (!found_[slot] && id == chosenIds_[slot]) {
      found_[slot] = true;
      targets_ |= 1u << slot;
    }
}

void KvtmlReader::startOldColumn(std::string_view name) {
  const long column = name == "o" ? 0 : ++columnsInEntry_;
  highestColumn_ = std::max(highestColumn_, column);
  targets_ = 0;
  for (unsigned slot = 0; slot < 2; ++slot)
    if (!found_[slot] && column == chosenColumns_[slot]) {
      found_[slot] = true;
      targets_ |= 1u << slot;
    }
}

void KvtmlReader::end() {
  if (failed_ || open_.empty()) return;
  const Element element = open_.back();
  open_.pop_back();
  switch (element) {
    case Element::Translation:
    case Element::OldColumn:
      targets_ = 0;
      break;
    case Element::Count:
      if (targets_ != 0) asked_ += gradeNumber(number_);
      break;
    case Element::ErrorCount:
      if (targets_ != 0) wrong_ += gradeNumber(number_);
      break;
    case Element::Entry:
    case Element::OldEntry:
      endEntry();
      break;
    default:
      break;
  }
}

void KvtmlReader::endEntry() {
  pairs_.addPair(texts_[0], texts_[1], TextEncoding::Utf8, static_cast<std::int16_t>(asked_ - wrong_),
                 static_cast<std::int16_t>(wrong_), {TextPlace::Entry, entryNumber_});
  for (int slot = 0; slot < 2; ++slot) {
    texts_[slot].clear();
    found_[slot] = false;
  }
  asked_ = wrong_ = 0;
  columnsInEntry_ = 0;
}

void KvtmlReader::text(std::string_view text) {
  if (failed_ || open_.empty()) return;
  switch (open_.back()) {
    case Element::Text:
    case Element::OldColumn:
      if (targets_ & 1u) texts_[0].append(text);
      if (targets_ & 2u) texts_[1].append(text);
      break;
    case Element::Count:
    case Element::ErrorCount:
      if (targets_ != 0 && number_.size() < 64) number_.append(text);
      break;
    case Element::IdentifierName:
      if (languageNames_.back().size() < 200) languageNames_.back().append(text);
      break;
    default:
      break;
  }
}

struct RootSearch {
  XML_Parser parser = nullptr;
  bool kvtml = false;
};

void XMLCALL onRootStart(void* data, const XML_Char* name, const XML_Char**) {
  RootSearch& search = *static_cast<RootSearch*>(data);
  search.kvtml = std::string_view(name) == "kvtml";
  XML_StopParser(search.parser, XML_FALSE);
}

}  // namespace

bool isKvtmlDocument(std::string_view bytes) {
  RootSearch search;
  const ParserHandle parser = newParser(&search);
  search.parser = parser.get();
  XML_SetStartElementHandler(search.parser, onRootStart);
  const std::size_t size = std::min(bytes.size(), RootSearchBytes);
  XML_Parse(search.parser, bytes.data(), static_cast<int>(size), size == bytes.size());
  return search.kvtml;
}

bool readKvtml(std::string_view bytes, const KvtmlOptions& options, PairBuilder& pairs, ReadFailure& failure) {
  KvtmlReader reader(options, pairs);
  return reader.read(bytes, failure);
}

}  // namespace zl
