#pragma once

#include "cash/expenses.h"
#include "session/screens/counter_screen.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace vendura {

// "Actualiza Gastos": one movement, new (`ModoGasto` "A") or changed ("M"). Enter saves (in
// the amount field it moves on), Esc and "&Deshacer" close without saving.
class ExpenseEditScreen : public CounterScreen {
    Q_OBJECT
  public:
    // vendorLabel: the list screen's; movement: the grid's row when modifying.
    ExpenseEditScreen(ServerLink& link, const QString& vendorLabel, bool modify,
                      const expenses::Movement& movement = {}, QWidget* parent = nullptr);

    // "&Grabar": true when the server recorded the movement.
    bool grabar();
    QString modoGasto() const { return modify_ ? u"M"_s : u"A"_s; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QWidget* firstField() const override;

  private:
    bool modify_;
    QLineEdit* txtnomov_;
    QComboBox* txtdescriMov_;
    QLineEdit* txtmontoMov_;
    QLabel* desdes_;
    QLineEdit* txtobservaMov_;
};

}  // namespace vendura
