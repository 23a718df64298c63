#include "convert/anki_package.h"

#include <algorithm>
#include <array>

#include "convert/texts.h"
#include "convert/zip_archive.h"
#include "convert/zstd_stream.h"

namespace zl {

namespace {

using convert_text::fill;

// The names of the collections, newest first.
constexpr std::array<std::string_view, 3> kCollections = {"collection.anki21b", "collection.anki21",
                                                          "collection.anki2"};
constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};
// A collection packs to a third or a tenth of its size, a database of
// few notes to less: 64 MB plus a hundred times the package is more than
// any package made by Anki unpacks to, and far less than a zip bomb
// (a thousand times in a zip, a million in zstd), which is so refused
// after little work.
constexpr std::uint64_t kLeastRoom = 64 << 20;
constexpr std::uint64_t kMostPacked = 100;

std::uint32_t bigEndianAt(const ByteBuffer& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Gathers an unpacked collection, stopping it as soon as it is plainly
// no SQLite database or grows past what it may be.
class CollectionSink : public ByteSink {
 public:
  explicit CollectionSink(std::uint64_t limit) : limit_(limit) {}

  bool take(std::string_view bytes) override {
    if (bytes.size() > limit_ - std::min<std::uint64_t>(limit_, bytes_.size())) return stop(tooLarge());
    const bool headerWasWhole = bytes_.size() >= kHeaderSize;
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    const std::string_view start = viewOf(bytes_).substr(0, kSqliteMagic.size());
    if (!kSqliteMagic.starts_with(start)) return stop(convert_text::CollectionNotSqlite);
    if (!headerWasWhole && bytes_.size() >= kHeaderSize) readHeader();
    if (declaredSize_ > limit_) return stop(tooLarge());
    if (declaredSize_ != 0 && bytes_.size() > declaredSize_) return stop(convert_text::CollectionBroken);
    return true;
  }
  const std::string& stopReason() const override { return reason_; }

  // After the last piece: true when the database is as long as it says.
  bool finish() {
    if (bytes_.size() < kHeaderSize || (declaredSize_ != 0 && bytes_.size() != declaredSize_))
      return stop(convert_text::CollectionTruncated);
    return true;
  }
  ByteBuffer& bytes() { return bytes_; }

 private:
  static constexpr std::size_t kHeaderSize = 100;

  // The size the database's header gives: page size times page count,
  // trusted by SQLite only while the header's two change counters agree.
  void readHeader() {
    const std::uint32_t stored = bigEndianAt(bytes_, 14) & 0xFFFF;  // bytes 16 and 17
    const std::uint32_t pageSize = stored == 1 ? 65536 : stored;    // 1 stands for 65536
    const std::uint32_t pages = bigEndianAt(bytes_, 28);
    if (pages == 0 || bigEndianAt(bytes_, 24) != bigEndianAt(bytes_, 92)) return;
    declaredSize_ = std::uint64_t{pageSize} * pages;
    if (declaredSize_ <= limit_) bytes_.reserve(declaredSize_);
  }

  std::string tooLarge() const {
    return fill(convert_text::CollectionTooLarge, {std::to_string(limit_ / (1024 * 1024))});
  }

  bool stop(const std::string& reason) {
    reason_ = reason;
    return false;
  }

  std::uint64_t limit_;
  std::uint64_t declaredSize_ = 0;  // 0: not known
  ByteBuffer bytes_;
  std::string reason_;
};

std::string_view newestCollection(const ZipReader& zip) {
  for (const std::string_view name : kCollections)
    if (zip.has(name)) return name;
  return {};
}

}  // namespace

bool isAnkiPackage(std::string_view bytes) {
  if (!bytes.starts_with("PK\x03\x04")) return false;
  std::string reason;
  const std::unique_ptr<ZipReader> zip = ZipReader::open(bytes, reason);
  return zip && !newestCollection(*zip).empty();
}

bool readAnkiPackage(std::string_view bytes, std::uint64_t limit, const AnkiOptions& options, PairBuilder& pairs,
                     AnkiFindings& findings, ReadFailure& failure) {
  std::string reason;
  const std::unique_ptr<ZipReader> zip = ZipReader::open(bytes, reason);
  if (!zip) {
    failure.reason = fill(convert_text::PackageUnreadable, {reason});
    return false;
  }
  const std::string_view name = newestCollection(*zip);
  if (name.empty()) {
    failure.reason = fill(convert_text::PackageUnreadable, {convert_text::PackageWithoutCollection});
    return false;
  }
  CollectionSink collection(std::min(limit, kLeastRoom + kMostPacked * bytes.size()));
  bool unpacked = false;
  if (name == kCollections[0]) {
    ZstdSink compressed(collection);
    unpacked = zip->read(name, compressed, reason);
    if (unpacked && !compressed.finish()) {
      unpacked = false;
      reason = compressed.stopReason();
    }
  } else {
    unpacked = zip->read(name, collection, reason);
  }
  if (!unpacked || !collection.finish()) {
    failure.reason = fill(convert_text::PackageUnreadable, {unpacked ? collection.stopReason() : reason});
    return false;
  }
  return readAnkiCollection(collection.bytes(), options, pairs, findings, failure);
}

bool writeAnkiPackage(const VocabList& list, std::string_view deckName, std::int64_t createdAt, ByteBuffer& out,
                      std::string& reason) {
  ByteBuffer database;
  if (!writeAnkiCollection(list, deckName, createdAt, database, reason)) return false;
  return writeZip({{"collection.anki2", viewOf(database)}, {"media", "{}"}}, out, reason);
}

}  // namespace zl
