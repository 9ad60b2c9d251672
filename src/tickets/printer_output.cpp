#include "tickets/printer_output.h"

#include "platform/code_page_437.h"
#include "platform/dialogs.h"
#include "session/session.h"
#include "tickets/code39.h"
#include "tickets/journal.h"

namespace vendura {
namespace {

Result<void> writeAndClose(PrinterOutput& out, const QByteArray& bytes) {
    auto written = out.write(bytes);
    auto closed = out.close();
    if (!written) return written;
    return closed;
}

}  // namespace

int impresoralista(Printers& printers, Dialogs& dialogs, const QString& port) {
    const PortCheck check = printers.check(port);
    if (check.handle < 0) {
        dialogs.message(DialogIcon::None, QString(),
                        u"error de apertura del puerto "_s + QString::number(check.handle));
        return 1;
    }
    if (!check.statusRead) {
        dialogs.message(DialogIcon::None, QString(), u"Error en ClearCommError"_s);
        return 1;
    }
    return (check.flags & port_flag::kNotReady) ? 1 : 0;
}

bool usesSystemPrinter(const Session& session) {
    return session.VelocidadFax.trimmed() == u"Y"_s;
}

Result<std::unique_ptr<PrinterOutput>> TicketPrinter::openPort() {
    return printers_.openPort(session_.PuertoPrinter + u":"_s, session_.VelocidadFax);
}

Result<std::unique_ptr<PrinterOutput>> TicketPrinter::open() {
    return usesSystemPrinter(session_) ? printers_.openSystemPrinter() : openPort();
}

Result<void> TicketPrinter::printLines(const QStringList& lines, Journal& journal) {
    auto out = open();
    if (!out) return out.error();
    const bool compressed = session_.TipoLetra.trimmed() == u"C"_s;
    QList<QByteArray> printedLines;
    QByteArray bytes;
    if (compressed) bytes += char(15);
    for (const QString& line : lines) {
        printedLines << toCodePage437(line);
        bytes += printedLines.last() + "\r\n";
    }
    if (compressed) bytes += char(18);
    auto printed = writeAndClose(*out.value(), bytes);
    auto logged = journal.appendTicket(printedLines);
    if (!printed) return printed;
    return logged;
}

Result<void> TicketPrinter::printBarcode(const QString& serial) {
    auto out = openPort();
    if (!out) return out.error();
    return writeAndClose(*out.value(), code39::printerBytes(serial));
}

Result<void> TicketPrinter::feed() {
    const int lines = int(session_.FilasSalto);
    // a page printer needs no paper fed past a tear bar
    if (lines <= 0 || usesSystemPrinter(session_)) return {};
    auto out = openPort();
    if (!out) return out.error();
    return writeAndClose(*out.value(), QByteArray(" \r\n").repeated(qMin(lines, 60)));
}

}  // namespace vendura
