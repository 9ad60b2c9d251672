#include "generators/number_lists.h"
#include "generators/copied_plays.h"
#include "generators/generated_sale.h"
#include "sales/sales_state.h"
#include "sales/ticket_model.h"
#include "tickets/ticket_layout.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

QString joined(const QStringList& list) {
    return list.join(u' ');
}

TEST(NumberListsTest, PermutationsFollowTheChoicesOfPositionsAndTheirArrangements) {
    const struct {
        const char* digits;
        const char* numbers;
    } cases[] = {
        {"123", "123 132 213 231 312 321"},
        {"112", "112 121 211"},
        {"777", "777"},
        {"121", "121 211 112"},
        {"1234",
         "123 132 213 231 312 321 124 142 214 241 412 421 134 143 314 341 413 431 234 243 324 "
         "342 423 432"},
        // choice 1-2-4 is skipped: three equal digits end the choices of m
        {"1111", "111 111 111"},
        {"1123", "112 121 211 113 131 311 123 132 213 231 312 321 123 132 213 231 312 321"},
        {"12", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joined(permutaciones(QString::fromLatin1(c.digits))),
                  QString::fromLatin1(c.numbers))
            << c.digits;
    }
    EXPECT_EQ(permutaciones(u"1234567"_s).size(), 210);
    EXPECT_GT(permutaciones(u"123456789"_s).size(), kMaxPermutaciones);  // 504
}

TEST(NumberListsTest, SeriesRunsAndPositionsFormTheirNumbersInOrder) {
    EXPECT_EQ(joined(serieNumbers(u"7"_s)), u"007 107 207 307 407 507 607 707 807 907"_s);
    EXPECT_EQ(joined(serieNumbers(u"25"_s)), u"025 125 225 325 425 525 625 725 825 925"_s);
    EXPECT_TRUE(serieNumbers(u"123"_s).isEmpty());
    EXPECT_EQ(serieLabel(u"7"_s), u"Serie 07 - 97"_s);
    EXPECT_EQ(serieLabel(u"25"_s), u"Serie 025 - 925"_s);

    EXPECT_EQ(joined(seguidillaNumbers(5, 8)), u"005 006 007 008"_s);
    EXPECT_EQ(seguidillaNumbers(10, 20).size(), 11);
    EXPECT_EQ(seguidillaNumbers(100, 150).size(), 51);
    EXPECT_TRUE(seguidillaNumbers(20, 10).isEmpty());
    EXPECT_FALSE(seguidillaTooLong(3, 10, 20));
    EXPECT_TRUE(seguidillaTooLong(3, 10, 21));
    EXPECT_FALSE(seguidillaTooLong(7, 100, 150));
    EXPECT_EQ(seguidillaLabel(u" 10"_s, u"20 "_s), u"Seguidilla 10 - 20"_s);

    const QStringList left = posicionados(u'7', u"1"_s);
    EXPECT_EQ(left.size(), 100);
    EXPECT_EQ(left.first() + u" "_s + left.last(), u"700 799"_s);
    EXPECT_EQ(joined(posicionados(u'0', u"2"_s).mid(0, 12)),
              u"000 001 002 003 004 005 006 007 008 009 100 101"_s);
    EXPECT_EQ(posicionados(u'0', u"2"_s).last(), u"909"_s);
    EXPECT_EQ(joined(posicionados(u'5', u"3"_s).mid(0, 4)), u"005 015 025 035"_s);
    EXPECT_TRUE(posicionados(u'5', QString()).isEmpty());
    EXPECT_EQ(permutaLabel(u"1234"_s), u"Permuta 1234"_s);
}

TEST(NumberListsTest, RandomDigitsSpreadADrawOverNineValues) {
    EXPECT_EQ(randomDigit(1), 0);
    EXPECT_EQ(randomDigit(2000000001), 8);
    EXPECT_EQ(randomDigit(222222223), 0);  // 9 x 222222222 / 2000000001 < 1
    EXPECT_EQ(randomDigit(222222224), 1);
    EXPECT_EQ(randomDigit(1000000001), 4);
}

ItemTicket row(const char* numero, const char* lot, std::optional<Money> monto,
               const char* tipo = "1", const char* label = "Venta Normal") {
    return {QString::fromLatin1(numero),
            QString::fromLatin1(lot),
            monto,
            QString::fromLatin1(label),
            QString(),
            0,
            QString::fromLatin1(tipo),
            QString::fromLatin1(label)};
}

TEST(NumberListsTest, TerminalsComeFromTheSoldTriplesOfTheLotteryInTicketOrder) {
    const std::vector<ItemTicket> ticket{
        row("123", "AAA - ALFA", Money::whole(5)),
        row("7**", "AAA - ALFA", Money::whole(5)),
        row("12*", "AAA - ALFA", Money::whole(5)),
        row("789", "AAA - ALFA", std::nullopt),          // Sin Cupo
        row("321", "AAA - ALFA", Money::whole(5), "2"),  // special play
        row("999", "BBB - BETA", Money::whole(5)),
        row("456", "AAA - ALFA", Money::fromUnits(25000)),
    };
    const auto items =
        terminalItems({u"AAA - ALFA"_s, u"BBB - BETA"_s, u"CCC - GAMA"_s}, ticket, std::nullopt);
    QStringList shown;
    for (const PlannedItem& i : items)
        shown << i.lotteryEntry.left(3) + u":"_s + i.number + u":"_s + i.amount.plain();
    EXPECT_EQ(shown, QStringList({u"AAA:23*:5"_s, u"AAA:56*:2.5"_s, u"BBB:99*:5"_s}));
}

TEST(NumberListsTest, SpecialItemsGoLotteryThenVariantThenNumber) {
    const auto items = generatedItems({u"AAA - ALFA"_s, u"BBB - BETA"_s}, {u"123"_s, u"132"_s},
                                      Money::whole(2), {{u"1"_s, u"UNO"_s}, {u"3"_s, u"TRES"_s}});
    QStringList order;
    for (const PlannedItem& i : items) order << i.lotteryEntry.left(3) + i.variant + i.number;
    EXPECT_EQ(order.join(u' '),
              u"AAA1123 AAA1132 AAA3123 AAA3132 BBB1123 BBB1132 BBB3123 BBB3132"_s);
    EXPECT_EQ(items.front().variantDescription, u"UNO"_s);
}

TEST(NumberListsTest, ASaleIsNumberedAfterTheGroupsOfItsPlayAndMarkedWhenSoldWhole) {
    const QString jugada = u"Permuta 12"_s;
    auto sale = [&](std::vector<ItemTicket> rows) {
        for (ItemTicket& r : rows) r.tipo2 = r.jugada = jugada;
        return rows;
    };
    std::vector<ItemTicket> ticket{row("555", "AAA - ALFA", Money::whole(1))};
    std::vector<ItemTicket> first = sale({row("123", "AAA - ALFA", Money::whole(5)),
                                          row("123", "BBB - BETA", Money::fromUnits(30000))});
    EXPECT_FALSE(groupSale(ticket, first, u"AAABBB"_s, jugada, Money::whole(5)));
    // BBB sold only part of its item: its rows are not printed as one line
    EXPECT_EQ(first[0].tipo2 + u"|"_s + first[1].tipo2, u"1Permuta 12*|1Permuta 12"_s);
    EXPECT_EQ(first[0].jugada, jugada);
    ticket.insert(ticket.end(), first.begin(), first.end());

    std::vector<ItemTicket> second = sale({row("123", "BBB - BETA", Money::whole(5))});
    // a whole group on the ticket switches the working mode to "1"
    EXPECT_TRUE(groupSale(ticket, second, u"BBB"_s, jugada, Money::whole(5)));
    EXPECT_EQ(second[0].tipo2, u"2Permuta 12*"_s);
    std::vector<ItemTicket> other = sale({row("123", "CCC - GAMA", std::nullopt)});
    groupSale(ticket, other, u"CCC"_s, jugada, Money::whole(5));
    EXPECT_EQ(other[0].tipo2, u"1Permuta 12"_s);
}

TEST(NumberListsTest, APrintedGroupShowsOnceAndLosesItsMarkWhenARowLeaves) {
    std::vector<ItemTicket> rows;
    for (const char* label : {"1Permuta 12*", "1Permuta 12*", "2Permuta 12*", "12Serie 07 - 97*"})
        rows.push_back(row("123", "AAA - ALFA", Money::whole(5), "1", label));
    const QStringList lines = layTicket(TicketPrintData{}, armaticket(rows), rows);
    EXPECT_EQ(lines.filter(u"Permuta 12* x 5,00"_s).size(), 2) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.filter(u"Serie 07 - 97* x 5,00"_s).size(), 1);

    TicketModel model;
    model.append(rows);
    model.removeRows(0, 1);
    model.breakGroup(rows[0]);
    EXPECT_EQ(model.at(0).tipo2, u"1Permuta 12"_s);
    EXPECT_EQ(model.at(1).tipo2, u"2Permuta 12*"_s);
}

TEST(NumberListsTest, CopiedPlaysAreWalkedFromTheAnswerWithTheirKinds) {
    SalesState state;
    RecordSet lots({u"COD_LOT"_s, u"desc_lot"_s, u"Juegaespecial"_s});
    lots.addRow({u"AAA"_s, u"ALFA"_s, u"N"_s});
    state.rsloterias = LotteryCatalog(lots);
    state.jugadaactual = u"Jugada repetida"_s;
    state.NUM_ITEM = 4;
    PlayAnswer answer{1, RecordSet({u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s, u"titems"_s,
                                    u"tipo"_s, u"jugada"_s, u"desc_jugada"_s})};
    answer.records.addRow({u"AAA"_s, u"123"_s, u"5.000"_s, u"0"_s, u"5"_s, u"1"_s, {}, {}});
    answer.records.addRow({u"AAA"_s, u"45*"_s, u"1.500"_s, u"2"_s, u"6"_s, u"1"_s, {}, {}});
    answer.records.addRow(
        {u"AAA"_s, u"777"_s, u"2.000"_s, u"0"_s, u"7"_s, u"2"_s, u"1"_s, u"SENCILLA"_s});
    answer.records.addRow({u"BBB"_s, u"123"_s, u"0"_s, u"4"_s, u"8"_s, u"1"_s, {}, {}});
    const SaleOutcome out = copiedPlays(answer, state);
    QStringList shown;
    for (const ItemTicket& r : out.rows) {
        shown << QStringList{r.numero,
                             r.loteria,
                             r.monto ? r.monto->display() : kSinCupo,
                             QString::number(r.item),
                             r.tipo,
                             r.especial}
                     .join(u'|');
    }
    EXPECT_EQ(shown, QStringList({u"123|AAA - ALFA|5,00|5|1|"_s, u"45*|AAA - ALFA|1,50|6|1|"_s,
                                  u"777|AAA - ALFA|2,00|7|2|SENCILLA"_s}));
    EXPECT_EQ(out.closedCodes, u"BBB"_s);
    EXPECT_EQ(state.NUM_ITEM, 8);

    // nothing to copy: no row, and the seller is told why
    const SaleOutcome refused = copiedPlays(PlayAnswer{78, RecordSet()}, state);
    EXPECT_TRUE(refused.rows.empty());
    EXPECT_EQ(refused.refusalCode, 78);
    EXPECT_EQ(state.NUM_ITEM, 8);
}

}  // namespace
