#ifndef MORVA_UI_SCREEN_FIT_H_
#define MORVA_UI_SCREEN_FIT_H_

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

class QWidget;

namespace morva {

// The top-left corner for a window frame of `frame` size wanted at `wanted`, moved as little as
// possible so that the frame lies inside `available`. A frame larger than `available` keeps its top
// and left edges on the screen, where its title bar and first controls are.
QPoint FitOnScreen(QPoint wanted, QSize frame, const QRect& available);

// Where a window frame of `frame` size goes beside `main` (a frame) inside `available` without
// covering it: on the side with more room, at most `frame` wide and at least `minimum_width`, top
// edges aligned. None when neither side has room.
std::optional<QRect> BesideFrame(const QRect& main, QSize frame, int minimum_width, const QRect& available);

// The margins the window manager puts around `window`: the real ones once it has framed the window, an
// estimate (a title bar and thin borders) before, so that a window placed before it is shown fits once framed.
QMargins FrameMargins(const QWidget& window);

// The available geometry (the screen without panels and docks) of the screen holding `point`, or of the
// primary screen when none does.
QRect AvailableGeometryAt(QPoint point);

// Moves the top-level `window` the least needed for its frame to lie inside the available geometry of
// its screen. Its size is left alone.
void KeepOnScreen(QWidget& window);

}  // namespace morva

#endif  // MORVA_UI_SCREEN_FIT_H_
