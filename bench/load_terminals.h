#pragma once
// The counter terminals of the load: the lotteries and sales points they sell on, their
// connections and tickets, the straight plays they sell, and the checks of what they sold.
#include "test_database.h"

#include <QRandomGenerator>

#include <atomic>
#include <functional>
#include <vector>

namespace vendura {
struct ProcedureCall;
}

namespace vendura::bench {

struct RunResult {
    long plays = 0;
    long errors = 0;
    double seconds = 0;
    std::vector<double> latenciesMs;  // sorted
};

QString vendor(int t);
QString user(int t);

// A straight play as the terminals sell it, on ticket `ticket` from item `numItem` on.
ProcedureCall randomPlay(QRandomGenerator& random, int t, int numItem, const QString& ticket);

// The plays, errors and latencies of the terminals of a run, all latencies sorted.
RunResult collect(std::vector<std::vector<double>>& latencies, long plays, long errors,
                  double seconds);

// How a terminal reaches the server: its own login over the cluster's own socket, as pgbench
// reaches it on the database's machine; its own login over TCP, as a counter of the network; or
// the pooler's shared login.
enum class Route { Socket, Tcp, Pooler };

QString terminalText(const test::TestDatabase& db, int t, Route route);

// The lotteries and sales points every run sells on.
void prepare(const test::TestDatabase& db, int points);

// Each sales point's temporary ticket, taken through its own login.
std::vector<QString> takeTickets(const test::TestDatabase& db, int terminals, Route route);

// `terminals` terminals selling as fast as each gets its answers, for `seconds` from the moment
// all of them are connected (when `allIn` runs); every play also counts in `sold` as it is
// answered.
RunResult run(const test::TestDatabase& db, int terminals, double seconds, Route route,
              const std::vector<QString>& tickets, std::atomic<long>* sold = nullptr,
              const std::function<void()>& allIn = {});

// The oversell check, by the server's own quota rule, printed; the program's status (1 when a
// number is oversold or `failed`).
int report(const test::TestDatabase& db, bool failed);

}  // namespace vendura::bench
