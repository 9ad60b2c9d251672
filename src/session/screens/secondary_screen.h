#pragma once

#include <QDialog>

namespace vendura {

// A screen opened over another one. A counter may run the program with no window manager (a
// kiosk), where nothing gives a window the keyboard unless the program does: this screen
// activates its own window when it is shown and gives the keyboard back to the screen below
// when it goes. Esc closes it; it is deleted once closed.
class SecondaryScreen : public QDialog {
    Q_OBJECT
  public:
    explicit SecondaryScreen(QWidget* over);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};

}  // namespace vendura
