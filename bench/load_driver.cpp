// Load driver: N counter terminals, one connection each, selling straight plays through the
// program's own gateway code on a few hot numbers and many cold ones. The terminals reach the
// cluster over its own socket, as pgbench does, so that the two are compared over one
// transport; --tcp has them log in over TCP. Prints plays per second,
// latency percentiles and the oversell check, then pgbench's tpcb-like figure for the same N on
// the same cluster, and what each costs the server in processor time (on this machine's
// cluster): on a machine whose cores both programs share, the ratio follows that cost.
// Options: --terminals=1,8,32 --seconds=5 --no-pgbench; --rounds=N, booking and pgbench N times
// in turn for each number of terminals, then each figure's median; --pooler, to sell through the
// connection pooler (VENDURA_TEST_POOLER_PORT) on the shared login. With --counters=N it drives
// instead N mostly idle counters of N sales points through the pooler, each selling a play every
// --pace=3 seconds or so, and prints the server connections the pooler held. With
// --versus=TEMPLATE the first --terminals count sells at once on the cluster's template and on
// TEMPLATE, and it prints what a play costs the server on each (tools/bench-versus). It fails
// (exit 1) on an oversold number, a failed play, or a run that sold nothing.
#include "bench_run.h"
#include "cluster_cpu.h"
#include "idle_counters.h"
#include "load_terminals.h"
#include "platform/pq_gateway.h"

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <tuple>

using namespace vendura;
using namespace vendura::bench;

namespace {

struct Options {
    std::vector<int> terminals{1, 8, 32};
    double seconds = 5.0;
    bool pgbench = true;
    Route route = Route::Socket;
    int counters = 0;
    double pace = 3.0;
    QString versus;
    int rounds = 1;
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
            o.route = Route::Pooler;
        } else if (a == u"--tcp"_s) {
            o.route = Route::Tcp;
        } else if (a == u"--no-pgbench"_s) {
            o.pgbench = false;
        } else if (a.startsWith(u"--counters="_s)) {
            o.counters = a.section(u'=', 1).toInt();
        } else if (a.startsWith(u"--pace="_s)) {
            o.pace = a.section(u'=', 1).toDouble();
        } else if (a.startsWith(u"--rounds="_s)) {
            o.rounds = std::max(1, a.section(u'=', 1).toInt());
        } else if (a.startsWith(u"--versus="_s)) {
            o.versus = a.section(u'=', 1);
        }
    }
    return o;
}
// The cluster's processor time so far, once the processes that just ended are reaped.
std::optional<qint64> serverCpuMicros() {
    const test::Cluster& c = test::Cluster::get();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return bench::clusterCpuMicros(c.socket, c.port);
}

// Server microseconds per play or transaction over a stretch; nullopt where unseen.
std::optional<double> perUnit(std::optional<qint64> before, std::optional<qint64> after,
                              long units) {
    if (!before || !after || units <= 0) return std::nullopt;
    return double(*after - *before) / double(units);
}

struct PgbenchFigures {
    double tps = 0;
    std::optional<double> cpuPerTransaction;
};

PgbenchFigures pgbench(int clients, double seconds) {
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
    const auto cpuBefore = serverCpuMicros();
    QProcess bench;
    bench.start(
        pgbin + u"/pgbench"_s,
        base + QStringList{u"-c"_s, QString::number(clients), u"-j"_s, QString::number(clients),
                           u"-T"_s, QString::number(std::max(1, int(seconds))), u"-n"_s,
                           u"vendura_pgbench"_s});
    bench.waitForFinished(-1);
    const auto cpuAfter = serverCpuMicros();
    const QString out = QString::fromUtf8(bench.readAllStandardOutput());
    PgbenchFigures f;
    long transactions = 0;
    for (const QString& line : out.split(u'\n')) {
        if (line.startsWith(u"tps = "_s)) f.tps = line.mid(6).section(u' ', 0, 0).toDouble();
        if (line.startsWith(u"number of transactions actually processed: "_s)) {
            transactions = line.section(u':', 1).trimmed().section(u'/', 0, 0).toLong();
        }
    }
    f.cpuPerTransaction = perUnit(cpuBefore, cpuAfter, transactions);
    if (f.tps == 0) {
        std::fprintf(stderr, "pgbench gave no figure:\n%s\n%s\n", qPrintable(out),
                     bench.readAllStandardError().constData());
    }
    return f;
}

// pgbench's initialisation vacuums and analyzes its tables before each of its runs; booking
// runs on a database vacuumed and analyzed the same way. Not while it holds no play yet: its
// tables analyzed empty would have the planner read them whole as they grow during the run.
void vacuumBeforeRound(const test::TestDatabase& db) {
    if (db.value(u"SELECT EXISTS (SELECT FROM central.items_ticket)"_s) == u"t"_s)
        db.admin(u"VACUUM ANALYZE"_s);
}

QByteArray micros(std::optional<double> v) {
    return v ? QByteArray::number(*v, 'f', 0) : QByteArrayLiteral("-");
}

// One booking run and the pgbench run after it, as the table prints them.
struct Round {
    long plays = 0;
    double playsPerSecond = 0, p50 = 0, p99 = 0;
    long errors = 0;
    std::optional<double> cpuPerPlay;
    PgbenchFigures pgbench;
    double ratio = 0;  // plays per second over pgbench's transactions per second
};

void printRound(const QByteArray& label, const Round& r) {
    std::printf("%-10s %10ld %10.0f %10.2f %10.2f %8ld %12.0f %8.2f %14s %14s\n", label.constData(),
                r.plays, r.playsPerSecond, r.p50, r.p99, r.errors, r.pgbench.tps, r.ratio,
                micros(r.cpuPerPlay).constData(), micros(r.pgbench.cpuPerTransaction).constData());
}

// Each figure's median over the rounds, the ratio's own included: this machine's speed moves
// from run to run, and one run's figures can land in a slow moment of either program.
Round median(const std::vector<Round>& rounds) {
    const auto mid = [&](auto of) {
        std::vector<double> v;
        for (const Round& r : rounds) {
            if (const std::optional<double> x = of(r)) v.push_back(*x);
        }
        if (v.empty()) return std::optional<double>{};
        std::sort(v.begin(), v.end());
        return std::optional<double>{v.size() % 2 ? v[v.size() / 2]
                                                  : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2};
    };
    using O = std::optional<double>;
    Round m;
    m.plays = long(*mid([](const Round& r) { return O(double(r.plays)); }));
    m.playsPerSecond = *mid([](const Round& r) { return O(r.playsPerSecond); });
    m.p50 = *mid([](const Round& r) { return O(r.p50); });
    m.p99 = *mid([](const Round& r) { return O(r.p99); });
    m.errors = long(*mid([](const Round& r) { return O(double(r.errors)); }));
    m.cpuPerPlay = mid([](const Round& r) { return r.cpuPerPlay; });
    m.pgbench.tps = *mid([](const Round& r) { return O(r.pgbench.tps); });
    m.pgbench.cpuPerTransaction = mid([](const Round& r) { return r.pgbench.cpuPerTransaction; });
    m.ratio = *mid([](const Round& r) { return O(r.ratio); });
    return m;
}

// Two server versions side by side: the same terminals sell at the same time on a copy of the
// cluster's template and on a copy of another one (another commit's procedures, made by its own
// tools/db template), so that both meet the same machine at the same moment. What each play
// costs its server processes is read over the middle of the run, when every terminal is in.
// Differences of a few percent show, which runs one after the other on a shared machine hide.
int versus(const Options& options) {
    const int terminals = options.terminals.front();
    test::TestDatabase ours, theirs(options.versus);
    prepare(ours, terminals);
    prepare(theirs, terminals);
    const std::vector<QString> ourTickets = takeTickets(ours, terminals, options.route);
    const std::vector<QString> theirTickets = takeTickets(theirs, terminals, options.route);
    std::atomic<long> ourPlays{0}, theirPlays{0};
    RunResult ourRun, theirRun;
    std::thread a([&] {
        ourRun = run(ours, terminals, options.seconds, options.route, ourTickets, &ourPlays);
    });
    std::thread b([&] {
        theirRun =
            run(theirs, terminals, options.seconds, options.route, theirTickets, &theirPlays);
    });
    const test::Cluster& c = test::Cluster::get();
    struct Sample {
        std::optional<qint64> ourCpu, theirCpu;
        long ourPlays, theirPlays;
    };
    const auto sample = [&] {
        return Sample{bench::databaseCpuMicros(c.socket, c.port, ours.name()),
                      bench::databaseCpuMicros(c.socket, c.port, theirs.name()), ourPlays.load(),
                      theirPlays.load()};
    };
    const auto wait = [&](double part) {
        std::this_thread::sleep_for(
            std::chrono::milliseconds(qint64(options.seconds * 1000 * part)));
    };
    wait(0.3);
    const Sample first = sample();
    wait(0.6);
    const Sample last = sample();
    a.join();
    b.join();
    const auto ourCost = perUnit(first.ourCpu, last.ourCpu, last.ourPlays - first.ourPlays);
    const auto theirCost =
        perUnit(first.theirCpu, last.theirCpu, last.theirPlays - first.theirPlays);
    std::printf("%-24s %10s %10s %10s %14s\n", "template", "plays", "plays/s", "p99 ms",
                "server us/play");
    for (const auto& [name, r, cost] :
         {std::tuple{c.templateName, &ourRun, ourCost}, {options.versus, &theirRun, theirCost}}) {
        std::printf("%-24s %10ld %10.0f %10.2f %14s\n", qPrintable(name), r->plays,
                    double(r->plays) / r->seconds, percentileOfSorted(r->latenciesMs, 0.99),
                    micros(cost).constData());
    }
    if (ourCost && theirCost) {
        std::printf("server cost of a play, %s over %s: %.3f\n", qPrintable(c.templateName),
                    qPrintable(options.versus), *ourCost / *theirCost);
    }
    const bool failed =
        ourRun.plays == 0 || ourRun.errors > 0 || theirRun.plays == 0 || theirRun.errors > 0;
    bench::check(!bench::smoke() || (ourCost && theirCost),
                 "the server's processor time per database could not be read");
    return std::max(report(ours, failed), report(theirs, failed));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const Options options = parse(app.arguments());
    if (!options.versus.isEmpty()) return versus(options);
    const int most = *std::max_element(options.terminals.begin(), options.terminals.end());
    test::TestDatabase db;
    prepare(db, options.counters > 0 ? options.counters : most);

    if (options.counters > 0) {
        allowManyConnections();
        int server = 0;
        double loginSeconds = 0;
        const RunResult r =
            runCounters(db, options.counters, options.pace, options.seconds, server, loginSeconds);
        std::printf("%-10s %10s %10s %10s %10s %8s %18s %12s\n", "counters", "plays", "plays/s",
                    "p50 ms", "p99 ms", "errors", "server conns (max)", "logins/s");
        std::printf("%-10d %10ld %10.0f %10.2f %10.2f %8ld %18d %12.0f\n", options.counters,
                    r.plays, double(r.plays) / r.seconds, percentileOfSorted(r.latenciesMs, 0.5),
                    percentileOfSorted(r.latenciesMs, 0.99), r.errors, server,
                    options.counters / std::max(loginSeconds, 1e-3));
        return report(db, r.plays == 0 || r.errors > 0);
    }

    std::printf("%-10s %10s %10s %10s %10s %8s %12s %8s %14s %14s\n", "terminals", "plays",
                "plays/s", "p50 ms", "p99 ms", "errors", "pgbench tps", "ratio", "server us/play",
                "server us/tx");
    bool failed = false;
    for (int terminals : options.terminals) {
        std::vector<Round> rounds;
        for (int k = 0; k < options.rounds; ++k) {
            const std::vector<QString> tickets = takeTickets(db, terminals, options.route);
            vacuumBeforeRound(db);
            std::optional<qint64> cpuBefore;
            const RunResult r = run(db, terminals, options.seconds, options.route, tickets, nullptr,
                                    [&] { cpuBefore = serverCpuMicros(); });
            Round round;
            round.cpuPerPlay = perUnit(cpuBefore, serverCpuMicros(), r.plays);
            bench::check(!bench::smoke() || round.cpuPerPlay,
                         "the server's processor time could not be read");
            round.plays = r.plays;
            round.playsPerSecond = double(r.plays) / r.seconds;
            round.p50 = percentileOfSorted(r.latenciesMs, 0.5);
            round.p99 = percentileOfSorted(r.latenciesMs, 0.99);
            round.errors = r.errors;
            round.pgbench =
                options.pgbench ? pgbench(terminals, options.seconds) : PgbenchFigures{};
            round.ratio = round.pgbench.tps > 0 ? round.playsPerSecond / round.pgbench.tps : 0.0;
            failed = failed || r.plays == 0 || r.errors > 0;
            printRound(QByteArray::number(terminals), round);
            rounds.push_back(round);
        }
        if (rounds.size() > 1)
            printRound(QByteArray::number(terminals) + " median", median(rounds));
    }
    return report(db, failed);
}
