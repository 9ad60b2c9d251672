// Load driver: N counter terminals, one connection each, selling straight plays through the
// program's own gateway code on a few hot numbers and many cold ones. Prints plays per second,
// latency percentiles and the oversell check, then pgbench's tpcb-like figure for the same N on
// the same cluster. Options: --terminals=1,8,32 --seconds=5 --no-pgbench, and --pooler to sell
// through the connection pooler (VENDURA_TEST_POOLER_PORT) on the shared login. With --counters=N
// it drives instead N mostly idle counters of N sales points through the connection pooler
// (VENDURA_TEST_POOLER_PORT), each selling a play every --pace=3 seconds or so, and prints the
// server connections the pooler held. It fails (exit 1) on an oversold number, a failed play,
// or a run that sold nothing.
#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <semaphore>
#include <thread>

using namespace vendura;

namespace {

struct Options {
    std::vector<int> terminals{1, 8, 32};
    double seconds = 5.0;
    bool pgbench = true;
    bool pooler = false;
    int counters = 0;
    double pace = 3.0;
};

Options parse(const QStringList& args) {
    Options o;
    for (const QString& a : args) {
        if (a.startsWith(u"--terminals="_s)) {
            o.terminals.clear();
            for (const QString& n : a.section(u'=', 1).split(u','))
                o.terminals.push_back(n.toInt());
        } else if (a.startsWith(u"--seconds="_s)) {
            o.seconds = a.section(u'=', 1).toDouble();
        } else if (a == u"--pooler"_s) {
            o.pooler = true;
        } else if (a == u"--no-pgbench"_s) {
            o.pgbench = false;
        } else if (a.startsWith(u"--counters="_s)) {
            o.counters = a.section(u'=', 1).toInt();
        } else if (a.startsWith(u"--pace="_s)) {
            o.pace = a.section(u'=', 1).toDouble();
        }
    }
    return o;
}
const QStringList kLotteries = {u"AAA"_s, u"BBB"_s, u"CCC"_s, u"DDD"_s, u"EEE"_s};

QString vendor(int t) {
    return u"V%1"_s.arg(t, 4, 10, QChar(u'0'));
}
QString user(int t) {
    return u"U%1"_s.arg(t, 4, 10, QChar(u'0'));
}

struct RunResult {
    long plays = 0;
    long errors = 0;
    double seconds = 0;
    std::vector<double> latenciesMs;
};

// A straight play as the counters of the load sell them: one in five on one of five hot
// numbers, the rest spread over 1000, on two of the lotteries.
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

// How terminal t reaches the server: its own login, or the pooler's shared one.
QString terminalText(const test::TestDatabase& db, int t, bool pooler) {
    return pooler ? db.pooledConnectionText(vendor(t), QString(), test::Cluster::get().poolerPort)
                  : db.connectionText(vendor(t));
}

RunResult run(const test::TestDatabase& db, int terminals, double seconds, bool pooler,
              const std::vector<QString>& tickets) {
    std::vector<std::vector<double>> latencies(static_cast<size_t>(terminals));
    std::atomic<long> plays{0}, errors{0};
    std::vector<std::thread> threads;
    QElapsedTimer wall;
    wall.start();
    for (int t = 0; t < terminals; ++t) {
        threads.emplace_back([&, t] {
            PqGateway g(10);
            if (!g.open(terminalText(db, t, pooler))) {
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
                numItem += 2;
            }
        });
    }
    for (std::thread& th : threads) th.join();
    return collect(latencies, plays, errors, wall.nsecsElapsed() / 1e9);
}

// The first few failures of a run, said on standard error: a failed run says why.
class FirstErrors {
  public:
    void note(const QString& what) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (++count_ <= 5) std::fprintf(stderr, "failed: %s\n", qPrintable(what));
    }

  private:
    std::mutex mutex_;
    int count_ = 0;
};

// Many counters of as many sales points, each its own connection to the pooler, each opening
// its session and ticket, then selling a play every `pace` seconds or so, as a person at a
// counter does, for `seconds` after all of them are in. Counters come in as a network's morning
// does, a few dozen logging in at any moment: each proves its password to a deliberately slow
// hash, and two thousand at the same instant would queue past the pooler's call limit. The
// most server connections the pooler held in the timed part comes back in `serverConnections`,
// the seconds all of them took to log in in `loginSeconds`.
RunResult runCounters(const test::TestDatabase& db, int counters, double pace, double seconds,
                      int& serverConnections, double& loginSeconds) {
    std::vector<std::vector<double>> latencies(static_cast<size_t>(counters));
    std::atomic<long> plays{0}, errors{0};
    FirstErrors firstErrors;
    std::atomic<int> ready{0};
    std::atomic<bool> go{false}, stop{false};
    std::mutex phaseMutex;
    std::condition_variable phaseChanged;
    std::counting_semaphore<> loggingIn(32);
    std::vector<std::thread> threads;
    QElapsedTimer logins;
    logins.start();
    for (int t = 0; t < counters; ++t) {
        threads.emplace_back([&, t] {
            PqGateway g(30);
            ProcedureCall take{u"nregresaticket"_s, {}};
            take.in(u"@xcodigo_vend"_s, vendor(t));
            loggingIn.acquire();
            const Result<void> opened = g.open(terminalText(db, t, true));
            const Result<CallAnswer> ticket = opened ? g.call(take) : opened.error();
            loggingIn.release();
            ++ready;
            if (!ticket) {
                ++errors;
                firstErrors.note(ticket.error().description);
                return;
            }
            const QString nticket = ticket.value().returnText().rightJustified(10, u'0');
            {
                std::unique_lock<std::mutex> lock(phaseMutex);
                phaseChanged.wait(lock, [&] { return go.load(); });
            }
            QRandomGenerator random(quint32(t + 1));
            // counters start out of step, then each waits its own while between plays
            auto pause = [&](double lo, double hi) {
                const auto ms = std::chrono::milliseconds(
                    qint64(1000 * pace * (lo + (hi - lo) * random.generateDouble())));
                // asleep until its next play: two thousand counters polling would take the
                // cores the server needs
                std::unique_lock<std::mutex> lock(phaseMutex);
                phaseChanged.wait_for(lock, ms, [&] { return stop.load(); });
            };
            pause(0, 1);
            for (int numItem = 0; !stop; numItem += 2) {
                QElapsedTimer one;
                one.start();
                auto answer = g.call(randomPlay(random, t, numItem, nticket));
                latencies[size_t(t)].push_back(one.nsecsElapsed() / 1e6);
                if (!answer || answer.value().returnNumber() > 1) {
                    ++errors;
                    firstErrors.note(answer ? u"código "_s + answer.value().returnText()
                                            : answer.error().description);
                }
                ++plays;
                pause(0.5, 1.5);
            }
        });
    }
    while (ready < counters) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    loginSeconds = logins.nsecsElapsed() / 1e9;
    QElapsedTimer wall;
    wall.start();
    {
        std::lock_guard<std::mutex> lock(phaseMutex);
        go = true;
    }
    phaseChanged.notify_all();
    serverConnections = 0;
    while (wall.elapsed() < seconds * 1000) {
        serverConnections = std::max(
            serverConnections,
            db.value(u"SELECT count(*) FROM pg_stat_activity WHERE usename = 'vendura_pasarela'"_s)
                .toInt());
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    {
        std::lock_guard<std::mutex> lock(phaseMutex);
        stop = true;
    }
    phaseChanged.notify_all();
    for (std::thread& th : threads) th.join();
    return collect(latencies, plays, errors, wall.nsecsElapsed() / 1e9);
}

// A thousand counters are a thousand sockets in this one process.
void allowManyConnections() {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
}

double percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    return sorted[std::min(sorted.size() - 1, size_t(p * double(sorted.size())))];
}

double pgbenchTps(int clients, double seconds) {
    const test::Cluster& c = test::Cluster::get();
    const QString pgbin = qEnvironmentVariable("VENDURA_PG_BIN", u"/usr/lib/postgresql/15/bin"_s);
    const QStringList base = {u"-h"_s, c.socket,     u"-p"_s, QString::number(c.port),
                              u"-U"_s, u"postgres"_s};
    QProcess::execute(pgbin + u"/psql"_s,
                      base + QStringList{u"-d"_s, u"postgres"_s, u"-qc"_s,
                                         u"DROP DATABASE IF EXISTS vendura_pgbench"_s});
    QProcess::execute(pgbin + u"/psql"_s, base + QStringList{u"-d"_s, u"postgres"_s, u"-qc"_s,
                                                             u"CREATE DATABASE vendura_pgbench"_s});
    QProcess init;
    init.start(pgbin + u"/pgbench"_s,
               base + QStringList{u"-i"_s, u"-q"_s, u"-s"_s, QString::number(std::max(1, clients)),
                                  u"vendura_pgbench"_s});
    init.waitForFinished(-1);
    QProcess bench;
    bench.start(
        pgbin + u"/pgbench"_s,
        base + QStringList{u"-c"_s, QString::number(clients), u"-j"_s, QString::number(clients),
                           u"-T"_s, QString::number(std::max(1, int(seconds))), u"-n"_s,
                           u"vendura_pgbench"_s});
    bench.waitForFinished(-1);
    const QString out = QString::fromUtf8(bench.readAllStandardOutput());
    for (const QString& line : out.split(u'\n')) {
        if (line.startsWith(u"tps = "_s)) return line.mid(6).section(u' ', 0, 0).toDouble();
    }
    std::fprintf(stderr, "pgbench gave no figure:\n%s\n%s\n", qPrintable(out),
                 bench.readAllStandardError().constData());
    return 0;
}

// The oversell check, by the server's own quota rule; the program's status.
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

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(app.arguments());
    const int most = *std::max_element(options.terminals.begin(), options.terminals.end());
    test::TestDatabase db;
    for (int i = 0; i < kLotteries.size(); ++i) {
        db.addLottery(kLotteries[i], u"LOTERIA "_s + kLotteries[i], u"24:00"_s, u"400"_s, u"2000"_s,
                      i);
    }
    const int points = options.counters > 0 ? options.counters : most;
    for (int t = 0; t < points; ++t) db.addVendor(vendor(t), user(t));

    if (options.counters > 0) {
        allowManyConnections();
        int server = 0;
        double loginSeconds = 0;
        const RunResult r =
            runCounters(db, options.counters, options.pace, options.seconds, server, loginSeconds);
        std::printf("%-10s %10s %10s %10s %10s %8s %18s %12s\n", "counters", "plays", "plays/s",
                    "p50 ms", "p99 ms", "errors", "server conns (max)", "logins/s");
        std::printf("%-10d %10ld %10.0f %10.2f %10.2f %8ld %18d %12.0f\n", options.counters,
                    r.plays, double(r.plays) / r.seconds, percentile(r.latenciesMs, 0.5),
                    percentile(r.latenciesMs, 0.99), r.errors, server,
                    options.counters / std::max(loginSeconds, 1e-3));
        return report(db, r.plays == 0 || r.errors > 0);
    }

    std::printf("%-10s %10s %10s %10s %10s %8s %12s %8s\n", "terminals", "plays", "plays/s",
                "p50 ms", "p99 ms", "errors", "pgbench tps", "ratio");
    bool failed = false;
    for (int terminals : options.terminals) {
        std::vector<QString> tickets;
        for (int t = 0; t < terminals; ++t) {
            // each sales point takes its temporary ticket through its own login
            PqGateway login;
            if (!login.open(terminalText(db, t, options.pooler))) return 1;
            ProcedureCall call{u"nregresaticket"_s, {}};
            call.in(u"@xcodigo_vend"_s, vendor(t));
            tickets.push_back(login.call(call).value().returnText().rightJustified(10, u'0'));
        }
        const RunResult r = run(db, terminals, options.seconds, options.pooler, tickets);
        const double playsPerSecond = double(r.plays) / r.seconds;
        const double tps = options.pgbench ? pgbenchTps(terminals, options.seconds) : 0.0;
        failed = failed || r.plays == 0 || r.errors > 0;
        std::printf("%-10d %10ld %10.0f %10.2f %10.2f %8ld %12.0f %8.2f\n", terminals, r.plays,
                    playsPerSecond, percentile(r.latenciesMs, 0.5), percentile(r.latenciesMs, 0.99),
                    r.errors, tps, tps > 0 ? playsPerSecond / tps : 0.0);
    }
    return report(db, failed);
}
