#pragma once

#include "cash/calculator.h"
#include "session/screens/secondary_screen.h"

class QLineEdit;
class QListWidget;

namespace vendura {

// fCalculator: the keyboard calculator of the sales screen (F5). Digits, "," or ".", + - * /,
// Enter or "=", Backspace, Delete or "C" to clear, "F" for Bs. → Bs.F. and "B" for Bs.F. → Bs.;
// Esc closes it.
class CalculatorScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    explicit CalculatorScreen(QWidget* over);
    const Calculator& calculator() const { return calc_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void press(QChar key);
    void refresh();

    Calculator calc_;
    QLineEdit* display_ = nullptr;
    QListWidget* tape_ = nullptr;
};

}  // namespace vendura
