#ifndef MORVA_RENAME_NAME_RULE_H_
#define MORVA_RENAME_NAME_RULE_H_

#include <cstdint>
#include <string>

#include "engine/session.h"
#include "rename/general_rule.h"

namespace morva {

// The options of the general rule as the job record sets them.
GeneralRuleOptions GeneralOptionsOf(const ConversionSettings& settings);

// Converts the rule text *text (code page 932: the entry name, its base name or its extension) with the
// name rule the job selects (SW_FNM), reading the current target from session.run.target. Rule 0 leaves the
// text as it is. Returns true on success; the result may be empty or unchanged, which the caller judges.
// On failure the rule's failure bit (0x100 the name could not be built, 0x200 any other cause) is set in
// *failure_word, session.run.target_failed is raised, and *text is unspecified.
bool ApplyNameRule(Session& session, std::string* text, std::uint32_t* failure_word);

}  // namespace morva

#endif  // MORVA_RENAME_NAME_RULE_H_
