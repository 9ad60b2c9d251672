#pragma once

#include "session/server_link.h"

#include <QString>

#include <functional>

namespace vendura {

// What ANULATICKET's query tells of a ticket, as Form18 shows it.
struct TicketDetails {
    QString fecha;
    QString hora;
    QString estado;  // "Activo" or "Anulado"
    QString monto;   // "###,###0.00"
};

// The caption of a ticket's state: "ACT" "Activo", "ELI" "Anulado", anything else as it came.
QString estadoCaption(const QString& estado);

// The message of an ANULATICKET answer for the ticket number typed; empty for a code that has
// none. Code "50" has its message only in a query, code "0" only in a cancellation.
QString cancellationMessage(const QString& code, const QString& number, bool cancelling);

// Form18's steps, run by Eliminar and by Enter in Text1.
class TicketCancellation {
  public:
    enum class Outcome {
        Empty,       // nothing typed: the seller was asked to type it
        CallFailed,  // the common handler has spoken
        Told,        // a message was shown (refusal, "El ticket no existe", already cancelled)
        Declined,    // the seller answered No; the ticket is untouched
        Cancelled,   // cancelled, and the seller was told
        Silent,      // the server answered a code that has no message
    };

    explicit TicketCancellation(ServerLink& link) : link_(link) {}

    // show puts the ticket's details on the screen before anything more is asked.
    Outcome run(const QString& number, const std::function<void(const TicketDetails&)>& show);

  private:
    ServerLink& link_;
};

}  // namespace vendura
