#pragma once

#include "platform/result.h"

#include <QString>

namespace vendura {

struct Session;

// The number under which the terminal builds its next ticket, as the server hands it out
// (nregresaticket), ten digits; whatever the terminal still had open there is given up.
Result<QString> takeTemporaryTicket(Session& s);

// What a counter tells the seller when the server released its open ticket (code 80): nothing of
// it was sold, and the terminal goes on under a new number.
extern const QString kTicketLiberado;

}  // namespace vendura
