#ifndef MORVA_MEDIA_EXIF_READER_H_
#define MORVA_MEDIA_EXIF_READER_H_

#include <optional>
#include <string>
#include <string_view>

namespace morva {

class FileSystem;
class ReadableFile;

// Which of the three Exif dates a caller asks for (the values of the OPT_2 option).
enum ExifDateKind : int {
  kExifDateTime = 1,           // tag 0x0132 DateTime: when the image file was last changed
  kExifDateTimeOriginal = 2,   // tag 0x9003 DateTimeOriginal: when the picture was taken
  kExifDateTimeDigitized = 3,  // tag 0x9004 DateTimeDigitized
};

// The values one Exif block gave. Dates are compact: 14 digits YYYYMMDDhhmmss; a date tag whose text is
// not a valid date and time is absent. The descriptive values are the tag's text for ASCII entries,
// otherwise the entry's raw bytes followed by two zero bytes; the pixel dimensions are decimal text.
struct ExifValues {
  bool found = false;  // at least one recognised tag was stored
  std::optional<std::string> date_time;
  std::optional<std::string> date_time_original;
  std::optional<std::string> date_time_digitized;
  std::optional<std::string> image_description;  // 0x010E
  std::optional<std::string> make;               // 0x010F
  std::optional<std::string> model;              // 0x0110
  std::optional<std::string> software;           // 0x0131
  std::optional<std::string> artist;             // 0x013B
  std::optional<std::string> pixel_x;            // 0xA002
  std::optional<std::string> pixel_y;            // 0xA003
};

// What ParseJpegExif found besides the values.
struct ExifParse {
  bool has_exif = false;  // the first APP1 segment is an Exif block with a valid TIFF header
  ExifValues values;
  // The requested date's text exactly as the file stores it (19 bytes), or empty when that tag is absent
  // or not a valid date.
  std::string date_text;
};

// Parses the Exif block of the JPEG file `file`: the start-of-image marker, the markers up to the first
// APP1 segment (only that one is examined), its "Exif" header and TIFF header in either byte order, then
// IFD0 and the Exif IFD. With `probe_only` it stops once the TIFF header is known valid and leaves
// `values` empty. Every read stays inside the APP1 payload: entry tables, offsets and counts that point
// outside it are taken as absent. Never fails in any other way than by finding nothing.
ExifParse ParseJpegExif(ReadableFile& file, ExifDateKind which, bool probe_only);

// Parses the Exif values of `file` whatever container it is, told by its content: JPEG (ParseJpegExif),
// TIFF and TIFF-based raw images, HEIF/HEIC/AVIF, PNG, WebP, and MP4/MOV/3GP movies, whose dates come from
// the movie header and the QuickTime metadata (MP4 audio files have none). The same rules hold for every
// container: dates are valid "YYYY:MM:DD hh:mm:ss" texts or absent; `has_exif` says the container holds
// an Exif block with a valid TIFF header (a movie: a movie header). Never fails in any other way than by
// finding nothing.
ExifParse ParseMediaExif(ReadableFile& file, ExifDateKind which, bool probe_only);

// The Exif date reader with its one-file cache: one target is asked for its Exif values several times in
// a row (the target list's columns, the filters, the name rules), and a second question about the same
// path does not open the file again. One per session; not safe for concurrent use.
class ExifReader {
 public:
  // `fs` opens the files and must outlive the reader.
  explicit ExifReader(FileSystem& fs) : fs_(fs) {}
  ExifReader(const ExifReader&) = delete;
  ExifReader& operator=(const ExifReader&) = delete;

  // Reads the date `which` (1 to 3; 0 means `default_which`, the OPT_2 option) of the file at the engine
  // path `path` (ParseMediaExif: the file's content decides how it is read). Unless `skip_extension_test`
  // (SW_OPT[6]) the name must end in one of kExifExtensions, in any case, or the file is not opened and
  // the result is false.
  //
  // Normal mode returns true when the file gave any recognised tag (not necessarily the requested date);
  // result_text() is then the requested date or empty. On a fresh read the text is the tag's own 19 bytes
  // as stored ("2013:05:04 13:02:09"); when the values come from the cache it is the compact date
  // reformatted as "2013/05/04 13:02:09". Callers read fixed positions (year 0, month 5, day 8, hour 11,
  // minute 14, second 17), so both forms serve.
  //
  // `probe_only` only decides whether the file carries a valid Exif header: nothing is stored, and the
  // cache is invalidated unless it holds this very file (whose header was valid, so the answer is true
  // without opening it again).
  bool ReadDate(std::string_view path, int which, int default_which, bool skip_extension_test, bool probe_only);

  // The suffixes (lower case, without the dot) of the files ReadDate reads without SW_OPT[6]: JPEG and
  // TIFF, raw images, HEIF, PNG, WebP and movies.
  static constexpr std::string_view kExifExtensions[] = {
      "jpg", "jpeg", "jpe", "jfif", "tif", "tiff", "dng", "cr2", "nef", "nrw", "arw", "srf", "sr2", "orf",
      "rw2", "pef", "heic", "heif", "hif", "avif", "png", "webp", "mp4", "mov", "m4v", "3gp", "3g2", "qt"};

  // The date text of the last ReadDate call.
  const std::string& result_text() const { return result_text_; }

  // The values of the cached file (empty after Clear or a probe), for the control statements.
  const ExifValues& values() const { return values_; }

  // Forgets the cached file and every value. Called at the start of every run.
  void Clear();

 private:
  FileSystem& fs_;
  std::string cached_path_;  // empty: nothing cached
  ExifValues values_;
  std::string result_text_;
};

}  // namespace morva

#endif  // MORVA_MEDIA_EXIF_READER_H_
