// The ticket list and the cancellation query of a busy sales point: a day of 5,000 issued tickets
// of three plays each, listed ("dsptickets"), one shown ("xmuestraticket"), and one looked up for
// cancellation ("ANULATICKET" query).
#include "platform/pq_gateway.h"
#include "test_database.h"

#include <benchmark/benchmark.h>

using namespace vendura;

namespace {

constexpr int kTickets = 5000;

struct Fixture {
    Fixture() {
        db.seedVendor();
        db.seedLotteries();
        db.admin(
            u"INSERT INTO central.tickets_temporales (nticket, cod_vendedor, estado) "
            u"SELECT lpad(n::text, 10, '0'), '00012', 'EMI' FROM generate_series(1, $1::int) n"_s,
            {QString::number(kTickets)});
        db.admin(
            u"INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, fecha, "
            u"hora, monto, impreso) SELECT lpad(n::text, 10, '0'), '00012', '1001', n, "
            u"'2026-12-07', time '08:00' + n * interval '1 second', 3, n % 50 <> 0 "
            u"FROM generate_series(1, $1::int) n"_s,
            {QString::number(kTickets)});
        db.admin(
            u"INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, cod_usuario, "
            u"cod_lot, fecha_sorteo, numero, monto_pedido, monto_vendido, status, jugada) "
            u"SELECT lpad(n::text, 10, '0'), k, '00012', '1001', "
            u"CASE WHEN k = 2 THEN 'BBB' ELSE 'AAA' END, '2026-12-07', lpad((n % 1000)::text, 3, "
            u"'0'), 1, 1, '0', 'Venta Normal' "
            u"FROM generate_series(1, $1::int) n, generate_series(1, 3) k"_s,
            {QString::number(kTickets)});
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
        if (!answer || answer.value().rows.size() != expectedRows) {
            state.SkipWithError("unexpected answer");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
}

void BM_Dsptickets_5000TicketsOfTheDay(benchmark::State& state) {
    run(state, u"dsptickets"_s, {u"00012"_s, u"07/12/2026"_s, u"0"_s}, kTickets);
}
BENCHMARK(BM_Dsptickets_5000TicketsOfTheDay)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_Xmuestraticket_OneTicket(benchmark::State& state) {
    run(state, u"xmuestraticket"_s, {u"0000002500"_s, u"00012"_s, u"07/12/2026"_s, u"0"_s}, 3);
}
BENCHMARK(BM_Xmuestraticket_OneTicket)->UseRealTime();

void BM_Anulaticket_Query(benchmark::State& state) {
    run(state, u"ANULATICKET"_s, {u"2500"_s, u"00012"_s, u"1001"_s, u"0"_s}, 1);
}
BENCHMARK(BM_Anulaticket_Query)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
