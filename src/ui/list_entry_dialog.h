#ifndef MORVA_UI_LIST_ENTRY_DIALOG_H_
#define MORVA_UI_LIST_ENTRY_DIALOG_H_

#include <QDialog>
#include <memory>

namespace Ui {
class ListEntryDialog;
}

namespace morva {

struct UiContext;

// "MORVA - 変換対象の追加・編集": one entry of the file list, typed, browsed or dropped. OK closes it only
// for a path that can be a target (an existing file or directory, not a root, not "." or "..").
class ListEntryDialog : public QDialog {
  Q_OBJECT

 public:
  ListEntryDialog(UiContext& context, const QString& entry, QWidget* parent = nullptr);
  ~ListEntryDialog() override;

  // The accepted entry as the text of its engine path (in host form, see DisplayPathToQt).
  QString entry() const { return entry_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Confirm();

  UiContext& context_;
  std::unique_ptr<Ui::ListEntryDialog> ui_;
  QString entry_;
};

}  // namespace morva

#endif  // MORVA_UI_LIST_ENTRY_DIALOG_H_
