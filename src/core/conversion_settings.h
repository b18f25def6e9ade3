#ifndef MORVA_CORE_CONVERSION_SETTINGS_H_
#define MORVA_CORE_CONVERSION_SETTINGS_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fixed_text.h"
#include "core/key_place.h"
#include "platform/file_time.h"

namespace morva {

namespace settings_internal {

template <std::size_t N>
std::array<bool, N> AllFlags(bool value) {
  std::array<bool, N> flags;
  flags.fill(value);
  return flags;
}

// A text field's default; `text` always fits.
template <std::size_t N>
FixedText<N> Text(std::string_view text) {
  FixedText<N> field;
  field.Assign(text);
  return field;
}

}  // namespace settings_internal

// The name rules of the name job, by the number SW_FNM stores.
enum class NameRule : std::int16_t {
  kNone = 0,     // no name change
  kGeneral = 1,  // general conversion: case, deletion of characters, brackets, zero padding
  kWidth = 2,    // full-width / half-width conversion
  kReplace = 3,  // string or regular-expression replacement, or replacement by position
  kSerial = 4,   // serial numbers
  kDate = 5,     // dates of the files or of their Exif data
  kId3 = 6,      // ID3 tags of MP3 files
  kControl = 7,  // a control statement
  kCsv = 8,      // replacement patterns from a CSV file
};

// The rule a stored SW_FNM number selects; nullopt for a number outside 0-8, which the settings reader
// never stores but a record set by hand may hold.
std::optional<NameRule> NameRuleOf(int stored);

// Every option of one conversion job. The user interface edits one current record, the engine reads it
// when a preview or run starts, and the settings file and the whole-job presets store it as a block of
// key lines ("KEY = value"). Each field is named after its key, the name every other part of the program
// uses for the option; fields are declared in the order of the key lines.
//
// Text fields hold code page 932 bytes; their capacity includes the terminating NUL. A "choice" is a
// 1-based list index unless marked 0-based; a "flag set" holds independent option bits.
struct ConversionSettings {
  // Defaults; the direct dates and times of the timestamp job are `now` (local time).
  explicit ConversionSettings(const CalendarTime& now);
  // Defaults, with the direct dates and times taken from the local clock.
  ConversionSettings();

  ConversionSettings(const ConversionSettings&) = default;
  ConversionSettings& operator=(const ConversionSettings&) = default;
  ConversionSettings(ConversionSettings&&) = default;
  ConversionSettings& operator=(ConversionSettings&&) = default;
  // Records are owned through base pointers by the preset lists.
  virtual ~ConversionSettings() = default;

  // A deep copy, or null when memory for it cannot be obtained (the caller keeps its old record).
  std::unique_ptr<ConversionSettings> Clone() const;

  // Appends the job key block to *out: one "KEY = value\n" line per key, in field order, code page 932,
  // no blank lines. The direct date and time lines of a timestamp are written only when its mode is
  // direct (sw_dtt[i] == 1); all seven ID3_STR lines are always written, an absent string as an empty
  // value.
  void WriteKeys(std::string* out) const;

  std::int16_t sw_tab = 0;  // job page shown: 0 name, 1 attributes, 2 times, 3 deletion, 4 ID3
  std::int16_t sw_fnm = 0;  // name rule, 0-based: 0 none, 1-8 the eight rules (NameRuleOf)
  bool fnm_01 = true;       // the extension is handled apart from the base name
  std::int16_t fnm_02 = 1;  // with fnm_01: 1 leave the extension, 2 convert the extension only

  // General conversion.
  std::uint8_t fnm_ipn_sel = 0;  // parts on: 1 case, 2 deletion, 4 brackets, 8 zero padding
  static constexpr std::uint8_t kGeneralCase = 1;      // letters are converted to upper or lower case
  static constexpr std::uint8_t kGeneralDeletion = 2;  // classes of characters are deleted
  static constexpr std::uint8_t kGeneralBrackets = 4;  // brackets (with or without their contents) go
  static constexpr std::uint8_t kGeneralPadding = 8;   // half-width digit runs are padded with zeros
  std::int16_t fnm_ipn2 = 2;                           // case: 1 upper, 2 lower, 3 capitalised
  std::int16_t fnm_ipnf = 0;                           // capital also after: 1 space, 2 digit, 4 other non-letter
  static constexpr std::int16_t kCapitalAfterSpace = 1;
  static constexpr std::int16_t kCapitalAfterDigit = 2;
  static constexpr std::int16_t kCapitalAfterOther = 4;  // any other character that is no letter
  std::int16_t fnm_ipng = 1;                             // deleted classes: 1 space, 2 digit, 4 letter, 128 other
  static constexpr std::int16_t kDeletedSpaces = 1;
  static constexpr std::int16_t kDeletedDigits = 2;
  static constexpr std::int16_t kDeletedLetters = 4;
  static constexpr std::int16_t kDeletedOthers = 128;  // what is neither space, digit nor letter
  std::int16_t fnm_ipn4 = 1;     // brackets: 1 delete with contents, 2 delete brackets only
  // Bracket pair k+1 on; stored under SW_KAKKO as a bit mask, pair k+1 = bit k.
  std::array<bool, 16> sw_kakko = settings_internal::AllFlags<16>(true);
  std::int16_t fnm_ipnd = 3;     // zero padding width, 1-8
  bool fnm_ipne = true;          // pad the last number only
  std::uint8_t fnm_ipn_tgc = 3;  // case and deletion act on: 1 full-width, 2 half-width
  static constexpr std::uint8_t kGeneralFullWidth = 1;  // double-byte characters
  static constexpr std::uint8_t kGeneralHalfWidth = 2;  // single-byte characters, half-width kana too

  // Full-width / half-width conversion.
  std::int16_t fnm_znk0 = 2;     // 1 to full width, 2 to half width
  std::uint8_t fnm_znk_ctc = 3;  // 1 letters, 2 digits, 4 symbols, 8 brackets, 16 space, 32 katakana, 64 hiragana
  static constexpr std::uint8_t kWidthLetters = 1;
  static constexpr std::uint8_t kWidthDigits = 2;
  static constexpr std::uint8_t kWidthSymbols = 4;
  static constexpr std::uint8_t kWidthBrackets = 8;
  static constexpr std::uint8_t kWidthSpace = 16;
  static constexpr std::uint8_t kWidthKatakana = 32;    // half-width kana to and from katakana
  static constexpr std::uint8_t kWidthHiragana = 64;    // half-width kana to and from hiragana
  std::uint8_t fnm_znk_jcb = 1;                         // 1 shared kana symbols too, 2 lone voicing marks
  static constexpr std::uint8_t kWidthKanaSymbols = 1;  // the symbols both kana share ("。、ー゛゜")
  static constexpr std::uint8_t kWidthLoneMarks = 2;    // to full width, voicing marks stay apart

  // String replacement.
  std::int16_t fnm_ckn0 = 1;                                // target given by: 1 string, 2 position
  FixedText<201> fnm_ckn1;                                  // target string or pattern
  std::uint8_t fnm_ckn_tgb = 0;                             // 1 case-sensitive, 2 regular expression
  static constexpr std::uint8_t kReplaceCaseSensitive = 1;  // letter case counts when matching
  static constexpr std::uint8_t kReplaceRegex = 2;          // the target is a regular expression
  std::int16_t fnm_ckn4 = 0;                                // position counted from, 0-based: 0 start, 1 end
  bool fnm_ckn5 = false;                                    // a start position is given
  FixedText<9> fnm_ckn6 = settings_internal::Text<9>("1");  // start position, decimal digits
  std::int16_t fnm_ckn7 = 1;                                // direction, 0-based: 0 before, 1 after
  std::int16_t fnm_ckn8 = 1;                                // extent: 1 all, 2 a byte count
  FixedText<8> fnm_ckn9 = settings_internal::Text<8>("0");  // byte count, decimal digits
  std::int16_t fnm_ckna = 1;  // a position on a trail byte takes its character: 1 yes, 2 no
  FixedText<201> fnm_ckn3;    // replacement string

  // Serial numbering.
  std::int16_t fnm_rnb0 = 2;                                // prefix: 1 parent directory name, 2 string
  FixedText<81> fnm_rnb1;                                   // prefix string
  FixedText<8> fnm_rnb2 = settings_internal::Text<8>("1");  // first number, up to 5 digits
  FixedText<7> fnm_rnba = settings_internal::Text<7>("1");  // increment, -99 to 99 but not 0, as text
  std::int16_t fnm_rnb3 = 3;                                // zero padding width, 1-8
  std::int16_t fnm_rnb8 = 2;                                // suffix: 1 parent directory name, 2 string
  FixedText<81> fnm_rnb9;                                   // suffix string
  std::uint8_t fnm_rnb_opt = 5;                             // 1 restart per directory, 2 ordered, 4 ascending
  static constexpr std::uint8_t kSerialPerDirectory = 1;    // numbering starts again in each directory
  static constexpr std::uint8_t kSerialOrdered = 2;         // the targets are sorted by fnm_rnb7 first
  static constexpr std::uint8_t kSerialAscending = 4;       // that order is ascending
  std::int16_t fnm_rnb7 = 0;                                // order key 0-4, plus 64 for the last number in the name
  // With the number order key: the number is the name's last digit run, not its first.
  static constexpr std::int16_t kOrderLastNumber = 64;
  static constexpr std::int16_t kOrderKeyMask = 63;  // the order key without kOrderLastNumber

  // Date-based naming.
  std::int16_t fnm_hdk0 = 2;      // prefix: 1 parent directory name, 2 string
  FixedText<81> fnm_hdk1;         // prefix string
  std::uint8_t fnm_hdk_udt = 2;   // low bits 1 creation, 2 last write; plus 64 Exif date first
  static constexpr std::uint8_t kDateSourceMask = 3;  // the file time read: kDateCreation or else last write
  static constexpr std::uint8_t kDateCreation = 1;    // the creation time (alone in the mask)
  static constexpr std::uint8_t kDateLastWrite = 2;   // the last-write time
  static constexpr std::uint8_t kDateExifFirst = 64;  // a photograph's Exif date wins over the file time
  std::int16_t fnm_hdk2 = 2;      // date form: 1 YYYYMMDD, 2 YYMMDD, 3 MMDD
  std::uint8_t fnm_hdk_atw = 0;   // 1 add the time, 2 add the weekday
  static constexpr std::uint8_t kDateAddTime = 1;
  static constexpr std::uint8_t kDateAddWeekday = 2;
  std::int16_t fnm_hdk4 = 1;      // time form: 1 hhmmss, 2 hhmm
  std::int16_t fnm_hdkd = 1;      // weekday form 1-4
  FixedText<9> fnm_hdka;          // separator of date, time and weekday
  std::uint8_t fnm_hdk_rnb = 11;  // 1 serial per equal time, 2 per directory, 4 ordered, 8 ascending
  static constexpr std::uint8_t kDateSerial = 1;              // equal names get a serial number
  static constexpr std::uint8_t kDateSerialPerDirectory = 2;  // the serials start again in each directory
  static constexpr std::uint8_t kDateOrdered = 4;             // the targets are sorted by fnm_hdkg first
  static constexpr std::uint8_t kDateAscending = 8;           // that order is ascending
  FixedText<9> fnm_hdkb = settings_internal::Text<9>("_");  // separator before the serial
  std::int16_t fnm_hdk6 = 2;                                // serial zero padding width, 1-8
  std::int16_t fnm_hdkg = 0;                                // serial order key, as fnm_rnb7

  // ID3-based naming.
  std::array<std::int16_t, 4> fnm_id31 = {0, 0, 0, 0};      // elements, 0-based (0 none ... 7 string)
  FixedText<81> fnm_id32;                                   // the string element
  FixedText<9> fnm_id33 = settings_internal::Text<9>("_");  // separator of the elements
  std::uint8_t fnm_id3_opt = 1;                             // 1 trim spaces, 2 ID3v1 text is Unicode
  static constexpr std::uint8_t kId3NameTrimSpaces = 1;     // spaces around each element go
  static constexpr std::uint8_t kId3NameV1Unicode = 2;      // ID3v1 text is read as Unicode

  // Control statement and CSV patterns.
  FixedText<201> fnm_usr1;       // control statement, never with a line break
  FixedText<261> fnm_csv_pth;    // replacement-pattern CSV file
  std::uint8_t fnm_csv_opt = 1;  // 1 case-sensitive, 2 regular expression
  static constexpr std::uint8_t kCsvCaseSensitive = 1;  // letter case counts when matching
  static constexpr std::uint8_t kCsvRegex = 2;          // the targets are regular expressions

  // Attributes.
  std::array<bool, 4> sw_atr = {false, false, false, false};  // change read-only, hidden, archive, system
  std::uint8_t atr_onb = 11;  // new state, set = on: 1 read-only, 2 hidden, 4 archive, 8 system
  // Bit i of atr_onb is the new state of the attribute that sw_atr[i] switches.
  static constexpr std::uint8_t kAttributeReadOnly = 1;
  static constexpr std::uint8_t kAttributeHidden = 2;
  static constexpr std::uint8_t kAttributeArchive = 4;
  static constexpr std::uint8_t kAttributeSystem = 8;

  // Times. sw_dtt[0..2]: creation, last write, last access, each 0-based: 0 unchanged, 1 direct,
  // 2 and 3 copied from another time, 4 Exif date, 5 from the file name; [3] date form in names
  // (0 YYYYMMDD, 1 YYMMDD); [4] time form in names (0 none, 1 hhmmssSSS, 2 hhmmss, 3 hhmm).
  std::array<std::int16_t, 5> sw_dtt = {0, 0, 0, 0, 0};
  std::array<FixedText<13>, 3> dtt_date;  // DTT_11, DTT_21, DTT_31: "YYYY/MM/DD"
  std::array<FixedText<13>, 3> dtt_time;  // DTT_12, DTT_22, DTT_32: "hh:mm:ss" or "hh:mm:ss.SSS"

  // Deletion.
  std::array<bool, 3> sw_del = {false, false, false};  // delete, bypass the recycle bin, wipe first
  std::int16_t del_01 = 1;                             // wipe level 1-3

  // ID3 conversion. Item order: title, artist, album, track, year, comment, genre.
  std::array<std::int16_t, 7> sw_id3 = {0, 0, 0, 0, 0, 0, 0};  // source of each item, 0-based, 0-10
  std::array<std::optional<std::string>, 7> id3_str;           // direct strings (source 10), <= 100 bytes
  FixedText<9> id3_spr = settings_internal::Text<9>("_");      // separator of the file name elements
  std::uint8_t id3_cts = 11;  // 1 convert ID3v1, 2 convert ID3v2, 4 add ID3v1, 8 add ID3v2
  // Bit i is mode i of the summary and the preview; a tag the file lacks is added only with its add bit.
  static constexpr std::uint8_t kId3ConvertV1 = 1;
  static constexpr std::uint8_t kId3ConvertV2 = 2;
  static constexpr std::uint8_t kId3AddV1 = 4;
  static constexpr std::uint8_t kId3AddV2 = 8;
  // ID3v2 texts written as code page 932 bytes (encoding 0), for players that read nothing else; off,
  // a text that is not plain ASCII is written as Unicode. Files of earlier versions lack the key: off.
  bool id3_enc = false;
};

// Applies one key line to *settings. `key` is already upper-cased; `value_text` is the value without its
// line break, `value_number` what LeadingInt (atoi's reading) gives for it and `value_length` its byte
// length (which must equal value_text.size(), or the line is refused).
//
// Returns true when `key` is a job key and the value has an acceptable length, even when the value
// itself is then refused (a refused value leaves the field unchanged); false for any other key or an
// unacceptable length, so that callers can tell job keys from others. Never reports anything itself.
bool ParseKey(ConversionSettings* settings, std::string_view key, std::string_view value_text, int value_number,
              std::size_t value_length);

// Every job key ParseKey takes, in the order of the key block, each with its place in the window;
// then the keys of earlier versions it still reads (legacy). ID3_STR7 and beyond, which ParseKey
// takes but which name no string, are not listed.
std::vector<KeyDescription> JobKeyDescriptions();

}  // namespace morva

#endif  // MORVA_CORE_CONVERSION_SETTINGS_H_
