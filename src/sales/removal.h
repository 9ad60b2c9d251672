#pragma once

#include "platform/database_gateway.h"
#include "tickets/item_ticket.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace vendura {

class ServerLink;
class TicketModel;

// "xborrarjugada": one play of the open ticket, found by item number and lottery.
ProcedureCall xborrarjugada(const QString& vendedor, const QString& usuario, const QString& numero,
                            const QString& numItem, const QString& codigo, const QString& nticket);
// "xborrarjugadas": every play of the lotteries of a code list.
ProcedureCall xborrarjugadas(const QString& vendedor, const QString& usuario, const QString& codes,
                             const QString& nticket);

// What taking plays off came to: how many rows left the list, and the server's refusal that
// stopped it (0: none). A row leaves the list only when the server took its play off (or had
// already); a refused one stays, with the rows after it.
struct RemovalOutcome {
    int removed = 0;
    int refusal = 0;
    bool callFailed = false;  // the server stayed out of reach; the common handler has spoken
};
// Why the server kept a play, in the seller's words.
QString removalRefusal(int code);

// Takes the given rows of the ticket list off, one server call per row in list order (a call
// whose answer is lost is sent again by the link, and "removed before" counts as removed).
RemovalOutcome removePlays(ServerLink& link, const QString& nticket, TicketModel& ticket,
                           QList<int> selectedRows);

// The lottery column of the first row of each lottery on the ticket, in order of first
// appearance: the entries of the removal by lottery.
QStringList lotteriesOnTicket(const std::vector<ItemTicket>& rows);

// Takes every play of the selected lotteries off the server's ticket and the list; a refusal or
// a failed call leaves the list as it was.
RemovalOutcome removeLotteries(ServerLink& link, const QString& nticket, TicketModel& ticket,
                               const QStringList& selectedEntries);

}  // namespace vendura
