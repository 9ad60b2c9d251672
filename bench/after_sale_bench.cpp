// The ticket list and the cancellation query of a busy sales point: a day of 5,000 issued tickets
// of three plays each, listed ("dsptickets"), one shown ("xmuestraticket"), and one looked up for
// cancellation ("ANULATICKET" query).
#include "bench_run.h"
#include "platform/pq_gateway.h"
#include "test_database.h"

#include <benchmark/benchmark.h>

using namespace vendura;

namespace {

const int kTickets = bench::sized(5000, 40);

struct Fixture {
    Fixture() {
        db.seedVendor();
        db.seedLotteries();
        db.admin(
            u"INSERT INTO central.tickets_temporales (nticket, cod_vendedor, estado) "
            u"SELECT lpad(n::text, 10, '0'), '00012', 'EMI' FROM generate_series(1, $1::int) n"_s,
            {QString::number(kTickets)});
        // the items are booked before their ticket is issued, as the counters do
        db.admin(
            u"INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, cod_usuario, "
            u"cod_lot, fecha_sorteo, numero, monto_pedido, monto_vendido, status, jugada) "
            u"SELECT lpad(n::text, 10, '0'), k, '00012', '1001', "
            u"CASE WHEN k = 2 THEN 'BBB' ELSE 'AAA' END, '2026-12-07', lpad((n % 1000)::text, 3, "
            u"'0'), 1, 1, '0', 'Venta Normal' "
            u"FROM generate_series(1, $1::int) n, generate_series(1, 3) k"_s,
            {QString::number(kTickets)});
        db.admin(
            u"INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, fecha, "
            u"hora, monto, impreso) SELECT lpad(n::text, 10, '0'), '00012', '1001', n, "
            u"'2026-12-07', time '08:00' + n * interval '1 second', 3, n % 50 <> 0 "
            u"FROM generate_series(1, $1::int) n"_s,
            {QString::number(kTickets)});
        bench::check(db.value(u"SELECT sum(venta) FROM central.juego_dia"_s) ==
                         QString::number(3 * kTickets) + u".000"_s,
                     "the day's tickets were not loaded as intended");
        db.admin(u"SELECT admin.fijar_minutos_anulacion('00012', 1440)"_s);
        db.admin(u"ANALYZE"_s);
        if (!gateway.open(db.connectionText())) std::abort();
    }
    test::TestDatabase db;
    PqGateway gateway;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void run(benchmark::State& state, const QString& procedure, const QStringList& args,
         int expectedRows) {
    PqGateway& g = fixture().gateway;
    for (auto _ : state) {
        auto answer = g.callPositional(procedure, args);
        bench::check(answer.ok() && answer.value().rows.size() == expectedRows,
                     "unexpected answer");
        benchmark::DoNotOptimize(answer);
    }
}

void BM_Dsptickets_5000TicketsOfTheDay(benchmark::State& state) {
    run(state, u"dsptickets"_s, {u"00012"_s, u"07/12/2026"_s, u"0"_s}, kTickets);
}
BENCHMARK(BM_Dsptickets_5000TicketsOfTheDay)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_Xmuestraticket_OneTicket(benchmark::State& state) {
    const QString middle = QString::number(kTickets / 2);
    run(state, u"xmuestraticket"_s,
        {middle.rightJustified(10, u'0'), u"00012"_s, u"07/12/2026"_s, u"0"_s}, 3);
}
BENCHMARK(BM_Xmuestraticket_OneTicket)->UseRealTime();

void BM_Anulaticket_Query(benchmark::State& state) {
    run(state, u"ANULATICKET"_s, {QString::number(kTickets / 2), u"00012"_s, u"1001"_s, u"0"_s}, 1);
}
BENCHMARK(BM_Anulaticket_Query)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
