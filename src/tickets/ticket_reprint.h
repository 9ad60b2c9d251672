#pragma once

#include "tickets/ticket_query.h"

#include <QStringList>

namespace vendura {

class Printers;
class ServerLink;

// What printing a ticket from the ticket list came to.
enum class ReprintOutcome {
    Nothing,          // no ticket shown
    PrinterNotReady,  // "Impresora No lista"; nothing asked of the server
    CallFailed,       // the common handler has spoken
    PrintFailed,      // the printer failed; the seller was told
    Original,         // the first print of a ticket: serial and bar code; the server marked it
    Copy,             // the image without its serial; the server counted the reprint
};

// The ticket list's printing. A ticket the printer never gave out comes out whole the first
// time, as issuing would have printed it; every other print is the list's image, without the
// serial, and counted.
class TicketReprint {
  public:
    TicketReprint(ServerLink& link, Printers& printers, QString journalFolder);

    // The image shown in the list (ending in "EL TICKET ESTA ANULADO" or "... ACTIVO").
    QStringList image(const IssuedTicket& ticket) const;
    // XPButton1 for the ticket shown and its image.
    ReprintOutcome print(const IssuedTicket& shown, const QStringList& image);

  private:
    enum class FirstPrint { Printed, NotOffered, Stopped };
    FirstPrint printOriginal(const IssuedTicket& shown, ReprintOutcome& outcome);
    ReprintOutcome printCopy(const IssuedTicket& shown, const QStringList& image);
    void reportPrintError(const QString& number, const QString& error);

    ServerLink& link_;
    Printers& printers_;
    QString journalFolder_;
};

}  // namespace vendura
