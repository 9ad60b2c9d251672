#pragma once

#include "session/screens/secondary_screen.h"
#include "tickets/ticket_query.h"
#include "tickets/ticket_reprint.h"

class QDateEdit;
class QListWidget;
class QPushButton;

namespace vendura {

class Printers;
class ServerLink;

// Form35 "Consulta Tickets": the sales point's tickets of a day, the image of the chosen one
// rebuilt from the server, and its printing.
class TicketListScreen : public SecondaryScreen {
    Q_OBJECT
  public:
    TicketListScreen(ServerLink& link, Printers& printers, QWidget* parent = nullptr);

    // List1 from "dsptickets" for a day "dd/mm/yyyy".
    void fill(const QString& date);
    // Enter on List1: the image of the selected ticket in List2.
    void showSelected();
    // XPButton1.
    ReprintOutcome printShown();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QWidget* firstField() const override;

  private:
    void buildControls();
    QString pickedDate() const;

    ServerLink& link_;
    TicketReprint reprint_;
    std::vector<TicketSummary> tickets_;
    IssuedTicket shown_;
    QString date_;

    QDateEdit* esdesde_ = nullptr;
    QListWidget* list1_ = nullptr;
    QListWidget* list2_ = nullptr;
    QPushButton* xpButton1_ = nullptr;
    QPushButton* command2_ = nullptr;
};

}  // namespace vendura
