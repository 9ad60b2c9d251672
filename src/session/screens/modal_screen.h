#pragma once

#include <QDialog>

namespace vendura {

// A secondary screen opened modally from the sales screen. When shown it activates its own
// window (a kiosk runs without a window manager, which would otherwise do it) and puts the
// focus on its first field; Esc closes it.
class ModalScreen : public QDialog {
  public:
    ModalScreen(const char* name, const QString& title, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;
    // The field that has the focus when the screen opens.
    virtual QWidget* firstField() const = 0;
    // Moves the focus into a field and, for a text field, selects its text: with no focus-in
    // event to rely on, the screen does it itself.
    static void focusField(QWidget* field);
};

}  // namespace vendura
