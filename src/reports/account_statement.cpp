#include "reports/account_statement.h"

#include "reports/report_frame.h"
#include "session/session.h"

namespace vendura::account_statement {
namespace {

const char* const kAmounts[] = {"@xdeuda", "@xcuenta",        "@xmovimiento",  "@xdeposito",
                                "@xtotal", "@xsaldoprestamo", "@xtotalgragral"};

}  // namespace

ProcedureCall call(const QString& vendor, const QDate& day) {
    const QString date = report::dateText(day);
    ProcedureCall c{u"DSPLUP23"_s, {}};
    c.in(u"@xfecmov"_s, date, 10).in(u"@xcodven"_s, vendor, 5).out(u"@xfecha1"_s, date, 10);
    for (const char* name : kAmounts) {
        c.parameters.push_back({QString::fromLatin1(name), ParamType::Decimal,
                                ParamDirection::InputOutput, 0, u"0"_s});
    }
    return c;
}

QStringList compose(const Session& s, const QDate& day, const CallAnswer& a) {
    auto amount = [&a](const char* name) {
        return report::amountText(a.outputs.value(QString::fromLatin1(name)));
    };
    QStringList lines =
        report::header(s, u"Reporte de Caudre con La Operadora "_s, report::dateText(day));
    lines << u"Ult. Fecha      : \t"_s + a.output(u"@xfecha1"_s).trimmed()
          << u"Deuda Bs.       : \t"_s + amount("@xdeuda")
          << u"Cuenta de Fecha : \t"_s + amount("@xcuenta")
          << u"Movimientos Bs. : \t"_s + amount("@xmovimiento")
          << u"Depósitos Bs.   : \t"_s + amount("@xdeposito")
          << u"Saldo Jugada    : \t"_s + amount("@xtotal") << report::kRule
          << u"S. Prestamo Bs. : \t"_s + amount("@xsaldoprestamo")
          << u"S. General  Bs. : \t"_s + amount("@xtotalgragral")
          << report::kRule
          // the movements recorded here that the central office has not confirmed yet
          << u"Por confirmar Bs.: \t"_s + report::amountText(a.rows.text(0, u"porconfirmar"_s));
    return lines;
}

}  // namespace vendura::account_statement
