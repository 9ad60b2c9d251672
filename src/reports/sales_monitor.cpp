#include "reports/sales_monitor.h"

#include "reports/report_frame.h"
#include "session/text.h"

namespace vendura::sales_monitor {
namespace {

constexpr int kEntryWidth = 22;

}  // namespace

QString kindName(Kind kind) {
    return kind == Kind::General ? u"GENERAL"_s : u"DETALLADO"_s;
}

ProcedureCall listing(Kind kind, const QString& lottery, const QString& vendor, const QDate& day) {
    ProcedureCall c{u"dspacumu"_s, {}};
    c.in(u"@xmodo"_s, kindName(kind), 10)
        .in(u"@xcod_lot"_s, lottery, 3)
        .in(u"@xcodigo_vend"_s, vendor, 5)
        .in(u"@xfecha"_s, report::dateText(day), 10);
    return c;
}

ProcedureCall single(const QString& lottery, const QString& vendor, const QDate& day,
                     const QString& number) {
    ProcedureCall c{u"sumacumu"_s, {}};
    c.in(u"@xcod_lot"_s, lottery, 3)
        .in(u"@xcodigo_vend"_s, vendor, 5)
        .in(u"@xfecha"_s, report::dateText(day), 10)
        .in(u"@xnumero"_s, number, 3);
    return c;
}

std::vector<Entry> entries(const RecordSet& rows) {
    std::vector<Entry> out;
    out.reserve(size_t(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QString number = rows.text(r, u"Numero_normal"_s).trimmed();
        Money amount = report::amountOf(
            rows.value(r, number.size() == 1 ? u"Monto_Digito"_s : u"Monto_Normal"_s));
        amount += report::amountOf(rows.value(r, u"Montoespecial"_s));
        out.push_back({markNumber(number), amount});
    }
    return out;
}

Money total(const std::vector<Entry>& entries) {
    Money sum;
    for (const Entry& e : entries) sum += e.amount;
    return sum;
}

QStringList lines(const std::vector<Entry>& entries, int columns) {
    columns = qMax(1, columns);
    QStringList out;
    QString line;
    for (size_t i = 0; i < entries.size(); ++i) {
        const QString entry = entries[i].number + u" -> "_s + entries[i].amount.display();
        const bool last = (i + 1) % size_t(columns) == 0 || i + 1 == entries.size();
        line += last ? entry : entry.leftJustified(kEntryWidth) + u" "_s;
        if (last) {
            out << line;
            line.clear();
        }
    }
    return out;
}

QStringList numberBlock(const QString& number, const FieldValue& sumat) {
    return {u"<<<< Consulta sobre el Numero :"_s + number + u" >>>>"_s,
            u"Total Bs.: "_s + report::amountText(sumat),
            u"-----------------------------------------------------------"_s};
}

QString countdownText(int seconds) {
    return u"Actualizando Los Acumulados en Aproximadamente "_s + QString::number(seconds) +
           u" Segundos"_s;
}

std::optional<int> positiveNumber(const QString& text, int most) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n <= 0 || n > most) return std::nullopt;
    return n;
}

}  // namespace vendura::sales_monitor
