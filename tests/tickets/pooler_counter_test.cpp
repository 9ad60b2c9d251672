// A counter set up to reach the server through the connection pooler logs in, sells, issues and
// reads its reports there as on its own login, and never logs in as its sales point's login.
#include "dot_matrix.h"
#include "platform/files.h"
#include "reports/screens/report_screens.h"
#include "sales_screen_fixture.h"

#include <QListWidget>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class PoolerCounterTest : public SalesScreenFixture {
  protected:
    PoolerCounterTest() {
        seller.throughPooler();
        random.numbers = {555, 1987654321, 777};  // ticket key at load, serial, next key
    }
    QString connectionsAs(const QString& login) {
        return db.value(
            u"SELECT count(*) FROM pg_stat_activity WHERE datname = $1 "
            u"AND usename = $2"_s,
            {db.name(), login});
    }
};

TEST_F(PoolerCounterTest, TheCounterLogsInSellsIssuesAndReportsThroughThePooler) {
    open();
    control<QListWidget>("L_Loterias")->selectAll();
    press(Qt::Key_F9);  // Bs.F.
    sell(u"7"_s, u"10"_s);
    EXPECT_EQ(rows(),
              (QStringList{u"7** | AAA - ALFA | 10,00 | 1"_s, u"7** | BBB - BETA | 10,00 | 2"_s}));
    seller.dialogs.clear();
    press(Qt::Key_Escape);
    ASSERT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();
    EXPECT_EQ(db.value(u"SELECT serial || ' ' || monto::float8 FROM central.tickets"_s),
              u"1987654321 20"_s);
    const QByteArray bytes = files::read(seller.printerPath()).value();
    EXPECT_EQ(readBarcodes(renderDotMatrix(bytes.mid(bytes.indexOf('\x12') + 1))),
              QStringList{u"CODE-39:1987654321"_s});

    // a report on a connection of its own, with a session of its own
    auto printers = DevicePrinters(
        PortMap::fromProfile(ProfileFile(seller.installation.iniPath()), seller.dir.path()),
        nullptr);
    SalesReportScreen report({seller.link, printers, seller.programEnd, seller.dir.path()});
    ASSERT_TRUE(report.load());
    QStringList lines;
    auto* list = report.findChild<QListWidget*>(u"List1"_s);
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    EXPECT_TRUE(lines.contains(u"Total venta: \t20,00"_s)) << lines.join(u'\n').toStdString();

    // every call went through the shared login, each acting for 00012
    EXPECT_EQ(connectionsAs(db.account(u"00012"_s)), u"0"_s);
    EXPECT_NE(connectionsAs(u"vendura_pasarela"_s), u"0"_s);
    EXPECT_EQ(
        db.value(u"SELECT count(DISTINCT cuenta) || ' ' || min(cuenta) FROM central.auditoria "
                 u"WHERE accion IN ('SESION_ABIERTA', 'INGRESO', 'TICKET_EMITIDO')"_s),
        u"1 "_s + db.account(u"00012"_s));
}

}  // namespace
