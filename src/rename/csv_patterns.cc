#include "rename/csv_patterns.h"

#include <cerrno>
#include <cstddef>

#include "platform/path_utils.h"
#include "platform/file_system.h"
#include "platform/regex_service.h"
#include "platform/text_codec.h"
#include "rename/replace_rule.h"

namespace morva {
namespace {

// The line buffer the format is defined by: 599 bytes with the terminator, so at most 598 bytes a read.
constexpr std::size_t kLinePiece = 598;

// Splits the next line piece off *rest: up to and including "\n", or kLinePiece bytes, whichever is
// shorter.
std::string_view NextPiece(std::string_view* rest) {
  std::size_t end = rest->find('\n');
  end = end == std::string_view::npos ? rest->size() : end + 1;
  if (end > kLinePiece) end = kLinePiece;
  const std::string_view piece = rest->substr(0, end);
  rest->remove_prefix(end);
  return piece;
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool HasNonAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the byte after the lead
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char b = static_cast<unsigned char>(text[i + k]);
      if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

// How the targets of a file are checked.
struct TargetCheck {
  RegexService* regex;
  bool case_sensitive;
  bool use_regex;
};

// Parses one line without its line end. False when it breaks the format or its target is no pattern
// `check` accepts.
bool ParseLine(std::string_view line, const TargetCheck& check, CsvPattern* pattern) {
  std::size_t rest;  // where the replacement starts
  if (line.front() == '"') {
    // No code page 932 trail byte is a '"', ',' or tab, so bytes can be searched directly.
    const std::size_t close = line.find('"', 1);
    if (close == std::string_view::npos || close < 2 || close + 1 >= line.size()) return false;
    if (line[close + 1] != ',' && line[close + 1] != '\t') return false;
    pattern->target.assign(line.substr(1, close - 1));
    rest = close + 2;
  } else {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0) return false;
    pattern->target.assign(line.substr(0, tab));
    rest = tab + 1;
  }

  std::string_view replacement = line.substr(rest);
  if (!replacement.empty() && replacement.front() == '"') {
    const std::size_t close = replacement.find('"', 1);
    if (close == std::string_view::npos || close + 1 != replacement.size()) return false;
    replacement = replacement.substr(1, close - 1);
  }
  if (HasForbiddenNameChar(replacement)) return false;
  pattern->replacement.assign(replacement);
  if (!check.use_regex) return true;
  // A pattern the service cannot compile would fail every target one by one.
  return CheckPattern(pattern->target) && check.regex != nullptr &&
         check.regex->Compiles(pattern->target, !check.case_sensitive);
}

}  // namespace

int ParseCsvPatterns(std::string_view contents, RegexService* regex, bool case_sensitive, bool use_regex,
                     std::vector<CsvPattern>* patterns) {
  patterns->clear();
  const TargetCheck check{regex, case_sensitive, use_regex};
  // The file is read in text mode, where "\r\n" arrives as "\n".
  std::string text;
  text.reserve(contents.size());
  for (std::size_t i = 0; i < contents.size(); ++i) {
    if (contents[i] == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n') continue;
    text += contents[i];
  }

  std::string_view rest = text;
  for (int line_number = 1; !rest.empty(); ++line_number) {
    std::string_view line = NextPiece(&rest);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.empty()) continue;
    CsvPattern pattern;
    pattern.line = line_number;
    if (!ParseLine(line, check, &pattern)) {
      patterns->clear();
      return line_number;
    }
    patterns->push_back(std::move(pattern));
  }
  return kCsvLoaded;
}

int DecodeCsvPatternText(TextCodec& codec, std::string_view contents, std::string* text) {
  const bool marked = contents.starts_with(kUtf8ByteOrderMark);
  if (marked) contents.remove_prefix(kUtf8ByteOrderMark.size());
  if (!marked && (!HasNonAscii(contents) || !IsValidUtf8(contents))) {
    text->assign(contents);
    return kCsvLoaded;
  }
  text->clear();
  std::string converted;
  int line_number = 1;
  for (std::string_view rest = contents; !rest.empty(); ++line_number) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
    rest.remove_prefix(line.size());
    if (!codec.Utf8ToCp932(line, &converted).ok()) return line_number;
    text->append(converted);
  }
  return kCsvLoaded;
}

int LoadCsvPatterns(FileSystem& fs, TextCodec& codec, std::string_view path, RegexService* regex,
                    bool case_sensitive, bool use_regex, std::vector<CsvPattern>* patterns) {
  patterns->clear();
  std::string contents;
  if (Status s = fs.ReadFile(path, FileSystem::kMaxReadFileSize, &contents); !s.ok()) {
    return s.code() == ENOMEM ? kCsvNoMemory : kCsvOpenFailed;
  }
  std::string text;
  if (const int bad_line = DecodeCsvPatternText(codec, contents, &text); bad_line != kCsvLoaded) return bad_line;
  return ParseCsvPatterns(text, regex, case_sensitive, use_regex, patterns);
}

unsigned ApplyCsvPatterns(RegexService* regex, const std::vector<CsvPattern>& patterns, bool case_sensitive,
                          bool use_regex, std::string* text) {
  unsigned failures = 0;
  for (const CsvPattern& p : patterns) {
    const int result = ReplaceString(regex, text, p.target, p.replacement, !case_sensitive, use_regex);
    if (result == kReplaceTooLong) failures |= 0x100;
    else if (result != kReplaceOk) failures |= 0x200;
  }
  return failures;
}

}  // namespace morva
