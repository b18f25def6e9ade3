// Feeds arbitrary bytes to the reader of replacement pattern files (CSV or tab-separated, code page 932
// or UTF-8), as plain strings and as regular expressions, then applies what it accepted to a name. Besides the sanitizers'
// checks: a refused file names a line it has and leaves no patterns; an accepted one has only patterns
// with a target and a replacement whose one-byte characters a file name may hold, in line order;
// applying them never makes a name longer than the limit. (Bytes that are no character at all pass the
// reader; the preview and the run refuse the name they make.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/path_utils.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"
#include "rename/csv_patterns.h"
#include "rename/replace_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::unique_ptr<morva::TextCodec> codec = morva::NewIconvTextCodec();
  static const std::unique_ptr<morva::RegexService> regex = morva::NewPcre2RegexService(codec.get());
  if (size < 1) return 0;
  const bool use_regex = (data[0] & 1) != 0;
  const bool case_sensitive = (data[0] & 2) != 0;
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);

  // The file as it is read: UTF-8 (marked, or valid with bytes above 0x7F) converted, else taken as it is.
  std::string contents;
  const int decoded = morva::DecodeCsvPatternText(*codec, file, &contents);
  if (decoded != morva::kCsvLoaded) {
    if (decoded < 1 || static_cast<std::size_t>(decoded) > file.size()) std::abort();
    return 0;
  }
  std::vector<morva::CsvPattern> patterns;
  const int result = morva::ParseCsvPatterns(contents, regex.get(), case_sensitive, use_regex, &patterns);
  if (result != morva::kCsvLoaded) {
    // Pieces of long lines count as lines, so the bound is the bytes, not the line feeds.
    if (result < 1 || static_cast<std::size_t>(result) > contents.size() || !patterns.empty()) std::abort();
    return 0;
  }
  int previous_line = 0;
  for (const morva::CsvPattern& pattern : patterns) {
    if (pattern.target.empty() || pattern.line <= previous_line) std::abort();
    if (morva::HasForbiddenNameChar(pattern.replacement)) std::abort();
    previous_line = pattern.line;
  }

  std::string name = "Holiday 2013 - img_0042 (copy).JPG";
  morva::ApplyCsvPatterns(regex.get(), patterns, case_sensitive, use_regex, &name);
  if (name.size() > morva::kMaxReplacedLength) std::abort();
  return 0;
}
