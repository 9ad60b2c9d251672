#include "generators/number_lists.h"
#include "generators/generated_sale.h"
#include "sales/ticket_model.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

// The lists that the screens do not show whole; the server's lists are compared with these in
// generator_booking_test.
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
    EXPECT_EQ((QStringList{permutaLabel(u"1234"_s), serieLabel(u"7"_s), serieLabel(u"25"_s),
                           seguidillaLabel(u" 10"_s, u"20 "_s)}),
              (QStringList{u"Permuta 1234"_s, u"Serie 07 - 97"_s, u"Serie 025 - 925"_s,
                           u"Seguidilla 10 - 20"_s}));
    EXPECT_EQ(permutaciones(u"1234567"_s).size(), 210);
    EXPECT_GT(permutaciones(u"123456789"_s).size(), kMaxPermutaciones);  // 504
    EXPECT_EQ(seguidillaNumbers(100, 150).size(), 51);
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

}  // namespace
