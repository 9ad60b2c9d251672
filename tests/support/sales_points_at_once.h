#pragma once

#include "platform/pq_gateway.h"
#include "test_database.h"

#include <QString>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace vendura::test {

struct SalesPointAtOnce {
    int index;
    QString vendor;
    QString user;
    QString ticket;
};

// Makes `count` sales points (vendors V0000…, sellers U000…, each with an open ticket) and runs
// `work` for each at the same time, on a thread and a connection of its own. Answers the
// connections that did not open plus the failures `work` counted.
inline int salesPointsAtOnce(TestDatabase& db, int count,
                             const std::function<int(PqGateway&, const SalesPointAtOnce&)>& work) {
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < count; ++t) {
        SalesPointAtOnce point{t, QStringLiteral("V%1").arg(t, 4, 10, QChar(u'0')),
                               QStringLiteral("U%1").arg(t, 3, 10, QChar(u'0')), QString()};
        db.addVendor(point.vendor, point.user);
        point.ticket = db.newTicket(point.vendor);
        threads.emplace_back([&, point, connection = db.connectionText(point.vendor)] {
            PqGateway g(10);
            if (!g.open(connection)) {
                ++failures;
                return;
            }
            failures += work(g, point);
        });
    }
    for (std::thread& th : threads) th.join();
    return failures;
}

}  // namespace vendura::test
