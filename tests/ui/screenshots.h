#ifndef MORVA_TESTS_UI_SCREENSHOTS_H_
#define MORVA_TESTS_UI_SCREENSHOTS_H_

#include <QDir>
#include <QWidget>

namespace morva {

// Saves what `widget` shows, at its current size, as `name`.png in `out`. Returns false on failure.
bool SaveShot(QWidget& widget, const QDir& out, const QString& name);

// Each renders its windows, on fixture trees it builds itself, into `out`. False when one failed.
bool RenderMainWindowShots(const QDir& out);
bool RenderDialogShots(const QDir& out);
bool RenderPageShots(const QDir& out);
// The whole screen at a first start, saved as `path`.
bool RenderDesktopShot(const QString& path);

}  // namespace morva

#endif  // MORVA_TESTS_UI_SCREENSHOTS_H_
