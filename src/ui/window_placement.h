#ifndef MORVA_UI_WINDOW_PLACEMENT_H_
#define MORVA_UI_WINDOW_PLACEMENT_H_

#include <QSize>

class QWidget;

namespace morva {

// Where the application settings keep one resizable window: its normal position and size, and whether it
// was maximised. The fields belong to the settings record; this only names them.
struct WindowPlacement {
  int& x;
  int& y;
  int& width;
  int& height;
  bool& maximized;
};

// Gives `window` its stored size (at least `minimum`), position and maximised state.
void RestorePlacement(QWidget& window, const WindowPlacement& stored, QSize minimum);

// Stores where `window` stands: its normal geometry (also while maximised), the size kept between
// `minimum` and 9999 so that the settings file reads it back, the position moved into the desktop so
// that a window left on a screen that is gone comes back into sight.
void StorePlacement(const QWidget& window, const WindowPlacement& stored, QSize minimum);

}  // namespace morva

#endif  // MORVA_UI_WINDOW_PLACEMENT_H_
