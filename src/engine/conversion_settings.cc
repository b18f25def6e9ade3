#include "engine/conversion_settings.h"

#include <cstdio>
#include <new>
#include <type_traits>

#include "fileops/date_time_text.h"

namespace morva {
namespace {

using Settings = ConversionSettings;

// ---------------------------------------------------------------------------------------------------
// Writing

void AppendLine(std::string* out, std::string_view key, std::string_view value) {
  out->append(key);
  out->append(" = ");
  out->append(value);
  out->push_back('\n');
}

// Integers are written as "%d": uint8 fields as unsigned, int16 fields as signed; both promote to int.
void AppendNumber(std::string* out, std::string_view key, int value) { AppendLine(out, key, std::to_string(value)); }

// Each entry in decimal, with nothing between (the entries are single digits in a valid record).
template <typename T, std::size_t N>
std::string Digits(const std::array<T, N>& entries) {
  std::string text;
  for (T entry : entries) text += std::to_string(static_cast<int>(entry));
  return text;
}

// Each entry as printf's "%x" writes it, so source 10 is "a".
std::string HexDigits(const std::array<std::int16_t, 7>& entries) {
  std::string text;
  for (std::int16_t entry : entries) {
    char digit[16];
    std::snprintf(digit, sizeof(digit), "%x", static_cast<unsigned>(static_cast<int>(entry)));
    text += digit;
  }
  return text;
}

int BracketMask(const std::array<bool, 16>& pairs) {
  int mask = 0;
  for (std::size_t k = 0; k < pairs.size(); ++k) {
    if (pairs[k]) mask |= 1 << k;
  }
  return mask;
}

// ---------------------------------------------------------------------------------------------------
// Parsing: the rules by which one key line is accepted

// The accepted byte lengths of a value text.
struct Length {
  std::size_t min;
  std::size_t max;
  bool Accepts(std::size_t n) const { return n >= min && n <= max; }
};
constexpr Length kOneChar{1, 1};
constexpr Length Under(std::size_t n) { return Length{0, n - 1}; }

template <int Lo, int Hi>
bool InRange(int v) {
  return v >= Lo && v <= Hi;
}
// 0, or any combination that has bit 1 or bit 2 set.
bool CapitalAfterFlags(int v) { return InRange<0, 7>(v) && v != 4; }
// 0, or any combination that has one of bits 1 to 64 set.
bool DeletedClassFlags(int v) { return InRange<0, 255>(v) && v != 128; }
// A serial order key 0-4, optionally plus kOrderLastNumber.
bool OrderKey(int v) {
  return InRange<0, 4>(v) || InRange<Settings::kOrderLastNumber, Settings::kOrderLastNumber + 4>(v);
}
// Creation or last write (or the unused 3), optionally plus 64; no bit of 4 to 32.
bool DateSource(int v) { return InRange<1, 3>(v) || InRange<64, 66>(v); }

template <auto Field>
void Store(Settings* s, int value) {
  using T = std::remove_reference_t<decltype(s->*Field)>;
  s->*Field = static_cast<T>(value);
}

void StoreBracketPairs(Settings* s, int mask) {
  for (std::size_t k = 0; k < s->sw_kakko.size(); ++k) s->sw_kakko[k] = (mask >> k) & 1;
}

// How a one-number key reads its value: the single character "0"-"9" compared as a digit, or the
// number atoi gave (so a lone "x" reads as 0).
enum class Reading { kDigitChar, kNumber };

struct NumberKey {
  std::string_view key;
  Length length;
  Reading reading;
  bool (*accept)(int);
  void (*store)(Settings*, int);
};

constexpr NumberKey kNumberKeys[] = {
    {"SW_TAB", kOneChar, Reading::kDigitChar, InRange<0, 4>, Store<&Settings::sw_tab>},
    {"SW_FNM", kOneChar, Reading::kDigitChar, InRange<0, 8>, Store<&Settings::sw_fnm>},
    {"FNM_01", kOneChar, Reading::kDigitChar, InRange<0, 1>, Store<&Settings::fnm_01>},
    {"FNM_IPNE", kOneChar, Reading::kDigitChar, InRange<0, 1>, Store<&Settings::fnm_ipne>},
    {"FNM_CKN5", kOneChar, Reading::kDigitChar, InRange<0, 1>, Store<&Settings::fnm_ckn5>},
    {"FNM_02", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_02>},
    {"FNM_IPN4", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_ipn4>},
    {"FNM_ZNK0", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_znk0>},
    {"FNM_RNB0", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_rnb0>},
    {"FNM_RNB8", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_rnb8>},
    {"FNM_HDK0", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_hdk0>},
    {"FNM_HDK4", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_hdk4>},
    {"FNM_CKN0", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_ckn0>},
    {"FNM_CKN8", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_ckn8>},
    {"FNM_CKNA", kOneChar, Reading::kDigitChar, InRange<1, 2>, Store<&Settings::fnm_ckna>},
    {"FNM_CKN4", kOneChar, Reading::kDigitChar, InRange<0, 1>, Store<&Settings::fnm_ckn4>},
    {"FNM_CKN7", kOneChar, Reading::kDigitChar, InRange<0, 1>, Store<&Settings::fnm_ckn7>},
    {"FNM_IPN2", kOneChar, Reading::kDigitChar, InRange<1, 3>, Store<&Settings::fnm_ipn2>},
    {"FNM_IPN_TGC", kOneChar, Reading::kDigitChar, InRange<1, 3>, Store<&Settings::fnm_ipn_tgc>},
    {"FNM_HDK2", kOneChar, Reading::kDigitChar, InRange<1, 3>, Store<&Settings::fnm_hdk2>},
    {"FNM_HDKD", kOneChar, Reading::kDigitChar, InRange<1, 4>, Store<&Settings::fnm_hdkd>},
    {"FNM_IPND", kOneChar, Reading::kDigitChar, InRange<1, 8>, Store<&Settings::fnm_ipnd>},
    {"FNM_RNB3", kOneChar, Reading::kDigitChar, InRange<1, 8>, Store<&Settings::fnm_rnb3>},
    {"FNM_HDK6", kOneChar, Reading::kDigitChar, InRange<1, 8>, Store<&Settings::fnm_hdk6>},
    {"DEL_01", kOneChar, Reading::kDigitChar, InRange<1, 3>, Store<&Settings::del_01>},
    {"FNM_IPN_SEL", Under(3), Reading::kNumber, InRange<0, 15>, Store<&Settings::fnm_ipn_sel>},
    {"FNM_IPNF", kOneChar, Reading::kNumber, CapitalAfterFlags, Store<&Settings::fnm_ipnf>},
    {"FNM_IPNG", Under(4), Reading::kNumber, DeletedClassFlags, Store<&Settings::fnm_ipng>},
    {"SW_KAKKO", Under(6), Reading::kNumber, InRange<1, 65535>, StoreBracketPairs},
    {"FNM_ZNK_CTC", Under(4), Reading::kNumber, InRange<0, 127>, Store<&Settings::fnm_znk_ctc>},
    {"FNM_ZNK_JCB", kOneChar, Reading::kNumber, InRange<0, 3>, Store<&Settings::fnm_znk_jcb>},
    {"FNM_CKN_TGB", kOneChar, Reading::kNumber, InRange<0, 3>, Store<&Settings::fnm_ckn_tgb>},
    {"FNM_HDK_ATW", kOneChar, Reading::kNumber, InRange<0, 3>, Store<&Settings::fnm_hdk_atw>},
    {"FNM_ID3_OPT", kOneChar, Reading::kNumber, InRange<0, 3>, Store<&Settings::fnm_id3_opt>},
    {"FNM_CSV_OPT", kOneChar, Reading::kNumber, InRange<0, 3>, Store<&Settings::fnm_csv_opt>},
    {"FNM_RNB_OPT", kOneChar, Reading::kNumber, InRange<0, 7>, Store<&Settings::fnm_rnb_opt>},
    {"FNM_HDK_RNB", Under(3), Reading::kNumber, InRange<0, 15>, Store<&Settings::fnm_hdk_rnb>},
    {"ATR_ONB", Under(3), Reading::kNumber, InRange<0, 15>, Store<&Settings::atr_onb>},
    {"ID3_CTS", Under(3), Reading::kNumber, InRange<0, 15>, Store<&Settings::id3_cts>},
    {"FNM_RNB7", Under(3), Reading::kNumber, OrderKey, Store<&Settings::fnm_rnb7>},
    {"FNM_HDKG", Under(3), Reading::kNumber, OrderKey, Store<&Settings::fnm_hdkg>},
    {"FNM_HDK_UDT", Under(3), Reading::kNumber, DateSource, Store<&Settings::fnm_hdk_udt>},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AnyText(std::string_view, int) { return true; }

// Decimal digits only; the empty text too.
bool DigitText(std::string_view text, int) {
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// A serial increment: an optional leading "-", digits, a value of -99 to 99 that is not 0.
bool IncrementText(std::string_view text, int number) {
  if (!text.empty() && text[0] == '-') text.remove_prefix(1);
  return DigitText(text, number) && number >= -99 && number <= 99 && number != 0;
}

template <auto Field>
bool AssignText(Settings* s, std::string_view text) {
  return (s->*Field).Assign(text);
}

struct TextKey {
  std::string_view key;
  std::size_t max_length;
  bool (*accept)(std::string_view text, int number);
  bool (*assign)(Settings*, std::string_view);
};

constexpr TextKey kTextKeys[] = {
    {"FNM_CKN1", 200, AnyText, AssignText<&Settings::fnm_ckn1>},
    {"FNM_CKN3", 200, AnyText, AssignText<&Settings::fnm_ckn3>},
    {"FNM_USR1", 200, AnyText, AssignText<&Settings::fnm_usr1>},
    {"FNM_RNB1", 80, AnyText, AssignText<&Settings::fnm_rnb1>},
    {"FNM_RNB9", 80, AnyText, AssignText<&Settings::fnm_rnb9>},
    {"FNM_HDK1", 80, AnyText, AssignText<&Settings::fnm_hdk1>},
    {"FNM_ID32", 80, AnyText, AssignText<&Settings::fnm_id32>},
    {"FNM_HDKA", 8, AnyText, AssignText<&Settings::fnm_hdka>},
    {"FNM_HDKB", 8, AnyText, AssignText<&Settings::fnm_hdkb>},
    {"FNM_ID33", 8, AnyText, AssignText<&Settings::fnm_id33>},
    {"ID3_SPR", 8, AnyText, AssignText<&Settings::id3_spr>},
    {"FNM_CSV_PTH", 260, AnyText, AssignText<&Settings::fnm_csv_pth>},
    {"FNM_CKN6", 3, DigitText, AssignText<&Settings::fnm_ckn6>},
    {"FNM_CKN9", 3, DigitText, AssignText<&Settings::fnm_ckn9>},
    {"FNM_RNB2", 5, DigitText, AssignText<&Settings::fnm_rnb2>},
    {"FNM_RNBA", 3, IncrementText, AssignText<&Settings::fnm_rnba>},
};

// Keys of earlier versions that stored one bit of a flag set as a switch of its own: "1" sets the bit,
// `clear` clears it, any other character is ignored.
struct LegacyKey {
  std::string_view key;
  std::uint8_t Settings::*field;
  std::uint8_t bit;
  char clear;
};

constexpr LegacyKey kLegacyKeys[] = {
    {"FNM_IPN1", &Settings::fnm_ipn_sel, Settings::kGeneralCase, '0'},
    {"FNM_IPN8", &Settings::fnm_ipn_sel, Settings::kGeneralDeletion, '0'},
    {"FNM_IPN3", &Settings::fnm_ipn_sel, Settings::kGeneralBrackets, '0'},
    {"FNM_IPNC", &Settings::fnm_ipn_sel, Settings::kGeneralPadding, '0'},
    {"FNM_IPNA", &Settings::fnm_ipn_tgc, Settings::kGeneralFullWidth, '0'},
    {"FNM_IPNB", &Settings::fnm_ipn_tgc, Settings::kGeneralHalfWidth, '0'},
    {"FNM_ZNK1", &Settings::fnm_znk_ctc, Settings::kWidthLetters, '0'},
    {"FNM_ZNK2", &Settings::fnm_znk_ctc, Settings::kWidthDigits, '0'},
    {"FNM_ZNK3", &Settings::fnm_znk_ctc, Settings::kWidthSymbols, '0'},
    {"FNM_ZNK4", &Settings::fnm_znk_ctc, Settings::kWidthBrackets, '0'},
    {"FNM_ZNK5", &Settings::fnm_znk_ctc, Settings::kWidthSpace, '0'},
    {"FNM_ZNK6", &Settings::fnm_znk_ctc, Settings::kWidthKatakana, '0'},
    {"FNM_ZNK7", &Settings::fnm_znk_ctc, Settings::kWidthHiragana, '0'},
    {"FNM_ZNK9", &Settings::fnm_znk_jcb, Settings::kWidthKanaSymbols, '0'},
    {"FNM_ZNK8", &Settings::fnm_znk_jcb, Settings::kWidthLoneMarks, '0'},
    {"FNM_CKN2", &Settings::fnm_ckn_tgb, Settings::kReplaceCaseSensitive, '0'},
    {"FNM_CKNB", &Settings::fnm_ckn_tgb, Settings::kReplaceRegex, '0'},
    {"FNM_RNB4", &Settings::fnm_rnb_opt, Settings::kSerialPerDirectory, '0'},
    {"FNM_RNB5", &Settings::fnm_rnb_opt, Settings::kSerialOrdered, '0'},
    {"FNM_RNB6", &Settings::fnm_rnb_opt, Settings::kSerialAscending, '0'},
    {"FNM_HDK9", &Settings::fnm_hdk_udt, Settings::kDateExifFirst, '0'},
    {"FNM_HDK3", &Settings::fnm_hdk_atw, Settings::kDateAddTime, '0'},
    {"FNM_HDKC", &Settings::fnm_hdk_atw, Settings::kDateAddWeekday, '0'},
    {"FNM_HDK5", &Settings::fnm_hdk_rnb, Settings::kDateSerial, '0'},
    {"FNM_HDK7", &Settings::fnm_hdk_rnb, Settings::kDateSerialPerDirectory, '0'},
    {"FNM_HDKE", &Settings::fnm_hdk_rnb, Settings::kDateOrdered, '0'},
    {"FNM_HDKF", &Settings::fnm_hdk_rnb, Settings::kDateAscending, '0'},
    {"FNM_ID34", &Settings::fnm_id3_opt, Settings::kId3NameTrimSpaces, '0'},
    {"FNM_ID35", &Settings::fnm_id3_opt, Settings::kId3NameV1Unicode, '0'},
    // The attribute switches used "2" for off.
    {"ATR_11", &Settings::atr_onb, Settings::kAttributeReadOnly, '2'},
    {"ATR_21", &Settings::atr_onb, Settings::kAttributeHidden, '2'},
    {"ATR_31", &Settings::atr_onb, Settings::kAttributeArchive, '2'},
    {"ATR_41", &Settings::atr_onb, Settings::kAttributeSystem, '2'},
};

template <typename Row, std::size_t N>
const Row* Find(const Row (&table)[N], std::string_view key) {
  for (const Row& row : table) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

bool ParseNumberKey(Settings* s, const NumberKey& row, std::string_view text, int number) {
  if (!row.length.Accepts(text.size())) return false;
  int value = number;
  if (row.reading == Reading::kDigitChar) value = (text.size() == 1 && IsDigit(text[0])) ? text[0] - '0' : -1;
  if (row.accept(value)) row.store(s, value);
  return true;
}

bool ParseTextKey(Settings* s, const TextKey& row, std::string_view text, int number) {
  if (text.size() > row.max_length) return false;
  if (row.accept(text, number)) row.assign(s, text);
  return true;
}

bool ParseLegacyKey(Settings* s, const LegacyKey& row, std::string_view text) {
  if (text.size() != 1) return false;
  if (text[0] == '1') s->*row.field |= row.bit;
  if (text[0] == row.clear) s->*row.field &= static_cast<std::uint8_t>(~row.bit);
  return true;
}

// "1200": four ID3 element numbers 0-7; an empty (0) element ends the list.
bool ParseId3Elements(Settings* s, std::string_view text) {
  if (text.size() != 4) return false;
  bool ended = false;
  for (char c : text) {
    if (c < '0' || c > '7' || (ended && c != '0')) return true;
    ended = ended || c == '0';
  }
  for (std::size_t i = 0; i < 4; ++i) s->fnm_id31[i] = static_cast<std::int16_t>(text[i] - '0');
  return true;
}

// "0102" or "012"/"01234": each entry is checked and stored on its own.
bool ParseTimeModes(Settings* s, std::string_view text) {
  if (text.size() != 3 && text.size() != 5) return false;
  static constexpr char kMax[5] = {'5', '5', '5', '1', '3'};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= kMax[i]) s->sw_dtt[i] = static_cast<std::int16_t>(text[i] - '0');
  }
  return true;
}

// "0a00000": seven ID3 sources, each one hexadecimal digit of value 0-10, each checked on its own.
bool ParseId3Sources(Settings* s, std::string_view text) {
  if (text.size() != 7) return false;
  for (std::size_t i = 0; i < 7; ++i) {
    const char c = text[i];
    int value = -1;
    if (IsDigit(c)) value = c - '0';
    if (c == 'a' || c == 'A') value = 10;  // "b" to "f" are hexadecimal digits beyond the last source
    if (value >= 0) s->sw_id3[i] = static_cast<std::int16_t>(value);
  }
  return true;
}

// Flags as "0"/"1" bytes; any byte but "1" is off. Stores as many flags as there are bytes.
template <std::size_t N>
void StoreFlagBytes(std::array<bool, N>* flags, std::string_view text) {
  for (std::size_t i = 0; i < text.size() && i < N; ++i) (*flags)[i] = text[i] == '1';
}

// DTT_11 ... DTT_32: the direct date (second digit 1) or time (2) of timestamp 1-3.
bool ParseDirectTime(Settings* s, std::string_view key, std::string_view text) {
  const std::size_t index = static_cast<std::size_t>(key[4] - '1');
  if (key[5] == '1') {
    if (text.size() != 10) return false;
    if (validate_date_time(text, {}, true)) s->dtt_date[index].Assign(text);
  } else {
    if (text.size() != 8 && text.size() != 12) return false;
    if (validate_date_time({}, text, true)) s->dtt_time[index].Assign(text);
  }
  return true;
}

bool IsDirectTimeKey(std::string_view key) {
  return key.size() == 6 && key.substr(0, 4) == "DTT_" && key[4] >= '1' && key[4] <= '3' &&
         (key[5] == '1' || key[5] == '2');
}

constexpr std::string_view kId3StringPrefix = "ID3_STR";

// Every ID3_STR* key is a job key; only ID3_STR0 to ID3_STR6 name a string.
bool ParseId3String(Settings* s, std::string_view key, std::string_view text) {
  if (text.size() > 100) return false;
  if (key.size() != kId3StringPrefix.size() + 1) return true;
  const char digit = key.back();
  if (digit < '0' || digit > '6') return true;
  auto& slot = s->id3_str[static_cast<std::size_t>(digit - '0')];
  if (text.empty()) {
    slot.reset();
  } else {
    slot.emplace(text);
  }
  return true;
}

CalendarTime LocalNow() {
  const FileTime now = CurrentFileTime();
  CalendarTime local;
  if (!FileTimeToLocal(now, &local)) FileTimeToUtc(now, &local);
  return local;
}

}  // namespace

std::optional<NameRule> NameRuleOf(int stored) {
  if (stored < static_cast<int>(NameRule::kNone) || stored > static_cast<int>(NameRule::kCsv)) return std::nullopt;
  return static_cast<NameRule>(stored);
}

ConversionSettings::ConversionSettings(const CalendarTime& now) {
  char date[48];
  char time[48];
  std::snprintf(date, sizeof(date), "%04d/%02d/%02d", now.year, now.month, now.day);
  std::snprintf(time, sizeof(time), "%02d:%02d:%02d", now.hour, now.minute, now.second);
  for (std::size_t i = 0; i < 3; ++i) {
    dtt_date[i].Assign(date);
    dtt_time[i].Assign(time);
  }
}

ConversionSettings::ConversionSettings() : ConversionSettings(LocalNow()) {}

std::unique_ptr<ConversionSettings> ConversionSettings::Clone() const {
  // The copy's ID3 strings are the only allocations that can fail; a partly built copy is destroyed
  // by unwinding before null is returned.
  try {
    return std::make_unique<ConversionSettings>(*this);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void ConversionSettings::WriteKeys(std::string* out) const {
  AppendNumber(out, "SW_TAB", sw_tab);
  AppendNumber(out, "SW_FNM", sw_fnm);
  AppendNumber(out, "FNM_01", fnm_01);
  AppendNumber(out, "FNM_02", fnm_02);
  AppendNumber(out, "FNM_IPN_SEL", fnm_ipn_sel);
  AppendNumber(out, "FNM_IPN2", fnm_ipn2);
  AppendNumber(out, "FNM_IPNF", fnm_ipnf);
  AppendNumber(out, "FNM_IPNG", fnm_ipng);
  AppendNumber(out, "FNM_IPN4", fnm_ipn4);
  AppendNumber(out, "SW_KAKKO", BracketMask(sw_kakko));
  AppendNumber(out, "FNM_IPND", fnm_ipnd);
  AppendNumber(out, "FNM_IPNE", fnm_ipne);
  AppendNumber(out, "FNM_IPN_TGC", fnm_ipn_tgc);
  AppendNumber(out, "FNM_ZNK0", fnm_znk0);
  AppendNumber(out, "FNM_ZNK_CTC", fnm_znk_ctc);
  AppendNumber(out, "FNM_ZNK_JCB", fnm_znk_jcb);
  AppendNumber(out, "FNM_CKN0", fnm_ckn0);
  AppendLine(out, "FNM_CKN1", fnm_ckn1.view());
  AppendNumber(out, "FNM_CKN_TGB", fnm_ckn_tgb);
  AppendNumber(out, "FNM_CKN4", fnm_ckn4);
  AppendNumber(out, "FNM_CKN5", fnm_ckn5);
  AppendLine(out, "FNM_CKN6", fnm_ckn6.view());
  AppendNumber(out, "FNM_CKN7", fnm_ckn7);
  AppendNumber(out, "FNM_CKN8", fnm_ckn8);
  AppendLine(out, "FNM_CKN9", fnm_ckn9.view());
  AppendNumber(out, "FNM_CKNA", fnm_ckna);
  AppendLine(out, "FNM_CKN3", fnm_ckn3.view());
  AppendNumber(out, "FNM_RNB0", fnm_rnb0);
  AppendLine(out, "FNM_RNB1", fnm_rnb1.view());
  AppendLine(out, "FNM_RNB2", fnm_rnb2.view());
  AppendLine(out, "FNM_RNBA", fnm_rnba.view());
  AppendNumber(out, "FNM_RNB3", fnm_rnb3);
  AppendNumber(out, "FNM_RNB8", fnm_rnb8);
  AppendLine(out, "FNM_RNB9", fnm_rnb9.view());
  AppendNumber(out, "FNM_RNB_OPT", fnm_rnb_opt);
  AppendNumber(out, "FNM_RNB7", fnm_rnb7);
  AppendNumber(out, "FNM_HDK0", fnm_hdk0);
  AppendLine(out, "FNM_HDK1", fnm_hdk1.view());
  AppendNumber(out, "FNM_HDK_UDT", fnm_hdk_udt);
  AppendNumber(out, "FNM_HDK2", fnm_hdk2);
  AppendNumber(out, "FNM_HDK_ATW", fnm_hdk_atw);
  AppendNumber(out, "FNM_HDK4", fnm_hdk4);
  AppendNumber(out, "FNM_HDKD", fnm_hdkd);
  AppendLine(out, "FNM_HDKA", fnm_hdka.view());
  AppendNumber(out, "FNM_HDK_RNB", fnm_hdk_rnb);
  AppendLine(out, "FNM_HDKB", fnm_hdkb.view());
  AppendNumber(out, "FNM_HDK6", fnm_hdk6);
  AppendNumber(out, "FNM_HDKG", fnm_hdkg);
  AppendLine(out, "FNM_ID31", Digits(fnm_id31));
  AppendLine(out, "FNM_ID32", fnm_id32.view());
  AppendLine(out, "FNM_ID33", fnm_id33.view());
  AppendNumber(out, "FNM_ID3_OPT", fnm_id3_opt);
  AppendLine(out, "FNM_USR1", fnm_usr1.view());
  AppendLine(out, "FNM_CSV_PTH", fnm_csv_pth.view());
  AppendNumber(out, "FNM_CSV_OPT", fnm_csv_opt);
  AppendLine(out, "SW_ATR", Digits(sw_atr));
  AppendNumber(out, "ATR_ONB", atr_onb);
  AppendLine(out, "SW_DTT", Digits(sw_dtt));
  // Only a direct timestamp has a date and time of its own worth keeping.
  static constexpr std::string_view kDateKeys[3] = {"DTT_11", "DTT_21", "DTT_31"};
  static constexpr std::string_view kTimeKeys[3] = {"DTT_12", "DTT_22", "DTT_32"};
  for (std::size_t i = 0; i < 3; ++i) {
    if (sw_dtt[i] != 1) continue;
    AppendLine(out, kDateKeys[i], dtt_date[i].view());
    AppendLine(out, kTimeKeys[i], dtt_time[i].view());
  }
  AppendLine(out, "SW_DEL", Digits(sw_del));
  AppendNumber(out, "DEL_01", del_01);
  AppendLine(out, "SW_ID3", HexDigits(sw_id3));
  for (std::size_t i = 0; i < id3_str.size(); ++i) {
    const std::string key = std::string(kId3StringPrefix) + static_cast<char>('0' + i);
    AppendLine(out, key, id3_str[i] ? std::string_view(*id3_str[i]) : std::string_view());
  }
  AppendLine(out, "ID3_SPR", id3_spr.view());
  AppendNumber(out, "ID3_CTS", id3_cts);
}

bool ParseKey(ConversionSettings* settings, std::string_view key, std::string_view value_text, int value_number,
              std::size_t value_length) {
  // Every rule below reads value_text itself; a length that disagrees with it is a caller's mistake
  // that must not make a rule read past the text.
  if (value_length != value_text.size()) return false;
  const std::string_view text = value_text;

  if (const NumberKey* row = Find(kNumberKeys, key)) return ParseNumberKey(settings, *row, text, value_number);
  if (const TextKey* row = Find(kTextKeys, key)) return ParseTextKey(settings, *row, text, value_number);
  if (const LegacyKey* row = Find(kLegacyKeys, key)) return ParseLegacyKey(settings, *row, text);

  if (key == "FNM_ID31") return ParseId3Elements(settings, text);
  if (key == "SW_DTT") return ParseTimeModes(settings, text);
  if (key == "SW_ID3") return ParseId3Sources(settings, text);
  if (IsDirectTimeKey(key)) return ParseDirectTime(settings, key, text);
  if (key.substr(0, kId3StringPrefix.size()) == kId3StringPrefix) return ParseId3String(settings, key, text);
  if (key == "SW_ATR") {
    if (text.size() != 4) return false;
    StoreFlagBytes(&settings->sw_atr, text);
    return true;
  }
  if (key == "SW_DEL") {
    if (text.size() != 2 && text.size() != 3) return false;
    StoreFlagBytes(&settings->sw_del, text);
    return true;
  }
  if (key == "FNM_HDK8") {
    // The old switch between creation ("1") and last-write ("0") time only ever added its bit.
    if (text.size() != 1) return false;
    if (text[0] == '0') settings->fnm_hdk_udt |= Settings::kDateLastWrite;
    if (text[0] == '1') settings->fnm_hdk_udt |= Settings::kDateCreation;
    return true;
  }
  return false;
}

}  // namespace morva
