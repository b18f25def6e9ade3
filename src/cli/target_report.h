#ifndef MORVA_CLI_TARGET_REPORT_H_
#define MORVA_CLI_TARGET_REPORT_H_

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace morva {

// How a command prints its rows (preview, run, runs).
enum class OutputForm {
  kText,  // for people: aligned columns under a header on a terminal, else one tab-separated line a row
  kJson,  // --json: one JSON object per line
  kNull,  // -0, --null: NUL-terminated fields (source\0target\0 for targets)
};

// One column of a row besides the fixed ones: the JSON member's name, the title over it in a table, its
// text (UTF-8).
struct ReportDetail {
  std::string_view key;
  std::string title;
  std::string text;
};

// One target of a preview or a run as the console reports it; every text UTF-8, every path a host path.
struct ReportRow {
  std::string source;  // the target's path before
  // Where it is, or would be, afterwards: its new path, its copy, the source itself when its name stays;
  // empty when it is deleted.
  std::string target;
  std::string state;   // a state word (kStateChange and the others)
  std::string reason;  // why it fails, the program's own words; empty when nothing fails
  bool directory = false;
  bool excluded = false;              // preview: the settings leave it out of a run that follows
  std::vector<std::string> changes;   // run: the steps that changed it ("name", "attributes", ...)
  std::vector<std::string> failures;  // the steps that fail
  std::vector<ReportDetail> details;    // the job's other columns, in the preview's order
};

// State words: what a preview predicts and what a run did.
inline constexpr std::string_view kStateChange = "change";
inline constexpr std::string_view kStateFail = "fail";
inline constexpr std::string_view kStateChanged = "changed";
inline constexpr std::string_view kStatePartial = "partial";
inline constexpr std::string_view kStateFailed = "failed";
inline constexpr std::string_view kStateUnchanged = "unchanged";

// The names of the steps of the change and failure words (kStepName, ... of core/target_work.h), in
// bit order, as ReportRow's `changes` and `failures` hold them.
std::vector<std::string> StepNames(unsigned word);

// A text as a cell of the text form: every control character is written as an escape ("\t", "\n",
// "\x01"), so that a row stays one line and its columns stay apart whatever a name holds.
std::string CellText(std::string_view utf8);

// The columns a terminal gives `utf8`: two for East Asian wide and full-width characters, none for
// combining marks and zero-width characters, one for anything else (a byte that is no UTF-8 too).
std::size_t DisplayWidth(std::string_view utf8);

// Lines of cells laid out in columns padded to their widest cell (DisplayWidth), two spaces apart; the
// last column is not padded. Every line ends with a line break.
std::string AlignedColumns(const std::vector<std::vector<std::string>>& lines);

// Writes rows in one form to `out` as they come, or, for aligned columns, all at once by Finish (the
// widths are known only then). Text cells go through CellText; the JSON members are type ("target"),
// source, target, state, reason, directory, then for a preview's rows (`preview`) excluded, for a run's
// changes, then failures and each detail by its key.
class RowWriter {
 public:
  RowWriter(OutputForm form, bool aligned, bool preview, std::ostream& out)
      : form_(form), aligned_(aligned && form == OutputForm::kText), preview_(preview), out_(out) {}
  void Add(const ReportRow& row);
  // Prints the rows kept for alignment, under a header; does nothing in the other forms.
  void Finish();

 private:
  std::vector<std::string> Cells(const ReportRow& row) const;

  const OutputForm form_;
  const bool aligned_;
  const bool preview_;
  std::ostream& out_;
  std::vector<ReportRow> kept_;
};

// Writes lines of plain fields (`runs`) in one form: aligned under `header` on a terminal, tab-separated
// otherwise, NUL-terminated fields with kNull. JSON is the caller's: its members are typed.
void WriteFieldLines(OutputForm form, bool aligned, const std::vector<std::string>& header,
                     const std::vector<std::vector<std::string>>& lines, std::ostream& out);

}  // namespace morva

#endif  // MORVA_CLI_TARGET_REPORT_H_
