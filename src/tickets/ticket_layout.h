#pragma once

#include "tickets/item_ticket.h"

#include <QStringList>

#include <vector>

namespace vendura {

struct Session;

// One sold play of the ticket record set (armaticket).
struct TicketRecord {
    QString Num_normal;
    QString cod_lot;
    QString des_lot;
    Money monto_normal;
    QString letras;
    QString Tipo_jugada;
    QString especial;  // a special play's variant, as the list's special column shows it
};

// The sold rows of the ticket list, in list order; "Sin Cupo" rows are left out.
std::vector<TicketRecord> armaticket(const std::vector<ItemTicket>& rows);

// Everything the printed ticket shows besides its plays.
struct TicketPrintData {
    QString margen;
    QString nombreVendedor;
    QString direccion;
    QString rif;
    QString nit;
    QString ticketNumber;
    QString serial;
    QString userPanel;  // the first panel of the sales screen's status bar
    QString fecha;
    QString hora;
    QString clienteCedula;
    QString clienteNombre;
    QString imprimePorLoteria;  // "S": one ticket per lottery
    int nrocolumnas = 3;
    double tiempoanular = 0;
    double diascaduca = 0;
    QString msgticket;

    static TicketPrintData from(const Session& session, const QString& ticketNumber,
                                const QString& serial, const QString& userPanel);
};

// The printed image of an issued ticket, 40 characters wide after the margin: the header, one
// group per lottery with its plays, the footer and two blank lines; or one complete ticket per
// lottery, each with its blank lines. The "Sin Cupo" rows of the list are what the sold-out
// block shows.
QStringList layTicket(const TicketPrintData& data, const std::vector<TicketRecord>& records,
                      const std::vector<ItemTicket>& listRows);

// The voucher printed when the server refuses the ticket.
QStringList layVoucher(const TicketPrintData& data);

// The image of an issued ticket that the ticket list shows and reprints: the ticket without its
// serial, whose last line says whether the ticket is active or was cancelled.
QStringList layImage(const TicketPrintData& data, const std::vector<TicketRecord>& records,
                     bool cancelled);

// "Sorteo:" headings and the like: centred on 40 characters, halves going to the even side.
QString centred(const QString& text);

// Text for one printed line: the first 40 characters; or as many lines of at most 40 as it takes,
// broken between words (a longer word is broken where it must).
QString cutToWidth(const QString& text);
QStringList wrapToWidth(const QString& text);

}  // namespace vendura
