#include "log/job_summary.h"

#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

#include "log/log_markers.h"
#include "platform/engine_text.h"
#include "platform/path_utils.h"

namespace morva {
namespace {

using Settings = ConversionSettings;

// Collects a summary from the program's own texts (UTF-8 in the source) and the job's texts (already
// code page 932).
class Summary {
 public:
  explicit Summary(TextCodec& codec) : codec_(codec) {}

  Summary& T(std::string_view utf8) {
    out_ += Cp932Text(codec_, utf8);
    return *this;
  }
  Summary& Raw(std::string_view cp932) {
    out_ += cp932;
    return *this;
  }
  Summary& Number(long value) {
    out_ += std::to_string(value);
    return *this;
  }
  // A list whose items each end in ','; the finished list loses its last byte, so the last comma goes.
  // An empty list stays empty (there is no comma to lose).
  static void DropLast(std::string* list) {
    if (!list->empty()) list->pop_back();
  }
  std::string Text(std::string_view utf8) { return Cp932Text(codec_, utf8); }
  std::string& out() { return out_; }

 private:
  TextCodec& codec_;
  std::string out_;
};

// Prefix or suffix of the numbering rules: the parent directory's name, or the string.
void AddAffix(Summary& s, bool parent, std::string_view text) {
  if (parent) {
    s.T("[親ディレクトリ名]");
  } else {
    s.Raw(text);
  }
}

// " (昇順：ファイル名順)": the order of a numbering; `key` as FNM_RNB7 (+64 the last number).
void AddOrder(Summary& s, bool ascending, int key) {
  s.T(ascending ? " (昇順：" : " (降順：");
  switch (key & Settings::kOrderKeyMask) {
    case 0:
      s.T("ファイル名順)");
      break;
    case 1:
      s.T("更新日時順)");
      break;
    case 2:
      s.T("作成日時順)");
      break;
    case 3:
      s.T("Exif情報日時順)");
      break;
    default:
      s.T("ファイル名中の数値順");
      if (key & Settings::kOrderLastNumber) s.T("[末尾側]");
      s.T(")");
      break;
  }
}

// " (大文字／小文字区別、正規表現使用)" for the options of a replacement by string; nothing without one.
void AddStringOptions(Summary& s, unsigned options) {
  constexpr unsigned kCase = Settings::kReplaceCaseSensitive, kRegex = Settings::kReplaceRegex;
  if ((options & (kCase | kRegex)) == 0) return;
  s.T(" (");
  if (options & kCase) s.T("大文字／小文字区別");
  if ((options & (kCase | kRegex)) == (kCase | kRegex)) s.T("、");
  if (options & kRegex) s.T("正規表現使用");
  s.T(")");
}

// The first number of a serial, padded with zeros to `width` digits.
std::string Padded(std::string_view number, int width) {
  std::string out;
  if (width > 8) width = 8;
  if (static_cast<int>(number.size()) < width) out.assign(static_cast<std::size_t>(width) - number.size(), '0');
  out += number;
  return out;
}

void AddGeneral(Summary& s, const ConversionSettings& c) {
  if (c.fnm_ipn_sel & Settings::kGeneralCase) {
    if (c.fnm_ipn2 == 1) {
      s.T("【大文字変換】");
    } else if (c.fnm_ipn2 == 2) {
      s.T("【小文字変換】");
    } else {
      s.T("【先頭大文字、以下小文字変換");
      if (c.fnm_ipnf != 0) s.T("(特定文字直後の文字も大文字)");
      s.T("】");
    }
  }
  if (c.fnm_ipn_sel & Settings::kGeneralDeletion) {
    std::string list;
    if (c.fnm_ipng & Settings::kDeletedSpaces) list += s.Text("スペース,");
    if (c.fnm_ipng & Settings::kDeletedDigits) list += s.Text("数字,");
    if (c.fnm_ipng & Settings::kDeletedLetters) list += s.Text("英字,");
    if (c.fnm_ipng & Settings::kDeletedOthers) list += s.Text("その他,");
    Summary::DropLast(&list);
    s.T("【特定文字の削除(").Raw(list).T(")】");
  }
  if (c.fnm_ipn_sel & Settings::kGeneralBrackets)
    s.T(c.fnm_ipn4 == 2 ? "【括弧全削除】" : "【括弧で括られた部分の削除】");
  if (c.fnm_ipn_sel & Settings::kGeneralPadding) {
    s.T("【半角数字の0埋め桁揃え (");
    if (c.fnm_ipne) s.T("末尾の数字のみ：");
    s.Number(c.fnm_ipnd).T("桁)】");
  }
  // The character kinds govern case conversion and deletion only.
  if (c.fnm_ipn_sel & (Settings::kGeneralCase | Settings::kGeneralDeletion)) {
    std::string list;
    if (c.fnm_ipn_tgc & Settings::kGeneralFullWidth) list += s.Text("全角,");
    if (c.fnm_ipn_tgc & Settings::kGeneralHalfWidth) list += s.Text("半角,");
    Summary::DropLast(&list);
    s.T("【変換対象文字：").Raw(list).T("】");
  }
}

void AddWidth(Summary& s, const ConversionSettings& c) {
  s.T(c.fnm_znk0 == 1 ? "【全角変換 (" : "【半角変換 (");
  static constexpr std::string_view kClasses[] = {"英字,", "数字,", "記号,", "括弧,", "スペース,", "カタカナ,", "ひらがな,"};
  std::string list;
  for (int bit = 0; bit < 7; ++bit) {
    if (c.fnm_znk_ctc & (1 << bit)) list += s.Text(kClasses[bit]);
  }
  constexpr unsigned kKana = Settings::kWidthKatakana | Settings::kWidthHiragana;
  if ((c.fnm_znk_ctc & kKana) && (c.fnm_znk_jcb & (Settings::kWidthKanaSymbols | Settings::kWidthLoneMarks))) {
    Summary::DropLast(&list);
    std::string options;
    if (c.fnm_znk_jcb & Settings::kWidthLoneMarks) options += s.Text("濁点等は単独変換,");
    if (c.fnm_znk_jcb & Settings::kWidthKanaSymbols) options += s.Text("共通記号変換,");
    Summary::DropLast(&options);
    list += "{" + options + "}, ";
  }
  Summary::DropLast(&list);
  s.Raw(list).T(")】");
}

void AddReplacement(Summary& s, const ConversionSettings& c) {
  s.T("【文字列置換 '");
  const bool by_position = c.fnm_ckn0 == 2;
  if (!by_position) {
    s.Raw(c.fnm_ckn1.view());
  } else {
    s.T(c.fnm_ckn4 == 0 ? "先頭" : "最後尾");
    if (c.fnm_ckn5) s.Raw(c.fnm_ckn6.view()).T("バイト目");
    s.T(c.fnm_ckn7 == 0 ? "以前" : "以後");
    if (c.fnm_ckn8 == 1) {
      s.T("全て");
    } else {
      s.Raw(c.fnm_ckn9.view()).T("バイト分");
    }
  }
  s.T("' → '").Raw(c.fnm_ckn3.view()).T("'");
  if (!by_position) {
    AddStringOptions(s, c.fnm_ckn_tgb);
  } else {
    s.T(" (全角２バイト目：").T(c.fnm_ckna == 1 ? "有効)" : "無効)");
  }
  s.T("】");
}

void AddSerial(Summary& s, const ConversionSettings& c) {
  s.T("【連番で名称変換 '");
  AddAffix(s, c.fnm_rnb0 == 1, c.fnm_rnb1.view());
  s.Raw(Padded(c.fnm_rnb2.view(), c.fnm_rnb3)).T("'～");
  if (c.fnm_rnb_opt & Settings::kSerialOrdered) {
    AddOrder(s, (c.fnm_rnb_opt & Settings::kSerialAscending) != 0, c.fnm_rnb7);
  }
  if (c.fnm_rnb8 == 1 || !c.fnm_rnb9.empty()) {
    s.T("'");
    AddAffix(s, c.fnm_rnb8 == 1, c.fnm_rnb9.view());
    s.T("'");
  }
  s.T("】");
}

void AddDate(Summary& s, const ConversionSettings& c) {
  const char* const time_name =
      (c.fnm_hdk_udt & Settings::kDateSourceMask) == Settings::kDateCreation ? "作成日時" : "更新日時";
  s.T("【");
  if (c.fnm_hdk_udt & Settings::kDateExifFirst) {
    s.T("Exif情報日時（または").T(time_name).T("）");
  } else {
    s.T(time_name);
  }
  s.T("で名称変換 '");
  AddAffix(s, c.fnm_hdk0 == 1, c.fnm_hdk1.view());
  s.T(c.fnm_hdk2 == 1 ? "YYYYMMDD" : c.fnm_hdk2 == 2 ? "YYMMDD" : "MMDD");
  if (c.fnm_hdk_atw & Settings::kDateAddTime) s.Raw(c.fnm_hdka.view()).T(c.fnm_hdk4 == 1 ? "hhmmss" : "hhmm");
  if (c.fnm_hdk_atw & Settings::kDateAddWeekday) {
    s.Raw(c.fnm_hdka.view()).T("曜日(").T(c.fnm_hdkd <= 2 ? "英" : "和").Number((c.fnm_hdkd - 1) / 2 + 1).T(")");
  }
  if (c.fnm_hdk_rnb & Settings::kDateSerial) {
    const int zeros = c.fnm_hdk6 > 1 ? (c.fnm_hdk6 > 8 ? 7 : c.fnm_hdk6 - 1) : 0;
    s.Raw(c.fnm_hdkb.view()).Raw(std::string(static_cast<std::size_t>(zeros), '0')).T("1～");
  }
  if (c.fnm_hdk_rnb & (Settings::kDateSerial | Settings::kDateOrdered)) {
    AddOrder(s, (c.fnm_hdk_rnb & Settings::kDateAscending) != 0, c.fnm_hdkg);
  }
  s.T("'】");
}

void AddId3Name(Summary& s, const ConversionSettings& c) {
  static constexpr std::string_view kElements[] = {"タイトル", "アーティスト", "アルバム", "リリース年", "コメント", "トラック番号"};
  s.T("【ID3情報による名称変換 '");
  std::string elements;
  const std::string_view separator = c.fnm_id33.view();
  for (const std::int16_t element : c.fnm_id31) {
    if (element <= 0 || element > 7) continue;
    if (element == 7) {
      elements += c.fnm_id32.view();
    } else {
      elements += "[" + s.Text(kElements[element - 1]) + "]";
    }
    elements += separator;
  }
  if (elements.size() >= separator.size()) elements.resize(elements.size() - separator.size());
  s.Raw(elements).T("'");
  constexpr unsigned kTrim = Settings::kId3NameTrimSpaces, kUnicode = Settings::kId3NameV1Unicode;
  if (c.fnm_id3_opt & (kTrim | kUnicode)) {
    s.T("(");
    if (c.fnm_id3_opt & kTrim) s.T("文字列前後のスペース削除");
    if ((c.fnm_id3_opt & (kTrim | kUnicode)) == (kTrim | kUnicode)) s.T(",");
    if (c.fnm_id3_opt & kUnicode) s.T("ID3情報はUnicodeとして変換");
    s.T(")");
  }
  s.T("】");
}

void AddCsv(Summary& s, const ConversionSettings& c) {
  const std::string_view path = c.fnm_csv_pth.view();
  const std::size_t slash = FindLastChar(path, '\\');
  s.T("【置換パターンCSVで名称変換 [").Raw(slash == std::string_view::npos ? path : path.substr(slash + 1)).T("]");
  AddStringOptions(s, c.fnm_csv_opt);
  s.T("】");
}

void AddTimes(Summary& s, const ConversionSettings& c) {
  static constexpr std::string_view kHeads[] = {"【作成日時変換[", "【更新日時変換[", "【アクセス日時変換["};
  // The times another time can be copied from, by SW_DTT value 2 and 3 (a time is never its own source).
  static constexpr std::string_view kSources[3][2] = {{"更新", "アクセス"}, {"作成", "アクセス"}, {"作成", "更新"}};
  for (int i = 0; i < 3; ++i) {
    const int mode = c.sw_dtt[static_cast<std::size_t>(i)];
    if (mode <= 0) continue;
    s.T(kHeads[i]);
    switch (mode) {
      case 1:
        s.T("直接指定(").Raw(c.dtt_date[static_cast<std::size_t>(i)].view()).T(" ");
        s.Raw(c.dtt_time[static_cast<std::size_t>(i)].view()).T(")");
        break;
      case 2:
      case 3:
        s.T(kSources[i][mode - 2]).T("日時と同じ日時");
        break;
      case 4:
        s.T("Exif情報日時と同じ日時");
        break;
      default:
        s.T("ファイル名を基にした日時");
        break;
    }
    s.T("]】");
  }
}

}  // namespace

std::string JobSummary(TextCodec& codec, const ConversionSettings& c) {
  Summary s(codec);
  const std::optional<NameRule> rule = NameRuleOf(c.sw_fnm);
  switch (rule.value_or(NameRule::kNone)) {
    case NameRule::kGeneral:
      AddGeneral(s, c);
      break;
    case NameRule::kWidth:
      AddWidth(s, c);
      break;
    case NameRule::kReplace:
      AddReplacement(s, c);
      break;
    case NameRule::kSerial:
      AddSerial(s, c);
      break;
    case NameRule::kDate:
      AddDate(s, c);
      break;
    case NameRule::kId3:
      AddId3Name(s, c);
      break;
    case NameRule::kControl:
      s.T("【変換制御文で名称変換 '").Raw(c.fnm_usr1.view()).T("'】");
      break;
    case NameRule::kCsv:
      AddCsv(s, c);
      break;
    case NameRule::kNone:
      break;
  }
  if (rule.value_or(NameRule::kNone) != NameRule::kNone && c.fnm_01)
    s.T(c.fnm_02 == 2 ? "【拡張子のみ】" : "【拡張子除く】");

  static constexpr std::string_view kAttributes[] = {"【読み取り専用属性", "【隠しファイル属性", "【アーカイブ属性", "【システム属性"};
  for (int i = 0; i < 4; ++i) {
    if (!c.sw_atr[static_cast<std::size_t>(i)]) continue;
    s.T(kAttributes[i]).T((c.atr_onb & (1 << i)) ? "ON" : "OFF").T("変換】");
  }
  AddTimes(s, c);

  if (c.sw_del[0]) {
    s.T(log_markers::kDeletionFunction);
    if (c.sw_del[1] && c.sw_del[2]) {
      s.T("(復元不可削除[レベル").Number(c.del_01).T("])");
    } else if (c.sw_del[1]) {
      s.T("(ごみ箱不使用)");
    }
    s.T("】");
  }

  bool id3 = false;
  for (const std::int16_t source : c.sw_id3) id3 = id3 || source > 0;
  if (id3) {
    s.T(log_markers::kId3Function).T("(");
    static constexpr std::string_view kModes[] = {"[V1変更]", "[V2変更]", "[V1付加]", "[V2付加]"};
    for (int bit = 0; bit < 4; ++bit) {
      if (c.id3_cts & (1 << bit)) s.T(kModes[bit]);
    }
    s.T("：");
    static constexpr std::string_view kItems[] = {"タイトル,", "アーティスト,", "アルバム,", "トラック番号,", "リリース年,", "コメント,", "ジャンル,"};
    std::string items;
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
      if (c.sw_id3[i] > 0) items += s.Text(kItems[i]);
    }
    Summary::DropLast(&items);
    s.Raw(items).T(")】");
  }
  return std::move(s.out());
}

}  // namespace morva
