#include "ui/preview_table_model.h"

#include <QCoreApplication>

#include "core/target_work.h"
#include "ui/qt_text.h"

namespace morva {
namespace {

enum StatusSlot { kSlotConvert, kSlotError, kSlotNoChange, kSlotExcluded };

StatusSlot SlotOf(std::int16_t state) {
  if (state < 0) return kSlotExcluded;
  if (state == kPreviewWillChange) return kSlotConvert;
  if (state == kPreviewError) return kSlotError;
  return kSlotNoChange;
}

const char* const kTitles[PreviewTableModel::kListColumnCount] = {
    QT_TRANSLATE_NOOP("PreviewTableModel", "＃"),           QT_TRANSLATE_NOOP("PreviewTableModel", "対象ファイル名"),
    QT_TRANSLATE_NOOP("PreviewTableModel", "属性"),         QT_TRANSLATE_NOOP("PreviewTableModel", "変換後名称"),
    QT_TRANSLATE_NOOP("PreviewTableModel", "変換後属性"),   QT_TRANSLATE_NOOP("PreviewTableModel", "日時変換"),
    QT_TRANSLATE_NOOP("PreviewTableModel", "ファイル削除"), QT_TRANSLATE_NOOP("PreviewTableModel", "ID3情報変換")};

}  // namespace

PreviewTableModel::PreviewTableModel(FileSystem& fs, TextCodec& codec, const MessageCatalogue* translation,
                                     std::vector<PreviewRecord>& records, const std::vector<std::string>& targets,
                                     const JobSwitches& jobs, QObject* parent)
    : QAbstractTableModel(parent),
      fs_(fs),
      codec_(codec),
      translation_(translation),
      records_(records),
      targets_(targets) {
  const bool shown[kListColumnCount] = {true,           true,       jobs.attributes || jobs.times,
                                        jobs.name,      jobs.attributes, jobs.times,
                                        jobs.deletion,  jobs.id3};
  for (int i = 0; i < kListColumnCount; ++i) {
    if (shown[i]) shown_columns_.push_back(i);
  }
  icons_[kSlotConvert] = QIcon(QStringLiteral(":/dialogs/status_convert.svg"));
  icons_[kSlotError] = QIcon(QStringLiteral(":/dialogs/status_error.svg"));
  icons_[kSlotNoChange] = QIcon(QStringLiteral(":/dialogs/status_no_change.svg"));
  icons_[kSlotExcluded] = QIcon(QStringLiteral(":/dialogs/status_excluded.svg"));
  colours_[kSlotConvert] = QBrush(QColor(0x00, 0x00, 0x00));
  colours_[kSlotError] = QBrush(QColor(0xC0, 0x00, 0x00));
  colours_[kSlotNoChange] = QBrush(QColor(0x00, 0x80, 0x00));
  colours_[kSlotExcluded] = QBrush(QColor(0xA0, 0xA0, 0xA0));
}

int PreviewTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(hide_excluded_ ? shown_rows_.size() : records_.size());
}

int PreviewTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_columns_.size());
}

QString PreviewTableModel::CellText(const PreviewRecord& record, int list_column) const {
  switch (list_column) {
    case 0:
      return QString::number(record.index + 1);
    case 1: {
      QString text = record.is_directory ? QStringLiteral("[Dir] ") : QStringLiteral("[File] ");
      if (record.index >= 0 && static_cast<std::size_t>(record.index) < targets_.size()) {
        text += DisplayPathToQt(fs_, codec_, targets_[static_cast<std::size_t>(record.index)]);
      }
      return text;
    }
    case 2: return ToQt(codec_, record.column(PreviewColumn::kOldAttributes));
    // The new name, or why naming fails (the name it would have given after the reason).
    case 3:
      return (record.failure_word & (kStepName | kFailPathTooLong | kFailOther)) != 0
                 ? MessageToQt(codec_, translation_, record.name_column)
                 : ToQt(codec_, record.name_column);
    case 4: return MessageToQt(codec_, translation_, record.column(PreviewColumn::kAttributes));
    case 5: return MessageToQt(codec_, translation_, record.column(PreviewColumn::kTimes));
    case 6: return MessageToQt(codec_, translation_, record.column(PreviewColumn::kDeletion));
    case 7: return MessageToQt(codec_, translation_, record.column(PreviewColumn::kId3));
    default: return {};
  }
}

QVariant PreviewTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const PreviewRecord& record = RecordAt(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return CellText(record, ListColumn(index.column()));
    case Qt::ToolTipRole:
      // The whole text of a cell too narrow for it.
      return ListColumn(index.column()) == 0 ? QVariant() : QVariant(CellText(record, ListColumn(index.column())));
    case Qt::DecorationRole:
      if (ListColumn(index.column()) == 0) return icons_[SlotOf(record.state)];
      return {};
    case Qt::ForegroundRole:
      return colours_[SlotOf(record.state)];
    default:
      return {};
  }
}

QVariant PreviewTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return QCoreApplication::translate("PreviewTableModel", kTitles[ListColumn(section)]);
}

void PreviewTableModel::RebuildRows() {
  shown_rows_.clear();
  if (!hide_excluded_) {
    shown_rows_.shrink_to_fit();
    return;
  }
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].state > 0) shown_rows_.push_back(static_cast<int>(i));
  }
}

template <typename Change>
void PreviewTableModel::ChangeStates(Change change) {
  beginResetModel();
  change();
  RebuildRows();
  endResetModel();
}

void PreviewTableModel::SetHideExcluded(bool hide) {
  if (hide == hide_excluded_) return;
  ChangeStates([&] { hide_excluded_ = hide; });
}

void PreviewTableModel::ToggleRows(const std::vector<int>& rows) {
  std::vector<std::size_t> chosen;
  chosen.reserve(rows.size());
  for (const int row : rows) {
    if (row >= 0 && row < rowCount()) chosen.push_back(RecordIndex(row));
  }
  ChangeStates([&] {
    for (const std::size_t i : chosen) records_[i].state = static_cast<std::int16_t>(-records_[i].state);
  });
}

void PreviewTableModel::SetAllExcluded(bool excluded) {
  ChangeStates([&] {
    for (PreviewRecord& record : records_) {
      if ((record.state > 0) == excluded) record.state = static_cast<std::int16_t>(-record.state);
    }
  });
}

void PreviewTableModel::SetStateExcluded(std::int16_t state, bool excluded) {
  const std::int16_t from = excluded ? state : static_cast<std::int16_t>(-state);
  ChangeStates([&] {
    for (PreviewRecord& record : records_) {
      if (record.state == from) record.state = static_cast<std::int16_t>(-from);
    }
  });
}

PreviewCounts PreviewTableModel::Counts() const {
  PreviewCounts counts;
  counts.total = static_cast<int>(records_.size());
  for (const PreviewRecord& record : records_) {
    if (record.state == kPreviewWillChange) ++counts.to_convert;
    if (record.state == kPreviewError || record.state == -kPreviewError) {
      ++counts.failed;
    } else {
      ++counts.succeeded;
    }
  }
  return counts;
}

}  // namespace morva
