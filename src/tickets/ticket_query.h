#pragma once

#include "platform/database_gateway.h"
#include "session/money.h"
#include "tickets/item_ticket.h"

#include <QString>

#include <vector>

namespace vendura {

// One issued ticket of the day, as "dsptickets" lists it.
struct TicketSummary {
    QString nroticket;
    QString horaticket;
    Money montoticket;
    bool anulado = false;
    QString usuario;
    bool impreso = true;  // false: the printer never gave it out
};

// A line of the ticket list: number, time, amount, "ANULADO" or "ACTIVO" and user, separated by
// tabs; a ticket the printer never gave out ends in a tab and "NO IMPRESO".
QString listLine(const TicketSummary& ticket);

// "dsptickets": the sales point's tickets of a day ("dd/mm/yyyy"), in the order they were sold.
// A date or a vendor the server does not take gives an empty list.
Result<std::vector<TicketSummary>> ticketsOfTheDay(DatabaseGateway& db, const QString& vendor,
                                                   const QString& date);

// An issued ticket as the server keeps it.
struct IssuedTicket {
    QString nroticket;
    QString serial;  // only for the first print of a ticket the printer never gave out
    QString usuario;
    QString nombreUsuario;
    QString fecha;
    QString hora;
    bool anulado = false;
    bool impreso = true;
    QString diasCaduca;  // the days its prize is paid after its last draw, as it was issued
    // Its plays as ticket rows, in the order they were sold; the first print's answer also
    // carries the sold-out rows ("Sin Cupo").
    std::vector<ItemTicket> rows;

    // The first panel of the sales screen as it was for the ticket's seller: code and name.
    QString userPanel() const;
};

// The ticket the records of "xmuestraticket" or "xticketoriginal" describe; an empty number
// when there are none.
IssuedTicket issuedTicketFrom(const RecordSet& records);

// "xmuestraticket": one ticket of the sales point on a day ("dd/mm/yyyy"); an empty number when
// the sales point has no such ticket that day.
Result<IssuedTicket> ticketOfTheDay(DatabaseGateway& db, const QString& number,
                                    const QString& vendor, const QString& date);

}  // namespace vendura
