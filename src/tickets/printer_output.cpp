#include "tickets/printer_output.h"

#include "platform/code_page_437.h"
#include "platform/dialogs.h"
#include "session/session.h"
#include "tickets/code39.h"
#include "tickets/journal.h"

namespace vendura {
namespace {

constexpr int kMostFedLines = 60;

Result<void> writeAndClose(PrinterOutput& out, const QByteArray& bytes) {
    auto written = out.write(bytes);
    auto closed = out.close();
    if (!written) return written;
    return closed;
}

}  // namespace

int impresoralista(Printers& printers, Dialogs& dialogs, const QString& port,
                   const QString& lineSettings) {
    const PortCheck check = printers.check(port, lineSettings);
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

QByteArray TicketPrinter::feedBytes() const {
    const int lines = qBound(0, int(session_.FilasSalto), kMostFedLines);
    return (feedLine_ + "\r\n").repeated(lines);
}

Result<void> TicketPrinter::printLines(const QStringList& lines, Journal* journal) {
    auto out = open();
    if (!out) return out.error();
    const bool compressed = session_.TipoLetra.trimmed() == u"C"_s;
    QList<QByteArray> printedLines;
    QByteArray bytes;
    if (compressed) bytes += char(15);
    for (const QString& line : lines) {
        printedLines << toPrinterLine(line);
        bytes += printedLines.last() + "\r\n";
    }
    if (compressed) bytes += char(18);
    if (usesSystemPrinter(session_)) bytes += feedBytes();
    auto printed = writeAndClose(*out.value(), bytes);
    if (journal) {
        auto logged = journal->appendTicket(printedLines);
        if (printed && !logged) return logged;
    }
    return printed;
}

Result<void> TicketPrinter::printBarcode(const QString& serial) {
    auto out = openPort();
    if (!out) return out.error();
    return writeAndClose(*out.value(), code39::printerBytes(serial));
}

Result<void> TicketPrinter::feed() {
    const QByteArray bytes = feedBytes();
    if (bytes.isEmpty() || usesSystemPrinter(session_)) return {};
    auto out = openPort();
    if (!out) return out.error();
    return writeAndClose(*out.value(), bytes);
}

QString printIssuedTicket(Printers& printers, const Session& session, const QString& journalPath,
                          const QStringList& lines, const QString& serial) {
    Journal journal(journalPath, toCodePage437(session.Usuario));
    TicketPrinter printer(printers, session);
    auto printed = printer.printLines(lines, &journal);
    if (!printed) return printed.error().description;
    if (!serial.isEmpty() && session.Nrotel1 == u"S"_s) {
        auto barcode = printer.printBarcode(serial);
        if (!barcode) return barcode.error().description;
    }
    auto fed = printer.feed();
    if (!fed) return fed.error().description;
    return {};
}

}  // namespace vendura
