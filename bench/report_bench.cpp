// The reports over a busy sales point: a day of 100,000 tickets (two plays each, on eight
// lotteries), and the prize report over the month before it with as many tickets a day
// (VENDURA_BENCH_TICKETS_PER_DAY, VENDURA_BENCH_DAYS change the volume). Each figure is the
// procedure's answer on the counter's connection plus the composition of the report's lines.
#include "bench_run.h"
#include "booking_load.h"
#include "busy_reports.h"
#include "platform/connection_text.h"
#include "platform/pq_gateway.h"
#include "reports/prize_report.h"
#include "test_database.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>

using namespace vendura;
using namespace vendura::test;

namespace {

const QDate kBusyDay(2026, 12, 7);

int setting(const char* name, int fallback) {
    const int v = qEnvironmentVariableIntValue(name);
    return v > 0 ? v : fallback;
}

// One database for every benchmark, seeded once.
struct BusySalesPoint {
    TestDatabase db;
    std::optional<bench::ReportReader> reader;
    int perDay = setting("VENDURA_BENCH_TICKETS_PER_DAY", bench::sized(100000, 300));
    int days = setting("VENDURA_BENCH_DAYS", bench::sized(30, 2));

    BusySalesPoint() {
        QElapsedTimer seeding;
        seeding.start();
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        for (const QString& code : {u"CCC"_s, u"DDD"_s, u"EEE"_s, u"FFF"_s, u"GGG"_s, u"HHH"_s}) {
            db.addLottery(code, u"LOTERIA "_s + code, u"23:00"_s);
        }
        db.setClock(u"2026-12-08 10:00:00"_s);
        // the payouts in force for everything sold
        db.admin(
            u"INSERT INTO central.tabla_pagos (cod_lot, tipo, multiplicador) SELECT l.cod_lot, "
            u"p.k, p.m FROM central.loterias l CROSS JOIN (VALUES ('TRIPLE', 600), "
            u"('TERMINAL', 60), ('DIGITO', 6)) p(k, m)"_s);
        db.admin(u"SELECT admin.fijar_comision('00012', 12)"_s);
        for (int d = days; d >= 0; --d) seedDay(kBusyDay.addDays(-d), days - d);
        // the month's expired prizes posted back, as the scheduler's hourly job leaves them
        db.admin(u"SELECT central.asentar_caducados_red()"_s);
        db.admin(u"ANALYZE"_s);
        checkLoaded();
        std::printf("seeded %d days of %d tickets in %.1f s\n", days + 1, perDay,
                    double(seeding.elapsed()) / 1000);
        reader.emplace(db, u"00012"_s, u"1001"_s);
    }

    // perDay tickets of two items: a triple and a terminal on lotteries and numbers spread by
    // the ticket's number; one in a hundred cancelled; the draws' results and their stored
    // prizes; half the winners paid; the monitor's accumulation as the bookings would have left
    // it.
    void seedDay(const QDate& day, int index) {
        const QStringList p{day.toString(Qt::ISODate), QString::number(perDay),
                            QString::number(qint64(index) * perDay)};
        db.admin(
            u"INSERT INTO central.tickets_temporales (nticket, cod_vendedor, creado, estado) "
            u"SELECT lpad(($3::bigint + g)::text, 10, '0'), '00012', $1::date + time '08:00', "
            u"'EMI' FROM generate_series(1, $2::int) g"_s,
            p);
        db.admin(
            u"INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, cod_usuario, "
            u"cod_lot, fecha_sorteo, numero, monto_pedido, monto_vendido, status, tipo, jugada) "
            u"SELECT lpad(($3::bigint + g)::text, 10, '0'), x.k, '00012', '1001', "
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
            u"'0'), '00012', '1001', g, $1::date, time '08:00' + g * interval '0.5 s', "
            u"(1 + g % 20) + (1 + g % 5), CASE WHEN g % 100 = 0 THEN 'ELI' ELSE 'ACT' END, "
            u"CASE WHEN g % 100 = 0 THEN 'S' ELSE 'N' END, CASE WHEN g % 100 = 0 THEN "
            u"$1::date + time '08:05' END FROM generate_series(1, $2::int) g"_s,
            p);
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
        db.admin(
            u"INSERT INTO central.acumulados (cod_lot, fecha, cod_vendedor, numero, monto_normal) "
            u"SELECT cod_lot, fecha_sorteo, cod_vendedor, rtrim(numero, '*'), sum(monto_vendido) "
            u"FROM central.items_ticket WHERE fecha_sorteo = $1::date GROUP BY 1, 2, 3, 4"_s,
            {p[0]});
    }

    // Every day holds its tickets and their two items, the days' sales as issuing keeps them
    // equal those items, and there are prizes to report.
    void checkLoaded() {
        const QString expected = QString::number(qint64(perDay) * (days + 1));
        bench::check(db.value(u"SELECT count(*) FROM central.tickets"_s) == expected,
                     "not every ticket was loaded");
        bench::check(db.value(u"SELECT count(*) FROM central.items_ticket"_s) ==
                         QString::number(2 * (qint64(perDay) * (days + 1))),
                     "not every item was loaded");
        bench::check(
            db.value(u"SELECT count(*) FROM (SELECT t.fecha, i.cod_lot, i.tipo, "
                     u"sum(i.monto_vendido) AS v FROM central.tickets t JOIN central.items_ticket "
                     u"i ON i.nticket = t.nroticket WHERE t.estado = 'ACT' GROUP BY 1, 2, 3) x "
                     u"FULL JOIN central.juego_dia d USING (fecha, cod_lot, tipo) "
                     u"WHERE x.v IS DISTINCT FROM d.venta OR d.premios <> (SELECT "
                     u"coalesce(sum(p.premio), 0) FROM central.premios p WHERE p.fecha = d.fecha "
                     u"AND p.cod_lot = d.cod_lot AND p.tipo = d.tipo)"_s) == u"0"_s,
            "the days' play differs from its items and prizes");
        bench::check(db.value(u"SELECT count(*) > 0 FROM central.premios"_s) == u"t"_s,
                     "no prize was stored");
    }
};

BusySalesPoint& busy() {
    static BusySalesPoint seeded;
    return seeded;
}

void report(benchmark::State& state, const std::function<QStringList()>& compose) {
    qsizetype lines = 0;
    for (auto _ : state) lines = compose().size();
    state.counters["lines"] = double(lines);
}

void BM_PrizeReport(benchmark::State& state) {
    BusySalesPoint& b = busy();
    const QDate from = kBusyDay.addDays(-state.range(0) + 1);
    report(state, [&] { return b.reader->prizeReport(from, kBusyDay, state.range(1) == 1); });
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
    BusySalesPoint& b = busy();
    report(state, [&] { return b.reader->salesReport(kBusyDay); });
}
BENCHMARK(BM_SalesReport)->Unit(benchmark::kMillisecond)->Iterations(bench::sized(3, 1));

void BM_FinalReport(benchmark::State& state) {
    BusySalesPoint& b = busy();
    report(state,
           [&] { return b.reader->finalReport(final_report::Kind(state.range(0)), kBusyDay); });
}
// Resumido, Detallado, Loterias
BENCHMARK(BM_FinalReport)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(3, 1));

// The statement of the busy day: never settled (every day of the month counts), or settled
// the day before.
void BM_AccountStatement(benchmark::State& state) {
    BusySalesPoint& b = busy();
    if (state.range(0) == 1) {
        b.db.admin(
            u"SELECT admin.liquidar('00012', $1::date) WHERE NOT EXISTS "
            u"(SELECT FROM central.liquidaciones)"_s,
            {kBusyDay.addDays(-1).toString(Qt::ISODate)});
    }
    report(state, [&] { return b.reader->statement(kBusyDay); });
}
BENCHMARK(BM_AccountStatement)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(3, 1));

void BM_Monitor(benchmark::State& state) {
    BusySalesPoint& b = busy();
    report(state, [&] {
        return b.reader->monitor(sales_monitor::Kind(state.range(0)), u"AAA"_s, kBusyDay);
    });
}
// GENERAL, DETALLADO
BENCHMARK(BM_Monitor)
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(5, 1));

// Booking at eight terminals for a while beside a month's detailed prize report composed again
// and again: with no report, with the report on the primary, and on the standby (when tools/bench
// started one, VENDURA_STANDBY_HOST). Plays per second and p99 of the booking, reports composed.
void BM_BookingBesideTheMonthsPrizeReport(benchmark::State& state, const QString& reportHost) {
    BusySalesPoint& b = busy();
    static const bool terminals = [&] {
        bench::addBookingTerminals(b.db, 8);
        return true;
    }();
    (void)terminals;
    bench::Beside reports;
    if (!reportHost.isEmpty()) {
        reports = [&](const std::atomic<bool>& stop, std::atomic<long>& rounds,
                      std::atomic<long>& failures) {
            ConnectionTarget target{reportHost, Cluster::get().port, b.db.name(),
                                    b.db.account(u"00012"_s), u"clave-00012"_s};
            PqGateway reader(5);
            if (!reader.open(buildConnectionText(target))) {
                ++failures;
                return;
            }
            const QDate from = kBusyDay.addDays(-29);
            while (!stop) {
                auto answer = reader.call(
                    prize_report::call(u"RPTTICKPREMIADOSdetalle"_s, u"00012"_s, from, kBusyDay));
                if (!answer || answer.value().rows.empty()) ++failures;
                ++rounds;
            }
        };
    }
    bench::BookingFigures f;
    long rounds = 0;
    for (auto _ : state) f = bench::bookForAWhile(b.db, 8, bench::sized(10, 1), reports, &rounds);
    state.counters["plays_per_s"] = f.playsPerSecond;
    state.counters["p99_ms"] = f.p99Ms;
    state.counters["reports"] = double(rounds);
}

}  // namespace

int main(int argc, char** argv) {
    const QString standby = qEnvironmentVariable("VENDURA_STANDBY_HOST");
    const auto beside = [](const char* name, QString host) {
        benchmark::RegisterBenchmark(name, BM_BookingBesideTheMonthsPrizeReport, host)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    };
    beside("BM_Booking8_NoReport", QString());
    beside("BM_Booking8_MonthsPrizeReportOnThePrimary", Cluster::get().host);
    if (!standby.isEmpty()) beside("BM_Booking8_MonthsPrizeReportOnTheStandby", standby);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
