#pragma once

#include "session/money.h"

#include <QString>

#include <functional>
#include <optional>

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
    bool offerCopy = false;  // paid already here: its voucher may be printed again
    QString fechaPago;       // the server's date and time of the payment
    QString horaPago;
};

// A copy of the voucher of a prize paid here, as the server keeps the payment.
struct PaymentCopy {
    Money premio;
    QString cedula;
    QString cliente;
    QString fecha;
    QString hora;
    QString pagadoPor;
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
    // `printerReady` is asked after the seller said Yes and before the payment call: a printer
    // that is not ready stops the payment before any money moves.
    PaymentOutcome run(const QString& ticketNumber, const QString& serial,
                       const QString& customerId, PaymentStart start,
                       const std::function<void(const PaymentTicket&)>& show = {},
                       const std::function<bool()>& printerReady = {});

    // The data of a paid ticket's voucher for a copy (xcopiapago: counted and audited before it
    // prints); nullopt after telling the seller why there is none.
    std::optional<PaymentCopy> copy(const QString& ticketNumber, const QString& serial);

  private:
    ServerLink& link_;
};

}  // namespace vendura
