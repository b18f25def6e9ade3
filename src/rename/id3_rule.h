#ifndef MORVA_RENAME_ID3_RULE_H_
#define MORVA_RENAME_ID3_RULE_H_

// Name rule 6, "ID3情報による名称変換": the rule text becomes up to four elements of the MP3 file's
// ID3 tags (or a fixed string), joined by a separator.

#include <string>
#include <string_view>

namespace morva {

struct NameRuleInputs;

// Removes leading and trailing spaces, one-byte " " and full-width "　" alike.
std::string_view TrimSpaces(std::string_view text);

// Replaces *text by the tag name of the target of `in`. False (text unchanged) when the name would pass 260
// bytes.
bool BuildId3Name(const NameRuleInputs& in, std::string* text);

}  // namespace morva

#endif  // MORVA_RENAME_ID3_RULE_H_
