// Play generators: a posicionados request on ten lotteries (1,000 items booked in one call,
// p50 and p99 of the call), its rows turned into ticket rows and shown at the end of a ticket
// of 19,000 rows, and the resident memory of the sales screen with a 20,000-row ticket.
#include "bench_run.h"
#include "generators/generated_sale.h"
#include "generators/generator_calls.h"
#include "generators/number_lists.h"
#include "platform/device_printers.h"
#include "platform/pq_gateway.h"
#include "recorders.h"
#include "sales/lottery_catalog.h"
#include "sales/screens/sales_screen.h"
#include "session/installation.h"
#include "session/server_link.h"
#include "session/session.h"
#include "test_database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace vendura;

namespace {

constexpr int kLotteries = 10;

QStringList lotteryEntries() {
    QStringList entries;
    for (int i = 0; i < kLotteries; ++i)
        entries << u"L%1 - LOTERIA %1"_s.arg(i, 2, 10, QChar(u'0'));
    return entries;
}

// One call of xcreaposic books the hundred numbers of a position on ten lotteries. A ticket takes
// 32 such calls before its item counter would pass 32767; then the terminal takes a new one.
void BM_Posicionados_TenLotteries_OneCall(benchmark::State& state) {
    test::TestDatabase db;
    db.seedVendor();
    for (int i = 0; i < kLotteries; ++i) {
        db.addLottery(u"L%1"_s.arg(i, 2, 10, QChar(u'0')), u"LOTERIA %1"_s.arg(i), u"23:59"_s,
                      u"1000000"_s, u"1000000"_s, i);
    }
    db.setClock(u"2026-12-07 10:00:00"_s);
    PqGateway gateway;
    bench::check(gateway.open(db.connectionText()).ok(), "no connection");
    const QString codes = codeList(lotteryEntries());
    QString nticket;
    int numItem = 0;
    int mode = 0;
    std::vector<double> millis;
    for (auto _ : state) {
        state.PauseTiming();
        if (nticket.isEmpty() || numItem + 1000 > 32767) {
            nticket = db.newTicket(u"00012"_s);
            numItem = 0;
        }
        const ProcedureCall call =
            xcreaposic({u"00012"_s, u"1001"_s, nticket, numItem}, QString::number(mode % 10),
                       u"1"_s, QString::number(mode % 3 + 1), codes);
        ++mode;
        state.ResumeTiming();
        QElapsedTimer took;
        took.start();
        auto answer = gateway.call(call);
        millis.push_back(double(took.nsecsElapsed()) / 1e6);
        bench::check(answer.ok() && answer.value().returnNumber() == 0,
                     "the call did not sell every item");
        numItem += 1000;
    }
    if (millis.empty()) return;
    state.counters["p50_ms"] = bench::percentile(millis, 0.50);
    state.counters["p99_ms"] = bench::percentile(millis, 0.99);
    state.counters["items_per_call"] = 1000;
}
BENCHMARK(BM_Posicionados_TenLotteries_OneCall)
    ->Iterations(bench::sized(300, 2))
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

std::vector<ItemTicket> rows(int count) {
    std::vector<ItemTicket> out;
    for (int i = 0; i < count; ++i) {
        out.push_back({u"%1"_s.arg(i % 1000, 3, 10, QChar(u'0')), u"L01 - LOTERIA 01"_s,
                       Money::whole(5), u"Posicionados"_s, QString(), i + 1, u"1"_s,
                       u"Posicionados"_s});
    }
    return out;
}

LotteryCatalog catalog() {
    RecordSet lots({u"COD_LOT"_s, u"desc_lot"_s, u"Juegaespecial"_s});
    for (const QString& entry : lotteryEntries())
        lots.addRow({entry.left(3), entry.mid(6), u"N"_s});
    return LotteryCatalog(lots);
}

// The answer of the call above (every tenth item sold in part) turned into rows and added at the
// end of a 19,000-row ticket shown in its view.
void BM_Posicionados_RowsIntoTheTicketView(benchmark::State& state) {
    const std::vector<PlannedItem> items =
        generatedItems(lotteryEntries(), posicionados(u'7', u"1"_s), Money::whole(1));
    PlayAnswer answer{1,
                      RecordSet({u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s, u"titems"_s})};
    for (int k = 0; k < int(items.size()); k += 10) {
        answer.records.addRow({items[size_t(k)].lotteryEntry.left(3), items[size_t(k)].number,
                               u"0.500"_s, u"2"_s, QString::number(19000 + k + 1)});
    }
    const LotteryCatalog lots = catalog();
    const std::vector<ItemTicket> base = rows(19000);
    for (auto _ : state) {
        state.PauseTiming();
        TicketModel model;
        QTableView view;
        view.setModel(&model);
        model.append(base);
        view.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        SaleResult result(answer, lots, u"Posicionados"_s, u"1"_s);
        int numItem = 19000;
        for (const PlannedItem& item : items) result.apply(item, numItem);
        model.append(result.outcome().rows);
        view.scrollToBottom();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_Posicionados_RowsIntoTheTicketView)
    ->Iterations(bench::sized(20, 1))
    ->Unit(benchmark::kMillisecond);

long residentKb() {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

void BM_SalesScreen_TwentyThousandRows_ResidentMemory(benchmark::State& state) {
    Installation installation;
    Session session;
    PqConnector connector;
    test::DialogRecorder dialogs;
    test::LauncherRecorder launcher;
    test::ProgramEndRecorder programEnd;
    test::ScriptedRandom random;
    SystemClock clock;
    DevicePrinters printers(PortMap(), nullptr);
    SalesActions actions;
    ServerLink link(session, connector, dialogs, installation);
    const long before = residentKb();
    for (auto _ : state) {
        SalesScreen screen({link, launcher, programEnd, random, clock, printers, actions});
        screen.ticket().append(rows(20000));
        screen.show();
        screen.ticketView()->scrollToBottom();
        QCoreApplication::processEvents();
        state.counters["rss_MiB_with_20000_rows"] = double(residentKb()) / 1024.0;
        state.counters["rss_MiB_before_screen"] = double(before) / 1024.0;
    }
}
BENCHMARK(BM_SalesScreen_TwentyThousandRows_ResidentMemory)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
