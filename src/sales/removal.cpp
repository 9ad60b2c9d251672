#include "sales/removal.h"

#include "sales/lottery_catalog.h"
#include "sales/ticket_model.h"
#include "session/server_link.h"
#include "session/session.h"

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

// The outcome of one call as the removals treat it: false when the action is abandoned.
bool called(ServerLink& link, const ProcedureCall& call) {
    if (!link.ensureOpen()) return false;
    auto answer = link.session().Conexion->call(call);
    return answer || handleCallFailure(link, answer.error()) == FailureHandling::Ignored;
}

}  // namespace

int removePlays(ServerLink& link, const QString& nticket, TicketModel& ticket,
                QList<int> selectedRows) {
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    const Session& s = link.session();
    int removed = 0;
    for (const int selected : selectedRows) {
        const int row = selected - removed;  // earlier removals moved it up
        if (row < 0 || row >= ticket.rowCount()) continue;
        const ItemTicket r = ticket.at(row);
        const ProcedureCall call =
            xborrarjugada(s.CodVendedor, s.Usuario, r.numero, QString::number(r.item),
                          r.codigoLoteria(), nticket);
        if (!called(link, call)) break;
        ticket.removeRows(row, 1);
        ticket.breakGroup(r);
        ++removed;
    }
    return removed;
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

bool removeLotteries(ServerLink& link, const QString& nticket, TicketModel& ticket,
                     const QStringList& selectedEntries) {
    const Session& s = link.session();
    if (!called(link, xborrarjugadas(s.CodVendedor, s.Usuario, codeList(selectedEntries), nticket)))
        return false;
    for (const QString& entry : selectedEntries) {
        const QString code = entryCode(entry).toUpper();
        for (int row = ticket.rowCount() - 1; row >= 0; --row) {
            if (ticket.at(row).codigoLoteria().toUpper() == code) ticket.removeRows(row, 1);
        }
    }
    return true;
}

}  // namespace vendura
