// A lost answer is the program's to recover, never the seller's: each call whose answer is cut
// after the server committed it is sent again by the link, and the screen ends equal to the
// server; the ticket then issues whole.
#include "generators/generated_sale.h"
#include "generators/generator_calls.h"
#include "generators/number_lists.h"
#include "sales/play_seller.h"
#include "screen_test.h"

#include <QFile>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class RecoveryTest : public SalesScreenTest {
  protected:
    // The ticket's rows as the screen shows them, and as the server holds its live items.
    QStringList screenItems() {
        QStringList out;
        for (const QString& r : rows())
            out << r.section(u" | "_s, 0, 0) + u'#' + r.section(u" | "_s, 3);
        return out;
    }
    QStringList serverItems() {
        QStringList out;
        for (const QStringList& r :
             db.rows(u"SELECT i.numero, i.num_item::text FROM central.items_ticket i WHERE "
                     u"i.vigente AND i.nticket = $1 AND i.status <> '4' ORDER BY i.num_item"_s,
                     {screen->state().nticket})) {
            out << r[0] + u'#' + r[1];
        }
        return out;
    }
};

TEST_F(RecoveryTest, EveryLostAnswerOfTheSalesScreenIsRecoveredAndTheTicketIssuesWhole) {
    open();
    selectLotteries({0, 1});
    press(Qt::Key_F9);
    // a straight play, a generated one and a special one, each answer cut once
    seller.connector.loseAnswerOf({u"xcreanormal"_s});
    sell(u"123"_s, u"2"_s);
    const QString ticket = screen->state().nticket;
    seller.connector.loseAnswerOf({u"xcreaseries"_s});
    const GeneratorCaller caller{u"00012"_s, u"1001"_s, ticket, screen->state().NUM_ITEM};
    auto series = sellPlay(
        seller.link, screen->state(), xcreaseries(caller, u"7"_s, u"1"_s, u"AAABBB"_s),
        generatedItems({u"AAA - ALFA"_s, u"BBB - BETA"_s}, serieNumbers(u"7"_s), Money::whole(1)),
        u"1"_s);
    ASSERT_TRUE(series);
    screen->applySale(*series);
    EXPECT_EQ(seller.connector.faults.dropped, 2);
    EXPECT_TRUE(seller.dialogs.shown.empty()) << seller.dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(rows().size(), 22);
    EXPECT_EQ(screenItems(), serverItems());

    // a removal
    seller.connector.loseAnswerOf({u"xborrarjugada"_s});
    screen->ticketView()->selectRow(0);
    seller.dialogs.answers = {true};
    QTest::keyClick(screen->ticketView(), Qt::Key_Delete);
    EXPECT_EQ(rows().size(), 21);
    EXPECT_EQ(screenItems(), serverItems());

    // plays the server holds under numbers the screen took for free come in: a 74 is made good
    const int next = screen->state().NUM_ITEM;
    db.admin(
        u"INSERT INTO central.items_ticket (nticket, num_item, cod_vendedor, cod_usuario, "
        u"cod_lot, fecha_sorteo, numero, monto_pedido, monto_vendido, status, jugada, creado) "
        u"VALUES ($1, $2::int, '00012', '1001', 'AAA', '2026-12-07', '555', 1, 1, '0', "
        u"'Venta Normal', '2026-12-07 10:00')"_s,
        {ticket, QString::number(next + 1)});
    db.admin(u"INSERT INTO central.ventas_numero VALUES ('AAA', '2026-12-07', '555', 1)"_s);
    seller.dialogs.clear();
    sell(u"456"_s, u"1"_s);
    EXPECT_EQ(screenItems(), serverItems());
    sell(u"456"_s, u"1"_s);
    EXPECT_EQ(screenItems(), serverItems());

    // the issue (D, since the removal left working mode "1"): the saved ticket answers again
    // with its serial, and prints
    seller.connector.loseAnswerOf({u"xgrabtick"_s, u"xmarcaimpreso"_s});
    seller.dialogs.clear();
    control<QPushButton>("XPButton18")->click();
    EXPECT_TRUE(seller.dialogs.shown.empty()) << seller.dialogs.texts().join(u'|').toStdString();
    EXPECT_EQ(
        db.value(u"SELECT estado || ' ' || impreso FROM central.tickets WHERE nroticket = $1"_s,
                 {ticket}),
        u"ACT true"_s);
    EXPECT_EQ(db.value(u"SELECT codigo_cierre FROM central.tickets_temporales WHERE nticket = $1"_s,
                       {ticket}),
              u"0"_s);
    QFile printed(seller.printerPath());
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().contains(ticket.toLatin1()));
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_NE(screen->state().nticket, ticket);
}

}  // namespace
