#pragma once
// The counters selling now, as their open tickets show them: when each last played and what
// quota it holds, and the release that gives that quota back to sale.
#include "office/admin_link.h"
#include "session/money.h"

#include <vector>

namespace vendura::office {

struct OpenTicket {
    QString vendor;
    QString ticket;
    QString opened;    // AAAA-MM-DD hh:mm:ss
    QString lastPlay;  // the counter's last call that booked, or when the ticket opened
    int plays = 0;
    Money quota;  // what its plays hold of their numbers' quota
};

// Every open ticket, or one sales point's (vendor not empty).
Result<std::vector<OpenTicket>> openTickets(AdminLink& link, const QString& vendor = QString());
// Releases a sales point's open tickets, or one of them: their quota goes back to sale and the
// counter starts over under a new number. Answers how many.
Result<int> releaseTickets(AdminLink& link, const QString& vendor,
                           const QString& ticket = QString());

}  // namespace vendura::office
