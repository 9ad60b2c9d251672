#pragma once

#include "session/money.h"
#include "tickets/item_ticket.h"

#include <QString>

#include <vector>

namespace vendura {

class Clock;
class Printers;
class RandomSource;
class ServerLink;

// What closing a ticket came to, for the sales screen to show.
struct IssueOutcome {
    enum Kind {
        Nothing,          // total not above zero: Esc does nothing
        PrinterNotReady,  // nothing went to the server
        CallFailed,       // the save call failed; the common handler has spoken
        Refused,          // the server did not save it; the ticket stays open
        Issued,           // saved (and printed, unless printError says otherwise)
        Voided,           // the server refused it for good; the voucher was printed
        Released,         // the server had released it: nothing of it was sold
    };
    Kind kind = Nothing;
    QString ticketNumber;  // the number printed (nticket before the save)
    QString nextTicket;    // the number the next ticket is built under
    Money issuedTotal;
    QString serial;
    QString printError;  // why the issued ticket did not print, when it did not
};

// IMPRIMETICK22: checks the printer, has the server issue the temporary ticket with a random
// serial, lays out and prints the ticket (or the invalid-ticket voucher) with its journal lines
// and bar code, and feeds the paper.
class TicketIssue {
  public:
    TicketIssue(ServerLink& link, Printers& printers, RandomSource& random, Clock& clock,
                QString journalFolder);

    IssueOutcome IMPRIMETICK22(const std::vector<ItemTicket>& rows, const QString& nticket,
                               const QString& userPanel);

  private:
    // The error text, empty when the ticket came out; no bar code without a serial.
    QString print(const QStringList& lines, const QString& barcodeSerial);

    ServerLink& link_;
    Printers& printers_;
    RandomSource& random_;
    Clock& clock_;
    QString journalFolder_;
};

}  // namespace vendura
