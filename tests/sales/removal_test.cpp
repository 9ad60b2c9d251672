#include "sales/removal.h"
#include "booking_fixture.h"

using namespace vendura;
using namespace vendura::test;

namespace {

class RemovalTest : public BookingFixture {
  protected:
    // items 1 AAA 123 for 60, 2 BBB 123 for 60, 3 AAA 45* for 10
    void SetUp() override {
        BookingFixture::SetUp();
        ASSERT_EQ(sell(u"123"_s, 60, 0, u"AAABBB"_s), 0);
        ASSERT_EQ(sell(u"45"_s, 10, 2, u"AAA"_s), 0);
    }
    int sell(const QString& number, int amount, int item, const QString& lots) {
        return call(xcreanormal(u"00012"_s, u"1001"_s, number, Money::whole(amount), item, lots,
                                nticket))
            .returnNumber();
    }
    int remove(const QString& item, const QString& lot, const QString& number = u"123"_s,
               const QString& ticket = {}) {
        return call(xborrarjugada(u"00012"_s, u"1001"_s, number, item, lot,
                                  ticket.isEmpty() ? nticket : ticket))
            .returnNumber();
    }
    CallAnswer removeLotteries(const QString& lots, const QString& ticket = {}) {
        return call(
            xborrarjugadas(u"00012"_s, u"1001"_s, lots, ticket.isEmpty() ? nticket : ticket));
    }
};

TEST_F(RemovalTest, ARemovalGivesTheQuotaBackOnceAndIsAudited) {
    EXPECT_EQ(remove(u"1"_s, u"AAA"_s), 0);
    EXPECT_EQ(sold(u"123"_s), u"AAA 0 BBB 60"_s);
    EXPECT_EQ(live(), u"2 3"_s);
    EXPECT_EQ(remove(u"1"_s, u"AAA"_s), 2);  // the second time: nothing
    EXPECT_EQ(sold(u"123"_s), u"AAA 0 BBB 60"_s);
    EXPECT_EQ(sell(u"123"_s, 100, 3, u"AAA"_s), 0);  // the quota given back sells again, in full

    // by lottery: every live play of those lotteries, each once
    EXPECT_EQ(answerText(removeLotteries(u"AAAZZZ"_s), {u"cod_lot"_s, u"items"_s}),
              u"0 | AAA 2"_s);  // ZZZ has none
    EXPECT_EQ(live(), u"2"_s);
    EXPECT_EQ(sold(u"123"_s) + u" | "_s + sold(u"45*"_s), u"AAA 0 BBB 60 | AAA 0 BBB 0"_s);
    EXPECT_EQ(removeLotteries(u"AAA"_s).rows.size(), 0);
    EXPECT_EQ(db.auditActions().filter(u"ELIMINADA"_s),
              (QStringList{u"JUGADA_ELIMINADA|00012|1001"_s, u"JUGADAS_ELIMINADAS|00012|1001"_s}));
}

TEST_F(RemovalTest, OnlyTheNamedItemOfThisOpenTicketOfThisVendorIsReached) {
    struct Case {
        const char *what, *item, *lot, *number;
        int code;
    } cases[] = {
        {"item on another lottery", "1", "BBB", "123", 3},
        {"another number", "1", "AAA", "124", 3},
        {"no such item", "99", "AAA", "123", 3},
        {"item number of letters", "x", "AAA", "123", 4},
        {"empty item number", "", "AAA", "123", 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(remove(QString::fromLatin1(c.item), QString::fromLatin1(c.lot),
                         QString::fromLatin1(c.number)),
                  c.code)
            << c.what;
    }
    // another ticket of another vendor: its own login cannot name it, and this login gets 1
    db.addVendor(u"00013"_s, u"2001"_s);
    const QString foreign = db.newTicket(u"00013"_s);
    PqGateway other(5);
    ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
    ASSERT_EQ(
        call(xcreanormal(u"00013"_s, u"2001"_s, u"777"_s, Money::whole(5), 0, u"AAA"_s, foreign),
             &other)
            .returnNumber(),
        0);
    EXPECT_EQ(remove(u"1"_s, u"AAA"_s, u"777"_s, foreign), 1);
    EXPECT_EQ(call(xborrarjugada(u"00013"_s, u"2001"_s, u"123"_s, u"1"_s, u"AAA"_s, nticket))
                  .returnNumber(),
              73);  // another vendor's code on this login
    EXPECT_EQ(removeLotteries(u"AAA"_s, foreign).returnNumber(), 1);
    EXPECT_EQ(sold(u"777"_s), u"AAA 5 BBB 0"_s);
    EXPECT_EQ(live(), u"1 1 2 3"_s);

    // an issued ticket can no longer be changed
    ProcedureCall grab{u"xgrabtick"_s, {}, 900};
    grab.in(u"@xcodigo_vend"_s, u"00012"_s)
        .in(u"@xcodigo_user"_s, u"1001"_s)
        .in(u"@xseriald"_s, u"1234567"_s)
        .out(u"@xfecha_ticket"_s, QString())
        .out(u"@xhora_ticket"_s, QString())
        .in(u"@xestado_ticket"_s, u"ACT"_s)
        .decimal(u"@xmonto_ticket"_s, u"130"_s)
        .in(u"@xanulado"_s, u"N"_s)
        .in(u"@xnroticktmp"_s, nticket)
        .out(u"@xnroticket"_s, nticket);
    ASSERT_EQ(call(grab).returnNumber(), 0);
    EXPECT_EQ(remove(u"1"_s, u"AAA"_s), 1);
    EXPECT_EQ(removeLotteries(u"AAABBB"_s).returnNumber(), 1);
    EXPECT_EQ(sold(u"123"_s), u"AAA 60 BBB 60"_s);
}

}  // namespace
