#pragma once

#include "session/screens/secondary_screen.h"

#include <functional>

class QPushButton;

namespace vendura {

class ServerLink;

// What the utility menu opens; the program fills it (the menu knows no report or cash screen).
struct UtilityMenuActions {
    std::function<void()> cuadreCaja;        // A: the sales report
    std::function<void()> ticketsPremiados;  // B: the prize report
    std::function<void()> relacionFinal;     // C: the final relation
    std::function<void()> saldosOperadora;   // D: the account statement
    // R: the expense list, with its vendor label
    std::function<void(const QString& vendorLabel)> egresos;
    std::function<void()> monitor;    // M: the accumulated sales by number
    std::function<void()> auditoria;  // Ctrl+Alt+Shift+F2: the audit access screen
};

// Form36 "Reportes/Utilidades": the reports (A to D) and the expense entry (R), each behind the
// seller's permission for its caption, chosen by button or by its letter in either case;
// "Regresar" and Esc close. Beyond the buttons, M opens the "Monitor On Line" for a seller with
// "M.-", and Ctrl+Alt+Shift+F2 the audit access screen.
class UtilityMenu : public SecondaryScreen {
    Q_OBJECT
  public:
    UtilityMenu(ServerLink& link, UtilityMenuActions actions, QWidget* parent = nullptr);

    // The function of a letter ('A' to 'D', 'R', 'M'), after validapermiso; false when the
    // letter names none.
    bool choose(QChar letter);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    QWidget* firstField() const override;

  private:
    struct Choice {
        QChar letter;
        QString caption;
        std::function<void()> open;
    };
    void run(const Choice& choice);

    ServerLink& link_;
    UtilityMenuActions actions_;
    std::vector<Choice> choices_;
    QPushButton* first_ = nullptr;
};

}  // namespace vendura
