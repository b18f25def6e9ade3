#include "media/exif_reader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "media/exif_tiff.h"
#include "platform/file_system.h"

namespace morva {
namespace {

constexpr std::uint16_t kMarkerSoi = 0xFFD8;
constexpr std::uint16_t kMarkerSos = 0xFFDA;
constexpr std::uint16_t kMarkerApp1 = 0xFFE1;

// The markers before the first APP1 are read through one window of the file, so that a typical JPEG
// (SOI, APP0, APP1) costs a single read before the segment itself.
class MarkerReader {
 public:
  explicit MarkerReader(ReadableFile& file) : file_(file) {}

  // The big-endian 16-bit word at `pos`; false at the end of the file or on a read error.
  bool Word(std::uint64_t pos, std::uint16_t* value) {
    std::string_view bytes;
    if (!Bytes(pos, 2, &bytes)) return false;
    *value = static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[0]) << 8) |
                                        static_cast<unsigned char>(bytes[1]));
    return true;
  }

  // Exactly `n` bytes at `pos` (valid until the next call); false when the file has fewer.
  bool Bytes(std::uint64_t pos, std::size_t n, std::string_view* out) {
    if (pos < window_start_ || pos - window_start_ > window_.size() ||
        n > window_.size() - (pos - window_start_)) {
      window_start_ = pos;
      if (!file_.Read(pos, n > kWindowSize ? n : kWindowSize, &window_).ok()) {
        window_.clear();
        return false;
      }
      if (window_.size() < n) return false;
    }
    *out = std::string_view(window_).substr(static_cast<std::size_t>(pos - window_start_), n);
    return true;
  }

  std::uint64_t file_size() const { return file_.size(); }

 private:
  static constexpr std::size_t kWindowSize = 4096;

  ReadableFile& file_;
  std::uint64_t window_start_ = 0;
  std::string window_;
};

// Finds the first APP1 segment before the image data and copies its payload (at most 65533 bytes) to
// *payload. False when the file is no JPEG, has no APP1 before the start of scan, or ends early.
bool ReadFirstApp1(ReadableFile& file, std::string* payload) {
  MarkerReader reader(file);
  std::uint16_t word = 0;
  if (!reader.Word(0, &word) || word != kMarkerSoi) return false;
  std::uint64_t pos = 2;
  for (;;) {
    std::uint16_t marker = 0;
    if (!reader.Word(pos, &marker) || marker == 0 || marker == kMarkerSos) return false;
    std::uint16_t length = 0;
    // The length counts its own two bytes: anything below 2 is no segment, and 0 or 1 could not move
    // the search forward past the length word.
    if (!reader.Word(pos + 2, &length) || length < 2) return false;
    if (marker == kMarkerApp1) {
      std::string_view bytes;
      if (!reader.Bytes(pos + 4, length - 2u, &bytes)) return false;
      payload->assign(bytes);
      return true;
    }
    pos += 2 + std::uint64_t{length};
    if (pos > reader.file_size()) return false;
  }
}

bool HasExifExtension(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::string extension(path.substr(dot + 1));
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  for (std::string_view known : ExifReader::kExifExtensions) {
    if (extension == known) return true;
  }
  return false;
}

// "YYYYMMDDhhmmss" as "YYYY/MM/DD hh:mm:ss"; empty for a value of any other length.
std::string FormatCompactDate(std::string_view compact) {
  if (compact.size() != 14) return std::string();
  std::string text;
  text.reserve(19);
  text.append(compact.substr(0, 4)).append("/").append(compact.substr(4, 2)).append("/");
  text.append(compact.substr(6, 2)).append(" ").append(compact.substr(8, 2)).append(":");
  text.append(compact.substr(10, 2)).append(":").append(compact.substr(12, 2));
  return text;
}

}  // namespace

ExifParse ParseJpegExif(ReadableFile& file, ExifDateKind which, bool probe_only) {
  ExifParse parse;
  std::string payload;
  if (!ReadFirstApp1(file, &payload)) return parse;
  // "Exif" and a zero byte; the sixth byte (normally a second zero) is not examined.
  constexpr std::size_t kTiffStart = 6;
  if (payload.size() < kTiffStart || payload.compare(0, 4, "Exif") != 0 || payload[4] != '\0') return parse;
  const std::string_view tiff = std::string_view(payload).substr(kTiffStart);
  exif::TiffHeader header;
  if (!exif::ReadTiffHeader(tiff, &header)) return parse;
  parse.has_exif = true;
  if (probe_only) return parse;
  exif::WalkIfds(tiff, header, which, &parse.values, &parse.date_text);
  return parse;
}

bool ExifReader::ReadDate(std::string_view path, int which, int default_which, bool skip_extension_test,
                          bool probe_only) {
  result_text_.clear();
  if (which == 0) which = default_which;

  if (!cached_path_.empty() && path == cached_path_) {
    // The file was cached only after its Exif header proved valid, so a probe has its answer already.
    if (probe_only) return true;
    const std::optional<std::string>* date = nullptr;
    switch (which) {
      case kExifDateTime: date = &values_.date_time; break;
      case kExifDateTimeOriginal: date = &values_.date_time_original; break;
      case kExifDateTimeDigitized: date = &values_.date_time_digitized; break;
      default: return values_.found;
    }
    if (date->has_value()) result_text_ = FormatCompactDate(**date);
    return values_.found;
  }

  if (!skip_extension_test && !HasExifExtension(path)) return false;
  std::unique_ptr<ReadableFile> file;
  if (!fs_.OpenRead(path, &file).ok()) return false;
  ExifParse parse = ParseMediaExif(*file, static_cast<ExifDateKind>(which), probe_only);
  file.reset();
  if (!parse.has_exif) return false;

  if (probe_only) {
    cached_path_.clear();
    values_ = ExifValues();
    values_.found = true;
    return true;
  }
  cached_path_.assign(path);
  values_ = std::move(parse.values);
  result_text_ = std::move(parse.date_text);
  return values_.found;
}

void ExifReader::Clear() {
  cached_path_.clear();
  values_ = ExifValues();
  result_text_.clear();
}

}  // namespace morva
