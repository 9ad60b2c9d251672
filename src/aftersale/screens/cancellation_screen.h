#pragma once

#include "aftersale/cancellation.h"
#include "session/screens/secondary_screen.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace vendura {

// Form18 "Anulación de Tickets": a ticket's details from the server, then its cancellation.
class CancellationScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    explicit CancellationScreen(ServerLink& link, QWidget* parent = nullptr);

    // Eliminar, and Enter in Text1.
    TicketCancellation::Outcome eliminar();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QWidget* firstField() const override;

  private:
    void buildControls();
    void showDetails(const TicketDetails& details);

    ServerLink& link_;
    TicketCancellation cancellation_;

    QLineEdit* text1_ = nullptr;
    QLabel* fechaVenta_ = nullptr;
    QLabel* horaVenta_ = nullptr;
    QLabel* estadoTicket_ = nullptr;
    QLabel* totalTicket_ = nullptr;
    QPushButton* eliminar_ = nullptr;
    QPushButton* command2_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
};

}  // namespace vendura
