#include "tickets/ticket_query.h"

namespace vendura {
namespace {

Money amount(const QString& text) {
    auto parsed = Money::parse(text);
    return parsed ? parsed.value() : Money();
}

}  // namespace

QString listLine(const TicketSummary& t) {
    QStringList fields{t.nroticket, t.horaticket, t.montoticket.display(),
                       t.anulado ? u"ANULADO"_s : u"ACTIVO"_s, t.usuario};
    if (!t.impreso) fields << u"NO IMPRESO"_s;
    return fields.join(u'\t');
}

Result<std::vector<TicketSummary>> ticketsOfTheDay(DatabaseGateway& db, const QString& vendor,
                                                   const QString& date) {
    auto answer = db.callPositional(u"dsptickets"_s, {vendor, date, u"0"_s});
    if (!answer) return answer.error();
    const RecordSet& r = answer.value().rows;
    std::vector<TicketSummary> tickets;
    if (answer.value().returnText() != u"0"_s) return tickets;
    for (int i = 0; i < r.size(); ++i) {
        tickets.push_back(
            {r.text(i, u"nroticket"_s).trimmed(), r.text(i, u"horaticket"_s).trimmed(),
             amount(r.text(i, u"montoticket"_s)), r.text(i, u"anulado"_s).trimmed() == u"S"_s,
             r.text(i, u"usuario"_s).trimmed(), r.text(i, u"impreso"_s).trimmed() != u"N"_s});
    }
    return tickets;
}

QString IssuedTicket::userPanel() const {
    return usuario + u" "_s + nombreUsuario.trimmed();
}

IssuedTicket issuedTicketFrom(const RecordSet& r) {
    IssuedTicket t;
    if (r.empty()) return t;
    t.nroticket = r.text(0, u"nroticket"_s).trimmed();
    t.serial = r.text(0, u"serial"_s).trimmed();
    t.usuario = r.text(0, u"usuario"_s).trimmed();
    t.nombreUsuario = r.text(0, u"nombreusuario"_s).trimmed();
    t.fecha = r.text(0, u"fechaticket"_s).trimmed();
    t.hora = r.text(0, u"Hora_venta"_s).trimmed();
    t.anulado = r.text(0, u"statust"_s).trimmed() == u"ELI"_s;
    t.impreso = r.text(0, u"impreso"_s).trimmed() != u"N"_s;
    t.diasCaduca = r.text(0, u"diascaduca"_s).trimmed();
    for (int i = 0; i < r.size(); ++i) {
        ItemTicket row;
        const QString kind = r.text(i, u"Tipo_jugada"_s).trimmed();
        row.numero = r.text(i, u"Num_normal"_s).trimmed();
        row.loteria =
            r.text(i, u"COD_LOT"_s).trimmed() + u" - "_s + r.text(i, u"desc_lot"_s).trimmed();
        if (r.text(i, u"status"_s).trimmed() != u"1"_s) {
            row.monto = amount(r.text(i, kind == u"2"_s ? u"Montoespecial"_s : u"Monto_Normal"_s));
        }
        row.jugada = r.text(i, u"Jugada"_s);
        row.especial = r.text(i, u"especial"_s);
        row.item = i + 1;
        row.tipo = kind;
        row.tipo2 = row.jugada;
        t.rows.push_back(row);
    }
    return t;
}

Result<IssuedTicket> ticketOfTheDay(DatabaseGateway& db, const QString& number,
                                    const QString& vendor, const QString& date) {
    auto answer = db.callPositional(u"xmuestraticket"_s, {number, vendor, date, u"0"_s});
    if (!answer) return answer.error();
    return issuedTicketFrom(answer.value().rows);
}

}  // namespace vendura
