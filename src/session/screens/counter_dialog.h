#pragma once

#include <QDialog>

class QLineEdit;

namespace vendura {

class FocusColours;
struct Session;

// A screen opened over the sales screen. It activates its own window when shown (a kiosk has
// no window manager to do it) and puts the focus on its first field, Esc closes it, and its
// entry fields take the focus colours.
class CounterDialog : public QDialog {
  public:
    CounterDialog(const Session& session, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;
    // The field that gets the focus when the screen is shown.
    virtual QWidget* firstField() const = 0;
    // Moves the focus to a field, its text selected as entering it does.
    static void focusField(QWidget* field);
    FocusColours& colours() { return *colours_; }

  private:
    FocusColours* colours_;
};

}  // namespace vendura
