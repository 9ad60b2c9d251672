// The office's desk beside a busy day: a day of 100,000 issued tickets still selling (its draws
// open, its numbers' sold quota held), 32 counters booking on it, and the desk's live view read
// again and again, a screen after another: a draw's exposure (the 1,000 numbers), the day's
// sales per lottery and per hour, and the open tickets. Figures: each screen's refresh time, and
// booking's plays per second and p99 alone and with the desk open, in the same run. The desk here
// refreshes a screen every 100 ms, harsher than one desk's screen every five seconds.
// VENDURA_BENCH_TICKETS_PER_DAY, VENDURA_BENCH_TERMINALS and VENDURA_BENCH_SECONDS change the
// volume.
#include "bench_run.h"
#include "booking_load.h"
#include "busy_days.h"
#include "office/admin_link.h"
#include "office/exposure.h"
#include "office/network_view.h"
#include "office/open_tickets.h"
#include "test_database.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

using namespace vendura;
using namespace vendura::test;

namespace {

const QDate kToday(2026, 12, 7);

// The live screens' reads, each what one screen asks when it refreshes: a draw's exposure (the
// 1,000 numbers), the day's sales per lottery and per hour, the open tickets. False if a read
// failed or came back empty.
struct LiveRead {
    const char* screen;
    std::function<bool(office::AdminLink&)> read;
};
const LiveRead kLiveReads[] = {
    {"exposure",
     [](office::AdminLink& link) {
         auto rows = link.call(u"exposicion"_s, {u"AAA"_s, kToday.toString(Qt::ISODate)});
         return rows && office::readExposure(rows.value()) && rows.value().size() == 1000;
     }},
    {"sales",
     [](office::AdminLink& link) {
         auto sales = office::daySales(link, kToday.toString(Qt::ISODate));
         return sales && !sales.value().total.isZero();
     }},
    {"counters", [](office::AdminLink& link) { return office::openTickets(link).ok(); }},
};
constexpr size_t kScreens = std::size(kLiveReads);

}  // namespace

int main() {
    const int tickets = bench::setting("VENDURA_BENCH_TICKETS_PER_DAY", bench::sized(100000, 400));
    const int terminals = bench::setting("VENDURA_BENCH_TERMINALS", bench::sized(32, 3));
    const double seconds = bench::setting("VENDURA_BENCH_SECONDS", bench::sized(15, 1));
    const int points = bench::sized(200, 4);

    TestDatabase db;
    QElapsedTimer seeding;
    seeding.start();
    bench::openBusyNetwork(db, kToday.addDays(-1));
    // room in every number's quota for the day loaded and the booking on top of it
    db.admin(u"UPDATE central.loterias SET cupo_triple = 100000, cupo_terminal = 100000"_s);
    for (int p = 0; p < points; ++p) db.addVendor(bench::networkPoint(p), bench::networkSeller(p));
    bench::addBookingTerminals(db, terminals);
    bench::loadDay(db, kToday, 0, {tickets / 5, tickets - tickets / 5, points, false});
    db.admin(u"VACUUM ANALYZE"_s);
    db.admin(u"CHECKPOINT"_s);
    bench::check(db.value(u"SELECT count(*) FROM central.tickets WHERE fecha = $1"_s,
                          {kToday.toString(Qt::ISODate)}) == QString::number(tickets),
                 "not every ticket of the day was loaded");
    bench::check(db.value(u"SELECT count(*) FROM central.resultados"_s) == u"0"_s,
                 "the day's draws are not open");
    std::printf("seeded a day of %d tickets still selling in %.0f s\n", tickets,
                double(seeding.elapsed()) / 1000);

    office::ConnectionOptions desk;
    desk.host = Cluster::get().host;
    desk.port = Cluster::get().port;
    desk.database = db.name();
    desk.user = db.officeLogin(1);
    desk.password = u"oficina-prueba"_s;
    desk.application = u"vendura-oficina"_s;

    // each screen's read with nothing else running, for its own cost
    std::vector<double> quiet[kScreens];
    {
        auto link = office::PqAdminLink::connect(desk);
        bench::check(link.ok(), "the desk could not log in");
        for (int i = 0; i < bench::sized(20, 2); ++i) {
            for (size_t v = 0; v < kScreens; ++v) {
                QElapsedTimer t;
                t.start();
                bench::check(kLiveReads[v].read(*link.value()), "a live screen could not be read");
                quiet[v].push_back(double(t.nsecsElapsed()) / 1e6);
            }
        }
    }

    const bench::BookingFigures alone = bench::bookForAWhile(db, terminals, seconds);
    std::vector<double> busy[kScreens];
    std::mutex busyLock;
    long rounds = 0;
    const bench::BookingFigures withDesk = bench::bookForAWhile(
        db, terminals, seconds,
        [&](const std::atomic<bool>& stop, std::atomic<long>& done, std::atomic<long>& failures) {
            auto link = office::PqAdminLink::connect(desk);
            if (!link) {
                ++failures;
                return;
            }
            for (size_t v = 0; !stop; v = (v + 1) % kScreens) {
                QElapsedTimer t;
                t.start();
                if (!kLiveReads[v].read(*link.value())) ++failures;
                {
                    std::lock_guard<std::mutex> l(busyLock);
                    busy[v].push_back(double(t.nsecsElapsed()) / 1e6);
                }
                ++done;
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        },
        &rounds);
    bench::check(rounds > 0, "the desk never refreshed");

    for (size_t v = 0; v < kScreens; ++v) {
        std::printf(
            "%-9s refresh: nothing booking p50 %.1f ms, max %.1f ms; %d terminals "
            "booking p50 %.1f ms, p99 %.1f ms, max %.1f ms (%zu reads)\n",
            kLiveReads[v].screen, bench::percentile(quiet[v], 0.5),
            bench::percentile(quiet[v], 1.0), terminals, bench::percentile(busy[v], 0.5),
            bench::percentile(busy[v], 0.99), bench::percentile(busy[v], 1.0), busy[v].size());
    }
    std::printf("booking at %d terminals, desk closed: %.0f plays/s, p99 %.2f ms\n", terminals,
                alone.playsPerSecond, alone.p99Ms);
    std::printf("booking at %d terminals, desk open:   %.0f plays/s, p99 %.2f ms\n", terminals,
                withDesk.playsPerSecond, withDesk.p99Ms);
    return 0;
}
