#include "core/conversion_settings.h"

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

// Keys of earlier versions that stored one bit of a flag set as a switch of its own: "1" sets the bit,
// `clear` clears it, any other character is ignored.
struct LegacyKey {
  std::string_view key;
  std::uint8_t Settings::*field;
  std::uint8_t bit;
  char clear;
  std::string_view stands_for;  // the key of the flag set
};

constexpr LegacyKey kLegacyKeys[] = {
    {"FNM_IPN1", &Settings::fnm_ipn_sel, Settings::kGeneralCase, '0', "FNM_IPN_SEL"},
    {"FNM_IPN8", &Settings::fnm_ipn_sel, Settings::kGeneralDeletion, '0', "FNM_IPN_SEL"},
    {"FNM_IPN3", &Settings::fnm_ipn_sel, Settings::kGeneralBrackets, '0', "FNM_IPN_SEL"},
    {"FNM_IPNC", &Settings::fnm_ipn_sel, Settings::kGeneralPadding, '0', "FNM_IPN_SEL"},
    {"FNM_IPNA", &Settings::fnm_ipn_tgc, Settings::kGeneralFullWidth, '0', "FNM_IPN_TGC"},
    {"FNM_IPNB", &Settings::fnm_ipn_tgc, Settings::kGeneralHalfWidth, '0', "FNM_IPN_TGC"},
    {"FNM_ZNK1", &Settings::fnm_znk_ctc, Settings::kWidthLetters, '0', "FNM_ZNK_CTC"},
    {"FNM_ZNK2", &Settings::fnm_znk_ctc, Settings::kWidthDigits, '0', "FNM_ZNK_CTC"},
    {"FNM_ZNK3", &Settings::fnm_znk_ctc, Settings::kWidthSymbols, '0', "FNM_ZNK_CTC"},
    {"FNM_ZNK4", &Settings::fnm_znk_ctc, Settings::kWidthBrackets, '0', "FNM_ZNK_CTC"},
    {"FNM_ZNK5", &Settings::fnm_znk_ctc, Settings::kWidthSpace, '0', "FNM_ZNK_CTC"},
    {"FNM_ZNK6", &Settings::fnm_znk_ctc, Settings::kWidthKatakana, '0', "FNM_ZNK_CTC"},
    {"FNM_ZNK7", &Settings::fnm_znk_ctc, Settings::kWidthHiragana, '0', "FNM_ZNK_CTC"},
    {"FNM_ZNK9", &Settings::fnm_znk_jcb, Settings::kWidthKanaSymbols, '0', "FNM_ZNK_JCB"},
    {"FNM_ZNK8", &Settings::fnm_znk_jcb, Settings::kWidthLoneMarks, '0', "FNM_ZNK_JCB"},
    {"FNM_CKN2", &Settings::fnm_ckn_tgb, Settings::kReplaceCaseSensitive, '0', "FNM_CKN_TGB"},
    {"FNM_CKNB", &Settings::fnm_ckn_tgb, Settings::kReplaceRegex, '0', "FNM_CKN_TGB"},
    {"FNM_RNB4", &Settings::fnm_rnb_opt, Settings::kSerialPerDirectory, '0', "FNM_RNB_OPT"},
    {"FNM_RNB5", &Settings::fnm_rnb_opt, Settings::kSerialOrdered, '0', "FNM_RNB_OPT"},
    {"FNM_RNB6", &Settings::fnm_rnb_opt, Settings::kSerialAscending, '0', "FNM_RNB_OPT"},
    {"FNM_HDK9", &Settings::fnm_hdk_udt, Settings::kDateExifFirst, '0', "FNM_HDK_UDT"},
    {"FNM_HDK3", &Settings::fnm_hdk_atw, Settings::kDateAddTime, '0', "FNM_HDK_ATW"},
    {"FNM_HDKC", &Settings::fnm_hdk_atw, Settings::kDateAddWeekday, '0', "FNM_HDK_ATW"},
    {"FNM_HDK5", &Settings::fnm_hdk_rnb, Settings::kDateSerial, '0', "FNM_HDK_RNB"},
    {"FNM_HDK7", &Settings::fnm_hdk_rnb, Settings::kDateSerialPerDirectory, '0', "FNM_HDK_RNB"},
    {"FNM_HDKE", &Settings::fnm_hdk_rnb, Settings::kDateOrdered, '0', "FNM_HDK_RNB"},
    {"FNM_HDKF", &Settings::fnm_hdk_rnb, Settings::kDateAscending, '0', "FNM_HDK_RNB"},
    {"FNM_ID34", &Settings::fnm_id3_opt, Settings::kId3NameTrimSpaces, '0', "FNM_ID3_OPT"},
    {"FNM_ID35", &Settings::fnm_id3_opt, Settings::kId3NameV1Unicode, '0', "FNM_ID3_OPT"},
    // The attribute switches used "2" for off.
    {"ATR_11", &Settings::atr_onb, Settings::kAttributeReadOnly, '2', "ATR_ONB"},
    {"ATR_21", &Settings::atr_onb, Settings::kAttributeHidden, '2', "ATR_ONB"},
    {"ATR_31", &Settings::atr_onb, Settings::kAttributeArchive, '2', "ATR_ONB"},
    {"ATR_41", &Settings::atr_onb, Settings::kAttributeSystem, '2', "ATR_ONB"},
};

template <typename Row, std::size_t N>
const Row* Find(const Row (&table)[N], std::string_view key) {
  for (const Row& row : table) {
    if (row.key == key) return &row;
  }
  return nullptr;
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

constexpr std::string_view kId3StringPrefix = "ID3_STR";
// The switch of earlier versions between the creation and the last-write time of date naming.
constexpr std::string_view kOldDateSourceKey = "FNM_HDK8";

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

// ---------------------------------------------------------------------------------------------------
// The job keys: one row each, in the order the key block is written; the reader finds a key's row by
// its name, so a key added here is both read and written.

template <auto Field>
int Load(const Settings& s) {
  return static_cast<int>(s.*Field);
}

template <auto Field>
std::string_view ViewText(const Settings& s) {
  return (s.*Field).view();
}

// How a row reads and writes its key.
enum class Kind {
  kNumber,  // one number, written "%d": the length rule, the reading, the range, and the field
  kText,    // a text field of at most max_length bytes, accepted by accept_text
  kCustom,  // a value of its own form: parse and write do all
};

struct Key {
  std::string_view name;
  Kind kind;
  Length length{0, 0};  // kNumber: the accepted value lengths; kText: {0, max_length}
  Reading reading = Reading::kNumber;
  bool (*accept_number)(int) = nullptr;
  void (*store)(Settings*, int) = nullptr;
  int (*load)(const Settings&) = nullptr;
  bool (*accept_text)(std::string_view text, int number) = nullptr;
  bool (*assign)(Settings*, std::string_view) = nullptr;
  std::string_view (*text)(const Settings&) = nullptr;
  // kCustom: false when the value's length is not acceptable (the line is then no job key line).
  bool (*parse)(Settings*, std::string_view key, std::string_view text) = nullptr;
  void (*write)(const Settings&, std::string_view key, std::string* out) = nullptr;
  KeyPlace place{};
};

// The row with its place in the window.
constexpr Key At(Key key, std::string_view page, std::string_view label, std::string_view values) {
  key.place = KeyPlace{page, label, values};
  return key;
}

constexpr Key Number(std::string_view name, Length length, Reading reading, bool (*accept)(int),
                     void (*store)(Settings*, int), int (*load)(const Settings&)) {
  Key k{name, Kind::kNumber};
  k.length = length;
  k.reading = reading;
  k.accept_number = accept;
  k.store = store;
  k.load = load;
  return k;
}

// A one-character number key read as a digit and stored in `Field` when it lies in [Lo, Hi].
template <auto Field, int Lo, int Hi>
constexpr Key Digit(std::string_view name) {
  return Number(name, kOneChar, Reading::kDigitChar, InRange<Lo, Hi>, Store<Field>, Load<Field>);
}

// A number key read as atoi reads it.
template <auto Field>
constexpr Key Flags(std::string_view name, Length length, bool (*accept)(int)) {
  return Number(name, length, Reading::kNumber, accept, Store<Field>, Load<Field>);
}

template <auto Field>
constexpr Key Text(std::string_view name, std::size_t max_length, bool (*accept)(std::string_view, int) = AnyText) {
  Key k{name, Kind::kText};
  k.length = Length{0, max_length};
  k.accept_text = accept;
  k.assign = AssignText<Field>;
  k.text = ViewText<Field>;
  return k;
}

constexpr Key Custom(std::string_view name, bool (*parse)(Settings*, std::string_view, std::string_view),
                     void (*write)(const Settings&, std::string_view, std::string*)) {
  Key k{name, Kind::kCustom};
  k.parse = parse;
  k.write = write;
  return k;
}

int LoadBracketMask(const Settings& s) { return BracketMask(s.sw_kakko); }

bool ParseId3ElementsKey(Settings* s, std::string_view, std::string_view text) { return ParseId3Elements(s, text); }
void WriteId3Elements(const Settings& s, std::string_view key, std::string* out) {
  AppendLine(out, key, Digits(s.fnm_id31));
}

bool ParseAttributeSwitches(Settings* s, std::string_view, std::string_view text) {
  if (text.size() != 4) return false;
  StoreFlagBytes(&s->sw_atr, text);
  return true;
}
void WriteAttributeSwitches(const Settings& s, std::string_view key, std::string* out) {
  AppendLine(out, key, Digits(s.sw_atr));
}

bool ParseTimeModesKey(Settings* s, std::string_view, std::string_view text) { return ParseTimeModes(s, text); }
void WriteTimeModes(const Settings& s, std::string_view key, std::string* out) {
  AppendLine(out, key, Digits(s.sw_dtt));
}

// Only a direct timestamp has a date and time of its own worth keeping.
template <std::size_t I>
void WriteDirectDate(const Settings& s, std::string_view key, std::string* out) {
  if (s.sw_dtt[I] == 1) AppendLine(out, key, s.dtt_date[I].view());
}
template <std::size_t I>
void WriteDirectTime(const Settings& s, std::string_view key, std::string* out) {
  if (s.sw_dtt[I] == 1) AppendLine(out, key, s.dtt_time[I].view());
}

bool ParseDeletionSwitches(Settings* s, std::string_view, std::string_view text) {
  if (text.size() != 2 && text.size() != 3) return false;
  StoreFlagBytes(&s->sw_del, text);
  return true;
}
void WriteDeletionSwitches(const Settings& s, std::string_view key, std::string* out) {
  AppendLine(out, key, Digits(s.sw_del));
}

bool ParseId3SourcesKey(Settings* s, std::string_view, std::string_view text) { return ParseId3Sources(s, text); }
void WriteId3Sources(const Settings& s, std::string_view key, std::string* out) {
  AppendLine(out, key, HexDigits(s.sw_id3));
}

// An absent string is written as an empty value.
template <std::size_t I>
void WriteId3String(const Settings& s, std::string_view key, std::string* out) {
  AppendLine(out, key, s.id3_str[I] ? std::string_view(*s.id3_str[I]) : std::string_view());
}

using S = Settings;
constexpr Key kKeys[] = {
    At(Digit<&S::sw_tab, 0, 4>("SW_TAB"),
       "", "表示中のタブ",
       "0 名称変換、1 属性変換、2 日時変換、3 ファイル削除、4 ID3情報変換"),
    At(Digit<&S::sw_fnm, 0, 8>("SW_FNM"),
       "名称変換", "名称変換機能選択",
       "0 名称変換しない、1 名称一般変換、2 名称全角／半角変換、3 名称文字列置換、4 連番による名称変換、5 日時による名称変換、6 ID3情報による名称変換、7 変換制御文による名称変換、8 置換パターンCSVによる名称変換"),
    At(Digit<&S::fnm_01, 0, 1>("FNM_01"),
       "名称変換", "拡張子処理",
       "0 オフ、1 オン"),
    At(Digit<&S::fnm_02, 1, 2>("FNM_02"),
       "名称変換", "拡張子は変換しない／拡張子のみ変換",
       "1 拡張子は変換しない、2 拡張子のみ変換"),
    At(Flags<&S::fnm_ipn_sel>("FNM_IPN_SEL", Under(3), InRange<0, 15>),
       "名称変換 > 名称一般変換", "大文字／小文字変換（☆）、特定文字の削除（☆）、括弧の処理、半角数字の0埋め桁揃え",
       "0-15: 1 大文字／小文字変換、2 特定文字の削除、4 括弧の処理、8 0埋め桁揃え の和"),
    At(Digit<&S::fnm_ipn2, 1, 3>("FNM_IPN2"),
       "名称変換 > 名称一般変換", "大文字／小文字変換の方式",
       "1 大文字変換(abc→ABC)、2 小文字変換(ABC→abc)、3 先頭大文字、以下小文字(ABC→Abc)"),
    At(Flags<&S::fnm_ipnf>("FNM_IPNF", kOneChar, CapitalAfterFlags),
       "名称変換 > 名称一般変換", "次の文字直後の英字も大文字: スペース、数字、他の英字以外",
       "0-7 (4 を除く): 1 スペース、2 数字、4 他の英字以外 の和"),
    At(Flags<&S::fnm_ipng>("FNM_IPNG", Under(4), DeletedClassFlags),
       "名称変換 > 名称一般変換", "特定文字の削除: スペース、数字、英字、その他",
       "0-255 (128 を除く): 1 スペース、2 数字、4 英字、128 その他 の和"),
    At(Digit<&S::fnm_ipn4, 1, 2>("FNM_IPN4"),
       "名称変換 > 名称一般変換", "括弧の処理の方式",
       "1 括弧で括られた部分ごと削除、2 括弧のみ全て削除"),
    At(Number("SW_KAKKO", Under(6), Reading::kNumber, InRange<1, 65535>, StoreBracketPairs, LoadBracketMask),
       "名称変換 > 名称一般変換", "対象括弧（変換対象括弧）",
       "1-65535: 括弧 k 番目がビット k-1"),
    At(Digit<&S::fnm_ipnd, 1, 8>("FNM_IPND"),
       "名称変換 > 名称一般変換", "半角数字の0埋め桁揃え: 桁",
       "1-8"),
    At(Digit<&S::fnm_ipne, 0, 1>("FNM_IPNE"),
       "名称変換 > 名称一般変換", "末尾の数字のみ対象",
       "0 オフ、1 オン"),
    At(Digit<&S::fnm_ipn_tgc, 1, 3>("FNM_IPN_TGC"),
       "名称変換 > 名称一般変換", "全角文字、半角文字",
       "1 全角文字、2 半角文字、3 両方"),
    At(Digit<&S::fnm_znk0, 1, 2>("FNM_ZNK0"),
       "名称変換 > 名称全角／半角変換", "全角変換(ｱ→ア)／半角変換(ア→ｱ)",
       "1 全角変換、2 半角変換"),
    At(Flags<&S::fnm_znk_ctc>("FNM_ZNK_CTC", Under(4), InRange<0, 127>),
       "名称変換 > 名称全角／半角変換", "英字、数字、記号、括弧、スペース、カタカナ、ひらがな",
       "0-127: 1 英字、2 数字、4 記号、8 括弧、16 スペース、32 カタカナ、64 ひらがな の和"),
    At(Flags<&S::fnm_znk_jcb>("FNM_ZNK_JCB", kOneChar, InRange<0, 3>),
       "名称変換 > 名称全角／半角変換", "ひらがな・カタカナの共通記号（。 、 ゜ ゛ ー）も変換、全角変換時、濁点（゛）と半濁点（゜）を単独変換",
       "0-3: 1 共通記号も変換、2 濁点・半濁点を単独変換 の和"),
    At(Digit<&S::fnm_ckn0, 1, 2>("FNM_CKN0"),
       "名称変換 > 名称文字列置換", "置換対象を文字列で指定／置換対象を位置で指定",
       "1 文字列、2 位置"),
    At(Text<&S::fnm_ckn1>("FNM_CKN1", 200),
       "名称変換 > 名称文字列置換", "対象文字列",
       "文字列（200バイト以内）"),
    At(Flags<&S::fnm_ckn_tgb>("FNM_CKN_TGB", kOneChar, InRange<0, 3>),
       "名称変換 > 名称文字列置換", "大文字／小文字を区別、正規表現を使用",
       "0-3: 1 大文字／小文字を区別、2 正規表現を使用 の和"),
    At(Digit<&S::fnm_ckn4, 0, 1>("FNM_CKN4"),
       "名称変換 > 名称文字列置換", "先頭／最後尾",
       "0 先頭、1 最後尾"),
    At(Digit<&S::fnm_ckn5, 0, 1>("FNM_CKN5"),
       "名称変換 > 名称文字列置換", "指定バイト目",
       "0 オフ、1 オン"),
    At(Text<&S::fnm_ckn6>("FNM_CKN6", 3, DigitText),
       "名称変換 > 名称文字列置換", "指定バイト目の値",
       "数字（3桁以内）"),
    At(Digit<&S::fnm_ckn7, 0, 1>("FNM_CKN7"),
       "名称変換 > 名称文字列置換", "以前／以後",
       "0 以前、1 以後"),
    At(Digit<&S::fnm_ckn8, 1, 2>("FNM_CKN8"),
       "名称変換 > 名称文字列置換", "全て／指定バイト分",
       "1 全て、2 指定バイト分"),
    At(Text<&S::fnm_ckn9>("FNM_CKN9", 3, DigitText),
       "名称変換 > 名称文字列置換", "指定バイト分の値",
       "数字（3桁以内）"),
    At(Digit<&S::fnm_ckna, 1, 2>("FNM_CKNA"),
       "名称変換 > 名称文字列置換", "指定位置が全角文字の２バイト目の場合、その全角文字も置換対象に: する／しない",
       "1 する、2 しない"),
    At(Text<&S::fnm_ckn3>("FNM_CKN3", 200),
       "名称変換 > 名称文字列置換", "置換文字列",
       "文字列（200バイト以内）"),
    At(Digit<&S::fnm_rnb0, 1, 2>("FNM_RNB0"),
       "名称変換 > 連番による名称変換", "前に付加: 親ディレクトリ名／文字列指定",
       "1 親ディレクトリ名、2 文字列指定"),
    At(Text<&S::fnm_rnb1>("FNM_RNB1", 80),
       "名称変換 > 連番による名称変換", "前に付加: 文字列指定",
       "文字列（80バイト以内）"),
    At(Text<&S::fnm_rnb2>("FNM_RNB2", 5, DigitText),
       "名称変換 > 連番による名称変換", "初回番号",
       "数字（5桁以内）"),
    At(Text<&S::fnm_rnba>("FNM_RNBA", 3, IncrementText),
       "名称変換 > 連番による名称変換", "増分値",
       "-99～99（0 を除く）"),
    At(Digit<&S::fnm_rnb3, 1, 8>("FNM_RNB3"),
       "名称変換 > 連番による名称変換", "0埋め桁数",
       "1-8"),
    At(Digit<&S::fnm_rnb8, 1, 2>("FNM_RNB8"),
       "名称変換 > 連番による名称変換", "後に付加: 親ディレクトリ名／文字列指定",
       "1 親ディレクトリ名、2 文字列指定"),
    At(Text<&S::fnm_rnb9>("FNM_RNB9", 80),
       "名称変換 > 連番による名称変換", "後に付加: 文字列指定",
       "文字列（80バイト以内）"),
    At(Flags<&S::fnm_rnb_opt>("FNM_RNB_OPT", kOneChar, InRange<0, 7>),
       "名称変換 > 連番による名称変換", "ディレクトリ毎に初回番号からの連番、連番順序指定、昇順／降順",
       "0-7: 1 ディレクトリ毎、2 連番順序指定、4 昇順 の和"),
    At(Flags<&S::fnm_rnb7>("FNM_RNB7", Under(3), OrderKey),
       "名称変換 > 連番による名称変換", "連番順序、末尾側の数値を対象",
       "0 ファイル名順、1 更新日時順、2 作成日時順、3 Exif情報日時順、4 ファイル名中の数値順; +64 末尾側の数値を対象"),
    At(Digit<&S::fnm_hdk0, 1, 2>("FNM_HDK0"),
       "名称変換 > 日時による名称変換", "前に付加: 親ディレクトリ名／文字列指定",
       "1 親ディレクトリ名、2 文字列指定"),
    At(Text<&S::fnm_hdk1>("FNM_HDK1", 80),
       "名称変換 > 日時による名称変換", "前に付加: 文字列指定",
       "文字列（80バイト以内）"),
    At(Flags<&S::fnm_hdk_udt>("FNM_HDK_UDT", Under(3), DateSource),
       "名称変換 > 日時による名称変換", "更新日時／作成日時、Exif情報があればその日時",
       "1 作成日時、2 更新日時; +64 Exif情報があればその日時"),
    At(Digit<&S::fnm_hdk2, 1, 3>("FNM_HDK2"),
       "名称変換 > 日時による名称変換", "日付形式",
       "1 YYYYMMDD、2 YYMMDD、3 MMDD"),
    At(Flags<&S::fnm_hdk_atw>("FNM_HDK_ATW", kOneChar, InRange<0, 3>),
       "名称変換 > 日時による名称変換", "時間も付加、曜日も付加",
       "0-3: 1 時間も付加、2 曜日も付加 の和"),
    At(Digit<&S::fnm_hdk4, 1, 2>("FNM_HDK4"),
       "名称変換 > 日時による名称変換", "時間の形式",
       "1 hhmmss、2 hhmm"),
    At(Digit<&S::fnm_hdkd, 1, 4>("FNM_HDKD"),
       "名称変換 > 日時による名称変換", "曜日の形式",
       "1 英1（“Sun”～）、2 英2（“Sunday”～）、3 和1（“日”～）、4 和2（“日曜日”～）"),
    At(Text<&S::fnm_hdka>("FNM_HDKA", 8),
       "名称変換 > 日時による名称変換", "日付・時間・曜日の区切り文字",
       "文字列（8バイト以内）"),
    At(Flags<&S::fnm_hdk_rnb>("FNM_HDK_RNB", Under(3), InRange<0, 15>),
       "名称変換 > 日時による名称変換", "同一日時毎に連番付加、ディレクトリ毎に１からの連番、連番順序指定、昇順／降順",
       "0-15: 1 同一日時毎に連番付加、2 ディレクトリ毎、4 連番順序指定、8 昇順 の和"),
    At(Text<&S::fnm_hdkb>("FNM_HDKB", 8),
       "名称変換 > 日時による名称変換", "日時と連番の区切り文字",
       "文字列（8バイト以内）"),
    At(Digit<&S::fnm_hdk6, 1, 8>("FNM_HDK6"),
       "名称変換 > 日時による名称変換", "0埋め桁数",
       "1-8"),
    At(Flags<&S::fnm_hdkg>("FNM_HDKG", Under(3), OrderKey),
       "名称変換 > 日時による名称変換", "連番順序、末尾側の数値を対象",
       "0 ファイル名順、1 更新日時順、2 作成日時順、3 Exif情報日時順、4 ファイル名中の数値順; +64 末尾側の数値を対象"),
    At(Custom("FNM_ID31", ParseId3ElementsKey, WriteId3Elements),
       "名称変換 > ID3情報による名称変換", "要素１～要素４",
       "4桁、各桁 0 なし、1 タイトル、2 アーティスト、3 アルバム、4 リリース年、5 コメント、6 トラック番号、7 指定文字列"),
    At(Text<&S::fnm_id32>("FNM_ID32", 80),
       "名称変換 > ID3情報による名称変換", "指定文字列",
       "文字列（80バイト以内）"),
    At(Text<&S::fnm_id33>("FNM_ID33", 8),
       "名称変換 > ID3情報による名称変換", "各要素の区切り文字",
       "文字列（8バイト以内）"),
    At(Flags<&S::fnm_id3_opt>("FNM_ID3_OPT", kOneChar, InRange<0, 3>),
       "名称変換 > ID3情報による名称変換", "要素内文字列前後のスペース文字を削除、ID3v1情報の文字列はUnicodeで記述されているものとして変換する",
       "0-3: 1 スペース文字を削除、2 ID3v1はUnicode の和"),
    At(Text<&S::fnm_usr1>("FNM_USR1", 200),
       "名称変換 > 変換制御文による名称変換", "変換制御文 (200バイト以内で指定)",
       "文字列（200バイト以内）"),
    At(Text<&S::fnm_csv_pth>("FNM_CSV_PTH", 260),
       "名称変換 > 置換パターンCSVによる名称変換", "置換パターンCSVファイルパス",
       "パス（260バイト以内）"),
    At(Flags<&S::fnm_csv_opt>("FNM_CSV_OPT", kOneChar, InRange<0, 3>),
       "名称変換 > 置換パターンCSVによる名称変換", "大文字／小文字を区別、正規表現を使用",
       "0-3: 1 大文字／小文字を区別、2 正規表現を使用 の和"),
    At(Custom("SW_ATR", ParseAttributeSwitches, WriteAttributeSwitches),
       "属性変換", "読み取り専用、隠しファイル、アーカイブ、システム",
       "4桁、各桁 0 変換しない、1 変換する"),
    At(Flags<&S::atr_onb>("ATR_ONB", Under(3), InRange<0, 15>),
       "属性変換", "ON／OFF",
       "0-15: 1 読み取り専用、2 隠しファイル、4 アーカイブ、8 システム を ON にする和"),
    At(Custom("SW_DTT", ParseTimeModesKey, WriteTimeModes),
       "日時変換", "作成日時、更新日時、アクセス日時、ファイル名形式の日付：、時間：",
       "5桁: 1-3桁目 0 変換なし、1 日時直接指定、2-3 他の日時から、4 Exif情報日時、5 ファイル名; 4桁目 0 YYYYMMDD、1 YYMMDD; 5桁目 0 なし、1 hhmmssSSS、2 hhmmss、3 hhmm"),
    At(Custom("DTT_11", ParseDirectTime, WriteDirectDate<0>),
       "日時変換", "作成日時: 直接指定 日付",
       "YYYY/MM/DD（日時直接指定のときのみ書かれる）"),
    At(Custom("DTT_12", ParseDirectTime, WriteDirectTime<0>),
       "日時変換", "作成日時: 直接指定 時間",
       "hh:mm:ss または hh:mm:ss.SSS"),
    At(Custom("DTT_21", ParseDirectTime, WriteDirectDate<1>),
       "日時変換", "更新日時: 直接指定 日付",
       "YYYY/MM/DD（日時直接指定のときのみ書かれる）"),
    At(Custom("DTT_22", ParseDirectTime, WriteDirectTime<1>),
       "日時変換", "更新日時: 直接指定 時間",
       "hh:mm:ss または hh:mm:ss.SSS"),
    At(Custom("DTT_31", ParseDirectTime, WriteDirectDate<2>),
       "日時変換", "アクセス日時: 直接指定 日付",
       "YYYY/MM/DD（日時直接指定のときのみ書かれる）"),
    At(Custom("DTT_32", ParseDirectTime, WriteDirectTime<2>),
       "日時変換", "アクセス日時: 直接指定 時間",
       "hh:mm:ss または hh:mm:ss.SSS"),
    At(Custom("SW_DEL", ParseDeletionSwitches, WriteDeletionSwitches),
       "ファイル削除", "ファイル削除、ごみ箱に移動せずに削除する、復元不可状態にした上で削除する",
       "3桁、各桁 0 オフ、1 オン"),
    At(Digit<&S::del_01, 1, 3>("DEL_01"),
       "ファイル削除", "復元不可状態レベル",
       "1 レベル１（低）、2 レベル２（中）、3 レベル３（高）"),
    At(Custom("SW_ID3", ParseId3SourcesKey, WriteId3Sources),
       "ID3情報変換", "タイトル、アーティスト、アルバム、トラック番号、リリース年、コメント、ジャンル",
       "7桁、各桁 0 変換しない、1 ファイル名、2-5 ファイル名要素１～４、6 親フォルダ名、7 ２階層上フォルダ名、8 ３階層上フォルダ名、9 ボリューム名、a 文字列直接指定"),
    At(Custom("ID3_STR0", ParseId3String, WriteId3String<0>),
       "ID3情報変換", "タイトル: 直接指定",
       "文字列（100バイト以内）"),
    At(Custom("ID3_STR1", ParseId3String, WriteId3String<1>),
       "ID3情報変換", "アーティスト: 直接指定",
       "文字列（100バイト以内）"),
    At(Custom("ID3_STR2", ParseId3String, WriteId3String<2>),
       "ID3情報変換", "アルバム: 直接指定",
       "文字列（100バイト以内）"),
    At(Custom("ID3_STR3", ParseId3String, WriteId3String<3>),
       "ID3情報変換", "トラック番号: 直接指定",
       "文字列（100バイト以内）"),
    At(Custom("ID3_STR4", ParseId3String, WriteId3String<4>),
       "ID3情報変換", "リリース年: 直接指定",
       "文字列（100バイト以内）"),
    At(Custom("ID3_STR5", ParseId3String, WriteId3String<5>),
       "ID3情報変換", "コメント: 直接指定",
       "文字列（100バイト以内）"),
    At(Custom("ID3_STR6", ParseId3String, WriteId3String<6>),
       "ID3情報変換", "ジャンル: 直接指定",
       "文字列（100バイト以内）"),
    At(Text<&S::id3_spr>("ID3_SPR", 8),
       "ID3情報変換", "ファイル名要素の区切り文字",
       "文字列（8バイト以内）"),
    At(Flags<&S::id3_cts>("ID3_CTS", Under(3), InRange<0, 15>),
       "ID3情報変換", "変換対象ID3: ID3v1、ID3v2; 新規付加ID3: ID3v1、ID3v2",
       "0-15: 1 変換対象ID3v1、2 変換対象ID3v2、4 新規付加ID3v1、8 新規付加ID3v2 の和"),
    At(Digit<&S::id3_enc, 0, 1>("ID3_ENC"),
       "ID3情報変換", "タグをShift_JISで書き込む（旧機器向け）",
       "0 オフ（ID3v2の文字列はUnicode: v2.2・v2.3 UTF-16、v2.4 UTF-8）、1 オン（Shift_JIS）"),
};

const Key* FindKey(std::string_view name) {
  for (const Key& key : kKeys) {
    if (key.name == name) return &key;
  }
  return nullptr;
}

// Reads one line of a key of the table; false when the value's length is not acceptable.
bool ParseTableKey(Settings* s, const Key& key, std::string_view text, int number) {
  switch (key.kind) {
    case Kind::kNumber: {
      if (!key.length.Accepts(text.size())) return false;
      int value = number;
      if (key.reading == Reading::kDigitChar) value = (text.size() == 1 && IsDigit(text[0])) ? text[0] - '0' : -1;
      if (key.accept_number(value)) key.store(s, value);
      return true;
    }
    case Kind::kText:
      if (!key.length.Accepts(text.size())) return false;
      if (key.accept_text(text, number)) key.assign(s, text);
      return true;
    case Kind::kCustom:
      return key.parse(s, key.name, text);
  }
  return false;
}

void WriteTableKey(const Settings& s, const Key& key, std::string* out) {
  switch (key.kind) {
    case Kind::kNumber:
      AppendNumber(out, key.name, key.load(s));
      return;
    case Kind::kText:
      AppendLine(out, key.name, key.text(s));
      return;
    case Kind::kCustom:
      key.write(s, key.name, out);
      return;
  }
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

std::vector<KeyDescription> JobKeyDescriptions() {
  std::vector<KeyDescription> keys;
  for (const Key& key : kKeys) keys.push_back(KeyDescription{std::string(key.name), key.place});
  // The places of the legacy keys live in static storage: a KeyPlace only views its texts.
  static const std::vector<std::string> legacy_labels = [] {
    std::vector<std::string> labels;
    for (const LegacyKey& row : kLegacyKeys) {
      labels.push_back(std::string(row.stands_for) + " の " + std::to_string(row.bit) + " に当たる旧版のキー");
    }
    return labels;
  }();
  for (std::size_t i = 0; i < std::size(kLegacyKeys); ++i) {
    const LegacyKey& row = kLegacyKeys[i];
    const std::string_view values = row.clear == '2' ? "1 オン、2 オフ" : "1 オン、0 オフ";
    keys.push_back(KeyDescription{std::string(row.key), KeyPlace{"", legacy_labels[i], values}, true});
  }
  keys.push_back(KeyDescription{std::string(kOldDateSourceKey),
                                KeyPlace{"", "FNM_HDK_UDT の 1 または 2 を加える旧版のキー", "1 作成日時、0 更新日時"},
                                true});
  return keys;
}

void ConversionSettings::WriteKeys(std::string* out) const {
  for (const Key& key : kKeys) WriteTableKey(*this, key, out);
}

bool ParseKey(ConversionSettings* settings, std::string_view key, std::string_view value_text, int value_number,
              std::size_t value_length) {
  // Every rule below reads value_text itself; a length that disagrees with it is a caller's mistake
  // that must not make a rule read past the text.
  if (value_length != value_text.size()) return false;
  const std::string_view text = value_text;

  if (const Key* row = FindKey(key)) return ParseTableKey(settings, *row, text, value_number);
  if (const LegacyKey* row = Find(kLegacyKeys, key)) return ParseLegacyKey(settings, *row, text);
  // Every ID3_STR* key is a job key, though only the seven of the table name a string.
  if (key.substr(0, kId3StringPrefix.size()) == kId3StringPrefix) return ParseId3String(settings, key, text);
  if (key == kOldDateSourceKey) {
    // The old switch between creation ("1") and last-write ("0") time only ever added its bit.
    if (text.size() != 1) return false;
    if (text[0] == '0') settings->fnm_hdk_udt |= Settings::kDateLastWrite;
    if (text[0] == '1') settings->fnm_hdk_udt |= Settings::kDateCreation;
    return true;
  }
  return false;
}

}  // namespace morva
