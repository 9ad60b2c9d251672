#include "reports/sales_report.h"

#include "reports/report_frame.h"
#include "session/session.h"

namespace vendura::sales_report {

ProcedureCall call(const Session& s, const QDate& day) {
    const QString date = report::dateText(day);
    ProcedureCall c{u"RPTVVENDURA"_s, {}};
    c.in(u"@xmodo"_s, u"1"_s, 1)
        .in(u"@xcodigo_user"_s, s.Usuario.trimmed(), 5)
        .in(u"@xcodigo_vend"_s, s.CodVendedor.trimmed(), 5)
        .in(u"@xfechadesde"_s, date, 10)
        .in(u"@xfechahasta"_s, date, 10);
    c.parameters.push_back(
        {u"@montoventa"_s, ParamType::Decimal, ParamDirection::InputOutput, 0, u"0"_s});
    return c;
}

QStringList compose(const Session& s, const QDate& day, const FieldValue& montoventa,
                    const RecordSet& cancelled) {
    QStringList lines = report::header(s, u"Reporte Total de Ventas "_s, report::dateText(day));
    lines << u"Total venta: \t"_s + report::amountText(montoventa) << report::kRule;
    if (cancelled.empty()) return lines;
    lines << u" "_s << u"Tickets Anulados"_s << report::kRule;
    lines << u"Ticket   \tHora\tMonto Bs."_s << report::kRule;
    Money sum;
    for (int r = 0; r < cancelled.size(); ++r) {
        const Money amount = report::amountOf(cancelled.value(r, u"montoticket"_s));
        sum += amount;
        lines << cancelled.text(r, u"nroticket"_s) + u"\t"_s +
                     cancelled.text(r, u"horaticket"_s).trimmed() + u"\t"_s + amount.display();
    }
    lines << report::kRule << u"Total Anulados: \t\t"_s + sum.display();
    return lines;
}

}  // namespace vendura::sales_report
