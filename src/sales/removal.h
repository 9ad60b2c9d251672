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

// Takes the given rows of the ticket list off, one server call per row in list order; a row
// leaves the list whatever the server answered. A failed call stops there (handled the common
// way, so the rows after it stay). Answers how many rows were taken off.
int removePlays(ServerLink& link, const QString& nticket, TicketModel& ticket,
                QList<int> selectedRows);

// The lottery column of the first row of each lottery on the ticket, in order of first
// appearance: the entries of the removal by lottery.
QStringList lotteriesOnTicket(const std::vector<ItemTicket>& rows);

// Takes every play of the selected lotteries off the server's ticket and the list. False when
// the call failed (handled the common way): the list is then left as it was.
bool removeLotteries(ServerLink& link, const QString& nticket, TicketModel& ticket,
                     const QStringList& selectedEntries);

}  // namespace vendura
