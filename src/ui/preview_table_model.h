#ifndef MORVA_UI_PREVIEW_TABLE_MODEL_H_
#define MORVA_UI_PREVIEW_TABLE_MODEL_H_

#include <QAbstractTableModel>
#include <QBrush>
#include <QIcon>
#include <cstdint>
#include <string>
#include <vector>

#include "core/job_switches.h"
#include "core/preview_record.h"

namespace morva {

class FileSystem;
class MessageCatalogue;
class TextCodec;

// The preview's four numbers: the targets listed, those that will be converted, those that succeed or
// need nothing and those that fail.
struct PreviewCounts {
  int total = 0;
  int to_convert = 0;
  int succeeded = 0;
  int failed = 0;
};

// The preview records as a table. The records stay the engine's: a row is a view of one record, its
// texts converted only when a cell is painted, so a preview of many targets costs no more than the rows
// on screen. Excluding a target negates its record's state in place, which is how the run learns of it.
class PreviewTableModel final : public QAbstractTableModel {
 public:
  // The list's columns, each shown only when its job is on: the number, the target, the old attributes,
  // the new name, the new attributes, the times, the deletion and the ID3 conversion. The target is
  // shown by its host path.
  static constexpr int kListColumnCount = 8;

  // The engine's texts in the cells (why a step fails, what it will do) are shown translated by
  // `translation`, or as written when it is null; names and paths never are.
  PreviewTableModel(FileSystem& fs, TextCodec& codec, const MessageCatalogue* translation,
                    std::vector<PreviewRecord>& records, const std::vector<std::string>& targets,
                    const JobSwitches& jobs, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The list column (0-7) that view column `section` shows.
  int ListColumn(int section) const { return shown_columns_[static_cast<std::size_t>(section)]; }
  // The record shown in `row`.
  const PreviewRecord& RecordAt(int row) const { return records_[RecordIndex(row)]; }

  // Leaves excluded records out of the rows, or shows them again.
  void SetHideExcluded(bool hide);
  bool hide_excluded() const { return hide_excluded_; }

  // Excludes the records of `rows` that are included and includes those that are excluded.
  void ToggleRows(const std::vector<int>& rows);
  // Excludes (or includes) every record.
  void SetAllExcluded(bool excluded);
  // Excludes (or includes) every record in `state` (kPreviewError or kPreviewNoChange).
  void SetStateExcluded(std::int16_t state, bool excluded);

  PreviewCounts Counts() const;

 private:
  std::size_t RecordIndex(int row) const {
    return hide_excluded_ ? static_cast<std::size_t>(shown_rows_[static_cast<std::size_t>(row)])
                          : static_cast<std::size_t>(row);
  }
  // Changes the states, then rebuilds the rows: the view is reset once, however many records changed.
  template <typename Change>
  void ChangeStates(Change change);
  void RebuildRows();
  QString CellText(const PreviewRecord& record, int list_column) const;

  FileSystem& fs_;
  TextCodec& codec_;
  const MessageCatalogue* translation_;
  std::vector<PreviewRecord>& records_;
  const std::vector<std::string>& targets_;
  std::vector<int> shown_columns_;
  bool hide_excluded_ = false;
  std::vector<int> shown_rows_;  // the included records' positions, while excluded ones are hidden
  QIcon icons_[4];               // to convert, error, nothing to change, excluded
  QBrush colours_[4];
};

}  // namespace morva

#endif  // MORVA_UI_PREVIEW_TABLE_MODEL_H_
