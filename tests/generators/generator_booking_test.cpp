#include "../aftersale/issued_tickets.h"
#include "generators/generated_sale.h"
#include "generators/generator_calls.h"
#include "generators/number_lists.h"
#include "platform/pq_gateway.h"
#include "replayable_seed.h"
#include "sales/play_seller.h"
#include "sales/ticket_model.h"
#include "sales_points_at_once.h"
#include "test_database.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <functional>
#include <random>

using namespace vendura;
using vendura::test::replayableSeed;
using vendura::test::replayWith;
using vendura::test::SalesPointAtOnce;
using vendura::test::salesPointsAtOnce;
using vendura::test::TestDatabase;

namespace {

// The lists that the screens do not show whole; the server's lists are compared with these
// below.
TEST(NumberListsTest, EachGeneratorFormsItsNumbersInTheServersOrder) {
    const struct {
        QStringList list;
        const char* numbers;
    } cases[] = {
        {permutaciones(u"123"_s), "123 132 213 231 312 321"},
        {permutaciones(u"112"_s), "112 121 211"},
        {permutaciones(u"777"_s), "777"},
        {permutaciones(u"121"_s), "121 211 112"},
        {permutaciones(u"1234"_s),
         "123 132 213 231 312 321 124 142 214 241 412 421 134 143 314 341 413 431 234 243 324 "
         "342 423 432"},
        // choice 1-2-4 is skipped: three equal digits end the choices of m
        {permutaciones(u"1111"_s), "111 111 111"},
        {permutaciones(u"1123"_s),
         "112 121 211 113 131 311 123 132 213 231 312 321 123 132 213 231 312 321"},
        {permutaciones(u"12"_s), ""},
        {serieNumbers(u"25"_s), "025 125 225 325 425 525 625 725 825 925"},
        {serieNumbers(u"123"_s), ""},
        {seguidillaNumbers(5, 8), "005 006 007 008"},
        {seguidillaNumbers(20, 10), ""},
        {posicionados(u'0', u"2"_s).mid(8, 4), "008 009 100 101"},
        {posicionados(u'5', u"3"_s).mid(0, 3) + posicionados(u'5', u"3"_s).mid(99),
         "005 015 025 995"},
        {posicionados(u'5', QString()), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.list.join(u' '), QString::fromLatin1(c.numbers));
    EXPECT_EQ(permutaciones(u"1234567"_s).size(), 210);
    EXPECT_GT(permutaciones(u"123456789"_s).size(), kMaxPermutaciones);  // 504
    EXPECT_FALSE(seguidillaTooLong(3, 10, 20));
    EXPECT_TRUE(seguidillaTooLong(3, 10, 21));
    EXPECT_FALSE(seguidillaTooLong(7, 100, 150));
    // 9 x draw / 2000000001, whole part
    for (const auto& [draw, digit] : std::initializer_list<std::pair<quint32, int>>{
             {1, 0}, {222222223, 0}, {222222224, 1}, {1000000001, 4}, {2000000001, 8}}) {
        EXPECT_EQ(randomDigit(draw), digit) << draw;
    }
}

ItemTicket row(const char* lot, std::optional<Money> monto, const char* label = "Venta Normal") {
    const QString play = QString::fromLatin1(label);
    return {u"123"_s, QString::fromLatin1(lot), monto, play, {}, 0, u"1"_s, play};
}

// A generator's sale is one group per lottery, printed as one line under its label (marked
// "*") only when every row sold the amount asked; a whole group on the ticket switches the
// working mode to "1". A row taken off breaks its group: its rows print one by one.
TEST(NumberListsTest, ASaleIsNumberedAfterTheGroupsOfItsPlayAndMarkedWhenSoldWhole) {
    const QString jugada = u"Permuta 12"_s;
    auto sale = [&](std::vector<ItemTicket> rows) {
        for (ItemTicket& r : rows) r.tipo2 = r.jugada = jugada;
        return rows;
    };
    std::vector<ItemTicket> ticket{row("AAA - ALFA", Money::whole(1))};
    std::vector<ItemTicket> first =
        sale({row("AAA - ALFA", Money::whole(5)), row("BBB - BETA", Money::fromUnits(30000))});
    EXPECT_FALSE(groupSale(ticket, first, u"AAABBB"_s, jugada, Money::whole(5)));
    EXPECT_EQ(first[0].tipo2 + u"|"_s + first[1].tipo2, u"1Permuta 12*|1Permuta 12"_s);
    ticket.insert(ticket.end(), first.begin(), first.end());
    std::vector<ItemTicket> second = sale({row("BBB - BETA", Money::whole(5))});
    EXPECT_TRUE(groupSale(ticket, second, u"BBB"_s, jugada, Money::whole(5)));
    EXPECT_EQ(second[0].tipo2, u"2Permuta 12*"_s);
    std::vector<ItemTicket> other = sale({row("CCC - GAMA", std::nullopt)});
    groupSale(ticket, other, u"CCC"_s, jugada, Money::whole(5));
    EXPECT_EQ(other[0].tipo2, u"1Permuta 12"_s);

    std::vector<ItemTicket> rows;
    for (const char* label : {"1Permuta 12*", "1Permuta 12*", "2Permuta 12*"})
        rows.push_back(row("AAA - ALFA", Money::whole(5), label));
    TicketModel model;
    model.append(rows);
    model.removeRows(0, 1);
    model.breakGroup(rows[0]);
    EXPECT_EQ(model.at(0).tipo2 + u"|"_s + model.at(1).tipo2, u"1Permuta 12|2Permuta 12*"_s);
}

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
    // "lottery:number:variant:amount sold" of the ticket's items after the fourth.
    QString items(const QString& nticket) {
        return db.value(
            u"SELECT string_agg(cod_lot || ':' || numero || ':' || coalesce(variante, "
            u"'') || ':' || monto_vendido::float8, ' ' ORDER BY num_item) FROM "
            u"central.items_ticket WHERE nticket = $1 AND num_item > 4"_s,
            {nticket});
    }

    TestDatabase db;
    PqGateway gateway{5};
};

// The server's lists, by the functions its procedures build them with, against the counter's:
// every input of up to four digits and random longer ones to permute (VENDURA_LISTS_SEED
// replays them), every series ending, every first number of a run with runs of none, one,
// eleven numbers and up to 999, and every position of every digit.
TEST_F(GeneratorBookingTest, TheServerFormsTheSameListsInTheSameOrderAsTheCounter) {
    // Each pair of inputs through the server function, answering the first inputs that differ.
    auto differing = [&](const QString& function, const QStringList& a,
                         const std::function<QStringList(const QString&, const QString&)>& ours,
                         const QStringList& b = {}) {
        auto array = [](const QStringList& l) { return u"{\""_s + l.join(u"\",\""_s) + u"\"}"_s; };
        const auto server = db.rows(u"SELECT array_to_string("_s + function +
                                        u", ' ') FROM unnest($1::varchar[], $2::varchar[]) "
                                        u"WITH ORDINALITY AS x(a, b, k) ORDER BY k"_s,
                                    {array(a), array(b)});
        QStringList out;
        for (qsizetype i = 0; i < a.size() && out.size() < 5; ++i) {
            if (size_t(i) >= server.size() ||
                server[size_t(i)][0] != ours(a[i], b.value(i)).join(u' '))
                out << a[i] + u"/"_s + b.value(i);
        }
        return out;
    };
    QStringList digits;
    for (int length = 1, count = 10; length <= 4; ++length, count *= 10) {
        for (int n = 0; n < count; ++n) digits << QString::number(n).rightJustified(length, u'0');
    }
    const unsigned seed = replayableSeed("VENDURA_LISTS_SEED");
    std::mt19937 draw(seed);
    for (int i = 0; i < 3000; ++i) {
        QString d;
        for (int k = 5 + int(draw() % 3); k > 0; --k) d += QChar(u'0' + char16_t(draw() % 10));
        digits << d;
    }
    EXPECT_EQ(differing(u"central.permutaciones(a)"_s, digits,
                        [](auto& a, auto&) { return permutaciones(a); }),
              QStringList())
        << replayWith("VENDURA_LISTS_SEED", seed);
    EXPECT_EQ(differing(u"central.serie_numeros(a)"_s, QStringList{u""_s} + digits.mid(0, 110),
                        [](auto& a, auto&) { return serieNumbers(a); }),
              QStringList());
    QStringList firsts, lasts;
    for (int first = 0; first <= 999; ++first) {
        for (int last : {first - 1, first, std::min(first + 10, 999), 999}) {
            firsts << QString::number(first);
            lasts << QString::number(last);
        }
    }
    EXPECT_EQ(differing(
                  u"central.seguidilla_numeros(a::int, b::int)"_s, firsts,
                  [](auto& a, auto& b) { return seguidillaNumbers(a.toInt(), b.toInt()); }, lasts),
              QStringList());
    QStringList digit, mode;
    for (int d = 0; d <= 9; ++d) {
        digit << QStringList(4, QString::number(d));
        mode << u"1"_s << u"2"_s << u"3"_s << u""_s;
    }
    EXPECT_EQ(differing(
                  u"central.posicion_numeros(a, b)"_s, digit,
                  [](auto& a, auto& b) { return posicionados(a[0], b); }, mode),
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
        EXPECT_EQ(items(nticket), planned.join(u' ')) << c.soldOut;
        EXPECT_EQ(records(a), answers) << c.soldOut;
        EXPECT_EQ(records(call(c.call(caller(nticket, 4)))), answers) << c.soldOut;
        EXPECT_EQ(items(nticket), planned.join(u' ')) << c.soldOut;
    }
}

// What the counter never sends but a request could carry: a message code and nothing booked.
TEST_F(GeneratorBookingTest, BadRequestsAreRefusedWholeOrFormNothing) {
    const GeneratorCaller first = caller(db.newTicket(u"00012"_s), 0);
    const std::pair<ProcedureCall, QString> cases[] = {
        // a sales point permutes at most 7 digits: 8 are refused, every item answered
        {xcreapermutas(first, u"12345678"_s, u"5"_s, u"AAA"_s), u"70 336"_s},
        {xcreaseries(first, u"7"_s, u""_s, u"AAABBB"_s), u"71 20"_s},  // no amount
        {xcreaposic(first, u"7"_s, u"0"_s, u"1"_s, u"AAA"_s), u"71 100"_s},
        {xcreaseguid(first, u"9"_s, u"5"_s, u"5"_s, u"AAA"_s), u"0 0"_s},  // first above last
        {xcreaposic(first, u"7"_s, u"5"_s, u""_s, u"AAA"_s), u"70 0"_s},   // no position
        {xcreaseguid(caller(first.nticket, 32700), u"0"_s, u"99"_s, u"5"_s, u"AAA"_s),
         u"72 100"_s},  // past 32767 items
        {xcreaseriesESPE(first, u"7"_s, u"5"_s, u"AAA"_s, {u"19"_s, u"TRI"_s}), u"77 20"_s},
    };
    for (const auto& [request, expected] : cases) {
        const CallAnswer a = call(request);
        EXPECT_EQ(u"%1 %2"_s.arg(a.returnNumber()).arg(a.rows.size()), expected);
        EXPECT_TRUE(records(a).filter(QRegularExpression(u":[^9]$"_s)).isEmpty())
            << expected.toStdString();
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);
}

// Eight sales points send the same positioned requests (the hundred triples 7xx on AAA and BBB,
// 7 each, three times; then 4xx, then 1xx) at once, past the quota: each of the 600 numbers
// sells exactly its quota of 100 and never more, its row equals its live items, and no call
// fails or deadlocks.
TEST_F(GeneratorBookingTest, ConcurrentRequestsSellEachNumbersQuotaExactly) {
    const int failures = salesPointsAtOnce(db, 8, [](PqGateway& g, const SalesPointAtOnce& p) {
        int failed = 0;
        int numItem = 0;
        for (const QString& digit : {u"7"_s, u"4"_s, u"1"_s}) {
            for (int round = 0; round < 3; ++round, numItem += 200) {
                auto a = g.call(xcreaposic({p.vendor, p.user, p.ticket, numItem}, digit, u"7"_s,
                                           u"1"_s, u"AAABBB"_s));
                failed += !a || a.value().returnNumber() > 1;
            }
        }
        return failed;
    });
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(db.value(u"SELECT count(*) FILTER (WHERE v.vendido = 100 AND v.vendido = "
                       u"(SELECT sum(i.monto_vendido) FROM central.items_ticket i WHERE "
                       u"i.cod_lot = v.cod_lot AND i.numero = v.numero AND i.vigente)) || ' of ' "
                       u"|| count(*) || ', oversold ' || count(*) FILTER (WHERE v.vendido > 100) "
                       u"FROM central.ventas_numero v"_s),
              u"600 of 600, oversold 0"_s);
}

// A repeat from the open ticket (123 for 5 and a tripleta 777 for 2 on AAA, 45 for 3 on BBB):
// the target lottery outer, the sources in ticket order; only plays made before NUM_ITEM are
// copied, a sold-out one is none; an amount of 0 keeps each play's own. CCC does not offer the
// tripleta.
TEST_F(GeneratorBookingTest, ARepeatCopiesTheOriginsPlaysWithTheirKindsAndIsBookedOnce) {
    db.addLottery(u"CCC"_s, u"GAMA"_s, u"23:00"_s);
    db.admin(u"INSERT INTO central.cupos_numero VALUES ('BBB', '123', 0)"_s);
    const QString nticket = db.newTicket(u"00012"_s);
    call(xcreanormal(u"00012"_s, u"1001"_s, u"123"_s, Money::whole(5), 0, u"AAA"_s, nticket));
    call(xcreaespecial(u"00012"_s, u"1001"_s, u"777"_s, Money::whole(2), 1, u"AAA"_s, u"1"_s,
                       u"TRI"_s, nticket));
    call(xcreanormal(u"00012"_s, u"1001"_s, u"45"_s, Money::whole(3), 2, u"BBB"_s, nticket));
    // "item:lottery:number:amount:status:kind:variant" of every record
    auto repeat = [&](int numItem, const QString& amount, const QString& codes,
                      const QString& origin) {
        const CallAnswer a = call(xREPITEXLOTERIA(caller(nticket, numItem), amount, codes, origin));
        return QString::number(a.returnNumber()) + u" "_s +
               records(a, {u"titems"_s, u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s,
                           u"tipo"_s, u"jugada"_s})
                   .join(u' ');
    };
    const QString first = repeat(3, u"0"_s, u"BBBAAA"_s, u"AAA"_s);
    EXPECT_EQ(first, u"1 4:BBB:123:0:1:1: 5:BBB:777:2:0:2:1 6:AAA:123:5:0:1: 7:AAA:777:2:0:2:1"_s);
    EXPECT_EQ(repeat(3, u"0"_s, u"BBBAAA"_s, u"AAA"_s), first);  // after a lost answer
    EXPECT_EQ(repeat(7, u"1.5"_s, u"BBB"_s, u"BBB"_s),
              u"0 8:BBB:45*:1.5:0:1: 9:BBB:777:1.5:0:2:1"_s);
    EXPECT_TRUE(repeat(9, u"0"_s, u"CCC"_s, u"AAA"_s).startsWith(u"76 "_s));
    EXPECT_EQ(repeat(9, u"0"_s, u"CCC"_s, u"ZZZ"_s), u"79 "_s);
    EXPECT_EQ(repeat(9, u"0.001"_s, u"CCC"_s, u"AAA"_s).left(3), u"71 "_s);
    EXPECT_EQ(db.value(u"SELECT string_agg(num_item || coalesce(especial, ''), ' ' ORDER BY "
                       u"num_item) FROM central.items_ticket WHERE nticket = $1"_s,
                       {nticket}),
              u"1 2TRI 3 4 5TRI 6 7TRI 8 9TRI"_s);
}

}  // namespace
