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
    GeneratorCaller caller(const QString& nticket, int numItem) {
        return {u"00012"_s, u"1001"_s, nticket, numItem};
    }
    // "lottery:number:variant:status" of every record, in order.
    static QStringList records(const CallAnswer& a) {
        QStringList out;
        for (int i = 0; i < a.rows.size(); ++i) {
            out << QStringList{a.rows.text(i, 0), a.rows.text(i, 1), a.rows.text(i, u"jugada"_s),
                               a.rows.text(i, 3)}
                       .join(u':');
        }
        return out;
    }
    // "lottery:number:variant" of the ticket's items after an item number, in item order.
    QString items(const QString& nticket, int after) {
        return db.value(
            u"SELECT coalesce(string_agg(cod_lot || ':' || numero || ':' || "
            u"coalesce(variante, '') || ':' || monto_vendido::float8, ' ' ORDER BY num_item), '') "
            u"FROM central.items_ticket WHERE nticket = $1 AND num_item > $2::int"_s,
            {nticket, QString::number(after)});
    }
    static QString planned(const std::vector<PlannedItem>& items, const QStringList& sold) {
        QStringList out;
        for (const PlannedItem& i : items) {
            const QString code = i.lotteryEntry.left(3);
            const QString amount =
                code == u"BBB"_s || sold.contains(code + i.number) ? u"0"_s : i.amount.plain();
            out << QStringList{code, i.number, i.variant, amount}.join(u':');
        }
        return out.join(u' ');
    }

    TestDatabase db;
    PqGateway gateway{5};
};

// The server's lists, by the functions its procedures build them with, against the counter's.
TEST_F(GeneratorBookingTest, TheServerFormsTheSameListsInTheSameOrderAsTheCounter) {
    QStringList inputs;
    for (int length = 1, count = 10; length <= 4; ++length, count *= 10) {
        for (int n = 0; n < count; ++n) inputs << QString::number(n).rightJustified(length, u'0');
    }
    std::random_device device;
    const unsigned seed = device();
    std::mt19937 draw(seed);
    for (int i = 0; i < 3000; ++i) {
        QString digits;
        for (int k = 5 + int(draw() % 3); k > 0; --k) digits += QChar(u'0' + char16_t(draw() % 10));
        inputs << digits;
    }
    const auto permutations = db.rows(
        u"SELECT array_to_string(central.permutaciones(d), ' ') "
        u"FROM unnest($1::varchar[]) WITH ORDINALITY AS x(d, k) ORDER BY k"_s,
        {u"{"_s + inputs.join(u',') + u"}"_s});
    ASSERT_EQ(permutations.size(), size_t(inputs.size()));
    int differing = 0;
    for (int i = 0; i < inputs.size(); ++i) {
        if (permutations[size_t(i)][0] != permutaciones(inputs[i]).join(u' ') && ++differing < 5)
            ADD_FAILURE() << inputs[i].toStdString() << " (seed " << seed << ")";
    }
    EXPECT_EQ(differing, 0);

    auto server = [&](const QString& sql, const QStringList& params) {
        return db.value(u"SELECT array_to_string("_s + sql + u", ' ')"_s, params);
    };
    for (int n = -1; n < 110; ++n) {
        const QString ending = n < 0    ? QString()
                               : n < 10 ? QString::number(n)
                                        : QString::number(n - 10).rightJustified(2, u'0');
        EXPECT_EQ(server(u"central.serie_numeros($1)"_s, {ending}), serieNumbers(ending).join(u' '))
            << ending.toStdString();
    }
    // every first number, with the runs of none, one, eleven numbers and up to 999
    QStringList firsts, lasts;
    for (int first = 0; first <= 999; ++first) {
        for (int last : {first - 1, first, std::min(first + 10, 999), 999}) {
            firsts << QString::number(first);
            lasts << QString::number(last);
        }
    }
    const auto runs = db.rows(
        u"SELECT array_to_string(central.seguidilla_numeros(a, b), ' ') "
        u"FROM unnest($1::int[], $2::int[]) WITH ORDINALITY AS x(a, b, k) ORDER BY k"_s,
        {u"{"_s + firsts.join(u',') + u"}"_s, u"{"_s + lasts.join(u',') + u"}"_s});
    ASSERT_EQ(runs.size(), size_t(firsts.size()));
    differing = 0;
    for (int i = 0; i < firsts.size(); ++i) {
        differing +=
            runs[size_t(i)][0] != seguidillaNumbers(firsts[i].toInt(), lasts[i].toInt()).join(u' ');
    }
    EXPECT_EQ(differing, 0);
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        for (const QString& mode : {u"1"_s, u"2"_s, u"3"_s, u""_s}) {
            EXPECT_EQ(server(u"central.posicion_numeros($1, $2)"_s, {QString(QChar(digit)), mode}),
                      posicionados(QChar(digit), mode).join(u' '));
        }
    }
}

// One call per generator: items numbered from NUM_ITEM + 1 in the counter's order, a sold-out
// number answered "1", a closed lottery "4" on every item, and the same call again answered
// as the first without booking twice.
TEST_F(GeneratorBookingTest, EachGeneratorBooksItsListInOneCallAndAnswersARepeatAsBefore) {
    const QStringList lotteries{u"AAA - ALFA"_s, u"BBB - BETA"_s};
    const QString codes = u"AAABBB"_s;
    const QString special = u"13"_s;  // variants SENCILLA and CON SERIE
    const std::vector<SaleVariant> variants{{u"1"_s, u"SENCILLA"_s}, {u"3"_s, u"CON SERIE"_s}};
    // the triples the terminal generators read: 123 on both lotteries, 45 and 7 are none
    std::vector<ItemTicket> ticket;
    for (const auto& [numero, lot] :
         std::vector<std::pair<QString, QString>>{{u"123"_s, lotteries[0]},
                                                  {u"123"_s, lotteries[1]},
                                                  {u"45*"_s, lotteries[0]},
                                                  {u"678"_s, lotteries[0]}}) {
        ticket.push_back({numero, lot, Money::whole(5), {}, {}, 0, u"1"_s, {}});
    }
    struct Case {
        const char* what;
        const char* soldOut;  // on AAA
        std::function<ProcedureCall(const GeneratorCaller&)> call;
        std::vector<PlannedItem> items;
    };
    const Money five = Money::whole(5);
    const std::vector<Case> cases{
        {"permutas", "132", [&](auto& c) { return xcreapermutas(c, u"1123"_s, u"5"_s, codes); },
         generatedItems(lotteries, permutaciones(u"1123"_s), five)},
        {"series", "107", [&](auto& c) { return xcreaseries(c, u"7"_s, u"5"_s, codes); },
         generatedItems(lotteries, serieNumbers(u"7"_s), five)},
        {"seguidillas", "006",
         [&](auto& c) { return xcreaseguid(c, u"5"_s, u"8"_s, u"5"_s, codes); },
         generatedItems(lotteries, seguidillaNumbers(5, 8), five)},
        {"posicionados", "705",
         [&](auto& c) { return xcreaposic(c, u"7"_s, u"5"_s, u"1"_s, codes); },
         generatedItems(lotteries, posicionados(u'7', u"1"_s), five)},
        {"terminales", "78*", [&](auto& c) { return xjtermi(c, u"0"_s, codes); },
         terminalItems(lotteries, ticket, std::nullopt)},
        {"superpermutas", "213",
         [&](auto& c) {
             return xcreapermutasEspe(c, u"123"_s, u"5"_s, codes, {special, u"TRI"_s});
         },
         generatedItems(lotteries, permutaciones(u"123"_s), five, variants)},
        {"series especiales", "507",
         [&](auto& c) {
             return xcreaseriesESPE(c, u"07"_s, u"5"_s, codes, {special, u"TRI"_s});
         },
         generatedItems(lotteries, serieNumbers(u"07"_s), five, variants)},
        {"terminales especiales", "23*",
         [&](auto& c) {
             return xjtermiesp(c, u"5"_s, codes, {special, u"TRI"_s});
         },
         terminalItems(lotteries, ticket, five, variants)},
    };
    for (const Case& c : cases) {
        // a new ticket (the terminal leaves the last one) with its triples, then BBB closes
        const QString nticket = db.newTicket(u"00012"_s);
        db.admin(u"UPDATE central.loterias SET cerrada = false WHERE cod_lot = 'BBB'"_s);
        int item = 0;
        for (const ItemTicket& r : ticket) {
            const QString digits = QString(r.numero).remove(u'*');
            call(xcreanormal(u"00012"_s, u"1001"_s, digits, five, item++, r.codigoLoteria(),
                             nticket));
        }
        db.admin(u"UPDATE central.loterias SET cerrada = true WHERE cod_lot = 'BBB'"_s);
        const QString soldOut = QString::fromLatin1(c.soldOut);
        db.admin(u"DELETE FROM central.cupos_numero"_s);
        db.admin(u"INSERT INTO central.cupos_numero VALUES ('AAA', $1, 0)"_s, {soldOut});
        const CallAnswer a = call(c.call(caller(nticket, 4)));
        EXPECT_EQ(a.returnNumber(), 1) << c.what;
        EXPECT_EQ(items(nticket, 4), planned(c.items, {u"AAA"_s + soldOut})) << c.what;
        const QStringList answered = records(a);
        const QStringList soldOutRecords = answered.filter(u"AAA:"_s + soldOut + u":"_s);
        EXPECT_FALSE(soldOutRecords.isEmpty()) << c.what;
        EXPECT_EQ(soldOutRecords.filter(QRegularExpression(u":1$"_s)), soldOutRecords) << c.what;
        EXPECT_TRUE(answered.filter(u"BBB:"_s).filter(QRegularExpression(u":[^4]$"_s)).isEmpty())
            << c.what;
        const QString booked = items(nticket, 0);
        EXPECT_EQ(records(call(c.call(caller(nticket, 4)))), answered) << c.what;
        EXPECT_EQ(items(nticket, 0), booked) << c.what;
    }
}

// What the counter never sends but a request could carry: a message code and nothing booked.
TEST_F(GeneratorBookingTest, BadRequestsAreRefusedWholeOrFormNothing) {
    const QString nticket = db.newTicket(u"00012"_s);
    const struct {
        const char* what;
        ProcedureCall call;
        int code;
        int records;
    } cases[] = {
        // the sales point permutes at most 7 digits: 8 are refused, every item answered
        {"eight digits", xcreapermutas(caller(nticket, 0), u"12345678"_s, u"5"_s, u"AAA"_s), 70,
         336},
        {"no amount", xcreaseries(caller(nticket, 0), u"7"_s, u""_s, u"AAABBB"_s), 71, 20},
        {"a zero amount", xcreaposic(caller(nticket, 0), u"7"_s, u"0"_s, u"1"_s, u"AAA"_s), 71,
         100},
        {"first above last", xcreaseguid(caller(nticket, 0), u"9"_s, u"5"_s, u"5"_s, u"AAA"_s), 0,
         0},
        {"no position", xcreaposic(caller(nticket, 0), u"7"_s, u"5"_s, u""_s, u"AAA"_s), 70, 0},
        {"past 32767 items", xcreaseguid(caller(nticket, 32700), u"0"_s, u"99"_s, u"5"_s, u"AAA"_s),
         72, 100},
        {"a variant the special lacks",
         xcreaseriesESPE(caller(nticket, 0), u"7"_s, u"5"_s, u"AAA"_s, {u"19"_s, u"TRI"_s}), 77,
         20},
    };
    for (const auto& c : cases) {
        const CallAnswer a = call(c.call);
        EXPECT_EQ(a.returnNumber(), c.code) << c.what;
        EXPECT_EQ(a.rows.size(), c.records) << c.what;
        EXPECT_TRUE(records(a).filter(QRegularExpression(u":[^9]$"_s)).isEmpty()) << c.what;
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);
}

}  // namespace
