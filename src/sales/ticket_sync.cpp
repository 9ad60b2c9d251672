#include "sales/ticket_sync.h"

#include "sales/lottery_catalog.h"
#include "sales/sales_state.h"
#include "sales/ticket_model.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QSet>

namespace vendura {

std::vector<ItemTicket> rowsOnServer(const RecordSet& plays, const LotteryCatalog& lotteries) {
    std::vector<ItemTicket> rows;
    for (int i = 0; i < plays.size(); ++i) {
        if (plays.text(i, u"status"_s).trimmed() == u"4"_s) continue;
        const QString code = plays.text(i, u"cod_lot"_s).trimmed();
        const Lottery* l = lotteries.find(code);
        const auto sold = Money::parse(plays.text(i, u"monto_vendido"_s));
        const bool soldOut = plays.text(i, u"status"_s).trimmed() == u"1"_s;
        const QString jugada = plays.text(i, u"jugada"_s).trimmed();
        rows.push_back(
            ItemTicket{plays.text(i, u"numero"_s).trimmed(), l ? l->entry() : code,
                       soldOut || !sold ? std::nullopt : std::optional<Money>(sold.value()), jugada,
                       plays.text(i, u"especial"_s).trimmed(), plays.text(i, u"num_item"_s).toInt(),
                       plays.text(i, u"tipo"_s).trimmed(), jugada});
    }
    return rows;
}

bool syncTicketWithServer(ServerLink& link, SalesState& state, TicketModel& ticket) {
    const Session& s = link.session();
    ProcedureCall c{u"xjugadasticket"_s, {}};
    c.in(u"@xcodigo_vend"_s, s.CodVendedor, 5)
        .in(u"@xcodigo_user"_s, s.Usuario, 5)
        .in(u"@nticket"_s, state.nticket, 10);
    auto answer = link.call(c);
    if (!answer) {
        handleCallFailure(link, answer.error());
        return false;
    }
    if (answer.value().returnText() != u"0"_s) return true;
    const std::vector<ItemTicket> held = rowsOnServer(answer.value().rows, state.rsloterias);
    QSet<int> heldItems;
    for (const ItemTicket& r : held) heldItems.insert(r.item);
    QSet<int> shown;
    for (int row = ticket.rowCount() - 1; row >= 0; --row) {
        if (!heldItems.contains(ticket.at(row).item)) {
            ticket.removeRows(row, 1);
        } else {
            shown.insert(ticket.at(row).item);
        }
    }
    std::vector<ItemTicket> missing;
    for (const ItemTicket& r : held) {
        if (!shown.contains(r.item)) missing.push_back(r);
        state.NUM_ITEM = qMax(state.NUM_ITEM, r.item);
    }
    ticket.append(missing);
    return true;
}

}  // namespace vendura
