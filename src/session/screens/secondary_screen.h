#pragma once

#include <QDialog>

class QPushButton;

namespace vendura {

class FocusColours;
struct Session;

// A screen opened over another one, modal. A counter may run the program with no window
// manager (a kiosk), where nothing gives a window the keyboard unless the program does: this
// screen activates its own window when shown, puts the focus on its first field, and gives the
// keyboard back to the window below when it goes. Esc closes it.
class SecondaryScreen : public QDialog {
    Q_OBJECT
  public:
    explicit SecondaryScreen(QWidget* over, const QString& name = {}, const QString& title = {});

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // Tab and Shift+Tab take the field they reach whole, as in an active window: in one that
    // lost its activation a line edit gets no focus-in and selects nothing itself, and the
    // digits typed next would be added to the last sale's.
    bool focusNextPrevChild(bool next) override;
    // The field that has the focus when the screen opens; none leaves Qt's choice.
    virtual QWidget* firstField() const { return nullptr; }
    // Moves the focus into a field and, for a text field, selects its text: with no focus-in
    // event to rely on, the screen does it itself.
    static void focusField(QWidget* field);
    // The session's focus colours for the entry fields given to watch().
    void useColoursOf(const Session& session);
    void watch(QWidget* field, bool selectAllOnEntry = true);
    // A button that Enter never presses by itself: Enter moves between fields here.
    QPushButton* button(const char* name, const QString& caption);

  private:
    FocusColours* colours_ = nullptr;
};

}  // namespace vendura
