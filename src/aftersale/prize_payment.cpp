#include "aftersale/prize_payment.h"

#include "platform/dialogs.h"
#include "session/server_link.h"
#include "session/session.h"

namespace vendura {
namespace {

ProcedureCall pagaticketnew(const Session& s, const QString& serial, const QString& mode,
                            const QString& ticketNumber) {
    ProcedureCall call{u"PAGATICKETnew"_s, {}};
    call.in(u"@xserial"_s, serial, 30)
        .in(u"@xcodigo_vend"_s, s.CodVendedor, 5)
        .in(u"@xcodigo_user"_s, s.Usuario, 5)
        .in(u"@xmodo"_s, mode, 1)
        .in(u"@nticket"_s, ticketNumber, 100);
    return call;
}

bool isRefusal(const QString& code) {
    return code == u"9"_s || code == u"6"_s || code == u"8"_s || code == u"7"_s || code == u"3"_s;
}

Money amountOrZero(const QString& text) {
    const auto amount = Money::parse(text);
    return amount ? amount.value() : Money();
}

}  // namespace

QString paymentMessage(const QString& code, const QString& serial) {
    static const QMap<QString, QString> endings{
        {u"9"_s, u" ha sido anulado!"_s},
        {u"6"_s, u" ya ha sido cancelado!"_s},
        {u"8"_s, u" no existe!"_s},
        {u"7"_s, u" esta caducado!"_s},
        {u"3"_s, u" no esta premiado!"_s},
        {u"55"_s, u" ya fue registrado como pagado!"_s},
        {u"0"_s,
         u" se ha registrado como cancelado con exito!, ahora se imprimirá el comprobante de "
         u"retención"_s},
    };
    const auto it = endings.constFind(code);
    if (it == endings.constEnd()) return {};
    return u"El Ticket con el serial "_s + serial + *it;
}

PaymentOutcome PrizePayment::run(const QString& ticketNumber, const QString& serial,
                                 const QString& customerId, PaymentStart start,
                                 const std::function<void(const PaymentTicket&)>& show,
                                 const std::function<bool()>& printerReady) {
    Session& s = link_.session();
    Dialogs& dialogs = link_.dialogs();
    PaymentOutcome outcome;
    auto say = [&](const QString& code) {
        dialogs.message(DialogIcon::Information, kTituloAtencion, paymentMessage(code, serial));
    };
    auto checked = link_.call(pagaticketnew(s, serial, u"0"_s, ticketNumber));
    if (!checked) {
        handleCallFailure(link_, checked.error());
        return outcome;
    }
    const CallAnswer& check = checked.value();
    const QString code = check.returnText();
    outcome.clearFields = true;
    if (isRefusal(code)) {
        say(code);
        return outcome;
    }
    const RecordSet& rows = check.rows;
    if (rows.empty()) {
        dialogs.message(DialogIcon::Information, kTituloAtencion, u"El ticket no existe"_s);
        return outcome;
    }

    outcome.showData = true;
    PaymentTicket& t = outcome.ticket;
    t.fecha = rows.text(0, u"fechaticket"_s);
    t.hora = rows.text(0, u"horaticket"_s);
    t.premio = amountOrZero(rows.text(0, u"montopremio"_s));
    const bool anulado = start == PaymentStart::EnterInSerial
                             ? rows.text(0, u"anulado"_s).trimmed() == u"S"_s
                             : rows.text(0, u"estadoticket"_s).trimmed() == u"ELI"_s;
    t.estado = anulado ? u"Anulado"_s : u"Activo"_s;
    if (show) show(t);

    if (t.premio.isZero()) {
        say(u"3"_s);
        return outcome;
    }
    if (code == u"55"_s) {
        say(code);
        outcome.offerCopy = true;
        return outcome;
    }
    if (!dialogs.question(DialogIcon::Question, u"Responda!"_s, u"Desea cancelar el ticket?"_s)) {
        outcome.clearFields = false;
        return outcome;
    }

    if (printerReady && !printerReady()) {
        outcome.clearFields = false;
        return outcome;
    }

    ProcedureCall pay = pagaticketnew(s, serial, u"1"_s, ticketNumber);
    pay.in(u"@codcli"_s, customerId, 20);
    // repeated after a lost answer, "paid already" (6) by this seller a moment ago is the
    // payment whose answer was lost
    auto paid = link_.call(pay, ownRecordBefore(u"6"_s, u"pagado_por"_s, u"pagado_hace"_s));
    if (!paid) {
        handleCallFailure(link_, paid.error());
        return outcome;
    }
    const QString payCode = paid.value().returnText();
    if (isRefusal(payCode) || payCode == u"0"_s) say(payCode);
    if (payCode == u"0"_s) {
        outcome.paid = true;
        outcome.fechaPago = paid.value().rows.text(0, u"fechapago"_s);
        outcome.horaPago = paid.value().rows.text(0, u"horapago"_s);
        const auto premio = Money::parse(paid.value().rows.text(0, u"montopremio"_s));
        if (premio) t.premio = premio.value();
    }
    return outcome;
}

std::optional<PaymentCopy> PrizePayment::copy(const QString& ticketNumber, const QString& serial) {
    const Session& s = link_.session();
    ProcedureCall c{u"xcopiapago"_s, {}};
    c.in(u"@xcodigo_vend"_s, s.CodVendedor, 5)
        .in(u"@xcodigo_user"_s, s.Usuario, 5)
        .in(u"@nticket"_s, ticketNumber.trimmed(), 10)
        .in(u"@xserial"_s, serial.trimmed(), 30);
    auto answer = link_.call(c);
    if (!answer) {
        handleCallFailure(link_, answer.error());
        return std::nullopt;
    }
    const CallAnswer& a = answer.value();
    if (a.returnText() != u"0"_s || a.rows.empty()) {
        link_.dialogs().message(DialogIcon::Information, kTituloAtencion,
                                paymentMessage(a.returnText() == u"3"_s ? u"3"_s : u"8"_s, serial));
        return std::nullopt;
    }
    return PaymentCopy{
        amountOrZero(a.rows.text(0, u"montopremio"_s)), a.rows.text(0, u"cedula"_s).trimmed(),
        a.rows.text(0, u"cliente"_s).trimmed(),         a.rows.text(0, u"fechapago"_s).trimmed(),
        a.rows.text(0, u"horapago"_s).trimmed(),        a.rows.text(0, u"pagado_por"_s).trimmed()};
}

}  // namespace vendura
