#pragma once

#include "platform/record_set.h"
#include "session/screens/counter_screen.h"

class QDateEdit;
class QLabel;
class QTableWidget;

namespace vendura {

namespace expenses {
struct Movement;
}

// "Gastos del dia": the movements of a chosen day, and from it the entry of a new one, the
// change or the deletion of one.
class ExpensesScreen : public CounterScreen {
    Q_OBJECT
  public:
    ExpensesScreen(ServerLink& link, QWidget* parent = nullptr);

    // The vendor label (`Label7`), set by the menu before the screen opens.
    void setVendorLabel(const QString& text);
    // dspgastos for the chosen day into the grid; "&Modificar" and "&Eliminar" follow the rows.
    void refresh();
    void incluir();
    void modificar();
    void eliminar();
    int rowCount() const { return rows_.size(); }

  protected:
    void showEvent(QShowEvent* event) override;
    QWidget* firstField() const override;
    // The edit screen, modal; a test answers it instead.
    virtual void edit(bool modify, const expenses::Movement& movement);

  private:
    expenses::Movement current() const;

    RecordSet rows_;
    QLabel* label7_;
    QDateEdit* hastas_;
    QTableWidget* grid_;
    QPushButton* grabar_;
    QPushButton* command1_;
    QPushButton* command2_;
};

}  // namespace vendura
