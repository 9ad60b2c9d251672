#include "booking_fixture.h"
#include "sales/removal.h"
#include "sales_points_at_once.h"

#include <thread>

using namespace vendura;
using namespace vendura::test;

namespace {

class BookingTest : public BookingFixture {
  protected:
    // xcreanormal with every parameter as typed, so bad input reaches the server as it is.
    Result<CallAnswer> send(const QString& numero, const QString& monto, const QString& numItem,
                            const QString& codes, const QString& user = u"1001"_s) {
        ProcedureCall call{u"xcreanormal"_s, {}, 900};
        call.in(u"@T_VENDEDOR"_s, u"00012"_s)
            .in(u"@T_USUARIO"_s, user)
            .in(u"@T_NUMERO_cadena"_s, numero)
            .in(u"@T_MONTO_NORMAL"_s, monto)
            .in(u"@NUM_ITEM"_s, numItem)
            .in(u"@T_COD_LOT"_s, codes)
            .in(u"@nticket"_s, nticket);
        return gateway.call(call);
    }
    // "return | lottery number status amount titems | ..." of the answer.
    QString sell(const QString& numero, const QString& monto, int numItem, const QString& codes,
                 const QString& user = u"1001"_s) {
        auto a = send(numero, monto, QString::number(numItem), codes, user);
        EXPECT_TRUE(a.ok()) << a.error().description.toStdString();
        return a.ok() ? text(a.value()) : QString();
    }
    static QString text(const CallAnswer& a) {
        return answerText(a, {u"cod_lot"_s, u"numero"_s, u"status"_s, u"monto"_s, u"titems"_s});
    }
};

// A triple's quota is 100 and a terminal's 300 unless the number has its own; a quota set finer
// than a céntimo still sells whole céntimos.
TEST_F(BookingTest, PlaysAreSoldInFullThenInPartThenNotAtAll) {
    EXPECT_EQ(sell(u"123"_s, u"60"_s, 0, u"AAA"_s), u"0"_s);
    EXPECT_EQ(sell(u"123"_s, u"60"_s, 1, u"AAA"_s), u"1 | AAA 123 2 40 2"_s);
    EXPECT_EQ(sell(u"123"_s, u"10"_s, 2, u"AAABBB"_s), u"1 | AAA 123 1 0 3"_s);
    EXPECT_EQ(sold(u"123"_s), u"AAA 100 BBB 10"_s);
    EXPECT_EQ(itemCount(), u"4"_s);

    db.admin(
        u"INSERT INTO central.cupos_numero VALUES ('AAA', '12*', 50), ('AAA', '321', 10.005)"_s);
    EXPECT_EQ(sell(u"12"_s, u"80"_s, 4, u"AAABBB"_s), u"1 | AAA 12* 2 50 5"_s);
    EXPECT_EQ(sell(u"5"_s, u"350"_s, 6, u"BBB"_s), u"1 | BBB 5** 2 300 7"_s);
    EXPECT_EQ(sold(u"12*"_s) + u" | "_s + sold(u"5**"_s) + u" | "_s + sold(u"05*"_s),
              u"AAA 50 BBB 80 | AAA 0 BBB 300 | AAA 0 BBB 0"_s);
    EXPECT_EQ(sell(u"321"_s, u"20"_s, 7, u"AAA"_s), u"1 | AAA 321 2 10 8"_s);
    EXPECT_EQ(
        db.value(u"SELECT monto_vendido::text FROM central.items_ticket WHERE num_item = 8"_s),
        u"10.000"_s);
}

TEST_F(BookingTest, AClosedOrUnknownLotteryAnswersFourAndBooksNothing) {
    db.setClock(u"2026-12-07 23:00:00"_s);  // closing time reached
    EXPECT_EQ(sell(u"7"_s, u"5"_s, 0, u"AAAZZ"_s), u"1 | AAA 7** 4 0 1 | ZZ 7** 4 0 2"_s);
    db.setClock(u"2026-12-07 10:00:00"_s);
    db.admin(u"UPDATE central.loterias SET dia_1 = false WHERE cod_lot = 'AAA'"_s);  // a Monday
    db.admin(
        u"INSERT INTO central.sorteos (cod_lot, fecha, hora_cierre) VALUES ('BBB', '2026-12-07', '09:00')"_s);
    EXPECT_EQ(sell(u"7"_s, u"5"_s, 2, u"BBBAAA"_s), u"1 | BBB 7** 4 0 3 | AAA 7** 4 0 4"_s);
    EXPECT_TRUE(gateway.exec(u"xdsplot '4', 'A'"_s).value().rows.empty());
    // a lottery that sells special plays only takes no straight play
    db.addLottery(u"SSS"_s, u"SOLO ESPECIALES"_s, u"23:00"_s);
    db.admin(u"UPDATE central.loterias SET juegaespecial = 'S' WHERE cod_lot = 'SSS'"_s);
    EXPECT_EQ(sell(u"7"_s, u"5"_s, 4, u"SSS"_s), u"1 | SSS 7** 4 0 5"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.ventas_numero WHERE vendido > 0"_s), u"0"_s);
}

TEST_F(BookingTest, BadInputIsRefusedAndBooksNothing) {
    const std::pair<const char*, const char*> badNumbers[] = {
        {"12a", "5"}, {"1234", "5"}, {"", "5"}, {" ", "5"}};
    const char* badAmounts[] = {"0",   "-5", "abc",   "1.2345", "1000000",
                                "1e3", "",   "1.234", "0.005",  "999999.999"};
    auto refused = [&](const QString& numero, const QString& monto, int code) {
        auto a = send(numero, monto, u"0"_s, u"AAABBB"_s);
        EXPECT_EQ(a ? answerText(a.value(), {u"status"_s, u"titems"_s}) : QString(),
                  QString::number(code) + u" | 9 1 | 9 2"_s)
            << numero.toStdString() << " " << monto.toStdString();
    };
    for (const auto& [numero, monto] : badNumbers)
        refused(QString::fromLatin1(numero), QString::fromLatin1(monto), 70);
    for (const char* monto : badAmounts) refused(u"12"_s, QString::fromLatin1(monto), 71);
    EXPECT_EQ(sell(u"12"_s, u"5"_s, 0, u"AAA"_s, u"1002"_s).left(2), u"73"_s);  // inactive seller
    EXPECT_FALSE(send(u"12"_s, u"5"_s, u"x"_s, u"AAA"_s).ok());
    EXPECT_EQ(itemCount(), u"0"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.ventas_numero WHERE vendido > 0"_s), u"0"_s);
}

TEST_F(BookingTest, ACallRepeatedAfterALostAnswerBooksNothingTwice) {
    const QString first = sell(u"555"_s, u"70"_s, 10, u"AAABBB"_s);
    EXPECT_EQ(sell(u"555"_s, u"70"_s, 10, u"AAABBB"_s), first);
    EXPECT_EQ(sold(u"555"_s), u"AAA 70 BBB 70"_s);
    EXPECT_EQ(itemCount(), u"2"_s);
    // the seller typed something else under the same item number
    EXPECT_EQ(sell(u"556"_s, u"5"_s, 10, u"AAA"_s), u"74 | AAA 556 9 0 11"_s);
    EXPECT_EQ(sold(u"556"_s), u"AAA 0 BBB 0"_s);

    // one item number taken, the other free: a refused call books nothing at all, so sending
    // it again under the numbers past the ticket's last one sells each item once
    auto half = send(u"557"_s, u"5"_s, u"11"_s, u"AAABBB"_s).value();
    EXPECT_EQ(text(half), u"74 | AAA 557 9 0 12 | BBB 557 9 0 13"_s);
    EXPECT_EQ(half.rows.text(0, u"ultimo_item"_s), u"12"_s);
    EXPECT_EQ(itemCount(), u"2"_s);
    EXPECT_EQ(sell(u"557"_s, u"5"_s, 12, u"AAABBB"_s), u"0"_s);
    EXPECT_EQ(sold(u"557"_s), u"AAA 5 BBB 5"_s);
}

// The counter lost the answer of a call, reconnected and sent it again while the server still
// ran the first one: the repeat waits for the ticket the first one holds, then is answered with
// what the first one booked, whether booked item by item or over the arrays.
TEST_F(BookingTest, ACallRepeatedWhileTheFirstStillRunsIsAnsweredAsTheFirst) {
    const QString codeLists[] = {u"AAABBB"_s, u"AAABBBAAABBBAAABBBAAABBBAAA"_s};
    int base = 0;
    for (const QString& codes : codeLists) {
        SCOPED_TRACE(codes.toStdString());
        const ProcedureCall play =
            xcreanormal(u"00012"_s, u"1001"_s, u"444"_s, Money::whole(30), base, codes, nticket);
        db.admin(u"BEGIN"_s);
        db.admin(u"SELECT FROM central.tickets_temporales WHERE nticket = $1 FOR UPDATE"_s,
                 {nticket});
        Result<CallAnswer> first = Error{}, again = Error{};
        PqGateway other(5);
        ASSERT_TRUE(other.open(db.connectionText()).ok());
        std::thread original([&] { first = gateway.call(play); });
        const bool queued = db.waitForLockWaiters(1);
        std::thread repeat([&] { again = other.call(play); });
        const bool bothQueued = queued && db.waitForLockWaiters(2);
        db.admin(u"COMMIT"_s);
        original.join();
        repeat.join();
        EXPECT_TRUE(bothQueued);
        ASSERT_TRUE(first.ok()) << first.error().description.toStdString();
        ASSERT_TRUE(again.ok()) << again.error().description.toStdString();
        EXPECT_EQ(text(again.value()), text(first.value()));
        base += int(codes.size() / 3);
        EXPECT_EQ(itemCount(), QString::number(base));
    }
    EXPECT_EQ(sold(u"444"_s), u"AAA 100 BBB 100"_s);
}

TEST_F(BookingTest, ATerminalThatTakesANewNumberGivesBackWhatItHeld) {
    sell(u"321"_s, u"90"_s, 0, u"AAABBB"_s);
    ProcedureCall renew{u"nregresaticket"_s, {}};
    renew.in(u"@xcodigo_vend"_s, u"00012"_s, 5);
    const QString next = call(renew).returnText().rightJustified(10, u'0');
    EXPECT_EQ(sold(u"321"_s), u"AAA 0 BBB 0"_s);
    EXPECT_EQ(sell(u"321"_s, u"5"_s, 2, u"AAA"_s).left(2), u"73"_s);  // the old number is closed
    nticket = next;
    EXPECT_EQ(sell(u"321"_s, u"100"_s, 2, u"AAA"_s), u"0"_s);
}

// Terminals selling the same hot number at once, each with the lotteries in another order, the
// odd ones taking their AAA play off every other round, two of them with nine items a call
// (booked over the arrays, the others item by item): BBB's quota is sold exactly, AAA's is
// never oversold, every removal gives back exactly what it held, and nobody deadlocks.
TEST_F(BookingTest, ConcurrentTerminalsNeverOversellAHotNumber) {
    const int failures = salesPointsAtOnce(db, 8, [](PqGateway& g, const SalesPointAtOnce& p) {
        const int t = p.index;
        const QString codes = t % 4 == 3 ? u"AAABBBAAABBBAAABBBAAABBBAAA"_s
                              : t % 2    ? u"AAABBB"_s
                                         : u"BBBAAA"_s;
        int failed = 0;
        for (int round = 0; round < 40; ++round) {
            auto a = g.call(xcreanormal(p.vendor, p.user, u"777"_s, Money::whole(3), round * 10,
                                        codes, p.ticket));
            failed += !a || a.value().returnNumber() > 1;
            if (t % 2 && round % 2 == 0) {
                auto removed =
                    g.call(xborrarjugada(p.vendor, p.user, u"777"_s,
                                         QString::number(round * 10 + 1), u"AAA"_s, p.ticket));
                failed += !removed || removed.value().returnNumber() != 0;
            }
        }
        return failed;
    });
    EXPECT_EQ(failures, 0);
    const QString sold777 = sold(u"777"_s);
    EXPECT_EQ(held(u"777"_s), sold777);
    EXPECT_TRUE(sold777.endsWith(u" BBB 100"_s)) << sold777.toStdString();
    EXPECT_LE(sold777.section(u' ', 1, 1).toDouble(), 100.0) << sold777.toStdString();
    EXPECT_EQ(itemCount(), QString::number(6 * 40 * 2 + 2 * 40 * 9));
}

class SpecialBookingTest : public BookingFixture {
  protected:
    void SetUp() override {
        BookingFixture::SetUp();
        db.seedSpecial();
    }
    CallAnswer sell(const QString& number, const QString& amount, int numItem, const QString& codes,
                    const QString& variants, const QString& especial = u"TRI"_s) {
        ProcedureCall c{u"xcreaespecial"_s, {}, 900};
        c.in(u"@T_VENDEDOR"_s, u"00012"_s)
            .in(u"@T_USUARIO"_s, u"1001"_s)
            .in(u"@T_NUMERO_cadena"_s, number)
            .in(u"@T_MONTO_NORMAL"_s, amount)
            .in(u"@NUM_ITEM"_s, QString::number(numItem))
            .in(u"@T_COD_LOT"_s, codes)
            .in(u"@XJUGADA"_s, variants)
            .in(u"@XESPECIAL"_s, especial)
            .in(u"@nticket"_s, nticket);
        return call(c);
    }
    static QString text(const CallAnswer& a) {
        return answerText(
            a, {u"cod_lot"_s, u"jugada"_s, u"status"_s, u"monto"_s, u"titems"_s, u"desc_jugada"_s});
    }
};

// Two lotteries and three variants: six items in one transaction, lottery outer, against the
// same quota of the number that straight plays use.
TEST_F(SpecialBookingTest, OneCallBooksEveryLotteryAndVariantAgainstTheNumbersQuota) {
    call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(70), 0, u"BBB"_s, nticket));
    const CallAnswer a = sell(u"123"_s, u"12.50"_s, 1, u"AAABBB"_s, u"123"_s);
    // BBB had 30 left of its 100: variants 1 and 2 take 12.5 each, variant 3 the 5 left
    EXPECT_EQ(text(a), u"1 | BBB 3 2 5 7 CON SERIE"_s);
    EXPECT_EQ(db.value(u"SELECT string_agg(num_item || ':' || cod_lot || coalesce(variante, '-') "
                       u"|| ':' || monto_vendido || ':' || tipo || ':' || coalesce(especial, '-'), "
                       u"' ' ORDER BY num_item) FROM central.items_ticket"_s),
              u"1:BBB-:70.000:1:- 2:AAA1:12.500:2:TRI 3:AAA2:12.500:2:TRI 4:AAA3:12.500:2:TRI "
              u"5:BBB1:12.500:2:TRI 6:BBB2:12.500:2:TRI 7:BBB3:5.000:2:TRI"_s);
    EXPECT_EQ(sold(u"123"_s), u"AAA 37.5 BBB 100"_s);

    // the same call again after a lost answer: the same answer, nothing booked twice
    EXPECT_EQ(text(sell(u"123"_s, u"12.50"_s, 1, u"AAABBB"_s, u"123"_s)), text(a));
    EXPECT_EQ(itemCount(), u"7"_s);
}

TEST_F(SpecialBookingTest, WhatTheSalesPointMayNotSellIsRefusedAndBooksNothing) {
    db.addLottery(u"CCC"_s, u"GAMMA"_s, u"23:00"_s);
    db.admin(u"SELECT admin.crear_especial('DUO', 'DUPLETAS')"_s);
    db.admin(u"SELECT admin.agregar_variante('DUO', '1', 'DUPLETA')"_s);
    struct Case {
        const char *what, *number, *amount, *codes, *variants, *especial;
        int code, records;
    } cases[] = {
        {"number", "12a", "5", "AAA", "1", "TRI", 70, 1},
        {"amount finer than a centimo", "12", "0.005", "AAA", "1", "TRI", 71, 1},
        {"special not assigned", "12", "5", "AAA", "1", "DUO", 75, 1},
        {"unknown special", "12", "5", "AAA", "1", "ZZZ", 75, 1},
        {"lottery without the special", "12", "5", "AAACCC", "1", "TRI", 76, 2},
        {"no variant", "12", "5", "AAA", "", "TRI", 77, 0},
        {"variant of another special", "12", "5", "AAA", "14", "TRI", 77, 2},
        {"variant twice", "12", "5", "AAA", "11", "TRI", 77, 2},
        {"over a hundred variants", "12", "5", "AAA", nullptr, "TRI", 77, 101},
    };
    for (const Case& c : cases) {
        const QString variants = c.variants ? QString::fromLatin1(c.variants) : QString(101, u'1');
        const CallAnswer a =
            sell(QString::fromLatin1(c.number), QString::fromLatin1(c.amount), 0,
                 QString::fromLatin1(c.codes), variants, QString::fromLatin1(c.especial));
        EXPECT_EQ(a.returnNumber(), c.code) << c.what;
        EXPECT_EQ(a.rows.size(), c.records) << c.what;
        for (int i = 0; i < a.rows.size(); ++i) EXPECT_EQ(a.rows.text(i, 3), u"9"_s) << c.what;
    }
    EXPECT_EQ(itemCount(), u"0"_s);
}

// A special of the day is listed to, and sold by, only the sales points it is assigned to.
TEST_F(SpecialBookingTest, OnlyAssignedSpecialsAndTheirVariantsAreListed) {
    EXPECT_EQ(answerText(gateway.exec(u"DSPjugadase"_s).value(), {u"especial"_s}), u"0 | TRI"_s);
    EXPECT_EQ(gateway.exec(u"DSPjugadeta"_s).value().rows.size(), 3);

    db.addVendor(u"00013"_s, u"2001"_s);
    PqGateway other(5);
    ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
    EXPECT_TRUE(other.exec(u"DSPjugadase"_s).value().rows.empty());
    EXPECT_TRUE(other.exec(u"DSPjugadeta"_s).value().rows.empty());
    const QString ticket = db.newTicket(u"00013"_s);
    EXPECT_EQ(call(xcreaespecial(u"00013"_s, u"2001"_s, u"123"_s, Money::whole(5), 0, u"AAA"_s,
                                 u"1"_s, u"TRI"_s, ticket),
                   &other)
                  .returnNumber(),
              75);
}

}  // namespace
