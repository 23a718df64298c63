#include "convert/zip_archive.h"

#include <zip.h>

#include <vector>

#include "convert/texts.h"

namespace zl {

namespace {

using convert_text::fill;

// What a libzip error means for the user, in German.
std::string causeOf(int code) {
  switch (code) {
    case ZIP_ER_NOZIP:
      return convert_text::ZipNotZip;
    case ZIP_ER_CRC:
      return convert_text::ZipChecksum;
    case ZIP_ER_COMPNOTSUPP:
      return convert_text::ZipMethod;
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
      return convert_text::ZipEncrypted;
    case ZIP_ER_MEMORY:
      throw std::bad_alloc();
    case ZIP_ER_EOF:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_INCONS:
    case ZIP_ER_ZLIB:
    case ZIP_ER_MULTIDISK:
    case ZIP_ER_COMPRESSED_DATA:
      return convert_text::ZipBroken;
      // Newer libzip (Debian 13's 1.11) tells more of what it found.
#ifdef ZIP_ER_DATA_LENGTH
    case ZIP_ER_DATA_LENGTH:
      return convert_text::ZipBroken;
#endif
#ifdef ZIP_ER_TRUNCATED_ZIP
    case ZIP_ER_TRUNCATED_ZIP:
      return convert_text::ZipNotZip;
#endif
    default:
      return fill(convert_text::ZipOther, {std::to_string(code)});
  }
}

}  // namespace

struct ZipReader::Archive {
  zip_t* zip = nullptr;
  ~Archive() { zip_discard(zip); }
};

ZipReader::ZipReader(std::unique_ptr<Archive> archive) : archive_(std::move(archive)) {}
ZipReader::~ZipReader() = default;

std::unique_ptr<ZipReader> ZipReader::open(std::string_view bytes, std::string& reason) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (!source) throw std::bad_alloc();
  auto archive = std::make_unique<Archive>();
  archive->zip = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (!archive->zip) {
    zip_source_free(source);
    reason = causeOf(zip_error_code_zip(&error));
    zip_error_fini(&error);
    return nullptr;
  }
  zip_error_fini(&error);
  return std::unique_ptr<ZipReader>(new ZipReader(std::move(archive)));
}

bool ZipReader::has(std::string_view name) const {
  return zip_name_locate(archive_->zip, std::string(name).c_str(), ZIP_FL_ENC_RAW) >= 0;
}

bool ZipReader::read(std::string_view name, ByteSink& sink, std::string& reason) const {
  const zip_int64_t index = zip_name_locate(archive_->zip, std::string(name).c_str(), ZIP_FL_ENC_RAW);
  zip_file_t* file = index < 0 ? nullptr : zip_fopen_index(archive_->zip, static_cast<zip_uint64_t>(index), 0);
  if (!file) {
    reason = causeOf(zip_error_code_zip(zip_get_error(archive_->zip)));
    return false;
  }
  std::vector<char> piece(256 * 1024);
  bool ok = true;
  for (;;) {
    const zip_int64_t got = zip_fread(file, piece.data(), piece.size());
    if (got < 0) {
      reason = causeOf(zip_error_code_zip(zip_file_get_error(file)));
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!sink.take({piece.data(), static_cast<std::size_t>(got)})) {
      reason = sink.stopReason();
      ok = false;
      break;
    }
  }
  zip_fclose(file);
  return ok;
}

bool writeZip(const std::vector<std::pair<std::string, std::string_view>>& members, ByteBuffer& out,
              std::string& reason) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!buffer) throw std::bad_alloc();
  zip_source_keep(buffer);  // it holds the archive after zip_close
  zip_t* zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
  const auto fail = [&](int code) {
    reason = causeOf(code);
    if (zip) zip_discard(zip);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return false;
  };
  if (!zip) return fail(zip_error_code_zip(&error));
  for (const auto& [name, bytes] : members) {
    zip_source_t* member = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    if (!member || zip_file_add(zip, name.c_str(), member, ZIP_FL_ENC_UTF_8) < 0) {
      if (member) zip_source_free(member);
      return fail(zip_error_code_zip(zip_get_error(zip)));
    }
  }
  if (zip_close(zip) < 0) return fail(zip_error_code_zip(zip_get_error(zip)));
  zip = nullptr;
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_stat(buffer, &stat) < 0 || zip_source_open(buffer) < 0) return fail(ZIP_ER_INTERNAL);
  out.resize(static_cast<std::size_t>(stat.size));
  const zip_int64_t got = zip_source_read(buffer, out.data(), stat.size);
  zip_source_close(buffer);
  if (got != static_cast<zip_int64_t>(stat.size)) return fail(ZIP_ER_INTERNAL);
  zip_source_free(buffer);
  zip_error_fini(&error);
  return true;
}

}  // namespace zl
