#include "aftersale/cancellation.h"

#include "platform/dialogs.h"
#include "session/money.h"
#include "session/server_link.h"
#include "session/session.h"

namespace vendura {
namespace {

constexpr int kTicketNumberSize = 10;

ProcedureCall anulaticket(const Session& s, const QString& number, const QString& mode) {
    ProcedureCall call{u"ANULATICKET"_s, {}};
    call.in(u"@Nro_Ticket"_s, number, kTicketNumberSize)
        .in(u"@xcodigo_vend"_s, s.CodVendedor, 5)
        .in(u"@xcodigo_user"_s, s.Usuario, 5)
        .in(u"@xmodo"_s, mode, 1);
    return call;
}

TicketDetails detailsFrom(const RecordSet& r) {
    auto amount = Money::parse(r.text(0, u"montoticket"_s));
    return {r.text(0, u"fechaticket"_s).trimmed(), r.text(0, u"horaticket"_s).trimmed(),
            estadoCaption(r.text(0, u"estadoticket"_s)),
            amount ? amount.value().display() : r.text(0, u"montoticket"_s).trimmed()};
}

}  // namespace

QString estadoCaption(const QString& estado) {
    const QString e = estado.trimmed();
    if (e == u"ELI"_s) return u"Anulado"_s;
    if (e == u"ACT"_s) return u"Activo"_s;
    return e;
}

QString cancellationMessage(const QString& code, const QString& number, bool cancelling) {
    const QString ticket = u"El Ticket con el numero "_s + number;
    if (code == u"0"_s && cancelling) return ticket + u" ha sido eliminado con exito!"_s;
    if (code == u"11"_s) return ticket + u" no fue vendido por otro Vendedor!"_s;
    if (code == u"12"_s) {
        return ticket + u" no puede ser eliminado porque excedio el tiempo limite para ello!"_s;
    }
    if (code == u"13"_s) return ticket + u" ya ha sido eliminado!"_s;
    if (code == u"50"_s && !cancelling) return ticket + u" ya esta anulado!"_s;
    return {};
}

TicketCancellation::Outcome TicketCancellation::run(
    const QString& number, const std::function<void(const TicketDetails&)>& show) {
    Dialogs& dialogs = link_.dialogs();
    auto tell = [&](const QString& text) {
        dialogs.message(DialogIcon::Information, kTituloAtencion, text);
    };
    if (number.isEmpty()) {
        tell(u"Debe escribir el serial que aparece en el ticket"_s);
        return Outcome::Empty;
    }
    // the server keeps ten digits: a longer text is no ticket, and cut short it could be another
    if (number.trimmed().size() > kTicketNumberSize) {
        tell(u"El ticket no existe"_s);
        return Outcome::Told;
    }
    Session& s = link_.session();

    auto query = link_.call(anulaticket(s, number, u"0"_s));
    if (!query) {
        handleCallFailure(link_, query.error());
        return Outcome::CallFailed;
    }
    const QString code = query.value().returnText();
    if (code == u"11"_s || code == u"12"_s || code == u"13"_s) {
        tell(cancellationMessage(code, number, false));
        return Outcome::Told;
    }
    if (query.value().rows.empty()) {
        tell(u"El ticket no existe"_s);
        return Outcome::Told;
    }
    show(detailsFrom(query.value().rows));
    if (code == u"50"_s) {
        tell(cancellationMessage(code, number, false));
        return Outcome::Told;
    }
    // No is the default: a second Enter must not cancel a ticket
    if (!dialogs.question(DialogIcon::Question, u"Responda!"_s,
                          u"Desea en realidad anular el ticket?"_s, false)) {
        return Outcome::Declined;
    }

    // repeated after a lost answer, "cancelled already" by this seller a moment ago is this
    // cancellation
    // repeated after a lost answer, "cancelled already" (13) by this seller a moment ago is the
    // cancellation whose answer was lost
    auto cancel = link_.call(anulaticket(s, number, u"1"_s),
                             ownRecordBefore(u"13"_s, u"anulado_por"_s, u"anulado_hace"_s));
    if (!cancel) {
        handleCallFailure(link_, cancel.error());
        return Outcome::CallFailed;
    }
    const QString result = cancel.value().returnText();
    const QString message = cancellationMessage(result, number, true);
    if (message.isEmpty()) return Outcome::Silent;
    tell(message);
    return result == u"0"_s ? Outcome::Cancelled : Outcome::Told;
}

}  // namespace vendura
