#include "reports/final_report.h"

#include "reports/report_frame.h"
#include "session/session.h"

namespace vendura::final_report {
namespace {

struct Sums {
    Money sales, commission, prizes, balance;

    void add(const RecordSet& rows, int r) {
        sales += report::amountOf(rows.value(r, u"total_venta"_s));
        commission += report::amountOf(rows.value(r, u"comision"_s));
        prizes += report::amountOf(rows.value(r, u"premios"_s));
        balance += report::amountOf(rows.value(r, u"subtotal"_s));
    }
};

// "Total venta:", "Comisión Bs.:", "Premios Bs.:", "Saldo Bs.:" with two tabs before each
// amount.
QStringList amountBlock(const Money& sales, const Money& commission, const Money& prizes,
                        const Money& balance) {
    return {u"Total venta: \t\t"_s + sales.display(),
            u"Comisión Bs.: \t\t"_s + commission.display(),
            u"Premios Bs.: \t\t"_s + prizes.display(), u"Saldo Bs.: \t\t"_s + balance.display()};
}

QString period(const QDate& from, const QDate& to) {
    return u"Desde : "_s + report::dateText(from) + u"  Hasta: "_s + report::dateText(to);
}

}  // namespace

const QStringList& kindEntries() {
    static const QStringList entries{u"Resumido"_s, u"Detallado"_s, u"Loterias"_s};
    return entries;
}

std::optional<Kind> kindOf(const QString& entry) {
    switch (kindEntries().indexOf(entry)) {
        case 0:
            return Kind::Resumido;
        case 1:
            return Kind::Detallado;
        case 2:
            return Kind::Loterias;
        default:
            return std::nullopt;
    }
}

ProcedureCall call(Kind kind, const QString& vendor, const QDate& from, const QDate& to) {
    ProcedureCall c{u"RPTRFINAL"_s, {}};
    c.in(u"@xmodo"_s, kind == Kind::Loterias ? u"5"_s : u"1"_s, 1)
        .in(u"@xcodigo_vend"_s, vendor, 5)
        .in(u"@xfechadesde"_s, report::dateText(from), 10)
        .in(u"@xfechahasta"_s, report::dateText(to), 10);
    return c;
}

QMap<QString, QString> lotteryNames(const RecordSet& lotteries) {
    QMap<QString, QString> names;
    for (int r = 0; r < lotteries.size(); ++r) {
        names.insert(lotteries.text(r, u"COD_LOT"_s).trimmed(),
                     lotteries.text(r, u"desc_lot"_s).trimmed());
    }
    return names;
}

QStringList compose(const Session& s, Kind kind, const QDate& from, const QDate& to,
                    const RecordSet& rows, const QMap<QString, QString>& names) {
    const QString title = kind == Kind::Loterias ? u"Reporte Relación Final por Loterias"_s
                                                 : u"Reporte Relación Final"_s;
    QStringList lines = report::header(s, title, report::dateText(from));
    if (kind == Kind::Resumido || (kind == Kind::Loterias && from != to)) {
        lines << period(from, to) << report::kRule;
    }
    Sums sums;
    if (kind == Kind::Loterias) {
        lines << u"Tip.\tVenta\tComi.\tPrem.\tSubtot"_s;
        QString previous;
        for (int r = 0; r < rows.size(); ++r) {
            const QString lot = rows.text(r, u"COD_LOT"_s).trimmed();
            if (lot != previous && report::amountOf(rows.value(r, u"total_venta"_s)).isPositive()) {
                lines << lot + u" - "_s + names.value(lot);
            }
            previous = lot;
            lines << rows.text(r, u"Tipo_jugada"_s).trimmed() + u"\t"_s +
                         report::amountText(rows.value(r, u"total_venta"_s)) + u"\t"_s +
                         report::amountText(rows.value(r, u"comision"_s)) + u"\t"_s +
                         report::amountText(rows.value(r, u"premios"_s)) + u"\t"_s +
                         report::amountText(rows.value(r, u"subtotal"_s));
            sums.add(rows, r);
        }
    } else {
        for (int r = 0; r < rows.size(); ++r) {
            if (kind == Kind::Detallado) {
                lines << u"Fecha: \t\t"_s + rows.text(r, u"fecha"_s).trimmed()
                      << amountBlock(report::amountOf(rows.value(r, u"total_venta"_s)),
                                     report::amountOf(rows.value(r, u"comision"_s)),
                                     report::amountOf(rows.value(r, u"premios"_s)),
                                     report::amountOf(rows.value(r, u"subtotal"_s)))
                      << report::kRule;
            }
            sums.add(rows, r);
        }
    }
    lines << report::kRule << amountBlock(sums.sales, sums.commission, sums.prizes, sums.balance)
          << report::kRule;
    return lines;
}

}  // namespace vendura::final_report
