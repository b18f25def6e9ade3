#ifndef MORVA_UI_PATH_PANEL_H_
#define MORVA_UI_PATH_PANEL_H_

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "ui/target_listing.h"

namespace Ui {
class PathPanel;
}

class QCheckBox;

namespace morva {

struct UiContext;

// The target panel of directory mode ("指定ディレクトリ下の変換"): the path with its history, the
// wildcard with its own history, what counts as a target, and the range of last-write times. It reads
// the application settings when created and writes them back in Collect.
class PathPanel : public QWidget {
  Q_OBJECT

 public:
  // `argument` is the one path given on the command line; it stands instead of the newest history path.
  PathPanel(UiContext& context, const std::optional<QString>& argument, QWidget* parent = nullptr);
  ~PathPanel() override;

  // Writes the panel into the application settings: the path becomes the newest history entry, the
  // flags, the wildcard and its history, the time range. The drop-downs are refilled from the result.
  // An empty path becomes the newest entry too, so that validation refuses it. Returns false when the
  // typed path cannot become the target path (no code page 932 form, or too long): the history is then
  // left as it was, and a run must not take its newest entry, which is not what the box shows.
  bool Collect();

  QString PathText() const;
  // Shows `path` in the path box (as a selection would) and lists it again.
  void SetPathText(const QString& path);
  // Clears "ディレクトリも対象" and the two options under it, as validation asks.
  void ClearDirectoryTargets();
  // What the target list window lists for the panel as it stands.
  TargetListQuery Query(bool typing) const;
  void FocusPath();
  // With "ショートカット指定ではリンク先を対象にする" on, a path that is a symbolic link becomes the
  // path of what it points at.
  void FollowShortcut();

 signals:
  // Something that changes the targets changed; `typing` when it is the path box being typed in.
  void Changed(bool typing);

 private:
  // The check boxes of SW_SET[1] to [8], at their index ([0] is the main window's).
  std::array<QCheckBox*, 9> Flags() const;
  void FillWildcards(const QString& current, const QStringList& history, int looked_at);
  void ApplyEnableRules(const QCheckBox* clicked);
  QStringList WildcardHistory() const;

  UiContext& context_;
  std::unique_ptr<Ui::PathPanel> ui_;
};

}  // namespace morva

#endif  // MORVA_UI_PATH_PANEL_H_
