#include "ui/file_choosers.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <string>

#include "ui/qt_text.h"
#include "ui/window_context.h"

namespace morva {
namespace {

// The host form of what an edit box shows; empty when it has none (the dialog then opens where it likes).
QString HostStart(UiContext& context, const QString& from) {
  if (from.trimmed().isEmpty()) return {};
  std::string engine;
  if (!EnginePathFromQt(context.session.host.codec, context.session.host.fs, from.trimmed(), &engine)) return {};
  return HostPathToQt(context.session.host.fs, engine);
}

QString EngineResult(UiContext& context, const QString& chosen) {
  std::string engine;
  if (chosen.isEmpty() || !EnginePathFromQt(context.session.host.codec, context.session.host.fs, chosen, &engine)) {
    return {};
  }
  return DisplayPathToQt(context.session.host.fs, context.session.host.codec, engine);
}

}  // namespace

QString ChooseFile(UiContext& context, QWidget* owner, const QString& from) {
  const QString start = HostStart(context, from);
  const QString chosen =
      QFileDialog::getOpenFileName(owner, QCoreApplication::translate("FileChoosers", "ファイルを選択してください"),
                                   start, QStringLiteral("All Files(*.*) (*)"));
  return EngineResult(context, chosen);
}

QString ChooseFolder(UiContext& context, QWidget* owner, const QString& from) {
  QString start = HostStart(context, from);
  const QFileInfo info(start);
  if (info.isFile()) start = info.absolutePath();
  const QString chosen = QFileDialog::getExistingDirectory(
      owner, QCoreApplication::translate("FileChoosers", "変換対象フォルダの選択"), start, QFileDialog::ShowDirsOnly);
  return EngineResult(context, chosen);
}

}  // namespace morva
