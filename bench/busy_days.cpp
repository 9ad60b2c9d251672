#include "busy_days.h"

#include "bench_run.h"

namespace vendura::bench {

void openBusyNetwork(const test::TestDatabase& db, const QDate& lastDay) {
    db.seedVendor();
    db.seedLotteries();
    for (const QString& code : {u"CCC"_s, u"DDD"_s, u"EEE"_s, u"FFF"_s, u"GGG"_s, u"HHH"_s}) {
        db.addLottery(code, u"LOTERIA "_s + code, u"23:00"_s);
    }
    db.setClock(lastDay.addDays(1).toString(Qt::ISODate) + u" 10:00:00"_s);
    db.admin(
        u"INSERT INTO central.tabla_pagos (cod_lot, tipo, multiplicador) SELECT l.cod_lot, "
        u"p.k, p.m FROM central.loterias l CROSS JOIN (VALUES ('TRIPLE', 600), "
        u"('TERMINAL', 60), ('DIGITO', 6)) p(k, m)"_s);
    db.admin(u"SELECT admin.fijar_comision('00012', 12)"_s);
    // which sales point sold the day's ticket g, and through which seller
    for (const auto& [name, busy, prefix] :
         {std::tuple{u"vendedor_del_ticket"_s, u"00012"_s, u"R"_s},
          std::tuple{u"usuario_del_ticket"_s, u"1001"_s, u"Q"_s}}) {
        db.admin(
            u"CREATE FUNCTION public.%1(g integer, ocupado integer, puntos integer) RETURNS "
            u"varchar IMMUTABLE LANGUAGE sql AS $$ SELECT CASE WHEN g <= ocupado THEN '%2' "
            u"ELSE '%3' || lpad(((g - ocupado) % puntos)::text, 4, '0') END $$"_s.arg(name, busy,
                                                                                      prefix));
    }
}

QString networkPoint(int p) {
    return u"R%1"_s.arg(p, 4, 10, QChar(u'0'));
}

QString networkSeller(int p) {
    return u"Q%1"_s.arg(p, 4, 10, QChar(u'0'));
}

namespace {
// The day's results, the prizes entering them stores, and half of 00012's winners paid.
void loadDraws(const test::TestDatabase& db, const QString& day) {
    const QStringList p{day};
    db.admin(
        u"INSERT INTO central.resultados (cod_lot, fecha, triple) SELECT l.cod_lot, $1::date, "
        u"lpad((('x' || substr(md5(l.cod_lot || $1), 1, 7))::bit(28)::int % 1000)::text, 3, "
        u"'0') FROM central.loterias l"_s,
        {p[0]});
    // the prizes, as entering the results stores them
    db.admin(u"SELECT central.premiar_sorteo(l.cod_lot, $1::date) FROM central.loterias l"_s,
             {p[0]});
    db.admin(
        u"INSERT INTO central.pagos (nroticket, cod_vendedor, cod_usuario, monto, pagado) "
        u"SELECT g.nroticket, '00012', '1001', sum(g.premio), $1::date + time '18:00' "
        u"FROM central.items_ganadores('00012', $1::date, $1::date) g "
        u"WHERE right(g.nroticket, 1)::int % 2 = 0 GROUP BY g.nroticket"_s,
        {p[0]});
}
}  // namespace

void loadDay(const test::TestDatabase& db, const QDate& day, qint64 firstTicket,
             const DaySales& sales) {
    const QStringList p{day.toString(Qt::ISODate), QString::number(sales.busy + sales.network),
                        QString::number(firstTicket), QString::number(sales.busy),
                        QString::number(std::max(sales.points, 1))};
    db.admin(
        u"INSERT INTO central.tickets_temporales (nticket, cod_vendedor, creado, estado) "
        u"SELECT lpad(($3::bigint + g)::text, 10, '0'), vendedor_del_ticket(g, $4::int, "
        u"$5::int), $1::date + time '08:00', 'EMI' FROM generate_series(1, $2::int) g"_s,
        p);
    db.admin(
        u"INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, cod_usuario, "
        u"cod_lot, fecha_sorteo, numero, monto_pedido, monto_vendido, status, tipo, jugada) "
        u"SELECT lpad(($3::bigint + g)::text, 10, '0'), x.k, vendedor_del_ticket(g, $4::int, "
        u"$5::int), usuario_del_ticket(g, $4::int, $5::int), "
        u"(ARRAY['AAA','BBB','CCC','DDD','EEE','FFF','GGG','HHH'])[1 + x.h % 8], "
        u"$1::date, CASE x.k WHEN 1 THEN lpad((x.h / 8 % 1000)::text, 3, '0') "
        u"ELSE lpad((x.h / 8 % 100)::text, 2, '0') || '*' END, x.monto, x.monto, '0', '1', "
        u"'Normal' FROM generate_series(1, $2::int) g CROSS JOIN LATERAL (SELECT k, "
        u"('x' || substr(md5(g || '-' || k || '-' || $1), 1, 7))::bit(28)::int AS h, "
        u"CASE k WHEN 1 THEN 1 + g % 20 ELSE 1 + g % 5 END::numeric AS monto "
        u"FROM (VALUES (1), (2)) v(k)) x"_s,
        p);
    db.admin(
        u"INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, fecha, "
        u"hora, monto, estado, anulado, anulado_en) SELECT lpad(($3::bigint + g)::text, 10, "
        u"'0'), vendedor_del_ticket(g, $4::int, $5::int), usuario_del_ticket(g, $4::int, "
        u"$5::int), g, $1::date, time '08:00' + g * interval '0.3 s', (1 + g % 20) + "
        u"(1 + g % 5), CASE WHEN g % 100 = 0 THEN 'ELI' ELSE 'ACT' END, CASE WHEN g % 100 = 0 "
        u"THEN 'S' ELSE 'N' END, CASE WHEN g % 100 = 0 THEN $1::date + time '08:05' END "
        u"FROM generate_series(1, $2::int) g"_s,
        p);
    // the numbers' sold quota, as booking keeps it: the network's monitor reads it
    db.admin(
        u"INSERT INTO central.ventas_numero (cod_lot, fecha, numero, vendido) SELECT "
        u"cod_lot, fecha_sorteo, numero, sum(monto_vendido) FROM central.items_ticket "
        u"WHERE fecha_sorteo = $1::date AND vigente GROUP BY 1, 2, 3"_s,
        {p[0]});
    if (sales.drawn) loadDraws(db, p[0]);
}

void checkDaysLoaded(const test::TestDatabase& db, qint64 tickets, const QDate& since) {
    check(db.value(u"SELECT count(*) FROM central.tickets"_s) == QString::number(tickets),
          "not every ticket was loaded");
    check(db.value(u"SELECT count(*) FROM central.items_ticket"_s) == QString::number(2 * tickets),
          "not every item was loaded");
    check(db.value(u"SELECT count(*) FROM (SELECT t.cod_vendedor, t.fecha, i.cod_lot, i.tipo, "
                   u"sum(i.monto_vendido) AS v FROM central.tickets t JOIN central.items_ticket "
                   u"i ON i.nticket = t.nroticket WHERE t.estado = 'ACT' AND t.fecha >= $1 "
                   u"GROUP BY 1, 2, 3, 4) x FULL JOIN (SELECT * FROM central.juego_dia "
                   u"WHERE fecha >= $1) d USING (cod_vendedor, fecha, cod_lot, tipo) "
                   u"WHERE x.v IS DISTINCT FROM d.venta OR d.premios <> (SELECT "
                   u"coalesce(sum(p.premio), 0) FROM central.premios p WHERE p.fecha = d.fecha "
                   u"AND p.cod_lot = d.cod_lot AND p.tipo = d.tipo "
                   u"AND p.cod_vendedor = d.cod_vendedor)"_s,
                   {since.toString(Qt::ISODate)}) == u"0"_s,
          "the days' play differs from their items and prizes");
    check(db.value(u"SELECT count(*) > 0 FROM central.premios"_s) == u"t"_s, "no prize was stored");
}

}  // namespace vendura::bench
