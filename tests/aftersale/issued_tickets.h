#pragma once

#include "platform/pq_gateway.h"
#include "test_database.h"

#include <libpq-fe.h>

#include <memory>
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
// a vendor's user on a day, with its serial and items, paid for the days the vendor has now.
// Answers its ten-digit number.
inline QString issueTicket(const TestDatabase& db, const QString& number, const QString& serial,
                           const QString& day, const std::vector<SoldItem>& items,
                           const QString& vendor = u"00012"_s, const QString& user = u"1001"_s,
                           const QString& time = u"09:30"_s) {
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
                  i.variante.isEmpty() ? u"Normal"_s : u"Especial"_s, i.variante});
    }
    db.admin(QStringLiteral(
                 "INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, "
                 "serial, fecha, hora, monto, dias_caduca) SELECT $1::varchar, $2::varchar, $3, "
                 "$4::bigint, $5::date, $6::time, sum(i.monto_vendido), (SELECT "
                 "v.dias_caduca FROM central.vendedores v WHERE v.cod_vendedor = $2) "
                 "FROM central.items_ticket i WHERE i.nticket = $1::varchar"),
             {n, vendor, user, serial, day, time});
    // a ticket written after its draws' results gets its prizes as entering them stores them
    db.admin(QStringLiteral("SELECT central.premiar_sorteo(r.cod_lot, r.fecha) FROM "
                            "central.resultados r WHERE (r.cod_lot, r.fecha) IN (SELECT "
                            "i.cod_lot, i.fecha_sorteo FROM central.items_ticket i WHERE "
                            "i.nticket = $1)"),
             {n});
    return n;
}

// The same with the items as text, "lottery number amount", a special play with its variant
// after the amount, apart by ';': "AAA 123 2; AAA 777 0.5 1".
inline QString issueTicket(const TestDatabase& db, const QString& number, const QString& serial,
                           const QString& day, const QString& items,
                           const QString& vendor = u"00012"_s, const QString& user = u"1001"_s,
                           const QString& time = u"09:30"_s) {
    std::vector<SoldItem> sold;
    for (const QString& text : items.split(u';')) {
        const QStringList i = text.simplified().split(u' ');
        sold.push_back({i[0], i[1], i[2], i.size() > 3 ? u"2"_s : u"1"_s, i.value(3)});
    }
    return issueTicket(db, number, serial, day, sold, vendor, user, time);
}

// The payout table of the tests on lotteries AAA and BBB, in force for everything sold: triple
// 600, second 100, third 50, terminal 60, digit 6, special variant "1" 1000.
inline void seedPayouts(const TestDatabase& db) {
    db.admin(QStringLiteral(
        "INSERT INTO central.tabla_pagos (cod_lot, tipo, variante, multiplicador) SELECT "
        "l.cod_lot, p.k, p.v, p.m FROM central.loterias l CROSS JOIN (VALUES ('TRIPLE', '', 600), "
        "('SEGUNDO', '', 100), ('TERCERO', '', 50), ('TERMINAL', '', 60), ('DIGITO', '', 6), "
        "('ESPECIAL', '1', 1000)) AS p (k, v, m)"));
}

// Results of a draw entered as the central office enters them, by two people: "triple second
// third special", "-" for a prize not drawn ("123 - - 777").
inline void enterResult(const TestDatabase& db, const QString& lot, const QString& day,
                        const QString& prizes) {
    QStringList p = prizes.split(u' ');
    while (p.size() < 4) p << u"-"_s;
    db.asAdminByTwo(
        QStringLiteral("SELECT admin.registrar_resultado($1, $2::date, $3, nullif($4, '-'), "
                       "nullif($5, '-'), nullif($6, '-'))"),
        {lot, day, p[0], p[1], p[2], p[3]});
}

// Issues a ticket a counter has open, as the counter issues it; answers xgrabtick's code.
inline int saveTicket(DatabaseGateway& counter, const QString& ticket, const QString& serial,
                      const QString& amount) {
    auto answer = counter.callPositional(
        u"xgrabtick"_s,
        {u"00012"_s, u"1001"_s, serial, {}, {}, u"ACT"_s, amount, u"N"_s, ticket, ticket});
    return answer ? answer.value().returnNumber() : -1;
}

// A plain connection to the test database under a login, for what no counter can send: a
// transaction held open, a call of the central office's functions.
using RawConnection = std::unique_ptr<PGconn, void (*)(PGconn*)>;
inline RawConnection connectAs(const TestDatabase& db, const QString& user,
                               const QString& password = QString()) {
    const QByteArray text =
        u"host=%1 port=%2 dbname=%3 user=%4 password='%5'"_s.arg(Cluster::get().socket)
            .arg(Cluster::get().port)
            .arg(db.name(), user, password)
            .toUtf8();
    return {PQconnectdb(text.constData()), PQfinish};
}

// The SQLSTATE of a statement, "" when it ran.
inline QString sqlState(PGconn* conn, const QString& sql) {
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const QString out = state ? QString::fromLatin1(state) : QString();
    PQclear(r);
    return out;
}

}  // namespace vendura::test
