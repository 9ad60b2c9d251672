#include "busy_reports.h"

#include "bench_run.h"
#include "reports/account_statement.h"
#include "reports/prize_report.h"
#include "reports/sales_report.h"

namespace vendura::bench {

ReportReader::ReportReader(const test::TestDatabase& db, const QString& vendor,
                           const QString& user) {
    check(counter_.open(db.connectionText(vendor)).ok(), "no connection for the reports");
    session_.CodVendedor = vendor;
    session_.NombreVendedor = u"AGENCIA "_s + vendor;
    session_.Usuario = user;
    session_.NombreUsuario = u"VENDEDOR "_s + user;
}

RecordSet ReportReader::rows(const ProcedureCall& call, CallAnswer* whole) {
    auto answer = counter_.call(call);
    if (!answer) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(call.name),
                     qPrintable(answer.error().description));
        check(false, "a report's call failed");
    }
    if (whole) *whole = answer.value();
    return answer.value().rows;
}

QStringList ReportReader::prizeReport(const QDate& from, const QDate& to, bool detailed) {
    const QString& vendor = session_.CodVendedor;
    const RecordSet tickets = rows(prize_report::call(u"RPTTICKPREMIADOS"_s, vendor, from, to));
    const RecordSet plays =
        detailed ? rows(prize_report::call(u"RPTTICKPREMIADOSdetalle"_s, vendor, from, to))
                 : RecordSet();
    return prize_report::compose(session_, from, to, detailed, tickets, plays);
}

QStringList ReportReader::salesReport(const QDate& day) {
    CallAnswer a;
    const RecordSet cancelled = rows(sales_report::call(session_, day), &a);
    return sales_report::compose(session_, day, a.outputs.value(u"@montoventa"_s), cancelled);
}

QStringList ReportReader::finalReport(final_report::Kind kind, const QDate& day) {
    const RecordSet lines = rows(final_report::call(kind, session_.CodVendedor, day, day));
    return final_report::compose(session_, kind, day, day, lines, {});
}

QStringList ReportReader::statement(const QDate& day) {
    CallAnswer a;
    rows(account_statement::call(session_.CodVendedor, day), &a);
    return account_statement::compose(session_, day, a);
}

QStringList ReportReader::monitor(sales_monitor::Kind kind, const QString& lottery,
                                  const QDate& day) {
    return sales_monitor::lines(sales_monitor::entries(rows(sales_monitor::listing(
                                    kind, lottery, session_.CodVendedor, day))),
                                6);
}

}  // namespace vendura::bench
