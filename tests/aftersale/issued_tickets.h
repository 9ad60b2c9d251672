#pragma once

#include "test_database.h"

#include <vector>

namespace vendura::test {

// One sold item of a ticket made for a test: lottery, number as the ticket shows it, amount
// sold (Bs.F.), kind ("1" straight, "2" special) and the special's variant.
struct SoldItem {
    QString lot;
    QString numero;
    QString monto;
    QString tipo = QStringLiteral("1");
    QString variante = QString();
};

// An issued ticket written straight into the test database, as xgrabtick leaves one: sold by
// a vendor's user on a day, with its serial and items. Answers its ten-digit number.
inline QString issueTicket(const TestDatabase& db, const QString& number, const QString& serial,
                           const QString& day, const std::vector<SoldItem>& items,
                           const QString& vendor = QStringLiteral("00012"),
                           const QString& user = QStringLiteral("1001")) {
    const QString n = number.rightJustified(10, u'0');
    db.admin(QStringLiteral("INSERT INTO central.tickets_temporales (nticket, cod_vendedor, "
                            "creado, estado) VALUES ($1, $2, $3::date + time '09:30', 'EMI')"),
             {n, vendor, day});
    int item = 0;
    for (const SoldItem& i : items) {
        db.admin(QStringLiteral(
                     "INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, "
                     "cod_usuario, cod_lot, fecha_sorteo, numero, monto_pedido, monto_vendido, "
                     "status, tipo, jugada, variante) VALUES ($1, $2::int, $3, $4, $5, $6::date, "
                     "$7, $8::numeric, $8::numeric, '0', $9, $10, nullif($11, ''))"),
                 {n, QString::number(++item), vendor, user, i.lot, day, i.numero, i.monto, i.tipo,
                  i.variante.isEmpty() ? QStringLiteral("Normal") : QStringLiteral("Especial"),
                  i.variante});
    }
    db.admin(QStringLiteral("INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, "
                            "serial, fecha, hora, monto) SELECT $1::varchar, $2, $3, $4::bigint, "
                            "$5::date, '09:30', sum(i.monto_vendido) FROM central.items_ticket i "
                            "WHERE i.nticket = $1::varchar"),
             {n, vendor, user, serial, day});
    return n;
}

// The payout table of the tests on lotteries AAA and BBB: triple 600, second 100, third 50,
// terminal 60, digit 6, special variant "1" 1000.
inline void seedPayouts(const TestDatabase& db) {
    for (const auto& [kind, multiplier] : std::vector<std::pair<QString, QString>>{
             {QStringLiteral("TRIPLE"), QStringLiteral("600")},
             {QStringLiteral("SEGUNDO"), QStringLiteral("100")},
             {QStringLiteral("TERCERO"), QStringLiteral("50")},
             {QStringLiteral("TERMINAL"), QStringLiteral("60")},
             {QStringLiteral("DIGITO"), QStringLiteral("6")}}) {
        db.admin(QStringLiteral("SELECT admin.fijar_pago('*', $1, $2::numeric)"),
                 {kind, multiplier});
    }
    db.admin(QStringLiteral("SELECT admin.fijar_pago('*', 'ESPECIAL', 1000, '1')"));
}

// Results of a draw entered as the central office enters them.
inline void enterResult(const TestDatabase& db, const QString& lot, const QString& day,
                        const QString& triple, const QString& segundo = QString(),
                        const QString& tercero = QString(), const QString& especial = QString()) {
    auto orNull = [](const QString& v) {
        return v.isEmpty() ? QStringLiteral("NULL") : QString(v);
    };
    db.admin(QStringLiteral("SELECT admin.registrar_resultado($1, $2::date, $3, "
                            "nullif($4, 'NULL'), nullif($5, 'NULL'), nullif($6, 'NULL'))"),
             {lot, day, triple, orNull(segundo), orNull(tercero), orNull(especial)});
}

}  // namespace vendura::test
