#pragma once
// The reports of a sales point as its counter asks for them and composes their lines, for the
// benchmarks that time them over a busy database. A call that fails ends the program.
#include "platform/pq_gateway.h"
#include "reports/final_report.h"
#include "reports/sales_monitor.h"
#include "session/session.h"
#include "test_database.h"

#include <QDate>
#include <QStringList>

#include <functional>

namespace vendura::bench {

class ReportReader {
  public:
    // The counter of `vendor` (user `user`), logged in through its own login.
    ReportReader(const test::TestDatabase& db, const QString& vendor, const QString& user);

    QStringList prizeReport(const QDate& from, const QDate& to, bool detailed);
    QStringList salesReport(const QDate& day);
    QStringList finalReport(final_report::Kind kind, const QDate& day);
    QStringList statement(const QDate& day);
    QStringList monitor(sales_monitor::Kind kind, const QString& lottery, const QDate& day);

  private:
    RecordSet rows(const ProcedureCall& call, CallAnswer* whole = nullptr);

    PqGateway counter_{5};
    Session session_;
};

// What a report benchmark reads: the busy database and the counter of its sales point 00012.
struct BusyPoint {
    const test::TestDatabase& db;
    ReportReader& reader;
};

// Registers the benchmarks of every report of sales point 00012's last day and month over the
// database `busy` answers (seeded on its first call): the prize report of the day and of thirty
// days, summary and detailed; the sales report; the final relation of each kind; the account
// statement as it stands, then settled the day before; the monitor of AAA, general and detailed.
void registerReportBenchmarks(const std::function<BusyPoint()>& busy, const QDate& lastDay);

}  // namespace vendura::bench
