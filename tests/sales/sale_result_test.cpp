#include "sales/sale_result.h"
#include "recorders.h"
#include "sales/lottery_catalog.h"

#include <gtest/gtest.h>

using namespace vendura;

namespace {

LotteryCatalog catalog() {
    RecordSet rows({u"COD_LOT"_s, u"desc_lot"_s, u"Juegaespecial"_s});
    rows.addRow({u"ZUL"_s, u"ZULIA 12:45 PM  "_s, u"N"_s});
    rows.addRow({u"CAR"_s, u"CARACAS 1:00 PM"_s, u"N"_s});
    rows.addRow({u"TAC"_s, u"TACHIRA 4:45 PM"_s, u"N"_s});
    return LotteryCatalog(rows);
}

struct Record {
    const char* lot;
    const char* number;
    const char* amount;
    const char* status;
    int item;
};

PlayAnswer answer(int returnValue, std::initializer_list<Record> records) {
    PlayAnswer a{returnValue,
                 RecordSet({u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s, u"titems"_s})};
    for (const Record& r : records) {
        a.records.addRow({QString::fromLatin1(r.lot), QString::fromLatin1(r.number),
                          QString::fromLatin1(r.amount), QString::fromLatin1(r.status),
                          QString::number(r.item)});
    }
    return a;
}

struct Expected {
    const char* number;
    const char* lottery;
    const char* amount;  // display form or "Sin Cupo"
    int item;
};

struct Case {
    const char* name;
    PlayAnswer answer;
    std::vector<Expected> rows;
    int numItemAfter;
    const char* partial;
    const char* soldOut;
    const char* closed;
    const char* closedCodes;
    int refused;
};

// Three lotteries, number "7" for 10 Bs.F., NUM_ITEM 40 before the call.
class AplicaResultado : public ::testing::TestWithParam<Case> {};

TEST_P(AplicaResultado, TurnsTheAnswerIntoRowsAndMessages) {
    const Case& c = GetParam();
    const LotteryCatalog lots = catalog();
    SaleResult result(c.answer, lots, u"Venta Normal"_s, u"1"_s);
    int numItem = 40;
    for (const char* entry :
         {"ZUL - ZULIA 12:45 PM", "CAR - CARACAS 1:00 PM", "TAC - TACHIRA 4:45 PM"}) {
        result.apply(QString::fromLatin1(entry), markNumber(u"7"_s), Money::whole(10), numItem);
    }
    const SaleOutcome& o = result.outcome();
    ASSERT_EQ(o.rows.size(), c.rows.size());
    for (size_t i = 0; i < c.rows.size(); ++i) {
        SCOPED_TRACE(i);
        const ItemTicket& r = o.rows[i];
        EXPECT_EQ(r.numero, QString::fromLatin1(c.rows[i].number));
        EXPECT_EQ(r.loteria, QString::fromLatin1(c.rows[i].lottery));
        EXPECT_EQ(r.monto ? r.monto->display() : kSinCupo, QString::fromLatin1(c.rows[i].amount));
        EXPECT_EQ(r.item, c.rows[i].item);
        EXPECT_EQ(r.jugada, u"Venta Normal"_s);
        EXPECT_EQ(r.tipo, u"1"_s);
        EXPECT_EQ(r.tipo2, u"Venta Normal"_s);
    }
    EXPECT_EQ(numItem, c.numItemAfter);
    EXPECT_EQ(o.partialList, QString::fromLatin1(c.partial));
    EXPECT_EQ(o.soldOutList, QString::fromLatin1(c.soldOut));
    EXPECT_EQ(o.closedList, QString::fromLatin1(c.closed));
    EXPECT_EQ(o.closedCodes, QString::fromLatin1(c.closedCodes));
    EXPECT_EQ(o.refused, c.refused);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, AplicaResultado,
    ::testing::Values(Case{"all_sold",
                           answer(0, {}),
                           {{"7**", "ZUL - ZULIA 12:45 PM", "10,00", 41},
                            {"7**", "CAR - CARACAS 1:00 PM", "10,00", 42},
                            {"7**", "TAC - TACHIRA 4:45 PM", "10,00", 43}},
                           43,
                           "",
                           "",
                           "",
                           "",
                           0},
                      Case{"partial",
                           answer(1, {{"CAR", "7**", "2.500", "2", 42}}),
                           {{"7**", "ZUL - ZULIA 12:45 PM", "10,00", 41},
                            {"7**", "CAR - CARACAS 1:00 PM", "2,50", 42},
                            {"7**", "TAC - TACHIRA 4:45 PM", "10,00", 43}},
                           43,
                           "7** CARACAS 1:00 PM Bs.: 2.5\r",
                           "",
                           "",
                           "",
                           0},
                      Case{"sold_out",
                           answer(1,
                                  {{"ZUL", "7**", "0", "1", 41}, {"TAC", "7**", "0.000", "1", 43}}),
                           {{"7**", "ZUL - ZULIA 12:45 PM", "Sin Cupo", 41},
                            {"7**", "CAR - CARACAS 1:00 PM", "10,00", 42},
                            {"7**", "TAC - TACHIRA 4:45 PM", "Sin Cupo", 43}},
                           43,
                           "",
                           "7** ZULIA 12:45 PM\r7** TACHIRA 4:45 PM\r",
                           "",
                           "",
                           0},
                      Case{"closed_first_of_three",
                           answer(1, {{"ZUL", "7**", "0", "4", 41}}),
                           {{"7**", "CAR - CARACAS 1:00 PM", "10,00", 42},
                            {"7**", "TAC - TACHIRA 4:45 PM", "10,00", 43}},
                           43,
                           "",
                           "",
                           "ZULIA 12:45 PM\r",
                           "ZUL",
                           0},
                      Case{"record_for_an_absent_item",
                           answer(1, {{"ZUL", "7**", "0", "1", 99}}),
                           {{"7**", "ZUL - ZULIA 12:45 PM", "10,00", 41},
                            {"7**", "CAR - CARACAS 1:00 PM", "10,00", 42},
                            {"7**", "TAC - TACHIRA 4:45 PM", "10,00", 43}},
                           43,
                           "",
                           "",
                           "",
                           "",
                           0},
                      // the record stays the one looked for: neither CAR nor TAC gets a row
                      Case{"unknown_status_adds_nothing",
                           answer(1, {{"CAR", "7**", "0", "X", 42}}),
                           {{"7**", "ZUL - ZULIA 12:45 PM", "10,00", 41}},
                           41,
                           "",
                           "",
                           "",
                           "",
                           0},
                      Case{"sold_out_with_an_amount_is_unknown",
                           answer(1, {{"ZUL", "7**", "3", "1", 41}}),
                           {},
                           40,
                           "",
                           "",
                           "",
                           "",
                           0},
                      Case{"refused_call",
                           answer(71, {{"ZUL", "7", "0", "9", 41},
                                       {"CAR", "7", "0", "9", 42},
                                       {"TAC", "7", "0", "9", 43}}),
                           {},
                           40,
                           "",
                           "",
                           "",
                           "",
                           3},
                      Case{"item_numbers_taken",
                           answer(74, {{"ZUL", "7**", "0", "9", 41},
                                       {"CAR", "7**", "0", "9", 42},
                                       {"TAC", "7**", "0", "9", 43}}),
                           {},
                           43,
                           "",
                           "",
                           "",
                           "",
                           3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AplicaResultadoMessages, ComeInOrderWithTheirTitlesAndIcons) {
    SaleOutcome o;
    o.partialList = u"7** CARACAS Bs.: 2.5\r"_s;
    o.soldOutList = u"7** ZULIA\r"_s;
    o.closedList = u"TACHIRA\r"_s;
    test::DialogRecorder dialogs;
    showSaleMessages(dialogs, o);
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].title, u"KALVORA ON LINE - Ventas por el Resto"_s);
    EXPECT_EQ(dialogs.shown[0].icon, DialogIcon::Information);
    EXPECT_EQ(dialogs.shown[0].text,
              u"Los Siguiente Números Fueron Vendidos por las Cantidades Aqui Indicadas\r\r"
              u"7** CARACAS Bs.: 2.5\r"_s);
    EXPECT_EQ(dialogs.shown[1].title, u"KALVORA ON LINE - Números Agotados"_s);
    EXPECT_EQ(dialogs.shown[1].icon, DialogIcon::Critical);
    EXPECT_EQ(dialogs.shown[1].text,
              u"Los Siguiente Números No Fueron Vendidos por estar Agotados \r\r7** ZULIA\r"_s);
    EXPECT_EQ(dialogs.shown[2].title, u"KALVORA ON LINE - LOTERIA CERRADA"_s);
    EXPECT_EQ(dialogs.shown[2].icon, DialogIcon::Critical);
    EXPECT_EQ(dialogs.shown[2].text, u"TACHIRA\r"_s);
}

TEST(AplicaResultadoMessages, NothingToSayShowsNothing) {
    test::DialogRecorder dialogs;
    showSaleMessages(dialogs, SaleOutcome{});
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(MarkNumber, TerminalesCarryTheirStars) {
    EXPECT_EQ(markNumber(u"7"_s), u"7**"_s);
    EXPECT_EQ(markNumber(u"07"_s), u"07*"_s);
    EXPECT_EQ(markNumber(u"123"_s), u"123"_s);
}

}  // namespace
