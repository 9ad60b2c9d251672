#include "booking_load.h"

#include "bench_run.h"
#include "platform/pq_gateway.h"
#include "sales/play_seller.h"

#include <QElapsedTimer>

#include <algorithm>
#include <thread>
#include <vector>

namespace vendura::bench {

namespace {
QString vendor(int t) {
    return u"B%1"_s.arg(t);
}
QString user(int t) {
    return u"BU%1"_s.arg(t);
}
}  // namespace

void addBookingTerminals(const test::TestDatabase& db, int terminals) {
    for (int t = 0; t < terminals; ++t) db.addVendor(vendor(t), user(t));
}

BookingFigures bookForAWhile(const test::TestDatabase& db, int terminals, double seconds,
                             const Beside& beside, long* besideRounds) {
    // the test database's own connection serves one thread: the tickets are taken here
    std::vector<QString> tickets;
    for (int t = 0; t < terminals; ++t) tickets.push_back(db.newTicket(vendor(t)));
    std::atomic<bool> stop{false};
    std::atomic<long> rounds{0}, failures{0};
    std::vector<std::vector<double>> latencies(static_cast<size_t>(terminals));
    std::thread side;
    if (beside) side = std::thread([&] { beside(stop, rounds, failures); });
    std::vector<std::thread> counters;
    for (int t = 0; t < terminals; ++t) {
        counters.emplace_back([&, t] {
            PqGateway g(5);
            if (!g.open(db.connectionText(vendor(t)))) {
                ++failures;
                return;
            }
            const QString& ticket = tickets[size_t(t)];
            QElapsedTimer clock;
            clock.start();
            for (int item = 0; clock.elapsed() < seconds * 1000; item += 2) {
                QElapsedTimer one;
                one.start();
                auto answer = g.call(xcreanormal(vendor(t), user(t),
                                                 QString::number((t * 125 + item / 2) % 1000),
                                                 Money::whole(1), item, u"AAABBB"_s, ticket));
                latencies[size_t(t)].push_back(double(one.nsecsElapsed()) / 1e6);
                if (!answer || answer.value().returnNumber() > 1) ++failures;
            }
        });
    }
    for (std::thread& c : counters) c.join();
    stop = true;
    if (side.joinable()) side.join();

    std::vector<double> all;
    for (const auto& l : latencies) all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    check(failures == 0 && !all.empty(), "a play, or what ran beside the booking, failed");
    if (besideRounds) *besideRounds = rounds;
    BookingFigures f;
    f.plays = long(all.size());
    f.playsPerSecond = double(all.size()) / seconds;
    f.p99Ms = all[std::min(all.size() - 1, size_t(0.99 * double(all.size())))];
    return f;
}

}  // namespace vendura::bench
