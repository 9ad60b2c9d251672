#pragma once
// Counters booking straight plays for a while, each on its own connection and open ticket, with
// something else running beside them or not: how much a play costs when the database is busy
// with other work, or holds a year of data. A play that fails ends the program.
#include "test_database.h"

#include <atomic>
#include <functional>

namespace vendura::bench {

struct BookingFigures {
    long plays = 0;
    double playsPerSecond = 0;
    double p99Ms = 0;
};

// What runs beside the booking, on a thread of its own, until `stop`; it counts its rounds
// and its failures.
using Beside = std::function<void(const std::atomic<bool>& stop, std::atomic<long>& rounds,
                                  std::atomic<long>& failures)>;

// Makes the sales points of `terminals` booking counters ("B0", user "BU0", ...).
void addBookingTerminals(const test::TestDatabase& db, int terminals);

// The terminals book plays of one unit on AAA and BBB, numbers spread over the thousand, for
// `seconds`; `beside` runs as long as they do, its rounds in `besideRounds`.
BookingFigures bookForAWhile(const test::TestDatabase& db, int terminals, double seconds,
                             const Beside& beside = {}, long* besideRounds = nullptr);

}  // namespace vendura::bench
