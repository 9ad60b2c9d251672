#include "busy_reports.h"

#include "bench_run.h"
#include "reports/account_statement.h"
#include "reports/prize_report.h"
#include "reports/sales_report.h"

#include <benchmark/benchmark.h>

namespace vendura::bench {

ReportReader::ReportReader(const test::TestDatabase& db, const QString& vendor,
                           const QString& user) {
    check(counter_.open(db.connectionText(vendor)).ok(), "no connection for the reports");
    session_.CodVendedor = vendor;
    session_.NombreVendedor = u"AGENCIA "_s + vendor;
    session_.Usuario = user;
    session_.NombreUsuario = u"VENDEDOR "_s + user;
}

RecordSet ReportReader::rows(const ProcedureCall& call, CallAnswer* whole) {
    auto answer = counter_.call(call);
    if (!answer) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(call.name),
                     qPrintable(answer.error().description));
        check(false, "a report's call failed");
    }
    if (whole) *whole = answer.value();
    return answer.value().rows;
}

QStringList ReportReader::prizeReport(const QDate& from, const QDate& to, bool detailed) {
    const QString& vendor = session_.CodVendedor;
    const RecordSet tickets = rows(prize_report::call(u"RPTTICKPREMIADOS"_s, vendor, from, to));
    const RecordSet plays =
        detailed ? rows(prize_report::call(u"RPTTICKPREMIADOSdetalle"_s, vendor, from, to))
                 : RecordSet();
    return prize_report::compose(session_, from, to, detailed, tickets, plays);
}

QStringList ReportReader::salesReport(const QDate& day) {
    CallAnswer a;
    const RecordSet cancelled = rows(sales_report::call(session_, day), &a);
    return sales_report::compose(session_, day, a.outputs.value(u"@montoventa"_s), cancelled);
}

QStringList ReportReader::finalReport(final_report::Kind kind, const QDate& day) {
    const RecordSet lines = rows(final_report::call(kind, session_.CodVendedor, day, day));
    return final_report::compose(session_, kind, day, day, lines, {});
}

QStringList ReportReader::statement(const QDate& day) {
    CallAnswer a;
    rows(account_statement::call(session_.CodVendedor, day), &a);
    return account_statement::compose(session_, day, a);
}

QStringList ReportReader::monitor(sales_monitor::Kind kind, const QString& lottery,
                                  const QDate& day) {
    return sales_monitor::lines(sales_monitor::entries(rows(sales_monitor::listing(
                                    kind, lottery, session_.CodVendedor, day))),
                                6);
}

namespace {
// Runs a report's composition the benchmark's iterations, and keeps how many lines it made.
void reportLines(benchmark::State& state, const std::function<QStringList()>& compose) {
    qsizetype lines = 0;
    for (auto _ : state) lines = compose().size();
    state.counters["lines"] = double(lines);
}
}  // namespace

void registerReportBenchmarks(const std::function<BusyPoint()>& busy, const QDate& lastDay) {
    using benchmark::RegisterBenchmark;
    using benchmark::State;
    const auto ms = benchmark::kMillisecond;
    // days, detailed
    RegisterBenchmark(
        "BM_PrizeReport",
        [busy, lastDay](State& state) {
            ReportReader& r = busy().reader;
            const QDate from = lastDay.addDays(-state.range(0) + 1);
            reportLines(state, [&] { return r.prizeReport(from, lastDay, state.range(1) == 1); });
        })
        ->Args({1, 0})
        ->Args({1, 1})
        ->Args({30, 0})
        ->Args({30, 1})
        ->Unit(ms)
        ->Iterations(sized(3, 1));
    RegisterBenchmark("BM_SalesReport",
                      [busy, lastDay](State& state) {
                          ReportReader& r = busy().reader;
                          reportLines(state, [&] { return r.salesReport(lastDay); });
                      })
        ->Unit(ms)
        ->Iterations(sized(3, 1));
    // Resumido, Detallado, Loterias
    RegisterBenchmark("BM_FinalReport",
                      [busy, lastDay](State& state) {
                          ReportReader& r = busy().reader;
                          const auto kind = final_report::Kind(state.range(0));
                          reportLines(state, [&] { return r.finalReport(kind, lastDay); });
                      })
        ->DenseRange(0, 2)
        ->Unit(ms)
        ->Iterations(sized(3, 1));
    // as it stands, then settled the day before (the settlement is not timed)
    RegisterBenchmark("BM_AccountStatement",
                      [busy, lastDay](State& state) {
                          const BusyPoint b = busy();
                          if (state.range(0) == 1) {
                              b.db.admin(
                                  u"SELECT admin.liquidar('00012', $1::date) WHERE "
                                  u"central.ultima_liquidacion('00012') IS DISTINCT FROM "
                                  u"$1::date"_s,
                                  {lastDay.addDays(-1).toString(Qt::ISODate)});
                          }
                          reportLines(state, [&] { return b.reader.statement(lastDay); });
                      })
        ->Arg(0)
        ->Arg(1)
        ->Unit(ms)
        ->Iterations(sized(3, 1));
    // GENERAL, DETALLADO
    RegisterBenchmark("BM_Monitor",
                      [busy, lastDay](State& state) {
                          ReportReader& r = busy().reader;
                          const auto kind = sales_monitor::Kind(state.range(0));
                          reportLines(state, [&] { return r.monitor(kind, u"AAA"_s, lastDay); });
                      })
        ->DenseRange(0, 1)
        ->Unit(ms)
        ->Iterations(sized(5, 1));
}

}  // namespace vendura::bench
