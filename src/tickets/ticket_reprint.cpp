#include "tickets/ticket_reprint.h"

#include "platform/dialogs.h"
#include "session/server_link.h"
#include "session/session.h"
#include "tickets/journal.h"
#include "tickets/printer_output.h"
#include "tickets/ticket_layout.h"

#include <QDate>

namespace vendura {
namespace {

ProcedureCall ticketCall(const QString& procedure, const Session& s, const QString& number) {
    ProcedureCall call{procedure, {}};
    call.in(u"@xcodigo_vend"_s, s.CodVendedor, 5)
        .in(u"@xcodigo_user"_s, s.Usuario, 5)
        .in(u"@xnroticket"_s, number, 10);
    return call;
}

// The print data of a ticket as the server keeps it: its seller, date and time, the days its
// prize is paid, no customer.
TicketPrintData printData(const Session& s, const IssuedTicket& t) {
    TicketPrintData d = TicketPrintData::from(s, t.nroticket, t.serial, t.userPanel());
    d.fecha = t.fecha;
    d.hora = t.hora;
    bool known = false;
    const int days = t.diasCaduca.toInt(&known);
    if (known) d.diascaduca = days;
    d.clienteCedula.clear();
    d.clienteNombre.clear();
    return d;
}

}  // namespace

TicketReprint::TicketReprint(ServerLink& link, Printers& printers, QString journalFolder)
    : link_(link), printers_(printers), journalFolder_(std::move(journalFolder)) {}

QStringList TicketReprint::image(const IssuedTicket& ticket) const {
    if (ticket.nroticket.isEmpty()) return {};
    return layImage(printData(link_.session(), ticket), armaticket(ticket.rows), ticket.anulado);
}

ReprintOutcome TicketReprint::print(const IssuedTicket& shown, const QStringList& image) {
    const Session& s = link_.session();
    if (shown.nroticket.isEmpty() || image.isEmpty()) return ReprintOutcome::Nothing;
    if (!usesSystemPrinter(s) &&
        impresoralista(printers_, link_.dialogs(), s.PuertoPrinter + u":"_s, s.VelocidadFax) != 0) {
        link_.dialogs().message(DialogIcon::Critical, kTituloAtencion, u"Impresora No lista"_s);
        return ReprintOutcome::PrinterNotReady;
    }
    if (!shown.impreso && !shown.anulado) {
        ReprintOutcome outcome = ReprintOutcome::Nothing;
        if (printOriginal(shown, outcome) != FirstPrint::NotOffered) return outcome;
    }
    return printCopy(shown, image);
}

TicketReprint::FirstPrint TicketReprint::printOriginal(const IssuedTicket& shown,
                                                       ReprintOutcome& outcome) {
    Session& s = link_.session();
    // the server hands the serial out once: asked again, it answers as for a printed ticket
    auto answer = link_.call(ticketCall(u"xticketoriginal"_s, s, shown.nroticket));
    if (!answer) {
        handleCallFailure(link_, answer.error());
        outcome = ReprintOutcome::CallFailed;
        return FirstPrint::Stopped;
    }
    // printed meanwhile at another counter of the sales point, cancelled, or the seller may not
    // have the serial: a copy is what can be printed
    if (answer.value().returnText() != u"0"_s) return FirstPrint::NotOffered;
    const IssuedTicket original = issuedTicketFrom(answer.value().rows);
    if (original.nroticket.isEmpty() || original.serial.isEmpty()) return FirstPrint::NotOffered;

    const QDate date = QDate::fromString(original.fecha, u"dd/MM/yyyy"_s);
    const QString error = printIssuedTicket(
        printers_, s,
        journalPath(journalFolder_, date.isValid() ? date.day() : 0, s.CodVendedor, s.Usuario),
        layTicket(printData(s, original), armaticket(original.rows), original.rows),
        original.serial);
    if (!error.isEmpty()) {
        reportPrintError(shown.nroticket, error);
        outcome = ReprintOutcome::PrintFailed;
        return FirstPrint::Stopped;
    }
    ProcedureCall printed{u"xmarcaimpreso"_s, {}};
    printed.in(u"@xcodigo_vend"_s, s.CodVendedor, 5).in(u"@xnroticket"_s, shown.nroticket, 10);
    auto marked = link_.call(printed);
    if (!marked) handleCallFailure(link_, marked.error());
    outcome = ReprintOutcome::Original;
    return FirstPrint::Printed;
}

ReprintOutcome TicketReprint::printCopy(const IssuedTicket& shown, const QStringList& image) {
    Session& s = link_.session();
    // counted before it prints: no copy leaves the printer uncounted
    auto counted = link_.call(ticketCall(u"xreimpresion"_s, s, shown.nroticket));
    if (!counted) {
        handleCallFailure(link_, counted.error());
        return ReprintOutcome::CallFailed;
    }
    TicketPrinter printer(printers_, s, "   ");
    auto printed = printer.printLines(image, nullptr);
    if (printed) printed = printer.feed();
    if (!printed) {
        reportPrintError(shown.nroticket, printed.error().description);
        return ReprintOutcome::PrintFailed;
    }
    return ReprintOutcome::Copy;
}

void TicketReprint::reportPrintError(const QString& number, const QString& error) {
    link_.dialogs().message(
        DialogIcon::Critical, kTituloAtencion,
        u"El ticket "_s + number + u" no se pudo imprimir: "_s + error + u"."_s);
}

}  // namespace vendura
