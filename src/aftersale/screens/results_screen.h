#pragma once

#include "platform/record_set.h"
#include "session/screens/counter_screen.h"

class QDateEdit;
class QListWidget;
class QTableWidget;

namespace vendura {

class Clock;
class Printers;

// Verpremiados "Visualizador de premios": the winning numbers of a chosen day's draws, shown
// in a grid and printed on the ticket printer.
class ResultsScreen : public CounterScreen {
    Q_OBJECT
  public:
    ResultsScreen(ServerLink& link, Printers& printers, Clock& clock, QWidget* parent = nullptr);

    // The lotteries of the system; false (after "No hay Loterias Configuradas en el
    // Sistema...") when there are none or the call failed: the screen is not shown then.
    bool load();
    void showResults();
    void printResults();

  protected:
    QWidget* firstField() const override;

  private:
    bool fetch();

    Printers& printers_;
    Clock& clock_;
    RecordSet rows_;
    QDateEdit* dtPicker1_;
    QTableWidget* dataGrid1_;
    QListWidget* list1_;
};

}  // namespace vendura
