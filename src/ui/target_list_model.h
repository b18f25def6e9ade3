#ifndef MORVA_UI_TARGET_LIST_MODEL_H_
#define MORVA_UI_TARGET_LIST_MODEL_H_

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>
#include <vector>

#include "ui/target_listing.h"

namespace morva {

class FileSystem;
class TextCodec;

// The rows of the target list window: one per listed entry, a directory or file icon on the name, grey
// text for what the current flags would not convert. A whole path (file-list mode) is shown in host form.
class TargetListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The columns that can be shown, in order; kLastWrite is always there (hidden unless asked for).
  enum Column { kName, kAttributes, kMarker, kLastWrite, kCreation, kExifDate };

  TargetListModel(FileSystem& fs, TextCodec& codec, QObject* parent = nullptr);

  // The columns in force and the rows; replaces everything.
  void Reset(std::vector<Column> columns, const std::vector<TargetRow>& rows);
  const std::vector<Column>& columns() const { return columns_; }
  QString NameAt(int row) const;
  bool GreyAt(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  struct Shown {
    QStringList cells;  // one per column in force
    bool directory = false;
    bool grey = false;
  };

  FileSystem& fs_;
  TextCodec& codec_;
  std::vector<Column> columns_;
  std::vector<Shown> rows_;
  QIcon directory_icon_;
  QIcon file_icon_;
};

}  // namespace morva

#endif  // MORVA_UI_TARGET_LIST_MODEL_H_
