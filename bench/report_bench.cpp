// The reports over a busy sales point: a day of 100,000 tickets (two plays each, on eight
// lotteries), and the prize report over the month before it with as many tickets a day
// (VENDURA_BENCH_TICKETS_PER_DAY, VENDURA_BENCH_DAYS change the volume). Each figure is the
// procedure's answer on the counter's connection plus the composition of the report's lines.
#include "bench_run.h"
#include "platform/connection_text.h"
#include "platform/pq_gateway.h"
#include "reports/account_statement.h"
#include "reports/final_report.h"
#include "reports/prize_report.h"
#include "reports/sales_monitor.h"
#include "reports/sales_report.h"
#include "sales/play_seller.h"
#include "session/session.h"
#include "test_database.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

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
    PqGateway counter{5};
    Session session;
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
        bench::check(counter.open(db.connectionText()).ok(), "no connection");
        session.CodVendedor = u"00012"_s;
        session.NombreVendedor = u"AGENCIA LA FORTUNA"_s;
        session.Usuario = u"1001"_s;
        session.NombreUsuario = u"ANA PEREZ"_s;
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

    RecordSet rows(const ProcedureCall& call, CallAnswer* whole = nullptr) {
        auto answer = counter.call(call);
        if (!answer) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(call.name),
                         qPrintable(answer.error().description));
            bench::check(false, "a report's call failed");
        }
        if (whole) *whole = answer.value();
        return answer.value().rows;
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
    const bool detailed = state.range(1) == 1;
    const QDate from = kBusyDay.addDays(-state.range(0) + 1);
    report(state, [&] {
        const RecordSet tickets =
            b.rows(prize_report::call(u"RPTTICKPREMIADOS"_s, u"00012"_s, from, kBusyDay));
        const RecordSet plays = detailed ? b.rows(prize_report::call(u"RPTTICKPREMIADOSdetalle"_s,
                                                                     u"00012"_s, from, kBusyDay))
                                         : RecordSet();
        return prize_report::compose(b.session, from, kBusyDay, detailed, tickets, plays);
    });
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
    report(state, [&] {
        CallAnswer a;
        const RecordSet cancelled = b.rows(sales_report::call(b.session, kBusyDay), &a);
        return sales_report::compose(b.session, kBusyDay, a.outputs.value(u"@montoventa"_s),
                                     cancelled);
    });
}
BENCHMARK(BM_SalesReport)->Unit(benchmark::kMillisecond)->Iterations(bench::sized(3, 1));

void BM_FinalReport(benchmark::State& state) {
    BusySalesPoint& b = busy();
    const auto kind = final_report::Kind(state.range(0));
    report(state, [&] {
        const RecordSet rows = b.rows(final_report::call(kind, u"00012"_s, kBusyDay, kBusyDay));
        return final_report::compose(b.session, kind, kBusyDay, kBusyDay, rows, {});
    });
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
    report(state, [&] {
        CallAnswer a;
        b.rows(account_statement::call(u"00012"_s, kBusyDay), &a);
        return account_statement::compose(b.session, kBusyDay, a);
    });
}
BENCHMARK(BM_AccountStatement)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(3, 1));

void BM_Monitor(benchmark::State& state) {
    BusySalesPoint& b = busy();
    const auto kind = sales_monitor::Kind(state.range(0));
    report(state, [&] {
        return sales_monitor::lines(sales_monitor::entries(b.rows(sales_monitor::listing(
                                        kind, u"AAA"_s, u"00012"_s, kBusyDay))),
                                    6);
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
        for (int t = 0; t < 8; ++t) b.db.addVendor(u"B%1"_s.arg(t), u"BU%1"_s.arg(t));
        return true;
    }();
    (void)terminals;
    // the test database's own connection serves one thread: the tickets are taken here
    std::vector<QString> tickets;
    for (int t = 0; t < 8; ++t) tickets.push_back(b.db.newTicket(u"B%1"_s.arg(t)));
    const double seconds = bench::sized(10, 1);
    std::atomic<bool> stop{false};
    std::atomic<long> reports{0}, failures{0};
    std::vector<std::vector<double>> latencies(8);
    for (auto _ : state) {
        std::vector<std::thread> threads;
        if (!reportHost.isEmpty()) {
            threads.emplace_back([&] {
                ConnectionTarget target{reportHost, Cluster::get().port, b.db.name(),
                                        b.db.account(u"00012"_s), u"clave-00012"_s};
                PqGateway reader(5);
                if (!reader.open(buildConnectionText(target))) {
                    ++failures;
                    return;
                }
                const QDate from = kBusyDay.addDays(-29);
                while (!stop) {
                    auto answer = reader.call(prize_report::call(u"RPTTICKPREMIADOSdetalle"_s,
                                                                 u"00012"_s, from, kBusyDay));
                    if (!answer || answer.value().rows.empty()) ++failures;
                    ++reports;
                }
            });
        }
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&, t] {
                const QString vendor = u"B%1"_s.arg(t), user = u"BU%1"_s.arg(t);
                PqGateway g(5);
                if (!g.open(b.db.connectionText(vendor))) {
                    ++failures;
                    return;
                }
                const QString& ticket = tickets[size_t(t)];
                QElapsedTimer clock;
                clock.start();
                for (int item = 0; clock.elapsed() < seconds * 1000; item += 2) {
                    QElapsedTimer one;
                    one.start();
                    auto answer = g.call(xcreanormal(vendor, user,
                                                     QString::number((t * 125 + item / 2) % 1000),
                                                     Money::whole(1), item, u"AAABBB"_s, ticket));
                    latencies[size_t(t)].push_back(double(one.nsecsElapsed()) / 1e6);
                    if (!answer || answer.value().returnNumber() > 1) ++failures;
                }
            });
        }
        for (size_t k = reportHost.isEmpty() ? 0 : 1; k < threads.size(); ++k) threads[k].join();
        stop = true;
        if (!reportHost.isEmpty()) threads[0].join();
    }
    std::vector<double> all;
    for (const auto& l : latencies) all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    bench::check(failures == 0 && !all.empty(), "a play or a report failed beside the other");
    state.counters["plays_per_s"] = double(all.size()) / seconds;
    state.counters["p99_ms"] = all[std::min(all.size() - 1, size_t(0.99 * double(all.size())))];
    state.counters["reports"] = double(reports);
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
