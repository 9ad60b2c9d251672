#pragma once

#include "platform/printer_port.h"

#include <QStringList>

namespace vendura {

class Dialogs;
class Journal;
struct Session;

// impresoralista: looks at the printer port; 0 when it is ready, 1 when not (after showing
// what went wrong). lineSettings: the serial settings (VelocidadFax), which say whether a
// serial printer's modem lines tell its state.
int impresoralista(Printers& printers, Dialogs& dialogs, const QString& port,
                   const QString& lineSettings);

// True when the ticket goes to the operating system's printer ("Y" in VelocidadFax) rather
// than to the port.
bool usesSystemPrinter(const Session& session);

// The ticket printer of the session: composed lines to the port (or the system printer) and
// the journal, the bar code, and the FilasSalto lines fed after a ticket.
class TicketPrinter {
  public:
    // feedLine: what each fed line holds (" " after a ticket, "   " after a reprint).
    TicketPrinter(Printers& printers, const Session& session, QByteArray feedLine = " ")
        : printers_(printers), session_(session), feedLine_(std::move(feedLine)) {}

    // Byte 15 before and 18 after the lines in compressed print; every line ends in CR LF.
    // The journal, when given, gets the same lines in one write. A page printer gets the fed
    // lines in the same job, so that one ticket is one print job.
    Result<void> printLines(const QStringList& lines, Journal* journal);
    // codebar1: the serial as a Code 39 bar code, straight to the port.
    Result<void> printBarcode(const QString& serial);
    // FilasSalto lines on the port (a page printer had them with the lines).
    Result<void> feed();

  private:
    QByteArray feedBytes() const;
    Result<std::unique_ptr<PrinterOutput>> open();
    Result<std::unique_ptr<PrinterOutput>> openPort();

    Printers& printers_;
    const Session& session_;
    QByteArray feedLine_;
};

// An issued ticket as it comes out at the counter: its lines with the journal of the ticket's
// day, the bar code of the serial when one is given and the session prints bar codes, and the
// fed lines. The error text of the first step that failed, empty when all went out.
QString printIssuedTicket(Printers& printers, const Session& session, const QString& journalPath,
                          const QStringList& lines, const QString& serial);

}  // namespace vendura
