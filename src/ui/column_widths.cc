#include "ui/column_widths.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <algorithm>

namespace morva {
namespace {

constexpr int kIconWidth = 16;

}  // namespace

void WidenToShowWhole(QHeaderView& header, const std::vector<ColumnSample>& samples) {
  const QWidget* view = header.parentWidget() != nullptr ? header.parentWidget() : &header;
  const QFontMetrics cell_metrics(view->font());
  const QFontMetrics title_metrics(header.font());
  const QStyle* style = header.style();
  // The padding the style puts around a cell's text, and around a title with its sort arrow.
  const int cell_padding = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) +
                           cell_metrics.averageCharWidth();
  const int title_padding = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header) +
                            style->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, &header);
  const QAbstractItemModel* model = header.model();
  for (int section = 0; section < header.count(); ++section) {
    const QString title = model != nullptr ? model->headerData(section, header.orientation()).toString() : QString();
    int needed = title_metrics.horizontalAdvance(title) + title_padding;
    if (section < static_cast<int>(samples.size())) {
      const ColumnSample& sample = samples[static_cast<std::size_t>(section)];
      const int icon = sample.icon ? kIconWidth + cell_metrics.averageCharWidth() : 0;
      needed = std::max(needed, cell_metrics.horizontalAdvance(sample.text) + icon + cell_padding);
    }
    if (header.sectionSize(section) < needed) header.resizeSection(section, needed);
  }
}

}  // namespace morva
