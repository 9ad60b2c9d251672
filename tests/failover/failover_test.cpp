// The primary is lost in the middle of a day of sales and the synchronous standby takes over:
// every ticket, item, payment and quota committed before is there, and the counter goes on by
// itself on the new primary. Run by failover_test.sh on a pair of clusters of its own.
#include "issued_tickets.h"
#include "sales_screen_fixture.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

const QString kYesterday = u"2026-12-06"_s;

class FailoverTest : public SalesScreenFixture {
  protected:
    FailoverTest() {
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
