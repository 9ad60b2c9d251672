// The reports over a busy sales point: a day of 100,000 tickets (two plays each, on eight
// lotteries), and the prize report over the month before it with as many tickets a day
// (VENDURA_BENCH_TICKETS_PER_DAY, VENDURA_BENCH_DAYS change the volume). Each figure is the
// procedure's answer on the counter's connection plus the composition of the report's lines.
#include "bench_run.h"
#include "booking_load.h"
#include "busy_days.h"
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

// One database for every benchmark, seeded once.
struct BusySalesPoint {
    TestDatabase db;
    std::optional<bench::ReportReader> reader;
    int perDay = bench::setting("VENDURA_BENCH_TICKETS_PER_DAY", bench::sized(100000, 300));
    int days = bench::setting("VENDURA_BENCH_DAYS", bench::sized(30, 2));

    BusySalesPoint() {
        QElapsedTimer seeding;
        seeding.start();
        bench::openBusyNetwork(db, kBusyDay);
        db.addVendor(u"00013"_s, u"2001"_s);
        for (int d = days; d >= 0; --d) {
            bench::loadDay(db, kBusyDay.addDays(-d), qint64(days - d) * perDay, {perDay});
        }
        // the month's expired prizes posted back, as the scheduler's hourly job leaves them
        db.admin(u"SELECT central.asentar_caducados_red()"_s);
        db.admin(u"ANALYZE"_s);
        bench::checkDaysLoaded(db, qint64(perDay) * (days + 1), kBusyDay.addDays(-days));
        std::printf("seeded %d days of %d tickets in %.1f s\n", days + 1, perDay,
                    double(seeding.elapsed()) / 1000);
        reader.emplace(db, u"00012"_s, u"1001"_s);
    }
};

BusySalesPoint& busy() {
    static BusySalesPoint seeded;
    return seeded;
}

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
    bench::registerReportBenchmarks(
        [] {
            BusySalesPoint& b = busy();
            return bench::BusyPoint{b.db, *b.reader};
        },
        kBusyDay);
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
