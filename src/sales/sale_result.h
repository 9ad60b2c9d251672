#pragma once

#include "platform/record_set.h"
#include "tickets/item_ticket.h"

#include <QHash>
#include <QString>

#include <vector>

namespace vendura {

class Dialogs;
class LotteryCatalog;

// What a play-creating procedure answered: its return value and one record for each item that
// was not sold in full (by position: lottery code, number as stored, amount sold, status; and
// by name "titems", the item number; a special play's records also carry "jugada", the
// variant, and "desc_jugada"; a refused call's records carry "ultimo_item", the highest item
// number the ticket holds on the server).
struct PlayAnswer {
    int returnValue = 0;
    RecordSet records;
};

// One item of a play call as the client asked it, in the order the server numbers them.
struct PlannedItem {
    QString lotteryEntry;
    QString number;              // as the row shows it
    Money amount;                // in Bs.F.
    QString variant;             // a special play's variant code; empty for other plays
    QString variantDescription;  // shown in the special column
};

// The rows and messages one play call gives.
struct SaleOutcome {
    std::vector<ItemTicket> rows;
    QString partialList;  // "Ventas por el Resto"
    QString soldOutList;  // "Números Agotados"
    QString closedList;   // descriptions of the closed lotteries
    QString closedCodes;  // their codes, three characters each, no separator
    int refused = 0;      // items the server refused: nothing of their call was booked
    int refusalCode = 0;  // the return value that told why
    QString procedure;    // the call's procedure: a request that forms no list says why its way
};

// aplicaresultado: turns a play call's answer into ticket rows, item by item in the order the
// items were sent. The server numbers the k-th item of a call NUM_ITEM + k; every item it took
// (sold in full or in part, sold out, or on a closed lottery) advances NUM_ITEM, so the client
// stays in step with it. A refused call (status "9") booked nothing and adds no row.
class SaleResult {
  public:
    SaleResult(const PlayAnswer& answer, const LotteryCatalog& rsloterias, QString jugadaactual,
               QString tipo);

    // One item: the lottery entry it was sold on, the number as the row shows it, the amount
    // asked (in Bs.F.) and, for a special play, its variant.
    void apply(const PlannedItem& item, int& numItem);
    // After the items: a refusal because item numbers were taken moves NUM_ITEM past every
    // item number the ticket holds on the server, so that sending again books once.
    void finish(int& numItem) const;
    const SaleOutcome& outcome() const { return outcome_; }

  private:
    int findRecord(int itemNumber, const PlannedItem& item) const;
    QString lotteryText(const QString& code) const;
    QString lotteryDescription(const QString& code) const;
    ItemTicket row(const QString& number, const QString& lottery, std::optional<Money> amount,
                   int item, const QString& especial) const;

    const PlayAnswer& answer_;
    const LotteryCatalog& rsloterias_;
    QString jugada_;
    QString tipo_;
    SaleOutcome outcome_;
    QHash<QString, int> recordOfItem_;  // "titems" to the first record that carries it
};

// The boxes of a sale, in this order, each waiting for its OK: the partial sales, the sold-out
// numbers, the closed lotteries, and then, when the server refused items, why.
void showSaleMessages(Dialogs& dialogs, const SaleOutcome& outcome);

// Why the server refused a play call, in the seller's words: by its code, and for code 70 (the
// request forms no valid list) by what the procedure asks for.
QString refusalReason(int code, const QString& procedure = QString());

}  // namespace vendura
