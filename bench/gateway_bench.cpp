// Round trip of one stored-procedure call through the counter's gateway, next to a bare
// "SELECT 1" on the same connection.
#include "bench_run.h"
#include "platform/pq_gateway.h"
#include "test_database.h"

#include <benchmark/benchmark.h>

using namespace vendura;

namespace {

struct Fixture {
    Fixture() {
        db.seedVendor();
        if (!gateway.open(db.connectionText())) std::abort();
    }
    test::TestDatabase db;
    PqGateway gateway;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_SelectOne(benchmark::State& state) {
    PqGateway& g = fixture().gateway;
    for (auto _ : state) {
        bench::check(g.ping().ok(), "SELECT 1 failed");
    }
}
BENCHMARK(BM_SelectOne)->UseRealTime();

void BM_CallProcedure_Retornafecha(benchmark::State& state) {
    PqGateway& g = fixture().gateway;
    for (auto _ : state) {
        auto answer = g.exec(u"Retornafecha"_s);
        bench::check(answer.ok(), "Retornafecha failed");
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(BM_CallProcedure_Retornafecha)->UseRealTime();

void BM_CallProcedure_Login(benchmark::State& state) {
    PqGateway& g = fixture().gateway;
    ProcedureCall call{u"xVLDUSRT"_s, {}, 900};
    call.out(u"@xmodo"_s, u"0"_s, 60)
        .in(u"@xusuario"_s, u"1001"_s, 5)
        .in(u"@xclave"_s, u"1234"_s, 10);
    for (auto _ : state) {
        auto answer = g.call(call);
        bench::check(answer.ok(), "xVLDUSRT failed");
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(BM_CallProcedure_Login)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
