// A year of a busy network: 200 sales points selling 30,000 tickets a day between them and one
// busy sales point selling 10,000 (two plays each, on eight lotteries), every draw with its
// results and stored prizes, the busy point's winners half paid and its account settled a month
// before the last day (VENDURA_BENCH_DAYS, VENDURA_BENCH_TICKETS_PER_DAY and
// VENDURA_BENCH_NETWORK_TICKETS_PER_DAY change the volume). Figures: booking at eight terminals
// on it and on an empty database of the same cluster in the same run, and every report of the
// busy point's last day and month, each the procedure's answer plus the composition of its lines.
#include "bench_run.h"
#include "booking_load.h"
#include "busy_days.h"
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

// The network and the eight booking terminals: the same in the year's database and the empty one.
void openNetwork(const TestDatabase& db) {
    bench::openBusyNetwork(db, kLastDay);
    bench::addBookingTerminals(db, 8);
}

struct YearOfNetwork {
    TestDatabase db;
    std::optional<bench::ReportReader> reader;
    int days = bench::setting("VENDURA_BENCH_DAYS", bench::sized(365, 3));
    int busyPerDay = bench::setting("VENDURA_BENCH_TICKETS_PER_DAY", bench::sized(10000, 40));
    int networkPerDay =
        bench::setting("VENDURA_BENCH_NETWORK_TICKETS_PER_DAY", bench::sized(30000, 60));

    YearOfNetwork() {
        QElapsedTimer seeding;
        seeding.start();
        openNetwork(db);
        for (int p = 0; p < kPoints; ++p) {
            db.addVendor(bench::networkPoint(p), bench::networkSeller(p));
        }
        for (int d = days - 1; d >= 0; --d) {
            bench::loadDay(db, kLastDay.addDays(-d),
                           qint64(days - 1 - d) * (busyPerDay + networkPerDay),
                           {busyPerDay, networkPerDay, kPoints});
        }
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
        bench::checkDaysLoaded(db, qint64(busyPerDay + networkPerDay) * days, kLastDay.addDays(-1));
        std::printf(
            "seeded %d days of %d + %d tickets (%s items) in %.0f s, settled, posted and "
            "vacuumed in %.0f s more; database %s\n",
            days, busyPerDay, networkPerDay,
            qPrintable(db.value(u"SELECT count(*) FROM central.items_ticket"_s)), loaded,
            double(seeding.elapsed()) / 1000 - loaded,
            qPrintable(db.value(u"SELECT pg_size_pretty(pg_database_size(current_database()))"_s)));
        reader.emplace(db, u"00012"_s, u"1001"_s);
    }
};

YearOfNetwork& year() {
    static YearOfNetwork seeded;
    return seeded;
}

// Eight terminals booking on an empty database and on the year's, same cluster, same run: what
// a year of data costs a play. Each books twice: right after the database was made (the year's
// just loaded and checkpointed), then again, as the network goes on selling.
void BM_Booking8(benchmark::State& state, bool withYear) {
    std::optional<TestDatabase> empty;
    if (!withYear) openNetwork(empty.emplace());
    const TestDatabase& db = withYear ? year().db : *empty;
    bench::BookingFigures first, then;
    for (auto _ : state) {
        first = bench::bookForAWhile(db, 8, bench::sized(10, 1));
        then = bench::bookForAWhile(db, 8, bench::sized(10, 1));
    }
    state.counters["first_plays_per_s"] = first.playsPerSecond;
    state.counters["first_p99_ms"] = first.p99Ms;
    state.counters["plays_per_s"] = then.playsPerSecond;
    state.counters["p99_ms"] = then.p99Ms;
}
// the empty database first, before the year's is loaded beside it
BENCHMARK_CAPTURE(BM_Booking8, EmptyDatabase, false)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Booking8, YearOfData, true)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    bench::registerReportBenchmarks(
        [] {
            YearOfNetwork& y = year();
            return bench::BusyPoint{y.db, *y.reader};
        },
        kLastDay);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
