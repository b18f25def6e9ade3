#include "ui/preset_load_dialog.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidgetItem>

#include "core/user_interface.h"
#include "settings/preset_file.h"
#include "ui/panel_messages.h"
#include "ui/preset_texts.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_preset_load_dialog.h"

namespace morva {
namespace {

struct Column {
  const char* title;
  int width;
};

// The cells of one slot: the name, then the payload (a replacement split at its tab).
QStringList Cells(TextCodec& codec, PresetKind kind, const PresetSlot& slot) {
  QStringList cells{ToQt(codec, slot.name)};
  if (kind == PresetKind::kStatement) cells << ToQt(codec, slot.text);
  if (kind == PresetKind::kReplacement) {
    const std::size_t tab = slot.text.find('\t');
    cells << ToQt(codec, slot.text.substr(0, tab))
          << (tab == std::string::npos ? QString() : ToQt(codec, slot.text.substr(tab + 1)));
  }
  return cells;
}

}  // namespace

PresetLoadDialog::PresetLoadDialog(UiContext& context, PresetKind kind, QWidget* parent)
    : QDialog(parent), context_(context), kind_(kind), ui_(std::make_unique<Ui::PresetLoadDialog>()) {
  ui_->setupUi(this);
  const QString name = PresetKindName(kind);
  setWindowTitle(QCoreApplication::translate("PresetLoadDialog", "MORVA - %1読み込み・削除").arg(name));
  ui_->listLabel->setText(QCoreApplication::translate("PresetLoadDialog", "保存されている%1").arg(name));

  PresetTable& table = context_.session.job.presets.of(kind);
  SortPresets(&table);
  std::vector<Column> columns = {{QT_TRANSLATE_NOOP("PresetLoadDialog", "保存名称"), 580}};
  if (kind == PresetKind::kStatement)
    columns = {{QT_TRANSLATE_NOOP("PresetLoadDialog", "保存名称"), 120},
               {QT_TRANSLATE_NOOP("PresetLoadDialog", "変換制御文内容"), 460}};
  if (kind == PresetKind::kReplacement)
    columns = {{QT_TRANSLATE_NOOP("PresetLoadDialog", "保存名称"), 120},
               {QT_TRANSLATE_NOOP("PresetLoadDialog", "正規表現"), 240},
               {QT_TRANSLATE_NOOP("PresetLoadDialog", "置換文字列"), 220}};
  QTableWidget* list = ui_->presetTable;
  list->setColumnCount(static_cast<int>(columns.size()));
  list->setRowCount(static_cast<int>(table.entries.size()));
  list->verticalHeader()->hide();
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    list->setHorizontalHeaderItem(
        c, new QTableWidgetItem(QCoreApplication::translate("PresetLoadDialog", columns[c].title)));
    list->setColumnWidth(c, columns[c].width);
  }
  TextCodec& codec = context_.session.host.codec;
  for (int row = 0; row < list->rowCount(); ++row) {
    const QStringList cells = Cells(codec, kind, table.entries[static_cast<std::size_t>(row)]);
    for (int c = 0; c < cells.size(); ++c) list->setItem(row, c, new QTableWidgetItem(cells[c]));
  }

  connect(list, &QTableWidget::itemSelectionChanged, this, &PresetLoadDialog::UpdateButtons);
  connect(list, &QTableWidget::cellDoubleClicked, this, [this] {
    if (SelectedSlot() >= 0) Load();
  });
  connect(ui_->loadButton, &QPushButton::clicked, this, &PresetLoadDialog::Load);
  connect(ui_->deleteButton, &QPushButton::clicked, this, &PresetLoadDialog::Delete);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  UpdateButtons();
}

PresetLoadDialog::~PresetLoadDialog() = default;

int PresetLoadDialog::SelectedSlot() const {
  const QList<QTableWidgetItem*> selected = ui_->presetTable->selectedItems();
  if (selected.isEmpty()) return -1;
  const int row = selected.front()->row();
  const PresetTable& table = context_.session.job.presets.of(kind_);
  return table.entries[static_cast<std::size_t>(row)].free() ? -1 : row;
}

void PresetLoadDialog::UpdateButtons() {
  const bool named = SelectedSlot() >= 0;
  ui_->loadButton->setEnabled(named);
  ui_->deleteButton->setEnabled(named);
}

void PresetLoadDialog::Load() {
  const int slot = SelectedSlot();
  if (slot < 0) return;
  PresetTable& table = context_.session.job.presets.of(kind_);
  table.last_name = table.entries[static_cast<std::size_t>(slot)].name;
  loaded_slot_ = slot;
  accept();
}

void PresetLoadDialog::Delete() {
  const int slot = SelectedSlot();
  if (slot < 0) return;
  const QString question = QCoreApplication::translate("PresetLoadDialog", "削除します。よろしいですか？");
  if (!AskPanelQuestion(context_, question)) return;
  Session& session = context_.session;
  PresetTable& table = session.job.presets.of(kind_);
  table.entries[static_cast<std::size_t>(slot)].Clear();
  if (!WritePresets(session.host.fs, session.host.codec, context_.program_directory, table).ok()) {
    session.host.ui.ShowWarning(PresetWriteFailedMessage(session.host.codec, kind_));
  }
  accept();
}

int LoadPreset(UiContext& context, PresetKind kind, QWidget* owner) {
  PresetLoadDialog dialog(context, kind, owner);
  dialog.exec();
  return dialog.loaded_slot();
}

}  // namespace morva
