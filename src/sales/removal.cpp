#include "sales/removal.h"

#include "sales/lottery_catalog.h"
#include "sales/ticket_model.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/temporary_ticket.h"

#include <algorithm>

namespace vendura {

ProcedureCall xborrarjugada(const QString& vendedor, const QString& usuario, const QString& numero,
                            const QString& numItem, const QString& codigo, const QString& nticket) {
    ProcedureCall call{u"xborrarjugada"_s, {}};
    call.in(u"@T_VENDEDOR"_s, vendedor, 5)
        .in(u"@T_USUARIO"_s, usuario, 5)
        .in(u"@T_NUMERO_cadena"_s, numero, 3)
        .in(u"@NUM_ITEM"_s, numItem, 10)
        .in(u"@T_COD_LOT"_s, codigo, 500)
        .in(u"@nticket"_s, nticket, 10);
    return call;
}

ProcedureCall xborrarjugadas(const QString& vendedor, const QString& usuario, const QString& codes,
                             const QString& nticket) {
    ProcedureCall call{u"xborrarjugadas"_s, {}};
    call.in(u"@T_VENDEDOR"_s, vendedor, 5)
        .in(u"@T_USUARIO"_s, usuario, 5)
        .in(u"@T_NUMERO_cadena"_s, QString(), 3)
        .in(u"@NUM_ITEM"_s, QString(), 10)
        .in(u"@T_COD_LOT"_s, codes, 500)
        .in(u"@nticket"_s, nticket, 10);
    return call;
}

namespace {

// The server's answer to one removal: 0 when the play is off (now or before), its refusal code
// otherwise, -1 when the call failed for good (told the common way).
int removalAnswer(ServerLink& link, const ProcedureCall& call) {
    auto answer = link.call(call);
    if (!answer) {
        return handleCallFailure(link, answer.error()) == FailureHandling::Ignored ? 0 : -1;
    }
    const int code = answer.value().returnNumber();
    return code == 2 ? 0 : code;
}

}  // namespace

QString removalRefusal(int code) {
    switch (code) {
        case 3:
            return u"La jugada no fue eliminada: el servidor no tiene esa jugada en el ticket."_s;
        case 4:
            return u"La jugada no fue eliminada: el número de item no es válido."_s;
        case 1:
            return u"La jugada no fue eliminada: el ticket en curso ya no está abierto."_s;
        case 73:
            return u"La jugada no fue eliminada: el vendedor no puede vender ahora."_s;
        case 80:
            return kTicketLiberado;
        default:
            return u"La jugada no fue eliminada (código "_s + QString::number(code) + u")."_s;
    }
}

RemovalOutcome removePlays(ServerLink& link, const QString& nticket, TicketModel& ticket,
                           QList<int> selectedRows) {
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    const Session& s = link.session();
    RemovalOutcome outcome;
    for (const int selected : selectedRows) {
        const int row = selected - outcome.removed;  // earlier removals moved it up
        if (row < 0 || row >= ticket.rowCount()) continue;
        const ItemTicket r = ticket.at(row);
        const int code =
            removalAnswer(link, xborrarjugada(s.CodVendedor, s.Usuario, r.numero,
                                              QString::number(r.item), r.codigoLoteria(), nticket));
        if (code != 0) {
            outcome.callFailed = code < 0;
            outcome.refusal = code > 0 ? code : 0;
            break;
        }
        ticket.removeRows(row, 1);
        ticket.breakGroup(r);
        ++outcome.removed;
    }
    return outcome;
}

QStringList lotteriesOnTicket(const std::vector<ItemTicket>& rows) {
    QStringList entries;
    QStringList codes;
    for (const ItemTicket& r : rows) {
        if (codes.contains(r.codigoLoteria())) continue;
        codes << r.codigoLoteria();
        entries << r.loteria;
    }
    return entries;
}

RemovalOutcome removeLotteries(ServerLink& link, const QString& nticket, TicketModel& ticket,
                               const QStringList& selectedEntries) {
    const Session& s = link.session();
    RemovalOutcome outcome;
    const int code = removalAnswer(
        link, xborrarjugadas(s.CodVendedor, s.Usuario, codeList(selectedEntries), nticket));
    if (code != 0) {
        outcome.callFailed = code < 0;
        outcome.refusal = code > 0 ? code : 0;
        return outcome;
    }
    for (const QString& entry : selectedEntries) {
        const QString code = entryCode(entry).toUpper();
        for (int row = ticket.rowCount() - 1; row >= 0; --row) {
            if (ticket.at(row).codigoLoteria().toUpper() == code) {
                ticket.removeRows(row, 1);
                ++outcome.removed;
            }
        }
    }
    return outcome;
}

}  // namespace vendura
