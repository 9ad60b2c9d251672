#pragma once

#include "platform/printer_port.h"

#include <QStringList>

namespace vendura {

class Dialogs;
class Journal;
struct Session;

// impresoralista: looks at the printer port; 0 when it is ready, 1 when not (after showing
// what went wrong).
int impresoralista(Printers& printers, Dialogs& dialogs, const QString& port);

// True when the ticket goes to the operating system's printer ("Y" in VelocidadFax) rather
// than to the port.
bool usesSystemPrinter(const Session& session);

// The ticket printer of the session: composed lines to the port (or the system printer) and
// the journal, the bar code, and the blank lines fed after a ticket.
class TicketPrinter {
  public:
    TicketPrinter(Printers& printers, const Session& session)
        : printers_(printers), session_(session) {}

    // Byte 15 before and 18 after the lines in compressed print; every line ends in CR LF.
    // The journal gets the same lines, in one write.
    Result<void> printLines(const QStringList& lines, Journal& journal);
    // codebar1: the serial as a Code 39 bar code, straight to the port.
    Result<void> printBarcode(const QString& serial);
    // FilasSalto lines of one blank, on the port.
    Result<void> feed();

  private:
    Result<std::unique_ptr<PrinterOutput>> open();
    Result<std::unique_ptr<PrinterOutput>> openPort();

    Printers& printers_;
    const Session& session_;
};

}  // namespace vendura
