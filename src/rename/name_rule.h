#ifndef MORVA_RENAME_NAME_RULE_H_
#define MORVA_RENAME_NAME_RULE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/app_settings.h"
#include "core/conversion_settings.h"
#include "core/target_context.h"
#include "media/exif_reader.h"
#include "media/id3_reader.h"
#include "rename/csv_patterns.h"
#include "rename/general_rule.h"
#include "rename/serial_rule.h"

namespace morva {

class RegexService;

// The options of the general rule as the job record sets them.
GeneralRuleOptions GeneralOptionsOf(const ConversionSettings& settings);

// What a name rule reads besides the text it converts: the job, the target being converted and the
// run's shared pieces (serial counters, media readers, the loaded replacement patterns).
struct NameRuleInputs {
  const ConversionSettings& settings;
  const AppSettings& app;
  const TargetContext& target;
  SerialCounters& serials;
  ExifReader& exif;
  Id3Reader& id3;
  RegexService* regex;  // null fails every replacement that needs one
  const std::vector<CsvPattern>& csv_patterns;
};

// Converts the rule text *text (code page 932: the entry name, its base name or its extension) with the
// name rule the job selects (SW_FNM). Rule 0 leaves the text as it is. Returns true on success; the
// result may be empty or unchanged, which the caller judges. On failure the rule's failure bit (0x100
// the name could not be built, 0x200 any other cause) is set in *failure_word and *text is unspecified.
bool ApplyNameRule(const NameRuleInputs& in, std::string* text, std::uint32_t* failure_word);

}  // namespace morva

#endif  // MORVA_RENAME_NAME_RULE_H_
