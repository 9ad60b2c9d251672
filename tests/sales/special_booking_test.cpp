#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

class SpecialBookingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.seedLotteries();
        db.seedSpecial();
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
        nticket = db.newTicket(u"00012"_s);
    }
    CallAnswer sell(const QString& number, const QString& amount, int numItem, const QString& codes,
                    const QString& variants, const QString& especial = u"TRI"_s) {
        ProcedureCall call{u"xcreaespecial"_s, {}, 900};
        call.in(u"@T_VENDEDOR"_s, u"00012"_s)
            .in(u"@T_USUARIO"_s, u"1001"_s)
            .in(u"@T_NUMERO_cadena"_s, number)
            .in(u"@T_MONTO_NORMAL"_s, amount)
            .in(u"@NUM_ITEM"_s, QString::number(numItem))
            .in(u"@T_COD_LOT"_s, codes)
            .in(u"@XJUGADA"_s, variants)
            .in(u"@XESPECIAL"_s, especial)
            .in(u"@nticket"_s, nticket);
        auto answer = gateway.call(call);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
    // "lottery variant status sold item description" of every record.
    static QStringList records(const CallAnswer& a) {
        QStringList out;
        for (int i = 0; i < a.rows.size(); ++i) {
            out << QStringList{a.rows.text(i, u"cod_lot"_s),
                               a.rows.text(i, u"jugada"_s),
                               a.rows.text(i, u"status"_s),
                               QString::number(a.rows.text(i, u"monto"_s).toDouble()),
                               a.rows.text(i, u"titems"_s),
                               a.rows.text(i, u"desc_jugada"_s)}
                       .join(u' ');
        }
        return out;
    }
    QString items() {
        return db.value(
            u"SELECT string_agg(num_item || ':' || cod_lot || coalesce(variante, '-') || ':' || "
            u"monto_vendido || ':' || tipo || ':' || coalesce(especial, '-'), ' ' ORDER BY "
            u"num_item) "
            u"FROM central.items_ticket"_s);
    }

    TestDatabase db;
    PqGateway gateway{5};
    QString nticket;
};

// Two lotteries and three variants: six items in one transaction, lottery outer, against the
// same quota of the number that straight plays use.
TEST_F(SpecialBookingTest, OneCallBooksEveryLotteryAndVariantAgainstTheNumbersQuota) {
    ASSERT_TRUE(gateway
                    .call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(70), 0,
                                      u"BBB"_s, nticket))
                    .ok());
    const CallAnswer a = sell(u"123"_s, u"12.50"_s, 1, u"AAABBB"_s, u"123"_s);
    EXPECT_EQ(a.returnNumber(), 1);
    // BBB had 30 left of its 100: variants 1 and 2 take 12.5 each, variant 3 the 5 left
    EXPECT_EQ(records(a), QStringList{u"BBB 3 2 5 7 CON SERIE"_s});
    EXPECT_EQ(items(),
              u"1:BBB-:70.000:1:- 2:AAA1:12.500:2:TRI 3:AAA2:12.500:2:TRI 4:AAA3:12.500:2:TRI "
              u"5:BBB1:12.500:2:TRI 6:BBB2:12.500:2:TRI 7:BBB3:5.000:2:TRI"_s);
    EXPECT_EQ(db.value(u"SELECT vendido::float8::text FROM central.ventas_numero "
                       u"WHERE cod_lot = 'BBB' AND numero = '123'"_s),
              u"100"_s);
    EXPECT_EQ(db.value(u"SELECT vendido::float8::text FROM central.ventas_numero "
                       u"WHERE cod_lot = 'AAA' AND numero = '123'"_s),
              u"37.5"_s);

    // the same call again after a lost answer: the same answer, nothing booked twice
    EXPECT_EQ(records(sell(u"123"_s, u"12.50"_s, 1, u"AAABBB"_s, u"123"_s)), records(a));
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"7"_s);
}

TEST_F(SpecialBookingTest, WhatTheSalesPointMayNotSellIsRefusedAndBooksNothing) {
    db.addLottery(u"CCC"_s, u"GAMMA"_s, u"23:00"_s);
    db.admin(u"SELECT admin.crear_especial('DUO', 'DUPLETAS')"_s);
    db.admin(u"SELECT admin.agregar_variante('DUO', '1', 'DUPLETA')"_s);
    struct Case {
        const char* what;
        const char* number;
        const char* amount;
        const char* codes;
        const char* variants;
        const char* especial;
        int code;
        int records;
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
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);
}

// A special of the day is listed only to the sales points it is assigned to.
TEST_F(SpecialBookingTest, OnlyAssignedSpecialsAndTheirVariantsAreListed) {
    auto especiales = gateway.exec(u"DSPjugadase"_s);
    ASSERT_TRUE(especiales.ok());
    ASSERT_EQ(especiales.value().rows.size(), 1);
    EXPECT_EQ(especiales.value().rows.text(0, u"especial"_s), u"TRI"_s);
    EXPECT_EQ(gateway.exec(u"DSPjugadeta"_s).value().rows.size(), 3);

    db.addVendor(u"00013"_s, u"2001"_s);
    PqGateway other(5);
    ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
    EXPECT_TRUE(other.exec(u"DSPjugadase"_s).value().rows.empty());
    EXPECT_TRUE(other.exec(u"DSPjugadeta"_s).value().rows.empty());
    // nor may it sell the special on its own ticket
    const QString ticket = db.newTicket(u"00013"_s);
    auto refused = other.call(xcreaespecial(u"00013"_s, u"2001"_s, u"123"_s, Money::whole(5), 0,
                                            u"AAA"_s, u"1"_s, u"TRI"_s, ticket));
    EXPECT_EQ(refused.value().returnNumber(), 75);
}

}  // namespace
