#include "../aftersale/issued_tickets.h"
#include "generators/generated_sale.h"
#include "generators/generator_calls.h"
#include "generators/number_lists.h"
#include "platform/pq_gateway.h"
#include "sales/play_seller.h"
#include "test_database.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <functional>
#include <random>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

class GeneratorBookingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        db.seedLotteries();
        db.seedSpecial();
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
    }
    CallAnswer call(const ProcedureCall& c) {
        auto answer = gateway.call(c);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
    static GeneratorCaller caller(const QString& nticket, int numItem) {
        return {u"00012"_s, u"1001"_s, nticket, numItem};
    }
    // The fields of every record, joined by ":" (amounts as plain numbers).
    static QStringList records(const CallAnswer& a,
                               const QStringList& fields = {u"cod_lot"_s, u"numero"_s, u"jugada"_s,
                                                            u"status"_s}) {
        QStringList out;
        for (int i = 0; i < a.rows.size(); ++i) {
            QStringList r;
            for (const QString& f : fields) {
                const QString v = a.rows.text(i, f);
                r << (f == u"monto"_s ? QString::number(v.toDouble()) : v);
            }
            out << r.join(u':');
        }
        return out;
    }
    // "lottery:number:variant:amount sold" of the ticket's items after an item number.
    QStringList items(const QString& nticket, int after) {
        QStringList out;
        for (const QStringList& r :
             db.rows(u"SELECT cod_lot || ':' || numero || ':' || coalesce(variante, '') || ':' || "
                     u"monto_vendido::float8 FROM central.items_ticket "
                     u"WHERE nticket = $1 AND num_item > $2::int ORDER BY num_item"_s,
                     {nticket, QString::number(after)}))
            out << r[0];
        return out;
    }

    TestDatabase db;
    PqGateway gateway{5};
};

// The server's lists, by the functions its procedures build them with, against the counter's:
// every input of up to four digits and random longer ones to permute, every series ending,
// every first number of a run with runs of none, one, eleven numbers and up to 999, and every
// position of every digit.
TEST_F(GeneratorBookingTest, TheServerFormsTheSameListsInTheSameOrderAsTheCounter) {
    // Each pair of inputs through the server function, answering the first inputs that differ.
    auto differing = [&](const QString& function, const QStringList& a, const QStringList& b,
                         const std::function<QStringList(const QString&, const QString&)>& ours) {
        auto array = [](const QStringList& l) { return u"{\""_s + l.join(u"\",\""_s) + u"\"}"_s; };
        const auto server = db.rows(u"SELECT array_to_string("_s + function +
                                        u", ' ') FROM unnest($1::varchar[], $2::varchar[]) "
                                        u"WITH ORDINALITY AS x(a, b, k) ORDER BY k"_s,
                                    {array(a), array(b)});
        QStringList out;
        for (qsizetype i = 0; i < a.size() && out.size() < 5; ++i) {
            if (size_t(i) >= server.size() || server[size_t(i)][0] != ours(a[i], b[i]).join(u' '))
                out << a[i] + u"/"_s + b[i];
        }
        return out;
    };
    QStringList digits;
    for (int length = 1, count = 10; length <= 4; ++length, count *= 10) {
        for (int n = 0; n < count; ++n) digits << QString::number(n).rightJustified(length, u'0');
    }
    const unsigned seed = std::random_device()();
    std::mt19937 draw(seed);
    for (int i = 0; i < 3000; ++i) {
        QString d;
        for (int k = 5 + int(draw() % 3); k > 0; --k) d += QChar(u'0' + char16_t(draw() % 10));
        digits << d;
    }
    EXPECT_EQ(
        differing(u"central.permutaciones(a)"_s, digits, QStringList(digits.size(), QString()),
                  [](auto& a, auto&) { return permutaciones(a); }),
        QStringList())
        << "seed " << seed;
    const QStringList endings = QStringList{u""_s} + digits.mid(0, 110);
    EXPECT_EQ(
        differing(u"central.serie_numeros(a)"_s, endings, QStringList(endings.size(), QString()),
                  [](auto& a, auto&) { return serieNumbers(a); }),
        QStringList());
    QStringList firsts, lasts;
    for (int first = 0; first <= 999; ++first) {
        for (int last : {first - 1, first, std::min(first + 10, 999), 999}) {
            firsts << QString::number(first);
            lasts << QString::number(last);
        }
    }
    EXPECT_EQ(differing(u"central.seguidilla_numeros(a::int, b::int)"_s, firsts, lasts,
                        [](auto& a, auto& b) { return seguidillaNumbers(a.toInt(), b.toInt()); }),
              QStringList());
    QStringList digit, mode;
    for (int d = 0; d <= 9; ++d) {
        digit << QStringList(4, QString::number(d));
        mode << u"1"_s << u"2"_s << u"3"_s << u""_s;
    }
    EXPECT_EQ(differing(u"central.posicion_numeros(a, b)"_s, digit, mode,
                        [](auto& a, auto& b) { return posicionados(a[0], b); }),
              QStringList());
}

// One call per generator: items numbered from NUM_ITEM + 1 in the counter's order, a sold-out
// number answered "1", a closed lottery "4" on every item, and the same call again answered
// as the first without booking twice.
TEST_F(GeneratorBookingTest, EachGeneratorBooksItsListInOneCallAndAnswersARepeatAsBefore) {
    const QStringList lotteries{u"AAA - ALFA"_s, u"BBB - BETA"_s};
    const QString codes = u"AAABBB"_s;
    const SpecialCodes tri{u"13"_s, u"TRI"_s};  // variants SENCILLA and CON SERIE
    const std::vector<SaleVariant> variants{{u"1"_s, u"SENCILLA"_s}, {u"3"_s, u"CON SERIE"_s}};
    const Money five = Money::whole(5);
    // the triples the terminal generators read: 123 on both lotteries, 45 is none
    std::vector<ItemTicket> ticket;
    for (const auto& [numero, lot] : {std::pair{"123", 0}, {"123", 1}, {"45*", 0}, {"678", 0}})
        ticket.push_back(
            {QString::fromLatin1(numero), lotteries[lot], five, {}, {}, 0, u"1"_s, {}});
    const struct {
        const char* soldOut;  // on AAA
        std::function<ProcedureCall(const GeneratorCaller&)> call;
        std::vector<PlannedItem> items;
    } cases[] = {
        {"132", [&](auto& c) { return xcreapermutas(c, u"1123"_s, u"5"_s, codes); },
         generatedItems(lotteries, permutaciones(u"1123"_s), five)},
        {"107", [&](auto& c) { return xcreaseries(c, u"7"_s, u"5"_s, codes); },
         generatedItems(lotteries, serieNumbers(u"7"_s), five)},
        {"006", [&](auto& c) { return xcreaseguid(c, u"5"_s, u"8"_s, u"5"_s, codes); },
         generatedItems(lotteries, seguidillaNumbers(5, 8), five)},
        {"705", [&](auto& c) { return xcreaposic(c, u"7"_s, u"5"_s, u"1"_s, codes); },
         generatedItems(lotteries, posicionados(u'7', u"1"_s), five)},
        {"78*", [&](auto& c) { return xjtermi(c, u"0"_s, codes); },
         terminalItems(lotteries, ticket, std::nullopt)},
        {"213", [&](auto& c) { return xcreapermutasEspe(c, u"123"_s, u"5"_s, codes, tri); },
         generatedItems(lotteries, permutaciones(u"123"_s), five, variants)},
        {"507", [&](auto& c) { return xcreaseriesESPE(c, u"07"_s, u"5"_s, codes, tri); },
         generatedItems(lotteries, serieNumbers(u"07"_s), five, variants)},
        {"23*", [&](auto& c) { return xjtermiesp(c, u"5"_s, codes, tri); },
         terminalItems(lotteries, ticket, five, variants)},
    };
    for (const auto& c : cases) {
        // a new ticket (the terminal leaves the last one) with its triples, then BBB closes
        const QString nticket = db.newTicket(u"00012"_s);
        db.admin(u"UPDATE central.loterias SET cerrada = false WHERE cod_lot = 'BBB'"_s);
        int item = 0;
        for (const ItemTicket& r : ticket) {
            call(xcreanormal(u"00012"_s, u"1001"_s, QString(r.numero).remove(u'*'), five, item++,
                             r.codigoLoteria(), nticket));
        }
        db.admin(u"UPDATE central.loterias SET cerrada = true WHERE cod_lot = 'BBB'"_s);
        const QString soldOut = QString::fromLatin1(c.soldOut);
        db.admin(u"DELETE FROM central.cupos_numero"_s);
        db.admin(u"INSERT INTO central.cupos_numero VALUES ('AAA', $1, 0)"_s, {soldOut});
        QStringList planned, answers;
        for (const PlannedItem& i : c.items) {
            const QString code = i.lotteryEntry.left(3);
            const QString status = code == u"BBB"_s      ? u"4"_s
                                   : i.number == soldOut ? u"1"_s
                                                         : u"0"_s;
            const QString key = code + u":"_s + i.number + u":"_s + i.variant + u":"_s;
            planned << key + (status == u"0"_s ? i.amount.plain() : u"0"_s);
            if (status != u"0"_s) answers << key + status;
        }
        const CallAnswer a = call(c.call(caller(nticket, 4)));
        EXPECT_EQ(a.returnNumber(), 1) << c.soldOut;
        EXPECT_EQ(items(nticket, 4), planned) << c.soldOut;
        EXPECT_EQ(records(a), answers) << c.soldOut;
        EXPECT_EQ(records(call(c.call(caller(nticket, 4)))), answers) << c.soldOut;
        EXPECT_EQ(items(nticket, 4), planned) << c.soldOut;
    }
}

// What the counter never sends but a request could carry: a message code and nothing booked.
TEST_F(GeneratorBookingTest, BadRequestsAreRefusedWholeOrFormNothing) {
    const GeneratorCaller first = caller(db.newTicket(u"00012"_s), 0);
    const struct {
        const char* what;
        ProcedureCall call;
        int code;
        int records;
    } cases[] = {
        // the sales point permutes at most 7 digits: 8 are refused, every item answered
        {"eight digits", xcreapermutas(first, u"12345678"_s, u"5"_s, u"AAA"_s), 70, 336},
        {"no amount", xcreaseries(first, u"7"_s, u""_s, u"AAABBB"_s), 71, 20},
        {"a zero amount", xcreaposic(first, u"7"_s, u"0"_s, u"1"_s, u"AAA"_s), 71, 100},
        {"first above last", xcreaseguid(first, u"9"_s, u"5"_s, u"5"_s, u"AAA"_s), 0, 0},
        {"no position", xcreaposic(first, u"7"_s, u"5"_s, u""_s, u"AAA"_s), 70, 0},
        {"past 32767 items",
         xcreaseguid(GeneratorCaller{first.vendedor, first.usuario, first.nticket, 32700}, u"0"_s,
                     u"99"_s, u"5"_s, u"AAA"_s),
         72, 100},
        {"a variant the special lacks",
         xcreaseriesESPE(first, u"7"_s, u"5"_s, u"AAA"_s, {u"19"_s, u"TRI"_s}), 77, 20},
    };
    for (const auto& c : cases) {
        const CallAnswer a = call(c.call);
        EXPECT_EQ(a.returnNumber(), c.code) << c.what;
        EXPECT_EQ(a.rows.size(), c.records) << c.what;
        EXPECT_TRUE(records(a).filter(QRegularExpression(u":[^9]$"_s)).isEmpty()) << c.what;
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);
}

// The open ticket the copies start from: 123 for 5 and a tripleta 777 for 2 on AAA, 45 for 3
// on BBB; lottery CCC does not offer the tripleta.
class CopiesTest : public GeneratorBookingTest {
  protected:
    void SetUp() override {
        GeneratorBookingTest::SetUp();
        db.addLottery(u"CCC"_s, u"GAMA"_s, u"23:00"_s);
        nticket = db.newTicket(u"00012"_s);
        call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(5), 0, u"AAA"_s, nticket));
        call(xcreaespecial(u"00012"_s, u"1001"_s, u"777"_s, Money::whole(2), 1, u"AAA"_s, u"1"_s,
                           u"TRI"_s, nticket));
        call(xcreanormal(u"00012"_s, u"1001"_s, u"45"_s, Money::whole(3), 2, u"BBB"_s, nticket));
    }
    // "item:lottery:number:amount:status:kind:variant" of every record.
    static QStringList copies(const CallAnswer& a) {
        return records(a, {u"titems"_s, u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s,
                           u"tipo"_s, u"jugada"_s});
    }
    CallAnswer repeat(int numItem, const QString& amount, const QString& codes,
                      const QString& origin) {
        return call(xREPITEXLOTERIA(caller(nticket, numItem), amount, codes, origin));
    }
    CallAnswer reload(int numItem, const QString& codes, const QString& origin,
                      const QString& ticket) {
        return call(xcargaticket(caller(nticket, numItem), u"0"_s, codes, origin, ticket));
    }
    QString itemCount() {
        return db.value(u"SELECT count(*) FROM central.items_ticket WHERE nticket = $1"_s,
                        {nticket});
    }

    QString nticket;
};

// The target lottery outer, the sources in ticket order; only plays made before NUM_ITEM are
// copied, a sold-out one is none; an amount of 0 keeps each play's own.
TEST_F(CopiesTest, ARepeatCopiesTheOriginsPlaysWithTheirKindsAndIsBookedOnce) {
    db.admin(u"INSERT INTO central.cupos_numero VALUES ('BBB', '123', 0)"_s);
    const CallAnswer a = repeat(3, u"0"_s, u"BBBAAA"_s, u"AAA"_s);
    EXPECT_EQ(a.returnNumber(), 1);
    EXPECT_EQ(copies(a), QStringList({u"4:BBB:123:0:1:1:"_s, u"5:BBB:777:2:0:2:1"_s,
                                      u"6:AAA:123:5:0:1:"_s, u"7:AAA:777:2:0:2:1"_s}));
    EXPECT_EQ(db.value(u"SELECT string_agg(num_item || especial, ' ' ORDER BY num_item) FROM "
                       u"central.items_ticket WHERE tipo = '2'"_s),
              u"2TRI 5TRI 7TRI"_s);
    // the same call after a lost answer: the same answer, nothing booked twice
    EXPECT_EQ(copies(repeat(3, u"0"_s, u"BBBAAA"_s, u"AAA"_s)), copies(a));
    EXPECT_EQ(itemCount(), u"7"_s);

    EXPECT_EQ(copies(repeat(7, u"1.5"_s, u"BBB"_s, u"BBB"_s)),
              QStringList({u"8:BBB:45*:1.5:0:1:"_s, u"9:BBB:777:1.5:0:2:1"_s}));
    // CCC does not offer the tripleta: nothing at all is booked
    const CallAnswer refused = repeat(9, u"0"_s, u"CCC"_s, u"AAA"_s);
    EXPECT_EQ(refused.returnNumber(), 76);
    EXPECT_EQ(refused.rows.size(), 4);
    EXPECT_EQ(repeat(9, u"0"_s, u"CCC"_s, u"ZZZ"_s).returnNumber(), 79);
    EXPECT_EQ(repeat(9, u"0.001"_s, u"CCC"_s, u"AAA"_s).returnNumber(), 71);
    EXPECT_EQ(itemCount(), u"9"_s);
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
    const CallAnswer a = reload(3, u"CCCBBB"_s, u"AAA"_s, u"555"_s);
    EXPECT_EQ(a.returnNumber(), 76);
    EXPECT_EQ(a.rows.size(), 6);
    EXPECT_EQ(itemCount(), u"3"_s);
    const CallAnswer b = reload(3, u"BBB"_s, u"AAA"_s, u"555"_s);
    EXPECT_EQ(b.returnNumber(), 0);
    EXPECT_EQ(copies(b),
              QStringList({u"4:BBB:321:4:0:1:"_s, u"5:BBB:12*:1:0:1:"_s, u"6:BBB:888:6:0:2:3"_s}));
    EXPECT_EQ(db.auditActions().filter(u"TICKET_CARGADO"_s).size(), 1);

    // another sales point's ticket, or no ticket at all: no rows, nothing booked
    for (const QString& other : {u"556"_s, u"0000000556"_s, u"abc"_s, QString(100, u'9'), u""_s}) {
        const CallAnswer none = reload(6, u"BBB"_s, u"AAA"_s, other);
        EXPECT_EQ(none.returnNumber(), 78) << other.toStdString();
        EXPECT_TRUE(none.rows.empty());
    }
    EXPECT_EQ(reload(6, u"BBB"_s, u"CCC"_s, u"555"_s).returnNumber(), 79);
    EXPECT_EQ(itemCount(), u"6"_s);
}

}  // namespace
