#include "sales/removal.h"
#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

class RemovalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.seedLotteries();
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
        nticket = db.newTicket(u"00012"_s);
        // items 1 AAA 123 for 60, 2 BBB 123 for 60, 3 AAA 45* for 10
        ASSERT_EQ(call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(60), 0,
                                   u"AAABBB"_s, nticket))
                      .returnNumber(),
                  0);
        ASSERT_EQ(call(xcreanormal(u"00012"_s, u"1001"_s, u"45"_s, Money::whole(10), 2, u"AAA"_s,
                                   nticket))
                      .returnNumber(),
                  0);
    }
    CallAnswer call(const ProcedureCall& c, DatabaseGateway* g = nullptr) {
        auto answer = (g ? *g : gateway).call(c);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
    int remove(const QString& item, const QString& lot, const QString& number = u"123"_s,
               const QString& ticket = {}) {
        return call(xborrarjugada(u"00012"_s, u"1001"_s, number, item, lot,
                                  ticket.isEmpty() ? nticket : ticket))
            .returnNumber();
    }
    // What the number's quota holds sold, and the sales monitor's accumulation must agree.
    QString sold(const QString& lot, const QString& number) {
        const QString quota = db.value(
            u"SELECT coalesce(sum(vendido), 0)::float8::text FROM central.ventas_numero "
            u"WHERE cod_lot = $1 AND numero = $2"_s,
            {lot, number});
        EXPECT_EQ(db.value(u"SELECT coalesce(sum(monto_normal + monto_digito), 0)::float8::text "
                           u"FROM central.acumulados WHERE cod_lot = $1 AND numero = $2"_s,
                           {lot, QString(number).remove(u'*')}),
                  quota)
            << lot.toStdString() << " " << number.toStdString();
        return quota;
    }
    QString live() {
        return db.value(
            u"SELECT string_agg(num_item::text, ' ' ORDER BY num_item) "
            u"FROM central.items_ticket WHERE vigente"_s);
    }

    TestDatabase db;
    PqGateway gateway{5};
    QString nticket;
};

TEST_F(RemovalTest, ARemovalGivesTheQuotaBackOnceAndIsAudited) {
    EXPECT_EQ(remove(u"1"_s, u"AAA"_s), 0);
    EXPECT_EQ(sold(u"AAA"_s, u"123"_s), u"0"_s);
    EXPECT_EQ(sold(u"BBB"_s, u"123"_s), u"60"_s);
    EXPECT_EQ(live(), u"2 3"_s);
    EXPECT_EQ(remove(u"1"_s, u"AAA"_s), 2);  // the second time: nothing
    EXPECT_EQ(sold(u"AAA"_s, u"123"_s), u"0"_s);
    EXPECT_EQ(db.auditActions().filter(u"JUGADA_ELIMINADA"_s),
              QStringList{u"JUGADA_ELIMINADA|00012|1001"_s});

    // the quota given back sells again, in full
    EXPECT_EQ(
        call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(100), 3, u"AAA"_s, nticket))
            .returnNumber(),
        0);
}

TEST_F(RemovalTest, OnlyTheNamedItemOfThisOpenTicketOfThisVendorIsReached) {
    struct Case {
        const char* what;
        const char* item;
        const char* lot;
        const char* number;
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
    EXPECT_EQ(call(xborrarjugadas(u"00012"_s, u"1001"_s, u"AAA"_s, foreign)).returnNumber(), 1);
    EXPECT_EQ(sold(u"AAA"_s, u"777"_s), u"5"_s);
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
    EXPECT_EQ(call(xborrarjugadas(u"00012"_s, u"1001"_s, u"AAABBB"_s, nticket)).returnNumber(), 1);
    EXPECT_EQ(sold(u"AAA"_s, u"123"_s), u"60"_s);
}

TEST_F(RemovalTest, RemovingByLotteryTakesEveryLivePlayOfThoseLotteries) {
    EXPECT_EQ(remove(u"3"_s, u"AAA"_s, u"45*"_s), 0);
    const CallAnswer a = call(xborrarjugadas(u"00012"_s, u"1001"_s, u"AAAZZZ"_s, nticket));
    EXPECT_EQ(a.returnNumber(), 0);
    ASSERT_EQ(a.rows.size(), 1);  // item 3 was gone already; ZZZ has none
    EXPECT_EQ(a.rows.text(0, u"cod_lot"_s), u"AAA"_s);
    EXPECT_EQ(a.rows.text(0, u"items"_s), u"1"_s);
    EXPECT_EQ(live(), u"2"_s);
    EXPECT_EQ(sold(u"AAA"_s, u"123"_s), u"0"_s);
    EXPECT_EQ(sold(u"AAA"_s, u"45*"_s), u"0"_s);
    EXPECT_EQ(call(xborrarjugadas(u"00012"_s, u"1001"_s, u"AAA"_s, nticket)).rows.size(), 0);
    EXPECT_EQ(db.auditActions().filter(u"ELIMINADA"_s).size(), 2);
}

// One terminal takes plays off and sells them again while others sell the same number: the
// quota is never oversold, every removal gives back exactly what it held, and nobody
// deadlocks.
TEST_F(RemovalTest, QuotaGivenBackUnderConcurrencyNeverOversells) {
    constexpr int kSellers = 4;
    constexpr int kRounds = 30;
    QStringList vendors, tickets;
    for (int t = 0; t < kSellers; ++t) {
        vendors << u"V%1"_s.arg(t, 4, 10, QChar(u'0'));
        db.addVendor(vendors.back(), u"U%1"_s.arg(t, 3, 10, QChar(u'0')));
        tickets << db.newTicket(vendors.back());
    }
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kSellers; ++t) {
        threads.emplace_back([&, t, connection = db.connectionText(vendors[t])] {
            PqGateway g(10);
            if (!g.open(connection)) {
                ++failures;
                return;
            }
            const QString user = u"U%1"_s.arg(t, 3, 10, QChar(u'0'));
            int item = 0;
            for (int round = 0; round < kRounds; ++round) {
                auto sold = g.call(xcreanormal(vendors[t], user, u"900"_s, Money::whole(30), item,
                                               u"BBBAAA"_s, tickets[t]));
                if (!sold || sold.value().returnNumber() > 1) ++failures;
                item += 2;
                // every other round this terminal takes its AAA play (the second item) off
                if (round % 2 == 0) {
                    auto removed = g.call(xborrarjugada(
                        vendors[t], user, u"900"_s, QString::number(item), u"AAA"_s, tickets[t]));
                    if (!removed || removed.value().returnNumber() != 0) ++failures;
                }
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(failures.load(), 0);
    for (const QString& lot : {u"AAA"_s, u"BBB"_s}) {
        const QString live = db.value(
            u"SELECT coalesce(sum(monto_vendido), 0)::float8::text FROM central.items_ticket "
            u"WHERE cod_lot = $1 AND numero = '900' AND vigente"_s,
            {lot});
        EXPECT_EQ(sold(lot, u"900"_s), live) << lot.toStdString();
        EXPECT_LE(live.toDouble(), 100.0) << lot.toStdString();
    }
    EXPECT_EQ(sold(u"BBB"_s, u"900"_s), u"100"_s);  // never taken off: sold out
}

}  // namespace
