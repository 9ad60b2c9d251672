#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

class BookingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.seedLotteries();
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
        nticket = newTicket(gateway, u"00012"_s);
    }
    static QString newTicket(DatabaseGateway& g, const QString& vendor) {
        ProcedureCall call{u"nregresaticket"_s, {}};
        call.in(u"@xcodigo_vend"_s, vendor, 5);
        return g.call(call).value().returnText().rightJustified(10, u'0');
    }
    CallAnswer sell(const QString& numero, const QString& monto, int numItem, const QString& codes,
                    const QString& ticket = {}, const QString& user = u"1001"_s) {
        ProcedureCall call{u"xcreanormal"_s, {}, 900};
        call.in(u"@T_VENDEDOR"_s, u"00012"_s)
            .in(u"@T_USUARIO"_s, user)
            .in(u"@T_NUMERO_cadena"_s, numero)
            .in(u"@T_MONTO_NORMAL"_s, monto)
            .in(u"@NUM_ITEM"_s, QString::number(numItem))
            .in(u"@T_COD_LOT"_s, codes)
            .in(u"@nticket"_s, ticket.isEmpty() ? nticket : ticket);
        auto answer = gateway.call(call);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
    // "status amount item" of every record, in order.
    static QStringList records(const CallAnswer& a) {
        QStringList out;
        for (int i = 0; i < a.rows.size(); ++i) {
            out << a.rows.text(i, 0) + u' ' + a.rows.text(i, 1) + u' ' + a.rows.text(i, 3) + u' ' +
                       QString::number(a.rows.text(i, 2).toDouble()) + u' ' +
                       a.rows.text(i, u"titems"_s);
        }
        return out;
    }
    QString sold(const QString& lot, const QString& numero) {
        return db.value(
            u"SELECT coalesce(sum(vendido), 0)::float8::text FROM central.ventas_numero "
            u"WHERE cod_lot = $1 AND numero = $2"_s,
            {lot, numero});
    }
    QString itemCount() { return db.value(u"SELECT count(*) FROM central.items_ticket"_s); }

    TestDatabase db;
    PqGateway gateway{5};
    QString nticket;
};

TEST_F(BookingTest, APlayIsSoldInFullThenInPartThenNotAtAll) {
    auto first = sell(u"123"_s, u"60"_s, 0, u"AAA"_s);
    EXPECT_EQ(first.returnNumber(), 0);
    EXPECT_TRUE(first.rows.empty());
    auto second = sell(u"123"_s, u"60"_s, 1, u"AAA"_s);
    EXPECT_EQ(second.returnNumber(), 1);
    EXPECT_EQ(records(second), QStringList{u"AAA 123 2 40 2"_s});
    auto third = sell(u"123"_s, u"10"_s, 2, u"AAABBB"_s);
    EXPECT_EQ(records(third), QStringList{u"AAA 123 1 0 3"_s});
    EXPECT_EQ(sold(u"AAA"_s, u"123"_s), u"100"_s);
    EXPECT_EQ(sold(u"BBB"_s, u"123"_s), u"10"_s);
    EXPECT_EQ(itemCount(), u"4"_s);
}

TEST_F(BookingTest, TerminalesHaveTheirOwnQuotaAndANumberMayHaveItsOwn) {
    db.admin(u"INSERT INTO central.cupos_numero VALUES ('AAA', '12*', 50)"_s);
    EXPECT_EQ(records(sell(u"12"_s, u"80"_s, 0, u"AAABBB"_s)), QStringList{u"AAA 12* 2 50 1"_s});
    EXPECT_EQ(records(sell(u"5"_s, u"350"_s, 2, u"BBB"_s)), QStringList{u"BBB 5** 2 300 3"_s});
    EXPECT_EQ(sold(u"BBB"_s, u"12*"_s), u"80"_s);
    EXPECT_EQ(sold(u"BBB"_s, u"5**"_s), u"300"_s);
    EXPECT_EQ(sold(u"BBB"_s, u"05*"_s), u"0"_s);
}

TEST_F(BookingTest, AClosedOrUnknownLotteryAnswersFourAndBooksNothing) {
    db.setClock(u"2026-12-07 23:00:00"_s);  // closing time reached
    EXPECT_EQ(records(sell(u"7"_s, u"5"_s, 0, u"AAAZZ"_s)),
              (QStringList{u"AAA 7** 4 0 1"_s, u"ZZ 7** 4 0 2"_s}));
    db.setClock(u"2026-12-07 10:00:00"_s);
    db.admin(u"UPDATE central.loterias SET dia_1 = false WHERE cod_lot = 'AAA'"_s);  // a Monday
    db.admin(
        u"INSERT INTO central.sorteos (cod_lot, fecha, hora_cierre) VALUES ('BBB', '2026-12-07', '09:00')"_s);
    EXPECT_EQ(records(sell(u"7"_s, u"5"_s, 2, u"BBBAAA"_s)),
              (QStringList{u"BBB 7** 4 0 3"_s, u"AAA 7** 4 0 4"_s}));
    EXPECT_EQ(sold(u"AAA"_s, u"7**"_s), u"0"_s);
    EXPECT_EQ(sold(u"BBB"_s, u"7**"_s), u"0"_s);
    auto open = gateway.exec(u"xdsplot '4', 'A'"_s);
    EXPECT_TRUE(open.value().rows.empty());
    // a lottery that sells special plays only takes no straight play
    db.addLottery(u"SSS"_s, u"SOLO ESPECIALES"_s, u"23:00"_s);
    db.admin(u"UPDATE central.loterias SET juegaespecial = 'S' WHERE cod_lot = 'SSS'"_s);
    EXPECT_EQ(records(sell(u"7"_s, u"5"_s, 4, u"SSS"_s)), QStringList{u"SSS 7** 4 0 5"_s});
    EXPECT_EQ(sold(u"SSS"_s, u"7**"_s), u"0"_s);
}

TEST_F(BookingTest, BadInputIsRefusedAndBooksNothing) {
    struct Case {
        const char* numero;
        const char* monto;
        int code;
    } cases[] = {
        {"12a", "5", 70},      {"1234", "5", 70},        {"", "5", 70},     {" ", "5", 70},
        {"12", "0", 71},       {"12", "-5", 71},         {"12", "abc", 71}, {"12", "1.2345", 71},
        {"12", "1000000", 71}, {"12", "1e3", 71},        {"12", "", 71},    {"12", "1.234", 71},
        {"12", "0.005", 71},   {"12", "999999.999", 71},
    };
    for (const Case& c : cases) {
        auto a = sell(QString::fromLatin1(c.numero), QString::fromLatin1(c.monto), 0, u"AAABBB"_s);
        EXPECT_EQ(a.returnNumber(), c.code) << c.numero << " " << c.monto;
        ASSERT_EQ(a.rows.size(), 2);
        EXPECT_EQ(a.rows.text(0, 3), u"9"_s);
        EXPECT_EQ(a.rows.text(1, u"titems"_s), u"2"_s);
    }
    db.addVendor(u"00099"_s, u"9901"_s);
    const QString foreign = db.newTicket(u"00099"_s);
    EXPECT_EQ(sell(u"12"_s, u"5"_s, 0, u"AAA"_s, foreign).returnNumber(), 73);
    EXPECT_EQ(sell(u"12"_s, u"5"_s, 0, u"AAA"_s, nticket, u"1002"_s).returnNumber(),
              73);  // inactive
    EXPECT_EQ(itemCount(), u"0"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.ventas_numero WHERE vendido > 0"_s), u"0"_s);

    ProcedureCall badItem{u"xcreanormal"_s, {}};
    badItem.in(u"@T_VENDEDOR"_s, u"00012"_s)
        .in(u"@T_USUARIO"_s, u"1001"_s)
        .in(u"@T_NUMERO_cadena"_s, u"12"_s)
        .in(u"@T_MONTO_NORMAL"_s, u"5"_s)
        .in(u"@NUM_ITEM"_s, u"x"_s)
        .in(u"@T_COD_LOT"_s, u"AAA"_s)
        .in(u"@nticket"_s, nticket);
    EXPECT_FALSE(gateway.call(badItem).ok());
    EXPECT_EQ(itemCount(), u"0"_s);
}

TEST_F(BookingTest, ACallRepeatedAfterALostAnswerBooksNothingTwice) {
    auto first = sell(u"555"_s, u"70"_s, 10, u"AAABBB"_s);
    auto again = sell(u"555"_s, u"70"_s, 10, u"AAABBB"_s);
    EXPECT_EQ(again.returnNumber(), first.returnNumber());
    EXPECT_EQ(records(again), records(first));
    EXPECT_EQ(sold(u"AAA"_s, u"555"_s), u"70"_s);
    EXPECT_EQ(itemCount(), u"2"_s);

    auto other = sell(u"556"_s, u"5"_s, 10, u"AAA"_s);  // the seller typed something else
    EXPECT_EQ(other.returnNumber(), 74);
    EXPECT_EQ(records(other), QStringList{u"AAA 556 9 0 11"_s});
    EXPECT_EQ(sold(u"AAA"_s, u"556"_s), u"0"_s);

    // one item number taken, the other free: a refused call books nothing at all, so sending
    // it again under the numbers past the ticket's last one sells each item once
    auto half = sell(u"557"_s, u"5"_s, 11, u"AAABBB"_s);
    EXPECT_EQ(half.returnNumber(), 74);
    EXPECT_EQ(records(half), (QStringList{u"AAA 557 9 0 12"_s, u"BBB 557 9 0 13"_s}));
    EXPECT_EQ(half.rows.text(0, u"ultimo_item"_s), u"12"_s);
    EXPECT_EQ(itemCount(), u"2"_s);
    EXPECT_EQ(sell(u"557"_s, u"5"_s, 12, u"AAABBB"_s).returnNumber(), 0);
    EXPECT_EQ(sold(u"AAA"_s, u"557"_s), u"5"_s);
    EXPECT_EQ(sold(u"BBB"_s, u"557"_s), u"5"_s);
}

// Quotas may be set finer than a céntimo; what a play takes of them never is.
TEST_F(BookingTest, APartialSaleIsWholeCentimos) {
    db.admin(u"INSERT INTO central.cupos_numero VALUES ('AAA', '321', 10.005)"_s);
    auto a = sell(u"321"_s, u"20"_s, 0, u"AAA"_s);
    EXPECT_EQ(records(a), QStringList{u"AAA 321 2 10 1"_s});
    EXPECT_EQ(db.value(u"SELECT monto_vendido::text FROM central.items_ticket"_s), u"10.000"_s);
}

TEST_F(BookingTest, ATerminalThatTakesANewNumberGivesBackWhatItHeld) {
    sell(u"321"_s, u"90"_s, 0, u"AAABBB"_s);
    EXPECT_EQ(sold(u"AAA"_s, u"321"_s), u"90"_s);
    const QString next = newTicket(gateway, u"00012"_s);
    EXPECT_NE(next, nticket);
    EXPECT_EQ(sold(u"AAA"_s, u"321"_s), u"0"_s);
    EXPECT_EQ(sold(u"BBB"_s, u"321"_s), u"0"_s);
    EXPECT_EQ(
        db.value(u"SELECT estado FROM central.tickets_temporales WHERE nticket = $1"_s, {nticket}),
        u"ABA"_s);
    EXPECT_EQ(sell(u"321"_s, u"5"_s, 2, u"AAA"_s).returnNumber(), 73);  // the old number is closed
    EXPECT_EQ(sell(u"321"_s, u"100"_s, 2, u"AAA"_s, next).returnNumber(), 0);
}

// Terminals selling the same hot number at once, each with its own connection, and each with
// the lotteries in another order: the quota is sold exactly, never more, and nobody deadlocks.
TEST_F(BookingTest, ConcurrentTerminalsNeverOversellAHotNumber) {
    constexpr int kTerminals = 8;
    std::vector<QString> tickets;
    for (int t = 0; t < kTerminals; ++t) {
        const QString vendor = u"V%1"_s.arg(t, 4, 10, QChar(u'0'));
        db.addVendor(vendor, u"U%1"_s.arg(t, 3, 10, QChar(u'0')));
        tickets.push_back(db.newTicket(vendor));
    }
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kTerminals; ++t) {
        const QString vendor = u"V%1"_s.arg(t, 4, 10, QChar(u'0'));
        const QString connection = db.connectionText(vendor);
        threads.emplace_back([&, t, vendor, connection] {
            PqGateway g(10);
            if (!g.open(connection)) {
                ++failures;
                return;
            }
            const QString user = u"U%1"_s.arg(t, 3, 10, QChar(u'0'));
            int numItem = 0;
            for (int round = 0; round < 40; ++round) {
                const QString codes = t % 2 ? u"AAABBB"_s : u"BBBAAA"_s;
                const ProcedureCall call = xcreanormal(vendor, user, u"777"_s, Money::whole(3),
                                                       numItem, codes, tickets[size_t(t)]);
                auto a = g.call(call);
                if (!a || a.value().returnNumber() > 1) ++failures;
                numItem += 2;
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(failures.load(), 0);
    for (const QString& lot : {u"AAA"_s, u"BBB"_s}) {
        EXPECT_EQ(sold(lot, u"777"_s), u"100"_s);
        EXPECT_EQ(db.value(u"SELECT sum(monto_vendido)::float8::text FROM central.items_ticket "
                           u"WHERE cod_lot = $1 AND numero = '777' AND vigente"_s,
                           {lot}),
                  u"100"_s);
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s),
              QString::number(kTerminals * 40 * 2));
}

}  // namespace
