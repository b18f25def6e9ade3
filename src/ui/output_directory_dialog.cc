#include "ui/output_directory_dialog.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "core/app_settings.h"
#include "platform/file_system.h"
#include "platform/path_utils.h"
#include "ui/dropped_paths.h"
#include "ui/file_choosers.h"
#include "ui/panel_messages.h"
#include "ui/path_box.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"
#include "ui_output_directory_dialog.h"

namespace morva {

bool AskCopyOutputDirectory(UiContext& context, QWidget* owner, std::string* directory) {
  OutputDirectoryDialog dialog(context, *directory, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  *directory = dialog.directory();
  return true;
}

OutputDirectoryDialog::OutputDirectoryDialog(UiContext& context, const std::string& directory, QWidget* parent)
    : QDialog(parent), context_(context), ui_(std::make_unique<Ui::OutputDirectoryDialog>()) {
  ui_->setupUi(this);
  setAcceptDrops(true);
  ui_->pathEdit->setAcceptDrops(false);  // the dialog takes the drop and replaces the whole text
  ShowPathInBox(context_.session.host.fs, context_.session.host.codec, ui_->pathEdit, directory);
  ui_->overwriteCheck->setChecked(context_.session.job.app.cpovw);
  connect(ui_->okButton, &QPushButton::clicked, this, &OutputDirectoryDialog::Confirm);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->browseFolderButton, &QPushButton::clicked, this, [this] {
    const QString chosen = ChooseFolder(context_, this, ui_->pathEdit->text());
    if (!chosen.isEmpty()) ui_->pathEdit->setText(chosen);
  });
}

OutputDirectoryDialog::~OutputDirectoryDialog() = default;

void OutputDirectoryDialog::Confirm() {
  Host& host = context_.session.host;
  std::string path;
  const PathClass kind = PathFromBox(host.fs, host.codec, ui_->pathEdit, &path) && !path.empty()
                             ? ClassifyPath(host.fs, path)
                             : kPathInvalid;
  if (kind == kPathInvalid) {
    ShowPanelWarning(context_,
                     QCoreApplication::translate("OutputDirectoryDialog", "出力先ディレクトリパスが不正です。"));
    return;
  }
  FindData found;
  const bool exists = host.fs.Stat(path, &found).ok();
  if (exists && (found.attributes & kAttrDirectory) == 0) {
    ShowPanelWarning(
        context_, QCoreApplication::translate("OutputDirectoryDialog", "指定されたパスはディレクトリではありません。"));
    return;
  }
  if (path.ends_with("\\..") || path.ends_with("\\.")) {
    ShowPanelWarning(context_,
                     QCoreApplication::translate("OutputDirectoryDialog",
                                                 "出力先ディレクトリとして「..」または「.」の指定はできません。"));
    return;
  }
  if (!exists && kind != kPathDriveRoot) {
    const QString question =
        QCoreApplication::translate("OutputDirectoryDialog", "指定した出力先ディレクトリは存在しません。作成しますか？");
    if (!AskPanelQuestion(context_, question)) return;
    if (!MakeDirectories(host.fs, path)) {
      ShowPanelWarning(
          context_, QCoreApplication::translate("OutputDirectoryDialog", "出力先ディレクトリの作成に失敗しました。"));
      return;
    }
  }
  AppSettings& app = context_.session.job.app;
  if (!app.cpdir.Assign(path)) {
    ShowPanelWarning(context_,
                     QCoreApplication::translate("OutputDirectoryDialog", "出力先ディレクトリパスが不正です。"));
    return;
  }
  app.cpovw = ui_->overwriteCheck->isChecked();
  directory_ = path;
  accept();
}

void OutputDirectoryDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void OutputDirectoryDialog::dropEvent(QDropEvent* event) { DropFirstPathInto(context_, event, ui_->pathEdit); }

}  // namespace morva
