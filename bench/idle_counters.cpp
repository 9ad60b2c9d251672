#include "idle_counters.h"

#include "load_terminals.h"
#include "platform/pq_gateway.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <sys/resource.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <semaphore>
#include <thread>

namespace vendura::bench {
namespace {

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

}  // namespace

// Counters come in as a network's morning does, a few dozen logging in at any moment: each proves
// its password to a deliberately slow hash, and two thousand at the same instant would queue past
// the pooler's call limit.
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
            const Result<void> opened = g.open(terminalText(db, t, Route::Pooler));
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

void allowManyConnections() {
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
}

}  // namespace vendura::bench
