#include "rename/id3_rule.h"

#include "rename/name_rule.h"
#include "platform/cp932.h"

namespace morva {
namespace {

constexpr std::size_t kMaxId3Name = 260;
constexpr std::string_view kWideSpace = "\x81\x40";  // "　" in code page 932
constexpr int kFixedString = 7;

}  // namespace

std::string_view TrimSpaces(std::string_view text) {
  while (true) {
    if (!text.empty() && text.front() == ' ') {
      text.remove_prefix(1);
    } else if (text.substr(0, 2) == kWideSpace) {
      text.remove_prefix(2);
    } else {
      break;
    }
  }
  while (true) {
    if (!text.empty() && text.back() == ' ') {
      text.remove_suffix(1);
    } else if (text.size() >= 2 && text.substr(text.size() - 2) == kWideSpace &&
               cp932::IsLeadAt(text, text.size() - 2)) {
      text.remove_suffix(2);
    } else {
      break;
    }
  }
  return text;
}

bool BuildId3Name(const NameRuleInputs& in, std::string* text) {
  const ConversionSettings& s = in.settings;
  const AppSettings& app = in.app;
  Id3ReadOptions options;
  options.v1_is_unicode = (s.fnm_id3_opt & ConversionSettings::kId3NameV1Unicode) != 0;
  options.skip_extension_test = app.sw_opt[AppSettings::kOptDetectByContent];
  options.first_comment_wins = app.sw_opt[AppSettings::kOptFirstCommentWins];
  const int versions = in.id3.Read(in.target.path, options, false);

  std::string name;
  for (std::size_t i = 0; i < s.fnm_id31.size() && s.fnm_id31[i] != 0; ++i) {
    if (i > 0) name.append(s.fnm_id33.view());
    const int kind = s.fnm_id31[i];
    if (kind == kFixedString) {
      name.append(s.fnm_id32.view());
      continue;
    }
    std::string element;
    const int from = in.id3.GetItem(versions, kind, app.sw_opt[AppSettings::kOptId3V1First], &element);
    if (from == 0) continue;
    // An ID3v2 or container track may carry the count of tracks as "3/12".
    if (from >= 2 && kind == kId3Track) element = element.substr(0, element.find('/'));
    name.append((s.fnm_id3_opt & ConversionSettings::kId3NameTrimSpaces) ? TrimSpaces(element)
                                                                         : std::string_view(element));
    if (name.size() > kMaxId3Name) return false;
  }
  if (name.size() > kMaxId3Name) return false;
  *text = std::move(name);
  return true;
}

}  // namespace morva
