#include "ui/list_panel.h"

#include <sys/stat.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "ui/dropped_paths.h"
#include "ui/list_entry_dialog.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_list_panel.h"

namespace morva {
namespace {

// Whether two entries that differ only in letter case name two different existing entries.
bool DistinctEntries(UiContext& context, const QString& a, const QString& b) {
  struct stat sa {}, sb {};
  auto host = [&context](const QString& path) {
    std::string engine;
    if (!EnginePathFromQt(context.session.host.codec, context.session.host.fs, path, &engine)) return QByteArray();
    return HostPathToQt(context.session.host.fs, engine).toUtf8();
  };
  const QByteArray ha = host(a), hb = host(b);
  if (ha.isEmpty() || hb.isEmpty()) return false;
  if (::lstat(ha.constData(), &sa) != 0 || ::lstat(hb.constData(), &sb) != 0) return false;
  return sa.st_dev != sb.st_dev || sa.st_ino != sb.st_ino;
}

}  // namespace

ListPanel::ListPanel(UiContext& context, const QStringList& entries, QWidget* parent)
    : QWidget(parent), context_(context), ui_(std::make_unique<Ui::ListPanel>()) {
  ui_->setupUi(this);
  ui_->entryList->setAcceptDrops(false);  // drops land on the panel, which adds every item
  connect(ui_->addButton, &QPushButton::clicked, this, &ListPanel::AddWithDialog);
  connect(ui_->editButton, &QPushButton::clicked, this, &ListPanel::EditSelected);
  connect(ui_->deleteButton, &QPushButton::clicked, this, &ListPanel::DeleteSelected);
  connect(ui_->entryList, &QListWidget::itemSelectionChanged, this, &ListPanel::UpdateButtons);
  connect(ui_->entryList, &QListWidget::itemDoubleClicked, this, [this] {
    if (ui_->entryList->selectedItems().size() == 1) EditSelected();
  });
  for (const QString& entry : entries) AddEntry(entry);
  UpdateButtons();
}

ListPanel::~ListPanel() = default;

bool ListPanel::AddEntry(const QString& entry) {
  if (entry.isEmpty()) return false;
  for (int i = 0; i < ui_->entryList->count(); ++i) {
    const QString listed = ui_->entryList->item(i)->text();
    if (listed == entry) return false;
    if (listed.compare(entry, Qt::CaseInsensitive) == 0 && !DistinctEntries(context_, listed, entry)) return false;
  }
  ui_->entryList->addItem(entry);
  return true;
}

void ListPanel::AddEntries(const QStringList& entries) {
  for (const QString& entry : entries) AddEntry(entry);
  UpdateButtons();
  emit Changed();
}

void ListPanel::ReplaceEntries(const QStringList& entries) {
  ui_->entryList->clear();
  AddEntries(entries);
}

std::vector<std::string> ListPanel::Items() const {
  std::vector<std::string> items;
  for (int i = 0; i < ui_->entryList->count(); ++i) {
    std::string engine;
    // Every entry is shown from an engine path, so it names one again (in host form, or as the engine's
    // own form where it has none).
    if (EnginePathFromQt(context_.session.host.codec, context_.session.host.fs, ui_->entryList->item(i)->text(),
                         &engine)) {
      items.push_back(engine);
    }
  }
  return items;
}

QStringList ListPanel::Texts() const {
  QStringList texts;
  for (int i = 0; i < ui_->entryList->count(); ++i) texts.push_back(ui_->entryList->item(i)->text());
  return texts;
}

void ListPanel::UpdateButtons() {
  const qsizetype selected = ui_->entryList->selectedItems().size();
  ui_->editButton->setEnabled(selected == 1);
  ui_->deleteButton->setEnabled(selected >= 1);
}

void ListPanel::AddWithDialog() {
  ListEntryDialog dialog(context_, QString(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  AddEntries({dialog.entry()});
}

void ListPanel::EditSelected() {
  const QList<QListWidgetItem*> selected = ui_->entryList->selectedItems();
  if (selected.size() != 1) return;
  const QString old_entry = selected.front()->text();
  ListEntryDialog dialog(context_, old_entry, this);
  if (dialog.exec() != QDialog::Accepted) return;
  // A change of letter case alone counts: on this host it names another entry.
  if (dialog.entry() != old_entry) {
    delete ui_->entryList->takeItem(ui_->entryList->row(selected.front()));
    AddEntry(dialog.entry());
  }
  UpdateButtons();
  emit Changed();
}

void ListPanel::DeleteSelected() {
  const QList<QListWidgetItem*> selected = ui_->entryList->selectedItems();
  if (selected.isEmpty()) return;
  for (QListWidgetItem* item : selected) delete ui_->entryList->takeItem(ui_->entryList->row(item));
  UpdateButtons();
  emit Changed();
}

void ListPanel::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ListPanel::dropEvent(QDropEvent* event) {
  QStringList refused;
  const QStringList paths = DroppedEnginePaths(context_, event->mimeData(), &refused);
  ReportRefusedPaths(context_, refused);
  if (paths.isEmpty()) return;
  AddEntries(paths);
  event->acceptProposedAction();
}

}  // namespace morva
