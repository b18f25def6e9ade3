#ifndef MORVA_UI_LIST_PANEL_H_
#define MORVA_UI_LIST_PANEL_H_

#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class ListPanel;
}

namespace morva {

struct UiContext;

// The target panel of file-list mode ("指定ファイルの変換"): a sorted list of files and directories,
// added, edited, deleted or dropped. Its entries are not kept after the program ends.
class ListPanel : public QWidget {
  Q_OBJECT

 public:
  // `entries` (texts of engine paths, from the command line) are added as AddEntry does.
  ListPanel(UiContext& context, const QStringList& entries, QWidget* parent = nullptr);
  ~ListPanel() override;

  // Adds `entry` (the text of an engine path, as DisplayPathToQt shows it) unless the list holds it already. Entries are compared ignoring
  // letter case, except that two spellings naming two existing, different files (a case-sensitive host
  // can hold both) are both kept. False when nothing was added.
  bool AddEntry(const QString& entry);
  // Adds every path, then updates the buttons; Changed is emitted once.
  void AddEntries(const QStringList& entries);
  // The list becomes `entries` alone (added as AddEntries does); Changed is emitted once.
  void ReplaceEntries(const QStringList& entries);

  // The entries as engine paths, in list order.
  std::vector<std::string> Items() const;
  QStringList Texts() const;

 signals:
  // The entries changed: the target list window lists them again.
  void Changed();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void UpdateButtons();
  void AddWithDialog();
  void EditSelected();
  void DeleteSelected();

  UiContext& context_;
  std::unique_ptr<Ui::ListPanel> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_LIST_PANEL_H_
