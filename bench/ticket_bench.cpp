// aplicaresultado over a play on many lotteries, the ticket list growing by 1,000 rows at
// 10,000, and the resident memory of the sales screen with such a ticket open.
#include "bench_run.h"
#include "platform/device_printers.h"
#include "platform/pq_gateway.h"
#include "recorders.h"
#include "sales/lottery_catalog.h"
#include "sales/sale_result.h"
#include "sales/screens/sales_screen.h"
#include "sales/ticket_model.h"
#include "session/installation.h"
#include "session/server_link.h"
#include "session/session.h"

#include <QApplication>
#include <QFile>
#include <QTableView>

#include <benchmark/benchmark.h>

using namespace vendura;

namespace {

LotteryCatalog catalog(int lotteries) {
    RecordSet rows({u"COD_LOT"_s, u"desc_lot"_s, u"Juegaespecial"_s});
    for (int i = 0; i < lotteries; ++i) {
        rows.addRow({u"L%1"_s.arg(i, 2, 10, QChar(u'0')), u"LOTERIA %1"_s.arg(i), u"N"_s});
    }
    return LotteryCatalog(rows);
}

std::vector<ItemTicket> rows(int count) {
    std::vector<ItemTicket> out;
    for (int i = 0; i < count; ++i) {
        out.push_back({u"%1"_s.arg(i % 1000, 3, 10, QChar(u'0')), u"L01 - LOTERIA 1"_s,
                       Money::whole(5), u"Venta Normal"_s, QString(), i + 1, u"1"_s,
                       u"Venta Normal"_s});
    }
    return out;
}

// 50 lotteries; every fifth item comes back partly sold.
void BM_AplicaResultado(benchmark::State& state) {
    const LotteryCatalog lots = catalog(50);
    PlayAnswer answer{1,
                      RecordSet({u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s, u"titems"_s})};
    for (int i = 0; i < 50; i += 5) {
        answer.records.addRow(
            {lots.all()[size_t(i)].code, u"123"_s, u"2.500"_s, u"2"_s, QString::number(i + 1)});
    }
    for (auto _ : state) {
        SaleResult result(answer, lots, u"Venta Normal"_s, u"1"_s);
        int numItem = 0;
        for (const Lottery& l : lots.all())
            result.apply({l.entry(), u"123"_s, Money::whole(10), {}, {}}, numItem);
        benchmark::DoNotOptimize(result.outcome());
    }
}
BENCHMARK(BM_AplicaResultado);

void BM_AppendThousandRowsToTenThousand(benchmark::State& state) {
    const std::vector<ItemTicket> base = rows(10000), more = rows(1000);
    for (auto _ : state) {
        state.PauseTiming();
        TicketModel model;
        QTableView view;
        view.setModel(&model);
        model.append(base);
        view.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        model.append(more);
        view.scrollToBottom();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_AppendThousandRowsToTenThousand)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(bench::sized(20, 1));

long residentKb() {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

void BM_SalesScreenResidentMemory(benchmark::State& state) {
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
        screen.ticket().append(rows(10000));
        screen.show();
        QCoreApplication::processEvents();
        state.counters["rss_MiB_with_10000_rows"] = double(residentKb()) / 1024.0;
        state.counters["rss_MiB_before_screen"] = double(before) / 1024.0;
    }
}
BENCHMARK(BM_SalesScreenResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
