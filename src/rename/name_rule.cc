#include "rename/name_rule.h"

#include <optional>

#include "rename/control_statement.h"
#include "rename/csv_patterns.h"
#include "rename/date_rule.h"
#include "rename/id3_rule.h"
#include "rename/replace_rule.h"
#include "rename/serial_rule.h"
#include "rename/width_rule.h"

namespace morva {
namespace {

// The rules take the record's flag sets as they are stored.
using Settings = ConversionSettings;
static_assert(kGeneralCase == Settings::kGeneralCase && kGeneralDelete == Settings::kGeneralDeletion &&
              kGeneralBrackets == Settings::kGeneralBrackets && kGeneralPad == Settings::kGeneralPadding);
static_assert(kAfterSpace == Settings::kCapitalAfterSpace && kAfterDigit == Settings::kCapitalAfterDigit &&
              kAfterOther == Settings::kCapitalAfterOther);
static_assert(kDeleteSpace == Settings::kDeletedSpaces && kDeleteDigit == Settings::kDeletedDigits &&
              kDeleteLetter == Settings::kDeletedLetters && kDeleteOther == Settings::kDeletedOthers);
static_assert(kTargetFullWidth == Settings::kGeneralFullWidth && kTargetHalfWidth == Settings::kGeneralHalfWidth);
static_assert(kWidthLetters == Settings::kWidthLetters && kWidthDigits == Settings::kWidthDigits &&
              kWidthSymbols == Settings::kWidthSymbols && kWidthBrackets == Settings::kWidthBrackets &&
              kWidthSpace == Settings::kWidthSpace && kWidthKatakana == Settings::kWidthKatakana &&
              kWidthHiragana == Settings::kWidthHiragana);
static_assert(kWidthKanaSymbols == Settings::kWidthKanaSymbols && kWidthLoneMarks == Settings::kWidthLoneMarks);

constexpr std::uint32_t kRuleFailedLength = 0x100;
constexpr std::uint32_t kRuleFailedOther = 0x200;

bool Fail(std::uint32_t bit, std::uint32_t* failure_word) {
  *failure_word |= bit;
  return false;
}

}  // namespace

GeneralRuleOptions GeneralOptionsOf(const ConversionSettings& settings) {
  GeneralRuleOptions o;
  o.ipn_sel = settings.fnm_ipn_sel;
  o.case_mode = settings.fnm_ipn2;
  o.capitalize_after = settings.fnm_ipnf;
  o.delete_classes = settings.fnm_ipng;
  o.bracket_mode = settings.fnm_ipn4;
  o.bracket_pairs = 0;
  for (std::size_t k = 0; k < settings.sw_kakko.size(); ++k) {
    if (settings.sw_kakko[k]) o.bracket_pairs = static_cast<std::uint16_t>(o.bracket_pairs | (1u << k));
  }
  o.pad_width = settings.fnm_ipnd;
  o.pad_trailing_only = settings.fnm_ipne;
  o.target_widths = settings.fnm_ipn_tgc;
  o.extension_apart = settings.fnm_01;
  return o;
}

bool ApplyNameRule(const NameRuleInputs& in, std::string* text, std::uint32_t* failure_word) {
  const std::optional<NameRule> rule = NameRuleOf(in.settings.sw_fnm);
  // The settings reader never stores an unknown rule; a job that has one anyway fails its targets
  // instead of renaming them wrongly.
  if (!rule) return Fail(kRuleFailedOther, failure_word);
  switch (*rule) {
    case NameRule::kNone:
      return true;
    case NameRule::kGeneral: {
      const int failed =
          ConvertGeneral(GeneralOptionsOf(in.settings), in.target.extension.size(), text);
      if (failed != 0) return Fail(static_cast<std::uint32_t>(failed), failure_word);
      return true;
    }
    case NameRule::kWidth: {
      const ConversionSettings& s = in.settings;
      if (!ConvertWidth(text, s.fnm_znk0 == 1, s.fnm_znk_ctc, s.fnm_znk_jcb)) {
        return Fail(kRuleFailedLength, failure_word);
      }
      return true;
    }
    case NameRule::kReplace: {
      const ConversionSettings& s = in.settings;
      const int result = s.fnm_ckn0 == 2 ? ReplaceAtPosition(PositionReplacementOf(s), text)
                                         : ReplaceString(in.regex, text, s.fnm_ckn1.view(), s.fnm_ckn3.view(),
                                                         !(s.fnm_ckn_tgb & ConversionSettings::kReplaceCaseSensitive),
                                                         (s.fnm_ckn_tgb & ConversionSettings::kReplaceRegex) != 0);
      if (result == kReplaceTooLong) return Fail(kRuleFailedLength, failure_word);
      if (result != kReplaceOk) return Fail(kRuleFailedOther, failure_word);
      return true;
    }
    case NameRule::kSerial:
      if (!BuildSerialName(in, text)) return Fail(kRuleFailedLength, failure_word);
      return true;
    case NameRule::kDate:
      if (const unsigned failed = BuildDateName(in, text); failed != 0) {
        return Fail(failed, failure_word);
      }
      return true;
    case NameRule::kId3:
      if (!BuildId3Name(in, text)) return Fail(kRuleFailedLength, failure_word);
      return true;
    case NameRule::kCsv: {
      const std::uint8_t options = in.settings.fnm_csv_opt;
      const unsigned failed =
          ApplyCsvPatterns(in.regex, in.csv_patterns, (options & ConversionSettings::kCsvCaseSensitive) != 0,
                           (options & ConversionSettings::kCsvRegex) != 0, text);
      if (failed != 0) return Fail(failed, failure_word);
      return true;
    }
    case NameRule::kControl:
      if (const unsigned failed = BuildControlName(in, text); failed != 0) return Fail(failed, failure_word);
      return true;
  }
  return Fail(kRuleFailedOther, failure_word);
}

}  // namespace morva
