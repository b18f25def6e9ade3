#include "ui/target_list_model.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>

#include "ui/qt_text.h"

namespace morva {
namespace {

const char* const kTitles[] = {
    QT_TRANSLATE_NOOP("TargetListModel", "名称"),     QT_TRANSLATE_NOOP("TargetListModel", "属性"),
    QT_TRANSLATE_NOOP("TargetListModel", "Exif/ID3"), QT_TRANSLATE_NOOP("TargetListModel", "更新日時"),
    QT_TRANSLATE_NOOP("TargetListModel", "作成日時"), QT_TRANSLATE_NOOP("TargetListModel", "Exif情報日時")};

}  // namespace

TargetListModel::TargetListModel(FileSystem& fs, TextCodec& codec, QObject* parent)
    : QAbstractTableModel(parent),
      fs_(fs),
      codec_(codec),
      directory_icon_(QStringLiteral(":/morva/icons/directory.svg")),
      file_icon_(QStringLiteral(":/morva/icons/file.svg")) {}

void TargetListModel::Reset(std::vector<Column> columns, const std::vector<TargetRow>& rows) {
  beginResetModel();
  columns_ = std::move(columns);
  rows_.clear();
  rows_.reserve(rows.size());
  for (const TargetRow& row : rows) {
    Shown shown;
    shown.directory = row.directory;
    shown.grey = row.grey;
    for (const Column column : columns_) {
      const std::string* text = nullptr;
      switch (column) {
        case kName: text = &row.entry.name; break;
        case kAttributes: text = &row.entry.attributes; break;
        case kMarker: text = &row.entry.marker; break;
        case kLastWrite: text = &row.entry.last_write; break;
        case kCreation: text = &row.entry.creation; break;
        case kExifDate: text = &row.entry.exif_date; break;
      }
      const bool path = column == kName && row.whole_path;
      shown.cells << (path ? DisplayPathToQt(fs_, codec_, *text) : ToQt(codec_, *text));
    }
    rows_.push_back(std::move(shown));
  }
  endResetModel();
}

QString TargetListModel::NameAt(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) && !rows_[row].cells.isEmpty() ? rows_[row].cells.front()
                                                                                          : QString();
}

bool TargetListModel::GreyAt(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) && rows_[row].grey;
}

int TargetListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TargetListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TargetListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const Shown& row = rows_[index.row()];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:  // the whole text of a cell too narrow for it
      return row.cells.value(index.column());
    case Qt::DecorationRole:
      if (index.column() == 0) return row.directory ? directory_icon_ : file_icon_;
      return {};
    case Qt::ForegroundRole:
      if (row.grey) return QBrush(QColor(0xA0, 0xA0, 0xA0));
      return {};
    default:
      return {};
  }
}

QVariant TargetListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= static_cast<int>(columns_.size())) return {};
  return QCoreApplication::translate("TargetListModel", kTitles[columns_[section]]);
}

}  // namespace morva
