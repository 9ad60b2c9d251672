// A year of a busy network: 200 sales points selling 30,000 tickets a day between them and one
// busy sales point selling 10,000 (two plays each, on eight lotteries), every draw with its
// results and stored prizes, the busy point's winners half paid and its account settled a month
// before the last day (VENDURA_BENCH_DAYS, VENDURA_BENCH_TICKETS_PER_DAY and
// VENDURA_BENCH_NETWORK_TICKETS_PER_DAY change the volume). Figures: booking at eight terminals
// on it and on an empty database of the same cluster in the same run, and every report of the
// busy point's last day and month, each the procedure's answer plus the composition of its lines.
#include "bench_run.h"
#include "booking_load.h"
#include "busy_reports.h"
#include "test_database.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>

using namespace vendura;
using namespace vendura::test;

namespace {

const QDate kLastDay(2026, 12, 7);
const int kPoints = bench::sized(200, 4);

int setting(const char* name, int fallback) {
    const int v = qEnvironmentVariableIntValue(name);
    return v > 0 ? v : fallback;
}

// The lotteries, payouts and sales points a network sells with, the clock the morning after its
// last day, and the eight booking terminals: the same in the year's database and the empty one.
void openNetwork(const TestDatabase& db) {
    db.seedVendor();
    db.seedLotteries();
    for (const QString& code : {u"CCC"_s, u"DDD"_s, u"EEE"_s, u"FFF"_s, u"GGG"_s, u"HHH"_s}) {
        db.addLottery(code, u"LOTERIA "_s + code, u"23:00"_s);
    }
    db.setClock(kLastDay.addDays(1).toString(Qt::ISODate) + u" 10:00:00"_s);
    db.admin(
        u"INSERT INTO central.tabla_pagos (cod_lot, tipo, multiplicador) SELECT l.cod_lot, "
        u"p.k, p.m FROM central.loterias l CROSS JOIN (VALUES ('TRIPLE', 600), "
        u"('TERMINAL', 60), ('DIGITO', 6)) p(k, m)"_s);
    db.admin(u"SELECT admin.fijar_comision('00012', 12)"_s);
    bench::addBookingTerminals(db, 8);
}

struct YearOfNetwork {
    TestDatabase db;
    std::optional<bench::ReportReader> reader;
    int days = setting("VENDURA_BENCH_DAYS", bench::sized(365, 3));
    int busyPerDay = setting("VENDURA_BENCH_TICKETS_PER_DAY", bench::sized(10000, 40));
    int networkPerDay = setting("VENDURA_BENCH_NETWORK_TICKETS_PER_DAY", bench::sized(30000, 60));

    YearOfNetwork() {
        QElapsedTimer seeding;
        seeding.start();
        openNetwork(db);
        for (int p = 0; p < kPoints; ++p) db.addVendor(point(p), user(p));
        // which sales point sold the day's ticket g, and through which user
        db.admin(
            u"CREATE FUNCTION public.vendedor_del_ticket(g integer, ocupado integer, puntos "
            u"integer) RETURNS varchar IMMUTABLE LANGUAGE sql AS $$ SELECT CASE WHEN g <= "
            u"ocupado THEN '00012' ELSE 'R' || lpad(((g - ocupado) % puntos)::text, 4, '0') "
            u"END $$"_s);
        db.admin(
            u"CREATE FUNCTION public.usuario_del_ticket(g integer, ocupado integer, puntos "
            u"integer) RETURNS varchar IMMUTABLE LANGUAGE sql AS $$ SELECT CASE WHEN g <= "
            u"ocupado THEN '1001' ELSE 'Q' || lpad(((g - ocupado) % puntos)::text, 4, '0') "
            u"END $$"_s);
        for (int d = days - 1; d >= 0; --d) seedDay(kLastDay.addDays(-d), days - 1 - d);
        const double loaded = double(seeding.elapsed()) / 1000;
        // the busy point's account settled up to a month before the last day, the network's
        // expired prizes posted as the scheduler's hourly job leaves them
        if (days > 31) {
            db.admin(u"SELECT admin.liquidar('00012', $1::date)"_s,
                     {kLastDay.addDays(-31).toString(Qt::ISODate)});
        }
        db.admin(u"SELECT central.asentar_caducados_red()"_s);
        db.admin(u"VACUUM ANALYZE"_s);
        // the load's own checkpoint is not the booking's to pay for
        db.admin(u"CHECKPOINT"_s);
        checkLoaded();
        std::printf(
            "seeded %d days of %d + %d tickets (%s items) in %.0f s, settled, posted and "
            "vacuumed in %.0f s more; database %s\n",
            days, busyPerDay, networkPerDay,
            qPrintable(db.value(u"SELECT count(*) FROM central.items_ticket"_s)), loaded,
            double(seeding.elapsed()) / 1000 - loaded,
            qPrintable(db.value(u"SELECT pg_size_pretty(pg_database_size(current_database()))"_s)));
        reader.emplace(db, u"00012"_s, u"1001"_s);
    }

    static QString point(int p) { return u"R%1"_s.arg(p, 4, 10, QChar(u'0')); }
    static QString user(int p) { return u"Q%1"_s.arg(p, 4, 10, QChar(u'0')); }

    // The day's tickets of two items each (a triple and a terminal on lotteries and numbers
    // spread by the ticket's number; one in a hundred cancelled), the draws' results and their
    // stored prizes, half the busy point's winners paid, the monitor's accumulation as the
    // bookings would have left it.
    void seedDay(const QDate& day, int index) {
        const int perDay = busyPerDay + networkPerDay;
        const QStringList p{day.toString(Qt::ISODate), QString::number(perDay),
                            QString::number(qint64(index) * perDay), QString::number(busyPerDay),
                            QString::number(kPoints)};
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
        db.admin(
            u"INSERT INTO central.resultados (cod_lot, fecha, triple) SELECT l.cod_lot, $1::date, "
            u"lpad((('x' || substr(md5(l.cod_lot || $1), 1, 7))::bit(28)::int % 1000)::text, 3, "
            u"'0') FROM central.loterias l"_s,
            {p[0]});
        db.admin(u"SELECT central.premiar_sorteo(l.cod_lot, $1::date) FROM central.loterias l"_s,
                 {p[0]});
        db.admin(
            u"INSERT INTO central.pagos (nroticket, cod_vendedor, cod_usuario, monto, pagado) "
            u"SELECT g.nroticket, '00012', '1001', sum(g.premio), $1::date + time '18:00' "
            u"FROM central.items_ganadores('00012', $1::date, $1::date) g "
            u"WHERE right(g.nroticket, 1)::int % 2 = 0 GROUP BY g.nroticket"_s,
            {p[0]});
        db.admin(
            u"INSERT INTO central.acumulados (cod_lot, fecha, cod_vendedor, numero, monto_normal) "
            u"SELECT cod_lot, fecha_sorteo, cod_vendedor, rtrim(numero, '*'), sum(monto_vendido) "
            u"FROM central.items_ticket WHERE fecha_sorteo = $1::date GROUP BY 1, 2, 3, 4"_s,
            {p[0]});
    }

    // Every day holds its tickets and their two items, the last days' play as issuing keeps it
    // equals their items, and there are prizes to report.
    void checkLoaded() {
        const qint64 tickets = qint64(busyPerDay + networkPerDay) * days;
        bench::check(
            db.value(u"SELECT count(*) FROM central.tickets"_s) == QString::number(tickets),
            "not every ticket was loaded");
        bench::check(db.value(u"SELECT count(*) FROM central.items_ticket"_s) ==
                         QString::number(2 * tickets),
                     "not every item was loaded");
        bench::check(
            db.value(u"SELECT count(*) FROM (SELECT t.cod_vendedor, t.fecha, i.cod_lot, i.tipo, "
                     u"sum(i.monto_vendido) AS v FROM central.tickets t JOIN central.items_ticket "
                     u"i ON i.nticket = t.nroticket WHERE t.estado = 'ACT' AND t.fecha >= $1 "
                     u"GROUP BY 1, 2, 3, 4) x FULL JOIN (SELECT * FROM central.juego_dia "
                     u"WHERE fecha >= $1) d USING (cod_vendedor, fecha, cod_lot, tipo) "
                     u"WHERE x.v IS DISTINCT FROM d.venta"_s,
                     {kLastDay.addDays(-1).toString(Qt::ISODate)}) == u"0"_s,
            "the last days' play differs from their items");
        bench::check(db.value(u"SELECT count(*) > 0 FROM central.premios"_s) == u"t"_s,
                     "no prize was stored");
    }
};

YearOfNetwork& year() {
    static YearOfNetwork seeded;
    return seeded;
}

void report(benchmark::State& state, const std::function<QStringList()>& compose) {
    year();
    qsizetype lines = 0;
    for (auto _ : state) lines = compose().size();
    state.counters["lines"] = double(lines);
}

// Eight terminals booking on an empty database and on the year's, same cluster, same run: what
// a year of data costs a play.
void BM_Booking8(benchmark::State& state, bool withYear) {
    std::optional<TestDatabase> empty;
    if (!withYear) openNetwork(empty.emplace());
    const TestDatabase& db = withYear ? year().db : *empty;
    bench::BookingFigures f;
    for (auto _ : state) f = bench::bookForAWhile(db, 8, bench::sized(10, 1));
    state.counters["plays_per_s"] = f.playsPerSecond;
    state.counters["p99_ms"] = f.p99Ms;
}
// the empty database first, before the year's is loaded beside it
BENCHMARK_CAPTURE(BM_Booking8, EmptyDatabase, false)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Booking8, YearOfData, true)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_PrizeReport(benchmark::State& state) {
    const QDate from = kLastDay.addDays(-state.range(0) + 1);
    report(state, [&] { return year().reader->prizeReport(from, kLastDay, state.range(1) == 1); });
}
// days, detailed
BENCHMARK(BM_PrizeReport)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({30, 0})
    ->Args({30, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(3, 1));

void BM_SalesReport(benchmark::State& state) {
    report(state, [&] { return year().reader->salesReport(kLastDay); });
}
BENCHMARK(BM_SalesReport)->Unit(benchmark::kMillisecond)->Iterations(bench::sized(3, 1));

void BM_FinalReport(benchmark::State& state) {
    report(state, [&] {
        return year().reader->finalReport(final_report::Kind(state.range(0)), kLastDay);
    });
}
// Resumido, Detallado, Loterias
BENCHMARK(BM_FinalReport)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(3, 1));

// The statement of the last day: a month since the last settlement, or settled the day before.
void BM_AccountStatement(benchmark::State& state) {
    if (state.range(0) == 1) {
        year().db.admin(
            u"SELECT admin.liquidar('00012', $1::date) WHERE central.ultima_liquidacion('00012') "
            u"IS DISTINCT FROM $1::date"_s,
            {kLastDay.addDays(-1).toString(Qt::ISODate)});
    }
    report(state, [&] { return year().reader->statement(kLastDay); });
}
BENCHMARK(BM_AccountStatement)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(3, 1));

void BM_Monitor(benchmark::State& state) {
    report(state, [&] {
        return year().reader->monitor(sales_monitor::Kind(state.range(0)), u"AAA"_s, kLastDay);
    });
}
// GENERAL, DETALLADO
BENCHMARK(BM_Monitor)
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(5, 1));

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
