#pragma once

#include "platform/record_set.h"
#include "tickets/item_ticket.h"

#include <vector>

namespace vendura {

class LotteryCatalog;
class ServerLink;
class TicketModel;
struct SalesState;

// The plays the server holds on an open ticket (xjugadasticket's records) as ticket rows, in item
// order; plays on a closed lottery are kept by the server but shown by no row.
std::vector<ItemTicket> rowsOnServer(const RecordSet& plays, const LotteryCatalog& lotteries);

// Brings the ticket list back to what the server holds of the open ticket, after an answer the
// counter could not read: rows the server does not hold go, plays it holds and the list lacks
// come in, and the item counter goes past every item number the server holds. False when the
// server could not be asked (told the common way).
bool syncTicketWithServer(ServerLink& link, SalesState& state, TicketModel& ticket);

}  // namespace vendura
