#include "ui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace morva {
namespace {

// Moves [position, position + size) into [begin, end), its start winning when it is longer.
int FitSpan(int position, int size, int begin, int end) {
  position = std::min(position, end - size);
  return std::max(position, begin);
}

}  // namespace

QPoint FitOnScreen(QPoint wanted, QSize frame, const QRect& available) {
  return {FitSpan(wanted.x(), frame.width(), available.left(), available.right() + 1),
          FitSpan(wanted.y(), frame.height(), available.top(), available.bottom() + 1)};
}

std::optional<QRect> BesideFrame(const QRect& main, QSize frame, int minimum_width, const QRect& available) {
  const int left_room = main.left() - available.left();
  const int right_room = available.right() - main.right();
  const int room = std::max(left_room, right_room);
  if (room < minimum_width) return std::nullopt;
  const int width = std::min(frame.width(), room);
  const int x = right_room >= left_room ? main.right() + 1 : main.left() - width;
  const int height = std::min(frame.height(), available.height());
  const int y = FitSpan(main.top(), height, available.top(), available.bottom() + 1);
  return QRect(x, y, width, height);
}

QMargins FrameMargins(const QWidget& window) {
  const QRect client = window.geometry();
  const QRect frame = window.frameGeometry();
  if (window.isVisible() && frame != client) {
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
  }
  const int border = window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
  return {border, window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) + border, border, border};
}

QRect AvailableGeometryAt(QPoint point) {
  const QScreen* screen = QGuiApplication::screenAt(point);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1 << 14, 1 << 14);
}

void KeepOnScreen(QWidget& window) {
  const QMargins margins = FrameMargins(window);
  const QRect client = window.geometry();
  const QRect frame = client.marginsAdded(margins);
  const QPoint frame_origin = FitOnScreen(frame.topLeft(), frame.size(), AvailableGeometryAt(frame.center()));
  const QPoint origin = frame_origin + QPoint(margins.left(), margins.top());
  if (origin != client.topLeft()) window.setGeometry(QRect(origin, client.size()));
}

}  // namespace morva
