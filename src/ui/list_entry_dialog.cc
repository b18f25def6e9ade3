#include "ui/list_entry_dialog.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <string>

#include "platform/path_utils.h"
#include "ui/dropped_paths.h"
#include "ui/file_choosers.h"
#include "ui/panel_messages.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_list_entry_dialog.h"

namespace morva {

ListEntryDialog::ListEntryDialog(UiContext& context, const QString& entry, QWidget* parent)
    : QDialog(parent), context_(context), ui_(std::make_unique<Ui::ListEntryDialog>()) {
  ui_->setupUi(this);
  setAcceptDrops(true);
  ui_->pathEdit->setAcceptDrops(false);  // the dialog takes the drop and replaces the whole text
  ui_->pathEdit->setText(entry);
  connect(ui_->okButton, &QPushButton::clicked, this, &ListEntryDialog::Confirm);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->browseFileButton, &QPushButton::clicked, this, [this] {
    const QString chosen = ChooseFile(context_, this, ui_->pathEdit->text());
    if (!chosen.isEmpty()) ui_->pathEdit->setText(chosen);
    ui_->pathEdit->setFocus();
  });
  connect(ui_->browseFolderButton, &QPushButton::clicked, this, [this] {
    const QString chosen = ChooseFolder(context_, this, QString());
    if (!chosen.isEmpty()) ui_->pathEdit->setText(chosen);
  });
}

ListEntryDialog::~ListEntryDialog() = default;

void ListEntryDialog::Confirm() {
  Host& host = context_.session.host;
  std::string path;
  if (!EnginePathFromQt(host.codec, host.fs, ui_->pathEdit->text().trimmed(), &path) ||
      ClassifyPath(host.fs, path) < kPathDriveRoot) {
    ShowPanelWarning(context_, QCoreApplication::translate("ListEntryDialog", "変換対象パスが不正です。"));
    return;
  }
  if (path.size() <= 3) {
    ShowPanelWarning(
        context_, QCoreApplication::translate("ListEntryDialog", "変換対象としてルートディレクトリは指定できません。"));
    return;
  }
  if (path.ends_with("\\..") || path.ends_with("\\.")) {
    ShowPanelWarning(context_, QCoreApplication::translate("ListEntryDialog",
                                                           "変換対象として「..」または「.」の指定はできません。"));
    return;
  }
  entry_ = DisplayPathToQt(host.fs, host.codec, path);
  accept();
}

void ListEntryDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ListEntryDialog::dropEvent(QDropEvent* event) { DropFirstPathInto(context_, event, ui_->pathEdit); }

}  // namespace morva
