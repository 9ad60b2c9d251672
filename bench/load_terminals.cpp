#include "load_terminals.h"

#include "platform/pq_gateway.h"
#include "sales/play_seller.h"

#include <QElapsedTimer>

#include <algorithm>
#include <latch>
#include <thread>

namespace vendura::bench {

static const QStringList kLotteries = {u"AAA"_s, u"BBB"_s, u"CCC"_s, u"DDD"_s, u"EEE"_s};

QString vendor(int t) {
    return u"V%1"_s.arg(t, 4, 10, QChar(u'0'));
}
QString user(int t) {
    return u"U%1"_s.arg(t, 4, 10, QChar(u'0'));
}

// One in five on one of five hot numbers, the rest spread over 1000, on two of the lotteries.
ProcedureCall randomPlay(QRandomGenerator& random, int t, int numItem, const QString& ticket) {
    const bool hot = random.bounded(5) == 0;
    const int n = hot ? int(random.bounded(5)) : int(random.bounded(1000));
    const QString codes = kLotteries[int(random.bounded(5))] + kLotteries[int(random.bounded(5))];
    return xcreanormal(vendor(t), user(t), u"%1"_s.arg(n, 3, 10, QChar(u'0')),
                       Money::whole(1 + random.bounded(20)), numItem, codes, ticket);
}

RunResult collect(std::vector<std::vector<double>>& latencies, long plays, long errors,
                  double seconds) {
    RunResult r;
    r.seconds = seconds;
    r.plays = plays;
    r.errors = errors;
    for (auto& l : latencies) r.latenciesMs.insert(r.latenciesMs.end(), l.begin(), l.end());
    std::sort(r.latenciesMs.begin(), r.latenciesMs.end());
    return r;
}

QString terminalText(const test::TestDatabase& db, int t, Route route) {
    switch (route) {
        case Route::Socket:
            return db.socketConnectionText(vendor(t));
        case Route::Tcp:
            return db.connectionText(vendor(t));
        case Route::Pooler:
            break;
    }
    return db.pooledConnectionText(vendor(t), QString(), test::Cluster::get().poolerPort);
}

RunResult run(const test::TestDatabase& db, int terminals, double seconds, Route route,
              const std::vector<QString>& tickets, std::atomic<long>* sold,
              const std::function<void()>& allIn) {
    std::vector<std::vector<double>> latencies(static_cast<size_t>(terminals));
    std::atomic<long> plays{0}, errors{0};
    std::vector<std::thread> threads;
    // every terminal is connected before the clock starts, as pgbench leaves out its clients'
    // connecting: a login's password check and a new server process are no play's cost
    std::latch connected(terminals), go(1);
    for (int t = 0; t < terminals; ++t) {
        threads.emplace_back([&, t] {
            PqGateway g(10);
            const bool open = bool(g.open(terminalText(db, t, route)));
            connected.count_down();
            go.wait();
            if (!open) {
                ++errors;
                return;
            }
            QRandomGenerator random(quint32(t + 1));
            int numItem = 0;
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < seconds * 1000) {
                const ProcedureCall call = randomPlay(random, t, numItem, tickets[size_t(t)]);
                QElapsedTimer one;
                one.start();
                auto answer = g.call(call);
                latencies[size_t(t)].push_back(one.nsecsElapsed() / 1e6);
                if (!answer || answer.value().returnNumber() > 1) ++errors;
                ++plays;
                if (sold) ++*sold;
                numItem += 2;
            }
        });
    }
    connected.wait();
    if (allIn) allIn();
    QElapsedTimer wall;
    wall.start();
    go.count_down();
    for (std::thread& th : threads) th.join();
    return collect(latencies, plays, errors, wall.nsecsElapsed() / 1e9);
}

int report(const test::TestDatabase& db, bool failed) {
    const QString oversold = db.value(
        u"SELECT count(*) FROM central.ventas_numero v "
        u"WHERE v.vendido > (SELECT k.cupo FROM central.cupo(v.cod_lot, v.fecha, v.numero) k) "
        u"   OR v.vendido <> (SELECT coalesce(sum(i.monto_vendido), 0) FROM central.items_ticket i "
        u"                    WHERE i.cod_lot = v.cod_lot AND i.fecha_sorteo = v.fecha "
        u"                      AND i.numero = v.numero AND i.vigente)"_s);
    const QString soldOut = db.value(
        u"SELECT count(*) FROM central.ventas_numero v "
        u"WHERE v.vendido = (SELECT k.cupo FROM central.cupo(v.cod_lot, v.fecha, v.numero) k)"_s);
    std::printf(
        "oversell check: %s numbers sold past their quota or out of step with their items "
        "(%s numbers sold out)\n",
        qPrintable(oversold), qPrintable(soldOut));
    return oversold == u"0"_s && !failed ? 0 : 1;
}

void prepare(const test::TestDatabase& db, int points) {
    for (int i = 0; i < kLotteries.size(); ++i) {
        db.addLottery(kLotteries[i], u"LOTERIA "_s + kLotteries[i], u"24:00"_s, u"400"_s, u"2000"_s,
                      i);
    }
    for (int t = 0; t < points; ++t) db.addVendor(vendor(t), user(t));
}

std::vector<QString> takeTickets(const test::TestDatabase& db, int terminals, Route route) {
    std::vector<QString> tickets;
    for (int t = 0; t < terminals; ++t) {
        PqGateway login;
        if (!login.open(terminalText(db, t, route))) std::exit(1);
        ProcedureCall call{u"nregresaticket"_s, {}};
        call.in(u"@xcodigo_vend"_s, vendor(t));
        tickets.push_back(login.call(call).value().returnText().rightJustified(10, u'0'));
    }
    return tickets;
}

}  // namespace vendura::bench
