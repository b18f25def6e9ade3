#include "cli/target_report.h"

#include <algorithm>

#include "cli/json_writer.h"
#include "core/target_work.h"

namespace morva {
namespace {

constexpr std::string_view kStepWords[] = {"name", "attributes", "times", "deletion", "id3"};
constexpr std::uint32_t kStepBits[] = {kStepName, kStepAttributes, kStepTimes, kStepDeletion, kStepId3};
constexpr std::string_view kColumnGap = "  ";
constexpr char kHexDigits[] = "0123456789abcdef";

// The titles over the fixed columns of a target table: state, source, new name, reason.
constexpr std::string_view kTargetTitles[] = {"STATE", "SOURCE", "NEW NAME", "REASON"};
constexpr std::size_t kReasonColumn = 3;

// The code point of the UTF-8 sequence at text[*i], advancing *i past it; a byte that starts no
// sequence is taken alone as U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t* i) {
  const unsigned char b = static_cast<unsigned char>(text[*i]);
  std::size_t length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || *i + length > text.size()) {
    ++*i;
    return 0xFFFD;
  }
  char32_t c = length == 1 ? b : b & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[*i + k]);
    if ((next & 0xC0) != 0x80) {
      ++*i;
      return 0xFFFD;
    }
    c = (c << 6) | (next & 0x3F);
  }
  *i += length;
  return c;
}

bool InRanges(char32_t c, std::initializer_list<std::pair<char32_t, char32_t>> ranges) {
  return std::any_of(ranges.begin(), ranges.end(), [c](const auto& r) { return c >= r.first && c <= r.second; });
}

std::size_t CodePointWidth(char32_t c) {
  // Combining marks, zero-width spaces and joiners, variation selectors.
  if (InRanges(c, {{0x0300, 0x036F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F}, {0x20D0, 0x20FF},
                   {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xE0100, 0xE01EF}})) {
    return 0;
  }
  // East Asian wide and full-width: Hangul Jamo, CJK and kana, Hangul syllables, compatibility ideographs,
  // full-width forms, emoji, the supplementary ideographic planes.
  if (InRanges(c, {{0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
                   {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
                   {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD}})) {
    return 2;
  }
  return 1;
}

// The last component of a host path.
std::string_view BaseName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos || path.size() == 1 ? path : path.substr(slash + 1);
}

void WriteNullFields(const std::vector<std::string>& fields, std::ostream& out) {
  for (const std::string& field : fields) out << field << '\0';
}

}  // namespace

std::vector<std::string> StepNames(unsigned word) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < std::size(kStepBits); ++i) {
    if (word & kStepBits[i]) names.emplace_back(kStepWords[i]);
  }
  return names;
}

std::string CellText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 0xF];
    } else {
      out += ch;
    }
  }
  return out;
}

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) width += CodePointWidth(NextCodePoint(utf8, &i));
  return width;
}

std::string AlignedColumns(const std::vector<std::vector<std::string>>& lines) {
  std::vector<std::size_t> widths;
  for (const auto& line : lines) {
    if (widths.size() < line.size()) widths.resize(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(line[i]));
  }
  std::string out;
  for (const auto& line : lines) {
    // Empty cells at the end leave no blanks behind.
    std::size_t used = line.size();
    while (used > 0 && line[used - 1].empty()) --used;
    for (std::size_t i = 0; i < used; ++i) {
      out += line[i];
      if (i + 1 < used) out.append(widths[i] - DisplayWidth(line[i]) + kColumnGap.size(), ' ');
    }
    out += '\n';
  }
  return out;
}

std::vector<std::string> RowWriter::Cells(const ReportRow& row) const {
  std::vector<std::string> cells = {CellText(row.state), CellText(row.source), CellText(BaseName(row.target)),
                                    CellText(row.reason)};
  for (const ReportDetail& detail : row.details) cells.push_back(CellText(detail.text));
  return cells;
}

void RowWriter::Add(const ReportRow& row) {
  switch (form_) {
    case OutputForm::kText:
      if (aligned_) {
        kept_.push_back(row);
        return;
      }
      {
        const std::vector<std::string> cells = Cells(row);
        for (std::size_t i = 0; i < cells.size(); ++i) out_ << (i > 0 ? "\t" : "") << cells[i];
        out_ << '\n';
      }
      break;
    case OutputForm::kJson: {
      JsonObject object;
      object.AddString("type", "target")
          .AddString("source", row.source)
          .AddString("target", row.target)
          .AddString("state", row.state)
          .AddString("reason", row.reason)
          .AddBool("directory", row.directory);
      if (preview_) {
        object.AddBool("excluded", row.excluded);
      } else {
        object.AddStrings("changes", row.changes);
      }
      object.AddStrings("failures", row.failures);
      for (const ReportDetail& detail : row.details) object.AddString(detail.key, detail.text);
      out_ << object.Text() << '\n';
      break;
    }
    case OutputForm::kNull:
      WriteNullFields({row.source, row.target}, out_);
      break;
  }
  out_ << std::flush;
}

void RowWriter::Finish() {
  if (!aligned_ || kept_.empty()) return;
  std::vector<std::vector<std::string>> lines;
  std::vector<std::string> header(std::begin(kTargetTitles), std::end(kTargetTitles));
  for (const ReportDetail& detail : kept_.front().details) header.emplace_back(detail.title);
  lines.push_back(std::move(header));
  bool any_reason = false;
  for (const ReportRow& row : kept_) {
    lines.push_back(Cells(row));
    any_reason = any_reason || !row.reason.empty();
  }
  // A reason column nobody fills is left out rather than printed empty.
  if (!any_reason) {
    for (auto& line : lines) line.erase(line.begin() + kReasonColumn);
  }
  out_ << AlignedColumns(lines) << std::flush;
  kept_.clear();
}

void WriteFieldLines(OutputForm form, bool aligned, const std::vector<std::string>& header,
                     const std::vector<std::vector<std::string>>& lines, std::ostream& out) {
  if (form == OutputForm::kNull) {
    for (const auto& line : lines) WriteNullFields(line, out);
  } else if (aligned && !lines.empty()) {
    std::vector<std::vector<std::string>> cells = {header};
    for (const auto& line : lines) {
      cells.emplace_back();
      for (const std::string& field : line) cells.back().push_back(CellText(field));
    }
    out << AlignedColumns(cells);
  } else {
    for (const auto& line : lines) {
      for (std::size_t i = 0; i < line.size(); ++i) out << (i > 0 ? "\t" : "") << CellText(line[i]);
      out << '\n';
    }
  }
  out << std::flush;
}

}  // namespace morva
