#include "sales/play_seller.h"

#include "sales/sales_state.h"
#include "session/server_link.h"
#include "session/session.h"

namespace vendura {

std::optional<SaleOutcome> sellPlay(ServerLink& link, SalesState& state, const ProcedureCall& call,
                                    const std::vector<PlannedItem>& items, const QString& tipo) {
    // a repeat after a lost answer carries the same item numbers: the server answers it as it
    // answered the first
    auto answer = link.call(call);
    if (!answer) {
        handleCallFailure(link, answer.error());
        return std::nullopt;
    }
    const PlayAnswer play{static_cast<qint16>(answer.value().returnNumber()), answer.value().rows};
    SaleResult result(play, state.rsloterias, state.jugadaactual, tipo);
    for (const PlannedItem& item : items) result.apply(item, state.NUM_ITEM);
    result.finish(state.NUM_ITEM);
    SaleOutcome outcome = result.outcome();
    outcome.procedure = call.name;
    return outcome;
}

ProcedureCall xcreanormal(const QString& vendedor, const QString& usuario, const QString& numero,
                          const Money& amount, int numItem, const QString& codes,
                          const QString& nticket) {
    ProcedureCall call{u"xcreanormal"_s, {}, 900};
    call.in(u"@T_VENDEDOR"_s, vendedor, 5)
        .in(u"@T_USUARIO"_s, usuario, 5)
        .in(u"@T_NUMERO_cadena"_s, numero, 3)
        .in(u"@T_MONTO_NORMAL"_s, amount.plain(), 9)
        .in(u"@NUM_ITEM"_s, QString::number(numItem), 10)
        .in(u"@T_COD_LOT"_s, codes, 500)
        .in(u"@nticket"_s, nticket, 10);
    return call;
}

ProcedureCall xcreaespecial(const QString& vendedor, const QString& usuario, const QString& numero,
                            const Money& amount, int numItem, const QString& codes,
                            const QString& variants, const QString& especial,
                            const QString& nticket) {
    ProcedureCall call{u"xcreaespecial"_s, {}, 900};
    call.in(u"@T_VENDEDOR"_s, vendedor, 5)
        .in(u"@T_USUARIO"_s, usuario, 5)
        .in(u"@T_NUMERO_cadena"_s, numero, 3)
        .in(u"@T_MONTO_NORMAL"_s, amount.plain(), 8)
        .in(u"@NUM_ITEM"_s, QString::number(numItem), 10)
        .in(u"@T_COD_LOT"_s, codes, 500)
        .in(u"@XJUGADA"_s, variants, 100)
        .in(u"@XESPECIAL"_s, especial, 3)
        .in(u"@nticket"_s, nticket, 10);
    return call;
}

}  // namespace vendura
