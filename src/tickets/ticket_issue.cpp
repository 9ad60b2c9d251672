#include "tickets/ticket_issue.h"

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/temporary_ticket.h"
#include "session/text.h"
#include "tickets/journal.h"
#include "tickets/printer_output.h"
#include "tickets/ticket_layout.h"

#include <QDate>

namespace vendura {
namespace {

constexpr int kSaveTimeoutSeconds = 900;

ProcedureCall xgrabtick(const Session& s, const QString& serial, const Money& total,
                        const QString& nticket) {
    ProcedureCall call{u"xgrabtick"_s, {}, kSaveTimeoutSeconds};
    call.in(u"@xcodigo_vend"_s, s.CodVendedor, 5)
        .in(u"@xcodigo_user"_s, s.Usuario, 5)
        .in(u"@xseriald"_s, serial, 100)
        .out(u"@xfecha_ticket"_s, s.FechaTicket, 20)
        .out(u"@xhora_ticket"_s, s.HoraTicket, 20)
        .in(u"@xestado_ticket"_s, u"ACT"_s, 5)
        .decimal(u"@xmonto_ticket"_s, total.plain())
        .in(u"@xanulado"_s, u"N"_s, 1)
        .in(u"@xnroticktmp"_s, nticket, 50)
        .out(u"@xnroticket"_s, nticket.trimmed(), 50);
    return call;
}

}  // namespace

TicketIssue::TicketIssue(ServerLink& link, Printers& printers, RandomSource& random, Clock& clock,
                         QString journalFolder)
    : link_(link),
      printers_(printers),
      random_(random),
      clock_(clock),
      journalFolder_(std::move(journalFolder)) {}

IssueOutcome TicketIssue::IMPRIMETICK22(const std::vector<ItemTicket>& rows, const QString& nticket,
                                        const QString& userPanel) {
    Session& s = link_.session();
    Dialogs& dialogs = link_.dialogs();
    IssueOutcome outcome;
    Money total;
    for (const ItemTicket& r : rows) {
        if (r.monto) total += *r.monto;
    }
    if (!total.isPositive()) return outcome;

    // the port is looked at before anything reaches the server, so a dead printer costs nothing
    if (!usesSystemPrinter(s) && s.Nrotel1 != u"S"_s &&
        impresoralista(printers_, dialogs, s.PuertoPrinter + u":"_s, s.VelocidadFax) != 0) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion, u"Impresora No lista"_s);
        outcome.kind = IssueOutcome::PrinterNotReady;
        return outcome;
    }
    outcome.serial = QString::number(random_.ticketNumber());
    const std::vector<TicketRecord> records = armaticket(rows);
    outcome.ticketNumber = nticket;
    // repeated after a lost answer, the save answers as it did, with the serial it issued
    auto answer = link_.call(xgrabtick(s, outcome.serial, total, nticket));
    if (!answer) {
        handleCallFailure(link_, answer.error());
        outcome.kind = IssueOutcome::CallFailed;
        return outcome;
    }
    const CallAnswer& a = answer.value();
    const int code = a.returnNumber();
    outcome.nextTicket = tenDigitTicket(a.output(u"@xnroticket"_s));
    s.FechaTicket = a.output(u"@xfecha_ticket"_s).trimmed();
    s.HoraTicket = a.output(u"@xhora_ticket"_s).trimmed();
    // a repeated save of a ticket already issued answers with the serial it was issued with
    const QString issuedSerial = a.rows.text(0, u"serial"_s).trimmed();
    if (!issuedSerial.isEmpty()) outcome.serial = issuedSerial;
    // the ticket prints the days its prize is paid as the server kept them with it
    bool known = false;
    const int days = a.rows.text(0, u"diascaduca"_s).trimmed().toInt(&known);
    if (known) s.Diascaduca = days;

    if (code == 80) {
        dialogs.message(DialogIcon::Exclamation, kTituloAtencion, kTicketLiberado);
        s.ModoTrabajo = s.ModoTrabajoInicial;
        outcome.kind = IssueOutcome::Released;
        return outcome;
    }
    if (code != 0 && code != 88) {
        dialogs.message(DialogIcon::Exclamation, kTituloAtencion,
                        u"No se ha podido grabar el ticket"_s);
        s.ModoTrabajo = s.ModoTrabajoInicial;
        outcome.kind = IssueOutcome::Refused;
        return outcome;
    }

    TicketPrintData data = TicketPrintData::from(s, nticket, outcome.serial, userPanel);
    if (code == 0) {
        s.ModoTrabajo = s.ModoTrabajoInicial;
        outcome.kind = IssueOutcome::Issued;
        outcome.issuedTotal = total;
        outcome.printError = print(layTicket(data, records, rows), outcome.serial);
        if (outcome.printError.isEmpty()) {
            ProcedureCall printed{u"xmarcaimpreso"_s, {}};
            printed.in(u"@xcodigo_vend"_s, s.CodVendedor, 5).in(u"@xnroticket"_s, nticket, 10);
            (void)link_.call(printed);  // a missed flag only means a reprint is offered
        }
    } else {
        outcome.kind = IssueOutcome::Voided;
        outcome.printError = print(layVoucher(data), QString());
    }
    if (!outcome.printError.isEmpty()) {
        dialogs.message(
            DialogIcon::Critical, kTituloAtencion,
            u"El ticket "_s + nticket +
                (code == 0 ? u" quedó grabado en el servidor pero no se pudo imprimir: "_s
                           : u" fue anulado por el servidor y su comprobante no se pudo "
                             u"imprimir: "_s) +
                outcome.printError +
                (code == 0 ? u". Reimprímalo desde la consulta de tickets (F2)."_s : u"."_s));
    }
    return outcome;
}

QString TicketIssue::print(const QStringList& lines, const QString& barcodeSerial) {
    const Session& s = link_.session();
    const QDate ticketDate = QDate::fromString(s.FechaTicket, u"dd/MM/yyyy"_s);
    const int day = ticketDate.isValid() ? ticketDate.day() : clock_.now().date().day();
    return printIssuedTicket(printers_, s,
                             journalPath(journalFolder_, day, s.CodVendedor, s.Usuario), lines,
                             barcodeSerial);
}

}  // namespace vendura
