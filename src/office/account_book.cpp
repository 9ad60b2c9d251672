#include "office/account_book.h"

#include "office/input.h"

namespace vendura::office {
namespace {
// The statement's lines of a row of admin.estado_cuenta or admin.estados_del_dia.
StatementLines statementOf(const RecordSet& rows, int row) {
    static const std::pair<const char*, const char*> lines[] = {
        {"Última liquidación", "ultima"},
        {"Deuda", "deuda"},
        {"Cuenta del día", "cuenta"},
        {"Movimientos", "movimiento"},
        {"Depósitos", "deposito"},
        {"Saldo de jugada", "total"},
        {"Saldo de préstamos", "saldo_prestamo"},
        {"Saldo general", "total_general"},
        {"Por confirmar", "por_confirmar"}};
    StatementLines statement;
    for (const auto& [label, field] : lines) {
        const QString value = rows.text(row, QString::fromLatin1(field));
        statement.emplace_back(QString::fromUtf8(label), value.isEmpty() ? u"-"_s : value);
    }
    return statement;
}

}  // namespace

Result<StatementLines> readStatement(AdminLink& link, const QString& vendor, const QString& day) {
    if (!day.trimmed().isEmpty()) {
        auto checked = isoDate(day.trimmed());
        if (!checked) return checked.error();
    }
    auto rows = link.call(u"estado_cuenta"_s, {vendor.trimmed(), orNull(day.trimmed())});
    if (!rows) return rows.error();
    return statementOf(rows.value(), 0);
}

Result<std::vector<Deposit>> deposits(AdminLink& link, const QString& vendor, const QString& from,
                                      const QString& to) {
    auto since = isoDate(from.trimmed());
    if (!since) return since.error();
    auto until = isoDate(to.trimmed());
    if (!until) return until.error();
    auto rows = link.call(u"depositos"_s, {orNull(vendor.trimmed()), since.value(), until.value()});
    if (!rows) return rows.error();
    const RecordSet& r = rows.value();
    std::vector<Deposit> found;
    for (int i = 0; i < r.size(); ++i) {
        found.push_back({r.text(i, u"id"_s), r.text(i, u"cod_vendedor"_s), r.text(i, u"fecha"_s),
                         r.text(i, u"monto"_s), r.text(i, u"referencia"_s),
                         r.text(i, u"liquidado"_s) == u"t"_s});
    }
    return found;
}

QString shownValue(const QString& value) {
    const auto amount = Money::parse(value);
    return amount ? amount.value().display() : value;
}

Result<std::vector<PointStatement>> statementsOfDay(AdminLink& link, const QString& day) {
    auto checked = isoDate(day.trimmed());
    if (!checked) return checked.error();
    auto rows = link.call(u"estados_del_dia"_s, {checked.value()});
    if (!rows) return rows.error();
    std::vector<PointStatement> statements;
    for (int i = 0; i < rows.value().size(); ++i) {
        statements.push_back({rows.value().text(i, u"cod_vendedor"_s),
                              rows.value().text(i, u"nombre"_s),
                              rows.value().text(i, u"liquidado"_s), statementOf(rows.value(), i)});
    }
    return statements;
}

Result<std::vector<PendingMovement>> pendingMovements(AdminLink& link, const QString& vendor) {
    auto rows = link.call(u"movimientos_pendientes"_s, {orNull(vendor.trimmed())});
    if (!rows) return rows.error();
    const RecordSet& r = rows.value();
    std::vector<PendingMovement> pending;
    for (int i = 0; i < r.size(); ++i) {
        pending.push_back({r.text(i, u"cod_vendedor"_s), r.text(i, u"nrogasto"_s),
                           r.text(i, u"fecha"_s), r.text(i, u"monto"_s),
                           r.text(i, u"descripcion"_s), r.text(i, u"observacion"_s)});
    }
    return pending;
}

namespace {
Result<std::vector<Payout>> payouts(AdminLink& link, const QString& function,
                                    const QString& lottery) {
    auto rows = link.call(function, {orNull(lottery.trimmed().toUpper())});
    if (!rows) return rows.error();
    const RecordSet& r = rows.value();
    std::vector<Payout> table;
    for (int i = 0; i < r.size(); ++i) {
        table.push_back({r.text(i, u"cod_lot"_s), r.text(i, u"tipo"_s), r.text(i, u"variante"_s),
                         r.text(i, u"multiplicador"_s), r.text(i, u"desde"_s).left(19),
                         r.text(i, u"hasta"_s).left(19)});
    }
    return table;
}
}  // namespace

Result<std::vector<Payout>> payoutTable(AdminLink& link, const QString& lottery) {
    return payouts(link, u"tabla_pagos"_s, lottery);
}

Result<std::vector<Payout>> payoutHistory(AdminLink& link, const QString& lottery) {
    return payouts(link, u"historia_pagos"_s, lottery);
}

}  // namespace vendura::office
