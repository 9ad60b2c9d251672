#include "../aftersale/issued_tickets.h"
#include "generators/generator_calls.h"
#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

class CopiesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.seedLotteries();
        db.seedSpecial();
        db.addLottery(u"CCC"_s, u"GAMA"_s, u"23:00"_s);
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
        nticket = db.newTicket(u"00012"_s);
        // the open ticket: 123 for 5 and a tripleta 777 for 2 on AAA, 45 for 3 on BBB
        sell(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(5), 0, u"AAA"_s, nticket));
        sell(xcreaespecial(u"00012"_s, u"1001"_s, u"777"_s, Money::whole(2), 1, u"AAA"_s, u"1"_s,
                           u"TRI"_s, nticket));
        sell(xcreanormal(u"00012"_s, u"1001"_s, u"45"_s, Money::whole(3), 2, u"BBB"_s, nticket));
    }
    CallAnswer sell(const ProcedureCall& c) {
        auto answer = gateway.call(c);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
    GeneratorCaller caller(int numItem) { return {u"00012"_s, u"1001"_s, nticket, numItem}; }
    // "item lottery number amount status kind variant" of every record.
    static QStringList records(const CallAnswer& a) {
        QStringList out;
        for (int i = 0; i < a.rows.size(); ++i) {
            out << QStringList{a.rows.text(i, u"titems"_s),
                               a.rows.text(i, 0),
                               a.rows.text(i, 1),
                               QString::number(a.rows.text(i, 2).toDouble()),
                               a.rows.text(i, 3),
                               a.rows.text(i, u"tipo"_s),
                               a.rows.text(i, u"jugada"_s)}
                       .join(u' ');
        }
        return out;
    }
    QString itemCount() {
        return db.value(u"SELECT count(*) FROM central.items_ticket WHERE nticket = $1"_s,
                        {nticket});
    }

    TestDatabase db;
    PqGateway gateway{5};
    QString nticket;
};

TEST_F(CopiesTest, ARepeatCopiesTheOriginsPlaysWithTheirKindsAndZeroKeepsTheirAmounts) {
    db.admin(u"INSERT INTO central.cupos_numero VALUES ('BBB', '123', 0)"_s);
    const CallAnswer a = sell(xREPITEXLOTERIA(caller(3), u"0"_s, u"BBBAAA"_s, u"AAA"_s));
    EXPECT_EQ(a.returnNumber(), 1);
    // target outer, the sources in ticket order; only plays made before NUM_ITEM are copied
    EXPECT_EQ(records(a), QStringList({u"4 BBB 123 0 1 1 "_s, u"5 BBB 777 2 0 2 1"_s,
                                       u"6 AAA 123 5 0 1 "_s, u"7 AAA 777 2 0 2 1"_s}));
    EXPECT_EQ(db.value(u"SELECT string_agg(num_item || especial, ' ' ORDER BY num_item) FROM "
                       u"central.items_ticket WHERE tipo = '2'"_s),
              u"2TRI 5TRI 7TRI"_s);

    // the same call after a lost answer: the same answer, nothing booked twice
    EXPECT_EQ(records(sell(xREPITEXLOTERIA(caller(3), u"0"_s, u"BBBAAA"_s, u"AAA"_s))), records(a));
    EXPECT_EQ(itemCount(), u"7"_s);

    // an amount for every copy; CCC does not offer the tripleta: nothing at all is booked
    // BBB's sold-out 123 is no play to copy
    EXPECT_EQ(records(sell(xREPITEXLOTERIA(caller(7), u"1.5"_s, u"BBB"_s, u"BBB"_s))),
              QStringList({u"8 BBB 45* 1.5 0 1 "_s, u"9 BBB 777 1.5 0 2 1"_s}));
    const CallAnswer refused = sell(xREPITEXLOTERIA(caller(9), u"0"_s, u"CCC"_s, u"AAA"_s));
    EXPECT_EQ(refused.returnNumber(), 76);
    EXPECT_EQ(refused.rows.size(), 4);
    EXPECT_EQ(itemCount(), u"9"_s);
    EXPECT_EQ(sell(xREPITEXLOTERIA(caller(9), u"0"_s, u"CCC"_s, u"ZZZ"_s)).returnNumber(), 79);
    EXPECT_EQ(sell(xREPITEXLOTERIA(caller(9), u"0.001"_s, u"CCC"_s, u"AAA"_s)).returnNumber(), 71);
}

TEST_F(CopiesTest, AReloadReadsOnlyATicketThisSalesPointSold) {
    db.addVendor(u"00013"_s, u"2001"_s);
    const QString day = u"2026-12-05"_s;
    test::issueTicket(db, u"555"_s, u"1"_s, day,
                      {{u"AAA"_s, u"321"_s, u"4"_s},
                       {u"BBB"_s, u"999"_s, u"3"_s},
                       {u"AAA"_s, u"12*"_s, u"1"_s},
                       {u"AAA"_s, u"888"_s, u"6"_s, u"2"_s, u"3"_s}});
    test::issueTicket(db, u"556"_s, u"2"_s, day, {{u"AAA"_s, u"444"_s, u"4"_s}}, u"00013"_s,
                      u"2001"_s);
    db.admin(u"UPDATE central.items_ticket SET especial = 'TRI' WHERE variante = '3'"_s);

    // CCC does not offer the tripleta: nothing of the call is booked
    const CallAnswer a = sell(xcargaticket(caller(3), u"0"_s, u"CCCBBB"_s, u"AAA"_s, u"555"_s));
    EXPECT_EQ(a.returnNumber(), 76);
    EXPECT_EQ(a.rows.size(), 6);
    EXPECT_EQ(itemCount(), u"3"_s);
    const CallAnswer b = sell(xcargaticket(caller(3), u"0"_s, u"BBB"_s, u"AAA"_s, u"555"_s));
    EXPECT_EQ(b.returnNumber(), 0);
    EXPECT_EQ(records(b),
              QStringList({u"4 BBB 321 4 0 1 "_s, u"5 BBB 12* 1 0 1 "_s, u"6 BBB 888 6 0 2 3"_s}));
    EXPECT_EQ(db.auditActions().filter(u"TICKET_CARGADO"_s).size(), 1);

    // another sales point's ticket, or no ticket at all: no rows, nothing booked
    for (const QString& other : {u"556"_s, u"0000000556"_s, u"abc"_s, QString(100, u'9'), u""_s}) {
        const CallAnswer none = sell(xcargaticket(caller(6), u"0"_s, u"BBB"_s, u"AAA"_s, other));
        EXPECT_EQ(none.returnNumber(), 78) << other.toStdString();
        EXPECT_TRUE(none.rows.empty());
    }
    EXPECT_EQ(sell(xcargaticket(caller(6), u"0"_s, u"BBB"_s, u"CCC"_s, u"555"_s)).returnNumber(),
              79);
    EXPECT_EQ(itemCount(), u"6"_s);
}

}  // namespace
