#pragma once

#include "session/money.h"

#include <QString>

#include <functional>

namespace vendura {

class ServerLink;

// How the payment flow was started: Enter in the serial field reads the state from "anulado",
// the pay button from "estadoticket".
enum class PaymentStart { EnterInSerial, PayButton };

// What the screen shows of a ticket after the check call.
struct PaymentTicket {
    QString fecha;
    QString hora;
    QString estado;  // "Activo" or "Anulado"
    Money premio;
};

// What the screen does after the flow: show the ticket's data, empty the number and serial
// (focus to the number), and whether the prize was paid.
struct PaymentOutcome {
    bool showData = false;
    PaymentTicket ticket;
    bool clearFields = false;
    bool paid = false;
    QString fechaPago;  // the server's date and time of the payment
    QString horaPago;
};

// "El Ticket con el serial " + serial + the ending of a code; empty for a code without one.
QString paymentMessage(const QString& code, const QString& serial);

// The payment of a winning ticket through PAGATICKETnew: the check call, its messages, the
// question, and the payment call with the customer's identity number.
class PrizePayment {
  public:
    explicit PrizePayment(ServerLink& link) : link_(link) {}

    // `show` puts the ticket's data on the screen as soon as it is known, so the seller sees
    // the prize before being asked to pay it.
    PaymentOutcome run(const QString& ticketNumber, const QString& serial,
                       const QString& customerId, PaymentStart start,
                       const std::function<void(const PaymentTicket&)>& show = {});

  private:
    ServerLink& link_;
};

}  // namespace vendura
