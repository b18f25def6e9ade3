#ifndef MORVA_RENAME_CSV_PATTERNS_H_
#define MORVA_RENAME_CSV_PATTERNS_H_

// Name rule 8, "置換パターンCSVによる名称変換": a list of replacements read from a text file of
// target/replacement pairs, applied one after another to the rule text.

#include <string>
#include <string_view>
#include <vector>

namespace morva {

class FileSystem;
class RegexService;
class TextCodec;

// One line of a pattern file.
struct CsvPattern {
  std::string target;       // code page 932; a plain string or a pattern
  std::string replacement;  // code page 932; may be empty
  int line = 0;             // the 1-based line it came from
};

// What LoadCsvPatterns returns besides a line number.
inline constexpr int kCsvLoaded = 0;
inline constexpr int kCsvOpenFailed = -1;
inline constexpr int kCsvNoMemory = -2;

// Parses the contents of a pattern file into *patterns, in file order. Returns kCsvLoaded, or the 1-based
// number of the first line that breaks the format (then *patterns is empty).
//
// One pattern per line. Lines are read as by a 599-byte line buffer after "\r\n" became "\n": a line of
// 598 bytes or more arrives in pieces, and each piece counts as a line of its own. Trailing "\n" and "\r"
// are removed and an empty line is skipped. The target is either a double quote, at least one byte and a
// double quote followed at once by "," or a tab, or (without quotes) at least one byte ended by the line's
// first tab. The replacement is either a double quote, any bytes and a double quote that ends the line, or
// the rest of the line as it is; it may be empty, and its one-byte characters must be allowed in a file
// name. There is no escape for a double quote. With `use_regex`, every target must pass CheckPattern and
// compile in `regex` (ignoring letter case unless `case_sensitive`); without a service none does. A line
// is bad for whichever of these it breaks, so the number is that of the first bad line in any case.
int ParseCsvPatterns(std::string_view contents, RegexService* regex, bool case_sensitive, bool use_regex,
                     std::vector<CsvPattern>* patterns);

// The code page 932 text of a pattern file's contents, which a Linux editor most likely saved as UTF-8:
// a file that starts with the UTF-8 byte-order mark, or that holds bytes above 0x7F and is valid UTF-8
// throughout (Japanese code page 932 text practically never is), is converted from UTF-8, the mark
// dropped; any other file is taken as code page 932, as it stands. Returns kCsvLoaded, or the 1-based
// number of the first line of a UTF-8 file that is not valid UTF-8 or holds a character without a code
// page 932 form (*text is then unspecified).
int DecodeCsvPatternText(TextCodec& codec, std::string_view contents, std::string* text);

// Reads the pattern file at the engine path `path`, decodes it (DecodeCsvPatternText) and parses it as
// ParseCsvPatterns does. Returns kCsvLoaded, kCsvOpenFailed when `path` is not a readable regular file (a
// directory is refused), kCsvNoMemory when memory runs out, or the number of the first bad line.
// *patterns is emptied first, so a failed load leaves no list behind.
int LoadCsvPatterns(FileSystem& fs, TextCodec& codec, std::string_view path, RegexService* regex,
                    bool case_sensitive, bool use_regex, std::vector<CsvPattern>* patterns);

// Applies every pattern in order to *text, each to the previous result, with ReplaceString: letter case
// is ignored unless `case_sensitive`, targets are patterns of `regex` when `use_regex`. A pattern that
// fails leaves the text as it was before it and the remaining patterns still apply. Returns the failure
// bits met: 0x100 when a result would have been too long, 0x200 when the regular-expression service
// failed; 0 when every pattern applied.
unsigned ApplyCsvPatterns(RegexService* regex, const std::vector<CsvPattern>& patterns, bool case_sensitive,
                          bool use_regex, std::string* text);

}  // namespace morva

#endif  // MORVA_RENAME_CSV_PATTERNS_H_
