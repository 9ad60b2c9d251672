#include "sales/sale_result.h"
#include "recorders.h"
#include "sales/lottery_catalog.h"
#include "session/text.h"

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

// "CAR 7** 2.500 2 42; ZUL 7** 0 1 41": records of lottery, number, amount sold, status, item
// and, when given, the last item number the ticket holds.
PlayAnswer answer(int returnValue, const char* records) {
    PlayAnswer a{returnValue, RecordSet({u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s,
                                         u"titems"_s, u"ultimo_item"_s})};
    for (const QString& r : QString::fromLatin1(records).split(u';', Qt::SkipEmptyParts)) {
        const QStringList f = r.split(u' ', Qt::SkipEmptyParts);
        a.records.addRow({f[0], f[1], f[2], f[3], f[4], f.value(5)});
    }
    return a;
}

struct Case {
    const char* name;
    PlayAnswer answer;
    const char* rows;  // "lottery amount item; ...", the number being 7** throughout
    int numItemAfter;
    const char* partial;
    const char* soldOut;
    const char* closed;
    int refused;
};

// Number "7" for 10 Bs.F. on ZUL, CAR and TAC, NUM_ITEM 40 before the call.
class AplicaResultado : public ::testing::TestWithParam<Case> {};

TEST_P(AplicaResultado, TurnsTheAnswerIntoRowsAndMessages) {
    const Case& c = GetParam();
    const LotteryCatalog lots = catalog();
    SaleResult result(c.answer, lots, u"Venta Normal"_s, u"1"_s);
    int numItem = 40;
    for (const Lottery& l : lots.all())
        result.apply({l.entry(), markNumber(u"7"_s), Money::whole(10), {}, {}}, numItem);
    result.finish(numItem);
    QStringList rows;
    for (const ItemTicket& r : result.outcome().rows) {
        EXPECT_EQ(r.numero, u"7**"_s);
        EXPECT_EQ(r.loteria, lots.find(r.codigoLoteria())->entry());
        EXPECT_EQ(r.jugada + r.tipo + r.tipo2, u"Venta Normal1Venta Normal"_s);
        rows << r.codigoLoteria() + u' ' + (r.monto ? r.monto->display() : kSinCupo) + u' ' +
                    QString::number(r.item);
    }
    const SaleOutcome& o = result.outcome();
    EXPECT_EQ(rows.join(u"; "_s), QString::fromLatin1(c.rows));
    EXPECT_EQ(numItem, c.numItemAfter);
    EXPECT_EQ(o.partialList, QString::fromLatin1(c.partial));
    EXPECT_EQ(o.soldOutList, QString::fromLatin1(c.soldOut));
    EXPECT_EQ(o.closedList, QString::fromLatin1(c.closed));
    EXPECT_EQ(o.closedCodes, o.closedList.isEmpty() ? QString() : u"ZUL"_s);
    EXPECT_EQ(o.refused, c.refused);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Answers, AplicaResultado, ::testing::Values(
    Case{"all_sold", answer(0, ""), "ZUL 10,00 41; CAR 10,00 42; TAC 10,00 43", 43, "", "", "", 0},
    Case{"partial", answer(1, "CAR 7** 2.500 2 42"), "ZUL 10,00 41; CAR 2,50 42; TAC 10,00 43", 43,
         "7** CARACAS 1:00 PM Bs.: 2.5\r", "", "", 0},
    Case{"sold_out", answer(1, "ZUL 7** 0 1 41; TAC 7** 0.000 1 43"),
         "ZUL Sin Cupo 41; CAR 10,00 42; TAC Sin Cupo 43", 43, "",
         "7** ZULIA 12:45 PM\r7** TACHIRA 4:45 PM\r", "", 0},
    Case{"closed_first_of_three", answer(1, "ZUL 7** 0 4 41"), "CAR 10,00 42; TAC 10,00 43", 43,
         "", "", "ZULIA 12:45 PM\r", 0},
    Case{"record_for_an_absent_item", answer(1, "ZUL 7** 0 1 99"),
         "ZUL 10,00 41; CAR 10,00 42; TAC 10,00 43", 43, "", "", "", 0},
    // the record stays the one looked for: neither CAR nor TAC gets a row
    Case{"unknown_status_adds_nothing", answer(1, "CAR 7** 0 X 42"), "ZUL 10,00 41", 41, "", "", "", 0},
    Case{"sold_out_with_an_amount_is_unknown", answer(1, "ZUL 7** 3 1 41"), "", 40, "", "", "", 0},
    Case{"refused_call", answer(71, "ZUL 7 0 9 41; CAR 7 0 9 42; TAC 7 0 9 43"), "", 40, "", "", "", 3},
    Case{"item_numbers_taken", answer(74, "ZUL 7** 0 9 41; CAR 7** 0 9 42; TAC 7** 0 9 43"), "", 43,
         "", "", "", 3},
    // the server tells the last item number it holds: the next call starts past it
    Case{"item_numbers_taken_far_ahead",
         answer(74, "ZUL 7** 0 9 41 57; CAR 7** 0 9 42 57; TAC 7** 0 9 43 57"), "", 57, "", "", "",
         3}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A special play of "7" on ZUL and CAR in variants 1 and 2: records are matched by item number,
// lottery and variant, and rows carry the variant's description and kind "2".
TEST(AplicaResultadoSpecial, MatchesRecordsByItemLotteryAndVariant) {
    const LotteryCatalog lots = catalog();
    PlayAnswer a{1, RecordSet({u"cod_lot"_s, u"numero"_s, u"monto"_s, u"status"_s, u"titems"_s,
                               u"jugada"_s, u"desc_jugada"_s})};
    a.records.addRow({u"ZUL"_s, u"7**"_s, u"4.00"_s, u"2"_s, u"12"_s, u"2"_s, u"COMBINADA"_s});
    // item 13 is CAR variant 1 for the client: a record naming another variant is not its own
    a.records.addRow({u"CAR"_s, u"7**"_s, u"0"_s, u"1"_s, u"13"_s, u"2"_s, u"COMBINADA"_s});
    a.records.addRow({u"CAR"_s, u"7**"_s, u"0"_s, u"1"_s, u"14"_s, u"2"_s, u"COMBINADA"_s});
    SaleResult result(a, lots, u"Especial"_s, u"2"_s);
    int numItem = 10;
    for (const char* lot : {"ZUL", "CAR"}) {
        for (const auto& [code, text] : {std::pair{"1", "SENCILLA"}, std::pair{"2", "COMBINADA"}}) {
            result.apply({lots.find(QString::fromLatin1(lot))->entry(), u"7**"_s, Money::whole(10),
                          QString::fromLatin1(code), QString::fromLatin1(text)},
                         numItem);
        }
    }
    QStringList rows;
    for (const ItemTicket& r : result.outcome().rows) {
        EXPECT_EQ(r.tipo, u"2"_s);
        rows << r.codigoLoteria() + u' ' + r.especial + u' ' +
                    (r.monto ? r.monto->display() : kSinCupo) + u' ' + QString::number(r.item);
    }
    EXPECT_EQ(rows, (QStringList{u"ZUL SENCILLA 10,00 11"_s, u"ZUL COMBINADA 4,00 12"_s,
                                 u"CAR SENCILLA 10,00 13"_s, u"CAR COMBINADA Sin Cupo 14"_s}));
    EXPECT_EQ(numItem, 14);
}

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
