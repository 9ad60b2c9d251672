#pragma once

#include "session/screens/secondary_screen.h"

class QLabel;
class QLineEdit;

namespace vendura {

// controlefectivo: the change to give for the last ticket, from the cash the customer handed
// over. Enter or Esc anywhere closes it.
class ChangeCalculatorScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    // lastTicket: the caption of the sales screen's MONTO_ULTICK, as it is shown.
    ChangeCalculatorScreen(const QString& lastTicket, const Session& session,
                           QWidget* parent = nullptr);

  protected:
    QWidget* firstField() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* label2_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLabel* label5_ = nullptr;
};

}  // namespace vendura
