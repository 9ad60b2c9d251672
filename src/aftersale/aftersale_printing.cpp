#include "aftersale/aftersale_printing.h"

#include "platform/code_page_437.h"
#include "platform/dialogs.h"
#include "session/server_link.h"
#include "session/session.h"
#include "tickets/journal.h"
#include "tickets/printer_output.h"

#include <optional>

namespace vendura {

bool AfterSalePrinter::ready() {
    if (usesSystemPrinter(session_)) return true;
    if (impresoralista(printers_, dialogs_, session_.PuertoPrinter + u":"_s,
                       session_.VelocidadFax) == 0) {
        return true;
    }
    dialogs_.message(DialogIcon::Critical, kTituloAtencion, u"Impresora No lista"_s);
    return false;
}

bool AfterSalePrinter::print(const QStringList& lines, const QString& journalFolder,
                             const QDate& day) {
    TicketPrinter printer(printers_, session_);
    std::optional<Journal> journal;
    if (!journalFolder.isEmpty()) {
        journal.emplace(
            journalPath(journalFolder, day.day(), session_.CodVendedor, session_.Usuario),
            toCodePage437(session_.Usuario));
    }
    Result<void> printed = printer.printLines(lines, journal ? &*journal : nullptr);
    if (printed) printed = printer.feed();
    if (!printed) {
        dialogs_.message(DialogIcon::Critical, kTituloAtencion,
                         u"No se pudo imprimir: "_s + printed.error().description);
        return false;
    }
    return true;
}

}  // namespace vendura
