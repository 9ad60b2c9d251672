#pragma once

#include "session/money.h"

#include <QStringList>

namespace vendura {

struct Session;

// What the prize-payment voucher prints.
struct VoucherData {
    QString ticketNumber;
    QString serial;
    Money premio;
    QString clienteCedula;
    QString clienteNombre;
    QString fecha;
    QString hora;
    QString usuario;     // user code and name
    bool copia = false;  // printed again after the payment: marked as a copy
};

// The voucher handed to the customer with the prize, on the ticket printer: the sales point's
// header, ticket number, serial, prize, customer, date, time and user, 40 characters wide
// after the margin.
QStringList layPaymentVoucher(const Session& session, const VoucherData& data);

}  // namespace vendura
