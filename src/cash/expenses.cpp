#include "cash/expenses.h"

#include "platform/dialogs.h"
#include "session/server_link.h"
#include "session/session.h"

namespace vendura::expenses {
namespace {

const Money kLimit = Money::whole(10000000);

}  // namespace

const QStringList& kinds() {
    static const QStringList entries{u"0.- Pago Vendedor a Banca"_s, u"1.- Pago Banca a Vendedor"_s,
                                     u"2.- Prestamo"_s, u"3.- Pago Couta Prestamo"_s,
                                     u"4.- Couta diaria Presamo"_s};
    return entries;
}

std::optional<QString> problem(const Movement& m) {
    if (m.number.trimmed().isEmpty()) return u"Debe especificar el Nro. del Documento"_s;
    QString kind = m.kind;
    while (kind.endsWith(u' ')) kind.chop(1);
    const QString typed = m.amount.trimmed();
    const bool plain = !typed.isEmpty() && !typed.contains(u',') && !typed.startsWith(u'-');
    const auto amount = plain ? Money::parse(typed) : Result<Money>(Error{});
    if (!amount || !amount.value().isPositive() || !kinds().contains(kind)) {
        return u"Debe llenar los campos correctamente"_s;
    }
    if (m.number.trimmed().size() > 10) {
        return u"El Nro. del Documento tiene 10 caracteres a lo sumo"_s;
    }
    if (amount.value() >= kLimit || amount.value().units() % 100 != 0) {
        return u"El monto debe ser menor que 10.000.000,00 y tener dos decimales a lo sumo"_s;
    }
    if (m.observation.size() > 200) return u"La observación tiene 200 caracteres a lo sumo"_s;
    return std::nullopt;
}

bool amountAccepts(const QString& current, QChar typed) {
    if (typed == u'\b' || (typed >= u'0' && typed <= u'9')) return true;
    return typed == u'.' && !current.contains(u'.');
}

QString vendorOfLabel(const QString& label) {
    const qsizetype blank = label.indexOf(u' ');
    return blank < 0 ? label : label.left(blank);
}

ProcedureCall listing(const QDate& day, const QString& vendor) {
    ProcedureCall c{u"dspgastos"_s, {}};
    c.in(u"@xfecha"_s, day.toString(u"dd/MM/yyyy"_s), 10)
        .in(u"@xcodigo_vend"_s, vendor, 5)
        .in(u"@tipo_descuento"_s, u"1"_s, 1);
    return c;
}

ProcedureCall save(Mode mode, const Movement& m, const QString& day, const QString& vendor) {
    const QString modo = mode == Mode::Add ? u"0"_s : mode == Mode::Modify ? u"1"_s : u"2"_s;
    const auto amount = Money::parse(m.amount.trimmed());
    ProcedureCall c{u"ACTGastos"_s, {}};
    c.in(u"@xmodo"_s, modo, 1)
        .in(u"@nrogasto"_s, m.number.trimmed(), 10)
        .in(u"@descri_gasto"_s, m.kind, 40);
    c.parameters.push_back({u"@monto_gasto"_s, ParamType::Decimal, ParamDirection::Input, 0,
                            amount ? amount.value().plain() : u"0"_s});
    c.in(u"@fecha_gasto"_s, day, 10)
        .in(u"@vendedor"_s, vendor, 5)
        .in(u"@observa_gasto"_s, m.observation, 200)
        .in(u"@tipo_descuento"_s, u"1"_s, 1);
    return c;
}

const QList<int>& shownColumns() {
    static const QList<int> columns{1, 3, 4};
    return columns;
}

const QStringList& shownCaptions() {
    static const QStringList captions{u"Nro. Gasto "_s, u"Descripción"_s, u"Monto Bs."_s};
    return captions;
}

void reportFailure(Dialogs& dialogs) {
    dialogs.message(DialogIcon::Information, kTituloAtencion,
                    u"Ha ocurrido un error probablemente por la perdida de conexión con el "
                    u"servidor por favor, salga de la aplicacion y vuelva a ingresar si el error "
                    u"persiste, Gracias!"_s);
}

RepeatRule savedBefore(Mode mode, const Movement& movement) {
    if (mode == Mode::Modify) return {};
    if (mode == Mode::Delete) {
        return {[](const CallAnswer& a, const Session&) { return a.returnText() == u"4"_s; },
                u"0"_s};
    }
    const auto amount = Money::parse(movement.amount.trimmed());
    const QString kind = movement.kind.trimmed();
    return {[amount, kind](const CallAnswer& a, const Session&) {
                const auto recorded = Money::parse(a.rows.text(0, u"monto_gasto"_s));
                return a.returnText() == u"3"_s && amount && recorded &&
                       recorded.value() == amount.value() &&
                       a.rows.text(0, u"descri_gasto"_s).trimmed() == kind &&
                       a.rows.text(0, u"registrado_hace"_s).toInt() < kOwnRecordSeconds;
            },
            u"0"_s};
}

Result<CallAnswer> call(ServerLink& link, const ProcedureCall& c, const RepeatRule& rule) {
    auto answer = link.call(c, rule);
    if (!answer) reportFailure(link.dialogs());
    return answer;
}

}  // namespace vendura::expenses
