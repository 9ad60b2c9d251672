#include "aftersale/aftersale_printing.h"

#include "platform/code_page_437.h"
#include "platform/dialogs.h"
#include "session/server_link.h"
#include "session/session.h"
#include "tickets/journal.h"
#include "tickets/printer_output.h"

namespace vendura {

bool AfterSalePrinter::ready() {
    if (usesSystemPrinter(session_)) return true;
    if (impresoralista(printers_, dialogs_, session_.PuertoPrinter + u":"_s) == 0) return true;
    dialogs_.message(DialogIcon::Critical, kTituloAtencion, u"Impresora No lista"_s);
    return false;
}

bool AfterSalePrinter::print(const QStringList& lines, const QString& journalFolder,
                             const QDate& day) {
    TicketPrinter printer(printers_, session_);
    Result<void> printed;
    if (journalFolder.isEmpty()) {
        auto out = usesSystemPrinter(session_)
                       ? printers_.openSystemPrinter()
                       : printers_.openPort(session_.PuertoPrinter + u":"_s, session_.VelocidadFax);
        if (!out) {
            printed = out.error();
        } else {
            const bool compressed = session_.TipoLetra.trimmed() == u"C"_s;
            QByteArray bytes;
            if (compressed) bytes += char(15);
            for (const QString& line : lines) bytes += toCodePage437(line) + "\r\n";
            if (compressed) bytes += char(18);
            printed = out.value()->write(bytes);
            auto closed = out.value()->close();
            if (printed) printed = closed;
        }
    } else {
        Journal journal(
            journalPath(journalFolder, day.day(), session_.CodVendedor, session_.Usuario),
            toCodePage437(session_.Usuario));
        printed = printer.printLines(lines, journal);
    }
    if (printed) printed = printer.feed();
    if (!printed) {
        dialogs_.message(DialogIcon::Critical, kTituloAtencion,
                         u"No se pudo imprimir: "_s + printed.error().description);
        return false;
    }
    return true;
}

}  // namespace vendura
