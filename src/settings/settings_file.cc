#include "settings/settings_file.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "platform/decimal_text.h"
#include "settings/key_lines.h"

namespace morva {
namespace {

// The product name, " Settings ", the version string cut to its first 9 bytes ("Version 6.1b" ->
// "Version 6") and a blank; the writer puts an empty line after it.
constexpr std::string_view kHeaderLine = "MORVA Settings Version 6 \n";
// Only the product name, " Settings " and "Version " are compared, so every 6.x file (and any other
// version) reads alike.
constexpr std::size_t kHeaderCompared = 23;
static_assert(kHeaderLine.substr(0, kHeaderCompared) == "MORVA Settings Version ");

// A key line counts its line break: one byte, as the file is read in text mode.
constexpr std::size_t kShortestLine = 9;
constexpr std::size_t kLongestLine = 1019;
constexpr std::size_t kLongestKey = 16;
constexpr std::string_view kSeparator = " = ";

constexpr std::size_t kHistorySlots = std::tuple_size_v<decltype(AppSettings::dirfil)>;

// ---------------------------------------------------------------------------------------------------
// Reading

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool AllFlagDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '1'; });
}

template <std::size_t N>
void StoreFlagDigits(std::string_view text, std::array<bool, N>* flags) {
  for (std::size_t i = 0; i < text.size() && i < N; ++i) (*flags)[i] = text[i] == '1';
}

// A window never starts beyond the right or bottom edge of the desktop: a position whose window would
// reach past `edge` is moved back so that the window ends there. A window larger than the desktop starts
// at its left or top edge instead of beyond it, since a negative position would be written to the file
// and then refused at the next start.
int Place(int position, int size, int edge) {
  const std::int64_t end = std::int64_t{position} + size;
  const std::int64_t placed = end > edge ? std::int64_t{edge} - size : position;
  return static_cast<int>(std::clamp<std::int64_t>(placed, 0, INT_MAX));
}

// Target options, stored in order so that each switch is checked against the ones before it: the
// directory itself and "directories only" need "directories too"; the wildcard does not apply to the
// directory itself; the Exif and ID3 filters are for files only, and only one of them can be on.
void StoreTargetOptions(std::string_view text, std::array<bool, 12>* flags) {
  using A = AppSettings;
  auto& f = *flags;
  for (std::size_t i = 0; i < f.size(); ++i) {
    f[i] = text[i] == '1';
    if ((i == A::kSetItself || i == A::kSetDirectoriesOnly) && !f[A::kSetDirectories]) f[i] = false;
    if (i == A::kSetWildcard && f[A::kSetItself]) f[i] = false;
    if ((i == A::kSetExifOnly || i == A::kSetId3Only) && f[A::kSetDirectories]) f[i] = false;
    if (i == A::kSetId3Only && f[A::kSetExifOnly]) f[i] = false;
  }
}

// Characters a wildcard can never hold (bytes below 0x20 included); '*' and '?' are its own.
bool IsForbiddenInWildcard(unsigned char b) {
  return b < 0x20 || b == '\\' || b == '/' || b == ':' || b == '"' || b == '<' || b == '>' || b == '|';
}

// The wildcard history: tab-separated wildcards of at most 80 bytes, each free of the characters a
// wildcard cannot hold. The second byte of a double-byte character is never taken for one of them.
bool IsWildcardHistory(std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size();) {
    if (i == text.size() || text[i] == '\t') {
      if (i - start > 80) return false;
      start = ++i;
      continue;
    }
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (cp932::IsLeadByte(b)) {
      i += 2;
      continue;
    }
    if (IsForbiddenInWildcard(b)) return false;
    ++i;
  }
  return true;
}

// A stored directory: empty, or long enough to be a path ("C:\") and short enough to leave room for a
// name.
bool IsStoredDirectoryLength(std::size_t n) { return n == 0 || (n >= 3 && n <= 259); }

// The history slot a DIRFIL key names: "" is slot 0, "1"-"9" slots 1-9, "A"-"F" slots 10-15.
std::optional<std::size_t> HistorySlot(std::string_view suffix) {
  if (suffix.empty()) return 0;
  if (suffix.size() != 1) return std::nullopt;
  const char c = suffix[0];
  if (c >= '1' && c <= '9') return static_cast<std::size_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::size_t>(c - 'A' + 10);
  return std::nullopt;
}

// The inverse of HistorySlot.
std::string HistorySuffix(std::size_t slot) {
  if (slot == 0) return std::string();
  return std::string(1, slot < 10 ? static_cast<char>('0' + slot) : static_cast<char>('A' + slot - 10));
}

bool HasPath(const std::optional<std::string>& slot) { return slot.has_value() && !slot->empty(); }

// ---------------------------------------------------------------------------------------------------
// Writing

void AppendNumber(std::string* out, std::string_view key, int value) {
  out->append(key);
  out->append(kSeparator);
  out->append(std::to_string(value));
  out->push_back('\n');
}

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A text value, or nothing when it would break its line apart (and so could inject other keys).
void AppendText(std::string* out, std::string_view key, std::string_view value) {
  out->append(key);
  out->append(kSeparator);
  if (!HoldsLineBreak(value)) out->append(value);
  out->push_back('\n');
}

template <std::size_t N>
void AppendFlags(std::string* out, std::string_view key, const std::array<bool, N>& flags) {
  out->append(key);
  out->append(kSeparator);
  for (bool flag : flags) out->push_back(flag ? '1' : '0');
  out->push_back('\n');
}

// ---------------------------------------------------------------------------------------------------
// The application keys: one row each, in the order the file holds them; the reader finds a key's row
// by its name, so a key added here is both read and written.

using A = AppSettings;
using D = DesktopGeometry;

// How a row took a line: its outcome, or nullopt when the value's length or form is not the key's, so
// that the line goes on to the job keys.
using Taken = std::optional<SettingsLineOutcome>;
constexpr Taken kHandOn = std::nullopt;

Taken Stored(bool accepted) { return accepted ? SettingsLineOutcome::kApplied : SettingsLineOutcome::kRefused; }

template <typename T>
Taken StoreIf(bool accepted, T* field, int value) {
  if (accepted) *field = static_cast<T>(value);
  return Stored(accepted);
}

// The accepted byte lengths of a value text.
struct Length {
  std::size_t min;
  std::size_t max;
  constexpr bool Accepts(std::size_t n) const { return n >= min && n <= max; }
};
constexpr Length kOneChar{1, 1};
constexpr Length kAnyLength{0, SIZE_MAX};
constexpr Length Under(std::size_t n) { return Length{0, n - 1}; }
constexpr Length Exactly(std::size_t n) { return Length{n, n}; }
// The main window's position may not be empty; the dialogs' may (and then read as 0).
constexpr Length kNotEmpty{1, SIZE_MAX};

struct Row {
  std::string_view name;
  // Takes a line whose key is `name` followed by `suffix` (empty unless the row is numbered).
  Taken (*read)(std::string_view suffix, std::string_view text, int number, const D& desktop, A* app);
  // Writes the row's lines.
  void (*write)(std::string_view name, const A& app, std::string* out);
  bool numbered = false;     // the key is the name followed by a slot: DIRFIL1, PREC0, ...
  bool always = false;       // written also when the job is not kept for the next start
  bool blank_after = false;  // a blank line follows the row's lines
  // A numbered row's slots and the key suffix of each.
  std::size_t slots = 0;
  std::string (*suffix)(std::size_t slot) = nullptr;
  KeyPlace place{};
  bool in_job = false;  // part of what a run does: shown with the job, not a window's own state
};

constexpr Row At(Row row, std::string_view page, std::string_view label, std::string_view values) {
  row.place = KeyPlace{page, label, values};
  return row;
}

std::string DecimalSuffix(std::size_t slot) { return std::to_string(slot); }

template <auto Field>
void WriteNumber(std::string_view name, const A& a, std::string* out) {
  AppendNumber(out, name, static_cast<int>(a.*Field));
}

template <auto Field>
void WriteText(std::string_view name, const A& a, std::string* out) {
  AppendText(out, name, (a.*Field).view());
}

template <auto Field>
void WriteFlags(std::string_view name, const A& a, std::string* out) {
  AppendFlags(out, name, a.*Field);
}

// A number within [Lo, Hi].
template <auto Field, Length L, int Lo, int Hi>
Taken ReadNumber(std::string_view, std::string_view text, int n, const D&, A* a) {
  if (!L.Accepts(text.size())) return kHandOn;
  return StoreIf(n >= Lo && n <= Hi, &(a->*Field), n);
}

template <auto Field, Length L, int Lo, int Hi>
constexpr Row Number(std::string_view name) {
  return Row{name, ReadNumber<Field, L, Lo, Hi>, WriteNumber<Field>};
}

// A window size: at least 3 bytes, within [Min, 9999].
template <auto Field, int Min>
constexpr Row Size(std::string_view name) {
  return Number<Field, Length{3, SIZE_MAX}, Min, 9999>(name);
}

// The size of the window a position belongs to: the main window's is the desktop's to tell, a dialog's
// is the one already read.
template <auto WindowSize>
int SizeOf(const D& d, const A& a) {
  if constexpr (std::is_same_v<decltype(WindowSize), int D::*>) {
    return d.*WindowSize;
  } else {
    return a.*WindowSize;
  }
}

// A window position: decimal digits only, then kept on the desktop.
template <auto Field, auto WindowSize, int D::*Edge, Length L>
Taken ReadPosition(std::string_view, std::string_view text, int n, const D& d, A* a) {
  if (!L.Accepts(text.size()) || !AllDigits(text)) return kHandOn;
  a->*Field = Place(n, SizeOf<WindowSize>(d, *a), d.*Edge);
  return SettingsLineOutcome::kApplied;
}

template <auto Field, auto WindowSize, int D::*Edge, Length L = kAnyLength>
constexpr Row Position(std::string_view name) {
  return Row{name, ReadPosition<Field, WindowSize, Edge, L>, WriteNumber<Field>};
}

// List column widths NAME0, NAME1, ...: shorter than `Under` bytes, at least 1.
template <auto Field, std::size_t UnderLength>
Taken ReadColumn(std::string_view suffix, std::string_view text, int n, const D&, A* a) {
  auto& widths = a->*Field;
  if (suffix.size() != 1 || suffix[0] < '0' || static_cast<std::size_t>(suffix[0] - '0') >= widths.size()) {
    return kHandOn;
  }
  if (text.size() >= UnderLength) return kHandOn;
  return StoreIf(n >= 1, &widths[static_cast<std::size_t>(suffix[0] - '0')], n);
}

template <auto Field>
void WriteColumns(std::string_view name, const A& a, std::string* out) {
  const auto& widths = a.*Field;
  for (std::size_t i = 0; i < widths.size(); ++i) AppendNumber(out, std::string(name) + std::to_string(i), widths[i]);
}

template <auto Field, std::size_t UnderLength>
constexpr Row Columns(std::string_view name) {
  Row row{name, ReadColumn<Field, UnderLength>, WriteColumns<Field>};
  row.numbered = true;
  row.slots = std::tuple_size_v<std::remove_reference_t<decltype(std::declval<A>().*Field)>>;
  row.suffix = DecimalSuffix;
  return row;
}

// A check box written as "0" or "1".
template <auto Field>
Taken ReadSwitch(std::string_view, std::string_view text, int, const D&, A* a) {
  if (text.size() != 1) return kHandOn;
  return StoreIf(text[0] == '0' || text[0] == '1', &(a->*Field), text[0] == '1');
}

template <auto Field>
constexpr Row Switch(std::string_view name) {
  return Row{name, ReadSwitch<Field>, WriteNumber<Field>};
}

// A check box of any one character: its number decides, so a stray "2" still means on.
template <auto Field>
Taken ReadLooseSwitch(std::string_view, std::string_view text, int n, const D&, A* a) {
  if (text.size() != 1) return kHandOn;
  a->*Field = n != 0;
  return SettingsLineOutcome::kApplied;
}

template <auto Field>
constexpr Row LooseSwitch(std::string_view name) {
  return Row{name, ReadLooseSwitch<Field>, WriteNumber<Field>};
}

// No earlier version wrote fewer flags.
constexpr std::size_t kNoLegacy = 0;

// Flags written as "0" and "1", one for each; a value of `Legacy` flags comes from an earlier version
// and leaves the newer flags alone.
template <auto Field, std::size_t Legacy>
Taken ReadFlags(std::string_view, std::string_view text, int, const D&, A* a) {
  auto& flags = a->*Field;
  if (text.size() != flags.size() && (Legacy == kNoLegacy || text.size() != Legacy)) return kHandOn;
  if (!AllFlagDigits(text)) return SettingsLineOutcome::kRefused;
  StoreFlagDigits(text, &flags);
  return SettingsLineOutcome::kApplied;
}

template <auto Field, std::size_t Legacy = kNoLegacy>
constexpr Row Flags(std::string_view name) {
  return Row{name, ReadFlags<Field, Legacy>, WriteFlags<Field>};
}

Taken ReadTargetOptions(std::string_view, std::string_view text, int, const D&, A* a) {
  if (text.size() != a->sw_set.size()) return kHandOn;
  if (!AllFlagDigits(text)) return SettingsLineOutcome::kRefused;
  StoreTargetOptions(text, &a->sw_set);
  return SettingsLineOutcome::kApplied;
}

constexpr Row TargetOptions(std::string_view name) { return Row{name, ReadTargetOptions, WriteFlags<&A::sw_set>}; }

bool AnyText(std::string_view) { return true; }

// A text the field can hold, accepted by `Accept`.
template <auto Field, Length L, bool (*Accept)(std::string_view)>
Taken ReadText(std::string_view, std::string_view text, int, const D&, A* a) {
  if (!L.Accepts(text.size())) return kHandOn;
  return Accept(text) ? Stored((a->*Field).Assign(text)) : SettingsLineOutcome::kRefused;
}

template <auto Field, Length L, bool (*Accept)(std::string_view) = AnyText>
constexpr Row Text(std::string_view name) {
  return Row{name, ReadText<Field, L, Accept>, WriteText<Field>};
}

// The output directory of copy conversion. The first line wins: a later one never replaces it.
Taken ReadCopyDirectory(std::string_view, std::string_view text, int, const D&, A* a) {
  if (!IsStoredDirectoryLength(text.size())) return kHandOn;
  return a->cpdir.empty() ? Stored(a->cpdir.Assign(text)) : SettingsLineOutcome::kRefused;
}

constexpr Row CopyDirectory(std::string_view name) { return Row{name, ReadCopyDirectory, WriteText<&A::cpdir>}; }

// The target-path history, DIRFIL and DIRFIL1-9, DIRFILA-F.
Taken ReadHistory(std::string_view suffix, std::string_view text, int, const D&, A* a) {
  const std::optional<std::size_t> slot = HistorySlot(suffix);
  // No job key begins with DIRFIL either.
  if (!slot) return SettingsLineOutcome::kNotAKey;
  if (!IsStoredDirectoryLength(text.size()) || text.find('\0') != std::string_view::npos) return kHandOn;
  // The first line for a slot wins. An empty value is accepted but is no path, so it leaves the slot
  // empty.
  if (HasPath(a->dirfil[*slot])) return SettingsLineOutcome::kRefused;
  if (!text.empty()) a->dirfil[*slot].emplace(text);
  return SettingsLineOutcome::kApplied;
}

// The paths stand under consecutive keys from DIRFIL. An empty slot (the newest one after a run refused
// for its empty path) is passed over, not taken for the end, so that the older paths are kept; a path
// that could not be read back as one line is left out.
void WriteHistory(std::string_view name, const A& a, std::string* out) {
  std::size_t written = 0;
  for (const auto& slot : a.dirfil) {
    if (!HasPath(slot) || HoldsLineBreak(*slot)) continue;
    AppendText(out, std::string(name) + HistorySuffix(written), *slot);
    ++written;
  }
}

constexpr Row History(std::string_view name) {
  Row row{name, ReadHistory, WriteHistory};
  row.numbered = true;
  row.slots = kHistorySlots;
  row.suffix = HistorySuffix;
  return row;
}

constexpr Row BlankAfter(Row row) {
  row.blank_after = true;
  return row;
}

constexpr Row InJob(Row row) {
  row.in_job = true;
  return row;
}

constexpr Row Always(Row row) {
  row.always = true;
  return row;
}

// Window sizes come before the positions kept on the desktop by them.
constexpr Row kRows[] = {
    At(History("DIRFIL"),
       "対象指定 > 指定ディレクトリ下の変換", "対象パス（DIRFIL が現在のパス、DIRFIL1～DIRFILF がその履歴）",
       "パス（259バイト以内）; 先に読んだ行が優先"),
    At(Position<&A::winx, &D::main_width, &D::right, kNotEmpty>("WINX"),
       "", "メインウィンドウの位置（左）",
       "ピクセル"),
    At(BlankAfter(Position<&A::winy, &D::main_height, &D::bottom, kNotEmpty>("WINY")),
       "", "メインウィンドウの位置（上）",
       "ピクセル"),
    At(Switch<&A::pref>("PREF"),
       "メインウィンドウ", "プレビュー",
       "0 オフ、1 オン"),
    At(Switch<&A::cpyf>("CPYF"),
       "メインウィンドウ", "コピー変換",
       "0 オフ、1 オン"),
    At(Size<&A::prew, 600>("PREW"),
       "", "変換プレビューの幅",
       "600-9999（ピクセル）"),
    At(Size<&A::preh, 240>("PREH"),
       "", "変換プレビューの高さ",
       "240-9999（ピクセル）"),
    At(Position<&A::prex, &A::prew, &D::right>("PREX"),
       "", "変換プレビューの位置（左）",
       "ピクセル"),
    At(Position<&A::prey, &A::preh, &D::bottom>("PREY"),
       "", "変換プレビューの位置（上）",
       "ピクセル"),
    At(Switch<&A::prem>("PREM"),
       "", "変換プレビューの最大化",
       "0 オフ、1 オン"),
    At(BlankAfter(Columns<&A::prec, 5>("PREC")),
       "", "変換プレビューの列幅（PREC0 ＃ ～ PREC7 ID3情報変換）",
       "ピクセル"),
    At(Size<&A::lulw, 480>("LULW"),
       "", "「ログから元に戻す」ログ内変換実行日時選択の幅",
       "480-9999（ピクセル）"),
    At(Size<&A::lulh, 360>("LULH"),
       "", "「ログから元に戻す」ログ内変換実行日時選択の高さ",
       "360-9999（ピクセル）"),
    At(Position<&A::lulx, &A::lulw, &D::right>("LULX"),
       "", "「ログから元に戻す」ログ内変換実行日時選択の位置（左）",
       "ピクセル"),
    At(Position<&A::luly, &A::lulh, &D::bottom>("LULY"),
       "", "「ログから元に戻す」ログ内変換実行日時選択の位置（上）",
       "ピクセル"),
    At(LooseSwitch<&A::lulm>("LULM"),
       "", "「ログから元に戻す」ログ内変換実行日時選択の最大化",
       "0 オフ、1 オン"),
    At(BlankAfter(Columns<&A::lulc, 4>("LULC")),
       "", "「ログから元に戻す」ログ内変換実行日時選択の列幅",
       "ピクセル"),
    At(Size<&A::trew, 360>("TREW"),
       "", "対象一覧の幅",
       "360-9999（ピクセル）"),
    At(Size<&A::treh, 240>("TREH"),
       "", "対象一覧の高さ",
       "240-9999（ピクセル）"),
    At(Position<&A::trex, &A::trew, &D::right>("TREX"),
       "", "対象一覧の位置（左）",
       "ピクセル"),
    At(Position<&A::trey, &A::treh, &D::bottom>("TREY"),
       "", "対象一覧の位置（上）",
       "ピクセル"),
    At(BlankAfter(Columns<&A::trec, 4>("TREC")),
       "", "対象一覧の列幅（TREC0 名称 ～ TREC5 Exif情報日時）",
       "ピクセル"),
    // Without "keep the job for the next start" only the program options survive a restart.
    At(InJob(Always(Flags<&A::sw_opt, 12>("SW_OPT"))),
       "設定", "（各チェックボックス）",
       "16桁、各桁 0 オフ、1 オン: 1 正常変換・変換不要もログに出力、2 ログを出力しない、3 変換実行時の変換設定・入力情報を保持し、次回起動時にも表示する、4-6 リストに表示する日時情報（更新日時、作成日時、Exif情報日時）、7 Exif、ID3情報が取得可能か判定する際、拡張子では判定しない、8 リスト表示時にはネットワークパスワード入力画面を出さない、9 「元に戻す」時にも出力、10 ID3情報読み取りの優先順位 ID3v1 → ID3v2、11 リスト操作で対象を変更する場合、確認メッセージを出す、12 変換時にパディング領域を使用しない、13 ID3v2情報読み取り時、コメントフレームが複数存在した場合は最初のものを有効にする、14-16 予約"),
    At(InJob(Always(Number<&A::opt_1, Under(3), 1, 40>("OPT_1"))),
       "設定", "ログに保持する変換履歴数",
       "1-40"),
    At(InJob(Always(Number<&A::opt_2, kOneChar, 1, 3>("OPT_2"))),
       "設定", "Exif情報日時として取得する項目",
       "1 ファイル変更日時、2 オリジナル画像生成日時、3 デジタルデータ生成日時"),
    At(InJob(Always(Number<&A::opt_3, kAnyLength, 0, 2048>("OPT_3"))),
       "設定", "新規付加時パディングサイズ",
       "0-2048（バイト）"),
    At(InJob(TargetOptions("SW_SET")),
       "対象指定", "対象ファイル一覧の表示、指定ディレクトリ下の変換の各チェックボックス",
       "12桁、各桁 0 オフ、1 オン: 1 対象ファイル一覧の表示、2 ショートカット指定ではリンク先を対象にする、3 サブディレクトリ内も対象にする、4 ディレクトリも対象、5 指定ディレクトリ自身も対象、6 対象ファイルワイルドカード指定、7 ディレクトリのみを対象、8 Exif情報があるファイルのみを対象、9 ID3情報があるファイルのみを対象、10-12 予約"),
    At(InJob(Number<&A::set_0, kOneChar, 1, 2>("SET_0")),
       "対象指定", "対象指定方式",
       "1 指定ディレクトリ下の変換、2 指定ファイルの変換"),
    At(InJob(Text<&A::set_11, Length{0, 80}>("SET_11")),
       "対象指定 > 指定ディレクトリ下の変換", "対象ファイルワイルドカード指定（ワイルドカード）",
       "ワイルドカード（80バイト以内）"),
    At(Text<&A::set_12, Length{0, 648}, IsWildcardHistory>("SET_12"),
       "対象指定 > 指定ディレクトリ下の変換", "対象ファイルワイルドカード指定（履歴）",
       "タブ区切りのワイルドカード（8個まで）"),
    At(InJob(Text<&A::set_dt1, Exactly(19)>("SET_DT1")),
       "対象指定 > 指定ディレクトリ下の変換", "対象ファイル更新日時（下限）",
       "YYYY/MM/DD hh:mm:ss"),
    At(InJob(Text<&A::set_dt2, Exactly(19)>("SET_DT2")),
       "対象指定 > 指定ディレクトリ下の変換", "対象ファイル更新日時（上限、～の後）",
       "YYYY/MM/DD hh:mm:ss"),
    At(InJob(Number<&A::set_dts, kOneChar, 0, 3>("SET_DTS")),
       "対象指定 > 指定ディレクトリ下の変換", "対象ファイル更新日時のチェックボックス",
       "0-3: 1 下限、2 上限 の和"),
    At(CopyDirectory("CPDIR"),
       "コピー変換用出力先ディレクトリの指定", "出力先ディレクトリ",
       "パス（259バイト以内）; 先に読んだ行が優先"),
    At(InJob(LooseSwitch<&A::cpovw>("CPOVW")),
       "コピー変換用出力先ディレクトリの指定", "同一名称のファイルが存在しても上書きコピーする",
       "0 オフ、1 オン"),
    At(InJob(Flags<&A::sw_pre>("SW_PRE")),
       "変換プレビュー", "対象外は非表示、以下を対象外にする: エラー、変換不要",
       "4桁、各桁 0 オフ、1 オン: 1 対象外は非表示、2 エラー、3 変換不要、4 予約"),
};

// The row of `key`, with what follows a numbered row's name in *suffix.
const Row* FindRow(std::string_view key, std::string_view* suffix) {
  for (const Row& row : kRows) {
    if (row.numbered ? key.starts_with(row.name) : key == row.name) {
      *suffix = key.substr(row.name.size());
      return &row;
    }
  }
  return nullptr;
}

}  // namespace

std::string FormatJobLines(const ConversionSettings& job, const AppSettings& app) {
  std::string out;
  for (const Row& row : kRows) {
    if (!row.in_job) continue;
    std::string lines;
    row.write(row.name, app, &lines);
    // The line goes out only when the reader takes it back: an empty time bound it would not.
    const std::string_view line = std::string_view(lines).substr(0, lines.size() - 1);
    const std::string_view value = line.substr(row.name.size() + kSeparator.size());
    AppSettings scratch;
    const Taken taken = row.read({}, value, LeadingInt(value), DesktopGeometry{}, &scratch);
    if (taken == SettingsLineOutcome::kApplied) out += lines;
  }
  job.WriteKeys(&out);
  return out;
}

std::vector<KeyDescription> SettingsKeyDescriptions() {
  std::vector<KeyDescription> keys;
  for (const Row& row : kRows) {
    if (!row.numbered) {
      keys.push_back(KeyDescription{std::string(row.name), row.place});
      continue;
    }
    for (std::size_t slot = 0; slot < row.slots; ++slot) {
      keys.push_back(KeyDescription{std::string(row.name) + row.suffix(slot), row.place});
    }
  }
  for (KeyDescription& key : JobKeyDescriptions()) keys.push_back(std::move(key));
  return keys;
}

SettingsLineOutcome ApplySettingsLine(std::string_view key, std::string_view value, const DesktopGeometry& desktop,
                                      ConversionSettings* job, AppSettings* app) {
  const int number = LeadingInt(value);
  std::string_view suffix;
  if (const Row* row = FindRow(key, &suffix)) {
    if (const Taken taken = row->read(suffix, value, number, desktop, app)) return *taken;
  }
  return ParseKey(job, key, value, number, value.size()) ? SettingsLineOutcome::kJobKey
                                                         : SettingsLineOutcome::kNotAKey;
}

void CloseHistoryGaps(AppSettings* app) {
  std::size_t filled = 0;
  for (std::size_t i = 0; i < kHistorySlots; ++i) {
    if (!HasPath(app->dirfil[i])) continue;
    if (i != filled) app->dirfil[filled] = std::move(app->dirfil[i]);
    ++filled;
  }
  for (std::size_t i = filled; i < kHistorySlots; ++i) app->dirfil[i].reset();
}

SettingsReadResult ParseSettingsText(std::string_view file_bytes, const DesktopGeometry& desktop,
                                     ConversionSettings* job, AppSettings* app) {
  SettingsReadResult result;
  std::string_view rest = file_bytes;
  TextLine line;
  if (!NextLine(&rest, &line)) {
    result.job_kinds = ComputeJobSwitches(*job);
    return result;
  }
  // The header is compared as the line was read, its line feed included.
  const std::string header = std::string(line.text) + (line.ended ? "\n" : "");
  result.recognised = header.size() >= kHeaderCompared &&
                      std::string_view(header).substr(0, kHeaderCompared) == kHeaderLine.substr(0, kHeaderCompared);
  if (!result.recognised) {
    result.job_kinds = ComputeJobSwitches(*job);
    return result;
  }

  while (NextLine(&rest, &line)) {
    if (line.text.empty()) continue;  // the writer separates groups with blank lines
    // A last line without its break is read as if it had one.
    const std::size_t length = line.text.size() + 1;
    const std::size_t separator = line.text.find(kSeparator);
    if (length < kShortestLine || length > kLongestLine || separator == std::string_view::npos ||
        separator > kLongestKey || line.text.find('\0') != std::string_view::npos) {
      ++result.lines_skipped;
      continue;
    }
    const std::string key = UpperKey(line.text.substr(0, separator));
    const std::string_view value = line.text.substr(separator + kSeparator.size());
    switch (ApplySettingsLine(key, value, desktop, job, app)) {
      case SettingsLineOutcome::kApplied:
      case SettingsLineOutcome::kJobKey:
        ++result.lines_applied;
        break;
      case SettingsLineOutcome::kRefused:
      case SettingsLineOutcome::kNotAKey:
        ++result.lines_skipped;
        break;
    }
  }
  CloseHistoryGaps(app);
  result.job_kinds = ComputeJobSwitches(*job);
  return result;
}

std::string FormatSettingsText(const ConversionSettings& job, const AppSettings& app) {
  std::string out;
  out.append(kHeaderLine);
  out.push_back('\n');
  const bool keep_job = app.sw_opt[AppSettings::kOptKeepJob];
  for (const Row& row : kRows) {
    if (!keep_job && !row.always) continue;
    row.write(row.name, app, &out);
    if (row.blank_after) out.push_back('\n');
  }
  if (keep_job) job.WriteKeys(&out);
  return out;
}

}  // namespace morva
