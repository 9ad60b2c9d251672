#pragma once
// Days of sales loaded in bulk, as issuing, results and payments would have left them, for the
// benchmarks that measure the reports and the booking over a busy database.
#include "test_database.h"

#include <QDate>

namespace vendura::bench {

// The eight lotteries AAA to HHH, the payouts in force for everything sold, sales point 00012
// (seller 1001) on a commission of 12 %, and the server's clock at 10:00 the day after `lastDay`.
void openBusyNetwork(const test::TestDatabase& db, const QDate& lastDay);

// How a day's tickets are shared: the first `busy` are sales point 00012's, the rest go round
// `points` other sales points (networkPoint(p), seller networkSeller(p)), made beforehand.
struct DaySales {
    int busy = 0;
    int network = 0;
    int points = 1;
    // false: a day still selling, its draws open
    bool drawn = true;
};
QString networkPoint(int p);
QString networkSeller(int p);

// One day: its tickets of two items each (a triple and a terminal on lotteries and numbers
// spread by the ticket's number; one in a hundred cancelled), numbered from firstTicket + 1; the
// numbers' sold quota as the bookings would have left it; and, for a day drawn, the draws'
// results, their stored prizes and half of 00012's winners paid.
void loadDay(const test::TestDatabase& db, const QDate& day, qint64 firstTicket,
             const DaySales& sales);

// Every ticket and its two items are there (`tickets` in all), the days' play kept since `since`
// equals their items and prizes, and there are prizes to report; a check that fails ends the
// program.
void checkDaysLoaded(const test::TestDatabase& db, qint64 tickets, const QDate& since);

}  // namespace vendura::bench
