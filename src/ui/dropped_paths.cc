#include "ui/dropped_paths.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <string>

#include "ui/panel_messages.h"
#include "ui/qt_text.h"
#include "ui/window_context.h"

namespace morva {

QStringList DroppedEnginePaths(UiContext& context, const QMimeData* mime, QStringList* refused) {
  QStringList paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) continue;
    QString local = url.toLocalFile();
    // A dropped folder comes with a trailing slash from some file managers.
    while (local.size() > 1 && local.endsWith(QLatin1Char('/'))) local.chop(1);
    std::string engine;
    if (EnginePathFromQt(context.session.host.codec, context.session.host.fs, local, &engine)) {
      paths.push_back(DisplayPathToQt(context.session.host.fs, context.session.host.codec, engine));
    } else if (refused != nullptr) {
      refused->push_back(local);
    }
  }
  return paths;
}

void ReportRefusedPaths(UiContext& context, const QStringList& refused) {
  if (refused.isEmpty()) return;
  // The messages are code page 932 texts: a character that has no form there, the likely reason the path
  // was refused, is shown as "?".
  QString text = QCoreApplication::translate("DroppedPaths", "変換対象パスが不正です。");
  std::string ignored;
  for (const QString& path : refused) {
    text += QLatin1Char('\n');
    for (const char32_t c : path.toUcs4()) {
      const QString one = QString::fromUcs4(&c, 1);
      text += FromQt(context.session.host.codec, one, &ignored) ? one : QStringLiteral("?");
    }
  }
  ShowPanelWarning(context, text);
}

void DropFirstPathInto(UiContext& context, QDropEvent* event, QLineEdit* box) {
  const QStringList paths = DroppedEnginePaths(context, event->mimeData());
  if (paths.isEmpty()) return;
  box->setText(paths.front());
  box->setFocus();
  box->window()->activateWindow();
  event->acceptProposedAction();
}

}  // namespace morva
