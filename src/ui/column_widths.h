#ifndef MORVA_UI_COLUMN_WIDTHS_H_
#define MORVA_UI_COLUMN_WIDTHS_H_

#include <QString>
#include <vector>

class QHeaderView;

namespace morva {

// What a column must show whole whatever its stored width: its widest text of fixed form (a time stamp,
// a number) and whether its cells carry a 16-pixel icon. Its header's title always counts.
struct ColumnSample {
  QString text;
  bool icon = false;
};

// Widens each section of the horizontal `header` that is narrower than its title and its sample need in
// the fonts of the header and of the view it belongs to. The stored widths come from another system's
// fonts; the texts of fixed form must never be cut ("2026/12/08 03:4…"). `samples` may be shorter than
// the header: later sections need only their title.
void WidenToShowWhole(QHeaderView& header, const std::vector<ColumnSample>& samples);

// The time stamp of the widest form, as the lists show it.
inline QString WidestTimeStamp() { return QStringLiteral("0000/00/00 00:00:00"); }

}  // namespace morva

#endif  // MORVA_UI_COLUMN_WIDTHS_H_
