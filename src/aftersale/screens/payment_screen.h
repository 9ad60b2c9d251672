#pragma once

#include "aftersale/prize_payment.h"
#include "session/screens/counter_screen.h"

#include <QDate>

class QLabel;
class QLineEdit;

namespace vendura {

class Clock;
class CustomerPanel;
class Printers;

// pagaticket "Cancelación de Tickets": pays a winning ticket by its number (Text2) and serial
// (Text1), with the customer who collects it, and prints the payment voucher.
class PaymentScreen : public CounterScreen {
    Q_OBJECT
  public:
    PaymentScreen(ServerLink& link, Printers& printers, Clock& clock, QString journalFolder,
                  QWidget* parent = nullptr);

    // Eliminar: the missing fields are reported, otherwise the payment runs.
    void payButton();

  protected:
    QWidget* firstField() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void runPayment(PaymentStart start);
    void showTicket(const PaymentTicket& ticket);
    void clearTicketFields();
    void printVoucher(const PaymentOutcome& outcome, const QString& serial,
                      const QString& ticketNumber);
    // A paid ticket's voucher again, when the seller wants it: a counted copy.
    void offerCopy(const QString& serial, const QString& ticketNumber);

    Printers& printers_;
    Clock& clock_;
    QString journalFolder_;
    QLineEdit* text2_;
    QLineEdit* text1_;
    QLabel* fechaVenta_;
    QLabel* horaVenta_;
    QLabel* estadoTicket_;
    QLabel* totalTicket1_;
    QLabel* label11_;
    QLabel* label13_;
    CustomerPanel* frame1_;
};

}  // namespace vendura
