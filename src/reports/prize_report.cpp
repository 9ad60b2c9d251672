#include "reports/prize_report.h"

#include "reports/report_frame.h"
#include "session/session.h"

#include <QHash>

namespace vendura::prize_report {

ProcedureCall call(const QString& procedure, const QString& vendor, const QDate& from,
                   const QDate& to) {
    ProcedureCall c{procedure, {}};
    c.in(u"@xmodo"_s, u"0"_s, 1)
        .in(u"@xcodigo_vend"_s, vendor, 5)
        .in(u"@xfecha"_s, report::dateText(from), 10)
        .in(u"@xfechad"_s, report::dateText(to), 10);
    return c;
}

QStringList compose(const Session& s, const QDate& from, const QDate& to, bool detailed,
                    const RecordSet& tickets, const RecordSet& plays) {
    const QString fromText = report::dateText(from);
    QStringList lines{report::kTitle, u"Reporte Tickets Premiados "_s,
                      u"Vendedor : "_s + s.NombreVendedor + u" "_s + s.CodVendedor};
    lines << (from == to ? u"Fecha : "_s + fromText
                         : u"Fecha : "_s + fromText + u"\tHasta: "_s + report::dateText(to));
    lines << u"Hora : "_s + s.HoraServidor << report::kWideRule;
    lines << u"Ticket   "_s + u"  "_s + u"Hora"_s + u"     "_s + u"Premio"_s + u"     "_s +
                 u"Usuario "_s + u"P"_s
          << report::kWideRule;

    // the plays of each ticket, in the order received
    QHash<QString, QList<int>> playsOf;
    if (detailed) {
        for (int p = 0; p < plays.size(); ++p) {
            playsOf[plays.text(p, u"nroticket"_s).trimmed()].append(p);
        }
    }
    Money total, paid, unpaid;
    auto add = [&](Money prize, bool isPaid) {
        total += prize;
        (isPaid ? paid : unpaid) += prize;
    };
    for (int t = 0; t < tickets.size(); ++t) {
        const bool isPaid = tickets.text(t, u"Pagado"_s).trimmed() == u"S"_s;
        const QString flag = isPaid ? u"S"_s : u"N"_s;
        const QString hour = tickets.text(t, u"horaticket"_s).trimmed();
        const QString user = tickets.text(t, u"usuario"_s).trimmed();
        if (!detailed) {
            const Money prize = report::amountOf(tickets.value(t, u"montopremio"_s));
            lines << tickets.text(t, u"nroticket"_s) + u"  "_s + hour + u"  "_s + prize.display() +
                         u"\t"_s + user + u"  "_s + flag;
            add(prize, isPaid);
            continue;
        }
        const QString number = tickets.text(t, u"nroticket"_s).trimmed();
        lines << number + u"  "_s + hour + u"   "_s + u"\t"_s + user + u"  "_s + flag;
        for (int p : playsOf.value(number)) {
            const Money prize = report::amountOf(plays.value(p, u"montopremio"_s));
            const QString played = plays.text(p, u"Num_normal"_s).trimmed();
            const QString lottery = plays.text(p, u"desc_loteria"_s).trimmed();
            if (plays.text(p, u"Tipo_jugada"_s).trimmed() == u"1"_s) {
                lines << u"    "_s + played + u" "_s + lottery + u"\t\t"_s + prize.display();
            } else {
                lines << played + u" "_s + plays.text(p, u"LETRAS"_s).trimmed() + u" "_s + lottery +
                             u"\t"_s + prize.display();
            }
            add(prize, isPaid);
        }
    }
    lines << report::kWideRule << u"Total premios: \t"_s + total.display() << report::kRule
          << u"Pagados: \t"_s + paid.display() << u"Por pagar: \t"_s + unpaid.display()
          << report::kRule;
    return lines;
}

}  // namespace vendura::prize_report
