#include "ui/dropped_paths.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <string>

#include "ui/qt_text.h"
#include "ui/window_context.h"

namespace morva {

QStringList DroppedEnginePaths(UiContext& context, const QMimeData* mime) {
  QStringList paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) continue;
    QString local = url.toLocalFile();
    // A dropped folder comes with a trailing slash from some file managers.
    while (local.size() > 1 && local.endsWith(QLatin1Char('/'))) local.chop(1);
    std::string engine;
    if (EnginePathFromQt(context.session.host.codec, context.session.host.fs, local, &engine)) {
      paths.push_back(ToQt(context.session.host.codec, engine));
    }
  }
  return paths;
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
