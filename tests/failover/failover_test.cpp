// The primary is lost in the middle of a day of sales and the synchronous standby takes over:
// every ticket, item, payment and quota committed before is there, and the counter goes on by
// itself on the new primary. Run by failover_test.sh on a pair of clusters of its own.
#include "issued_tickets.h"
#include "reports/screens/report_screens.h"
#include "sales_screen_fixture.h"

#include <QDateEdit>

#include <QProcess>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

const QString kYesterday = u"2026-12-06"_s;

class FailoverTest : public SalesScreenFixture {
  protected:
    FailoverTest() {
        // what is set up here is on the standby, replayed, before the test reads it there
        db.admin(u"SET synchronous_commit = remote_apply"_s);
        seedPayouts(db);
        // the primary at the cluster's address, its standby at the secondary one, as the
        // terminal's parameters name them
        db.admin(u"UPDATE central.parametros_terminal SET dirip_1 = $1, dirip_2 = $2"_s,
                 {Cluster::get().host, qEnvironmentVariable("VENDURA_STANDBY_HOST")});
        random.numbers = {555, 1987654321, 777, 1987654322, 778};
    }
    static void dbTool(const QString& command) {
        QProcess tool;
        tool.start(qEnvironmentVariable("VENDURA_DB_TOOL"), {command});
        ASSERT_TRUE(tool.waitForFinished(120000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    }
    QString soldPerNumber() {
        return db.value(
            u"SELECT string_agg(cod_lot || numero || '=' || vendido, ' ' ORDER BY "
            u"cod_lot, numero) FROM central.ventas_numero"_s);
    }
};

// The connections a login holds on the standby.
QString onStandby(const QString& login) {
    const QByteArray text = u"host=%1 port=%2 dbname=postgres user=postgres"_s
                                .arg(qEnvironmentVariable("VENDURA_STANDBY_SOCKET"))
                                .arg(Cluster::get().port)
                                .toUtf8();
    RawConnection standby{PQconnectdb(text.constData()), PQfinish};
    const QByteArray l = login.toUtf8();
    const char* values[] = {l.constData()};
    PGresult* r =
        PQexecParams(standby.get(), "SELECT count(*) FROM pg_stat_activity WHERE usename = $1", 1,
                     nullptr, values, nullptr, nullptr, 0);
    const QString count = QString::fromLatin1(PQgetvalue(r, 0, 0));
    PQclear(r);
    return count;
}

// A report of days past reads the standby, so that a month's report leaves the primary to the
// sales; today's reads the primary, so it never misses the counter's last sale. A refusal met
// on the standby is written on the primary.
TEST_F(FailoverTest, ReportsOfDaysPastReadTheStandbyAndTodaysThePrimary) {
    issueTicket(db, u"101"_s, u"246813579"_s, kYesterday, u"AAA 347 2; AAA 47* 1"_s);
    enterResult(db, u"AAA"_s, kYesterday, u"347"_s);
    open();
    PrizeReportScreen report({seller.link, *printers, seller.programEnd, seller.dir.path()});
    ASSERT_TRUE(report.load());
    EXPECT_EQ(onStandby(db.account(u"00012"_s)), u"0"_s);

    report.findChild<QDateEdit*>(u"esdesde"_s)->setDate(QDate(2026, 12, 6));
    report.findChild<QDateEdit*>(u"eshasta"_s)->setDate(QDate(2026, 12, 6));
    EXPECT_TRUE(report.lines().contains(u"0000000101  09:30:00  1.260,00\t1001  N"_s))
        << report.lines().join(u'\n').toStdString();
    EXPECT_EQ(onStandby(db.account(u"00012"_s)), u"1"_s);

    // the seller loses the report's permission
    db.admin(u"UPDATE central.usuarios SET permisos = 'F2.' WHERE cod_usuario = '1001'"_s);
    seller.dialogs.clear();
    report.findChild<QDateEdit*>(u"esdesde"_s)->setDate(QDate(2026, 12, 5));
    EXPECT_FALSE(report.lines().contains(u"0000000101  09:30:00  1.260,00\t1001  N"_s));
    EXPECT_EQ(db.auditActions().last(), u"PERMISO_DENEGADO|00012|1001"_s);
    EXPECT_EQ(onStandby(db.account(u"00012"_s)), u"1"_s);
}

TEST_F(FailoverTest, NoCommittedSaleIsLostAndTheCounterGoesOnOnThePromotedStandby) {
    // a prize of yesterday paid, a ticket issued, another one open with its plays
    const QString winner = issueTicket(db, u"900"_s, u"4242"_s, kYesterday, u"AAA 123 1"_s);
    enterResult(db, u"AAA"_s, kYesterday, u"123"_s);
    open();
    auto paid = seller.session.Conexion->callPositional(
        u"PAGATICKETnew"_s, {u"4242"_s, u"00012"_s, u"1001"_s, u"1"_s, winner, {}});
    ASSERT_TRUE(paid.ok());
    ASSERT_EQ(paid.value().returnText(), u"0"_s);
    control<QListWidget>("L_Loterias")->selectAll();
    press(Qt::Key_F9);  // Bs.F.
    sell(u"7"_s, u"10"_s);
    sell(u"123"_s, u"150"_s);  // 100 on each: sold out
    seller.dialogs.clear();
    press(Qt::Key_Escape);
    sell(u"45"_s, u"3"_s);
    ASSERT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();
    EXPECT_EQ(db.value(u"SELECT string_agg(replica || ' ' || estado || ' ' || sincronia, ',') "
                       u"FROM admin.replicacion()"_s),
              u"vendura_standby streaming sync"_s);
    const QString committed = db.checksum();
    const QString quota = soldPerNumber();

    dbTool(u"kill-primary"_s);
    dbTool(u"promote"_s);
    db.moveTo(qEnvironmentVariable("VENDURA_STANDBY_SOCKET"));
    EXPECT_EQ(db.checksum(), committed);
    EXPECT_EQ(soldPerNumber(), quota);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.pagos"_s), u"1"_s);

    // the next play finds the promoted standby by itself: no box, the row on screen
    sell(u"8"_s, u"2"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();
    EXPECT_EQ(rows(),
              (QStringList{u"45* | AAA - ALFA | 3,00 | 5"_s, u"45* | BBB - BETA | 3,00 | 6"_s,
                           u"8** | AAA - ALFA | 2,00 | 7"_s, u"8** | BBB - BETA | 2,00 | 8"_s}));
    press(Qt::Key_Escape);
    EXPECT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();
    EXPECT_EQ(db.value(u"SELECT string_agg(serial || ':' || monto::float8, ' ' ORDER BY serial) "
                       u"FROM central.tickets WHERE fecha = '2026-12-07'"_s),
              u"1987654321:220 1987654322:10"_s);

    // with no server left, the common box, and nothing on screen that the server has not
    dbTool(u"standby-stop"_s);
    seller.dialogs.clear();
    sell(u"9"_s, u"1"_s);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_TRUE(seller.dialogs.last().text.startsWith(u"Ha ocurrido un error"_s))
        << seller.dialogs.last().text.toStdString();
    EXPECT_TRUE(rows().isEmpty());
}

}  // namespace
