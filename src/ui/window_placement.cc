#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace morva {
namespace {

constexpr int kLargestStored = 9999;

// Never left of or above the desktop, and moved back so that the window ends inside its right and
// bottom edges.
int FitPosition(int position, int size, int desktop_end) {
  if (position + size > desktop_end) position = desktop_end - size;
  return std::max(position, 0);
}

}  // namespace

void RestorePlacement(QWidget& window, const WindowPlacement& stored, QSize minimum) {
  window.resize(std::max(stored.width, minimum.width()), std::max(stored.height, minimum.height()));
  window.move(stored.x, stored.y);
  if (stored.maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void StorePlacement(const QWidget& window, const WindowPlacement& stored, QSize minimum) {
  stored.maximized = window.isMaximized();
  const QRect normal = window.isMaximized() ? window.normalGeometry() : QRect(window.pos(), window.size());
  const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  const QRect desktop = screen != nullptr ? screen->availableVirtualGeometry() : QRect(0, 0, 1 << 14, 1 << 14);
  stored.width = std::clamp(normal.width(), minimum.width(), kLargestStored);
  stored.height = std::clamp(normal.height(), minimum.height(), kLargestStored);
  stored.x = FitPosition(normal.x(), stored.width, desktop.right() + 1);
  stored.y = FitPosition(normal.y(), stored.height, desktop.bottom() + 1);
}

}  // namespace morva
