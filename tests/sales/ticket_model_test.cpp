#include "sales/ticket_model.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

using namespace vendura;

namespace {

ItemTicket row(const char* number, std::optional<Money> amount, int item) {
    return ItemTicket{QString::fromLatin1(number),
                      u"ZUL - ZULIA"_s,
                      amount,
                      u"Venta Normal"_s,
                      QString(),
                      item,
                      u"1"_s,
                      u"Venta Normal"_s};
}

TEST(TicketModel, ShowsEightColumnsWithTheirHeadings) {
    TicketModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.append({row("12*", Money::parse(u"1234.5"_s).value(), 7), row("5**", std::nullopt, 8)});
    QStringList headings;
    for (int c = 0; c < model.columnCount(); ++c)
        headings << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList{u"Núm"_s, u"Loterias"_s, u"Monto Bs.F."_s, u"Jugada"_s,
                                     u"Especiales"_s, u"ITEM Nro "_s, u"Tipo"_s, u"Tipo2"_s}));
    EXPECT_EQ(model.data(model.index(0, TicketModel::Num)).toString(), u"12*"_s);
    EXPECT_EQ(model.data(model.index(0, TicketModel::Monto)).toString(), u"1.234,50"_s);
    EXPECT_EQ(model.data(model.index(1, TicketModel::Monto)).toString(), u"Sin Cupo"_s);
    EXPECT_EQ(model.data(model.index(1, TicketModel::Item)).toString(), u"8"_s);
}

TEST(TicketModel, TheTotalLeavesSinCupoOutAndIsExact) {
    TicketModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.total().display(), u"0,00"_s);
    std::vector<ItemTicket> rows;
    for (int i = 0; i < 1000; ++i)
        rows.push_back(row("123", Money::fromUnits(10), i + 1));  // 0.001
    rows.push_back(row("1**", std::nullopt, 1001));
    model.append(rows);
    EXPECT_EQ(model.total(), Money::whole(1));
    ASSERT_TRUE(model.removeRows(0, 500));
    EXPECT_EQ(model.total().plain(), u"0.5"_s);
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
