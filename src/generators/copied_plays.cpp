#include "generators/copied_plays.h"

#include "sales/lottery_catalog.h"
#include "sales/sales_state.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QHash>

namespace vendura {

SaleOutcome copiedPlays(const PlayAnswer& answer, SalesState& state) {
    const RecordSet& records = answer.records;
    // aplicaresultado finds the records of the items not sold in full; the others are full rows
    PlayAnswer notFull{answer.returnValue, RecordSet(records.fields())};
    std::vector<PlannedItem> items;
    QHash<int, QString> kinds;
    for (int i = 0; i < records.size(); ++i) {
        const QString code = records.text(i, 0).trimmed();
        const Lottery* lottery = state.rsloterias.find(code);
        const QString variant = records.text(i, u"jugada"_s).trimmed();
        const auto amount = Money::parse(records.text(i, 2));
        items.push_back({lottery ? lottery->entry() : code, records.text(i, 1).trimmed(),
                         amount ? amount.value() : Money(), variant,
                         records.text(i, u"desc_jugada"_s).trimmed()});
        kinds.insert(records.text(i, u"titems"_s).trimmed().toInt(),
                     records.text(i, u"tipo"_s).trimmed());
        if (records.text(i, 3).trimmed() != u"0"_s) {
            std::vector<FieldValue> row;
            for (int f = 0; f < records.fields().size(); ++f) row.push_back(records.value(i, f));
            notFull.records.addRow(std::move(row));
        }
    }
    SaleResult result(notFull, state.rsloterias, state.jugadaactual, u"1"_s);
    for (const PlannedItem& item : items) result.apply(item, state.NUM_ITEM);
    result.finish(state.NUM_ITEM);
    SaleOutcome outcome = result.outcome();
    for (ItemTicket& row : outcome.rows) row.tipo = kinds.value(row.item, u"1"_s);
    if (records.empty() && answer.returnValue >= 70) {
        outcome.refused = 1;
        outcome.refusalCode = answer.returnValue;
    }
    return outcome;
}

std::optional<SaleOutcome> sellCopies(ServerLink& link, SalesState& state,
                                      const ProcedureCall& call) {
    auto answer = link.call(call);
    if (!answer) {
        handleCallFailure(link, answer.error());
        return std::nullopt;
    }
    return copiedPlays(
        PlayAnswer{static_cast<qint16>(answer.value().returnNumber()), answer.value().rows}, state);
}

}  // namespace vendura
