#include "screen_test.h"
#include "session/temporary_ticket.h"

#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

TEST_F(SalesScreenTest, LoadsTheOpenLotteriesAndAnEmptyTicketAndF9SwitchesTheUnit) {
    db.addLottery(u"CCC"_s, u"GAMMA MANANA"_s, u"09:00"_s, u"100"_s, u"300"_s, 3);
    db.addLottery(u"SSS"_s, u"SOLO ESPECIAL"_s, u"23:00"_s, u"100"_s, u"300"_s, 4);
    db.admin(u"UPDATE central.loterias SET juegaespecial = 'S' WHERE cod_lot = 'SSS'"_s);
    open();
    EXPECT_EQ(entries(loterias()), (QStringList{u"AAA - ALFA"_s, u"BBB - BETA"_s}));
    EXPECT_EQ(screen->state().rsloterias.all().size(), 4u);  // every lottery, closed ones too
    EXPECT_FALSE(control<QLabel>("CERRADOPV")->isVisible());
    EXPECT_EQ(total() + u'|' + label("NUM_ULTICK") + u'|' + label("Label8"),
              u"0,00||F9 - Monto Bs."_s);
    QStringList labels, headings;
    for (QLabel* l : screen->findChildren<QLabel*>()) labels << l->text();
    EXPECT_TRUE(labels.contains(u"Venta del Ticket #: "_s + seller.session.NroTicketTmp));
    for (int c = 0; c < screen->ticket().columnCount(); ++c)
        headings << screen->ticket().headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList{u"Núm"_s, u"Loterias"_s, u"Monto Bs.F."_s, u"Jugada"_s,
                                     u"Especiales"_s, u"ITEM Nro "_s, u"Tipo"_s, u"Tipo2"_s}));

    control("NumeroJugar")->setFocus();
    press(Qt::Key_F9);
    EXPECT_EQ(label("Label8"), u"F9 - Monto Bs.F."_s);
    press(Qt::Key_F9);
    EXPECT_EQ(label("Label8"), u"F9 - Monto Bs."_s);
    QTest::mouseClick(control<QLabel>("Label8"), Qt::LeftButton);
    EXPECT_TRUE(screen->state().montobsf);
}

TEST_F(SalesScreenTest, ADeclinedUpdateOrNoOpenLotteryClosesTheSalesPoint) {
    db.admin(u"UPDATE central.parametros_terminal SET estadovendura = '3'"_s);
    seller.dialogs.answers = {false};
    open();
    EXPECT_TRUE(screen->isClosed());
    EXPECT_TRUE(control<QLabel>("CERRADOPV")->isVisible());
    QString enabled;
    for (const char* name :
         {"NumeroJugar", "MONTO_JUGADA", "L_Loterias", "XPButton1", "XPButton22", "XPButton15"})
        enabled += control<QWidget>(name)->isEnabled() ? u'1' : u'0';
    EXPECT_EQ(enabled, u"000001"_s);
    // the keys act on the window whether or not a field has the focus: F11 opens the lotteries
    // the sales point needs then, F4 the payments
    QTest::keyClick(screen.get(), Qt::Key_F11);
    QTest::keyClick(screen.get(), Qt::Key_F4);
    EXPECT_EQ(takeRan(), (QStringList{run(SalesCommand::ActivarLoterias, u"Venta Normal"_s),
                                      run(SalesCommand::PagarTicket, u"Venta Normal"_s)}));

    db.admin(u"UPDATE central.parametros_terminal SET estadovendura = NULL"_s);
    db.setClock(u"2026-12-07 23:30:00"_s);
    open();
    EXPECT_TRUE(screen->isClosed());
    EXPECT_EQ(loterias()->count(), 0);
}

TEST_F(SalesScreenTest, TheLotteryListIsWorkedFromTheKeyboard) {
    db.addLottery(u"DDD"_s, u"DELTA"_s, u"23:00"_s, u"100"_s, u"300"_s, 5);
    open();
    QListWidget* list = loterias();
    list->setFocus();
    list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    for (int i = 0; i < 3; ++i) press(Qt::Key_Space);  // on the last entry the cursor stays
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(list->selectedItems().size(), 3);
    press(Qt::Key_Asterisk);
    EXPECT_EQ(list->selectedItems().size(), 0);
    press(Qt::Key_Return);  // nothing selected: the focus stays
    EXPECT_EQ(focused(), list);
    QTest::mouseClick(control<QLabel>("Label1"), Qt::LeftButton);
    EXPECT_EQ(list->selectedItems().size(), 3);
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), control("NumeroJugar"));

    list->setFocus();
    press(Qt::Key_X);  // not a digit: discarded
    EXPECT_EQ(focused(), list);
    press(Qt::Key_4);
    EXPECT_EQ(focused(), control("NumeroJugar"));
    EXPECT_EQ(control("NumeroJugar")->text() + u'@' +
                  QString::number(control("NumeroJugar")->cursorPosition()),
              u"4@1"_s);  // the digit typed, the cursor after it
}

// Bs.F. first, then Bs.: 10000 Bs. are 10 Bs.F. The quota is 100 a number on each lottery.
TEST_F(SalesScreenTest, PlaysAreSoldOnEverySelectedLotteryInPartOrNotAtAll) {
    open();
    selectLotteries({0, 1});
    press(Qt::Key_F9);
    sell(u"7"_s, u"10"_s);
    press(Qt::Key_F9);
    sell(u"123"_s, u"10000"_s);
    EXPECT_EQ(rows(),
              (QStringList{u"7** | AAA - ALFA | 10,00 | 1"_s, u"7** | BBB - BETA | 10,00 | 2"_s,
                           u"123 | AAA - ALFA | 10,00 | 3"_s, u"123 | BBB - BETA | 10,00 | 4"_s}));
    EXPECT_EQ(
        db.value(u"SELECT string_agg(num_item || ':' || monto_vendido, ' ' ORDER BY num_item) "
                 u"FROM central.items_ticket"_s),
        u"1:10.000 2:10.000 3:10.000 4:10.000"_s);
    EXPECT_EQ(total(), u"40,00"_s);

    press(Qt::Key_F9);
    sell(u"456"_s, u"80"_s);
    sell(u"456"_s, u"50"_s);  // 20 left on each
    sell(u"456"_s, u"5"_s);
    EXPECT_EQ(shown(),
              (QStringList{u"I|KALVORA ON LINE - Ventas por el Resto|Los Siguiente Números "
                           u"Fueron Vendidos por las Cantidades Aqui Indicadas\r\r"
                           u"456 ALFA Bs.: 20\r456 BETA Bs.: 20\r"_s,
                           u"C|KALVORA ON LINE - Números Agotados|Los Siguiente Números No "
                           u"Fueron Vendidos por estar Agotados \r\r456 ALFA\r456 BETA\r"_s}));
    EXPECT_EQ(
        rows().mid(6),
        (QStringList{u"456 | AAA - ALFA | 20,00 | 7"_s, u"456 | BBB - BETA | 20,00 | 8"_s,
                     u"456 | AAA - ALFA | Sin Cupo | 9"_s, u"456 | BBB - BETA | Sin Cupo | 10"_s}));
    EXPECT_EQ(total(), u"240,00"_s);

    // a lottery closed since the list was loaded leaves it
    seller.dialogs.clear();
    db.admin(
        u"INSERT INTO central.sorteos (cod_lot, fecha, cerrado) VALUES ('AAA', '2026-12-07', true)"_s);
    sell(u"12"_s, u"3"_s);
    EXPECT_EQ(shown(), QStringList{u"C|KALVORA ON LINE - LOTERIA CERRADA|ALFA\r"_s});
    sell(u"13"_s, u"1"_s);
    EXPECT_EQ(rows().mid(10),
              (QStringList{u"12* | BBB - BETA | 3,00 | 12"_s, u"13* | BBB - BETA | 1,00 | 13"_s}));
    EXPECT_EQ(entries(loterias()), QStringList{u"BBB - BETA"_s});
    EXPECT_TRUE(loterias()->item(0)->isSelected());
    EXPECT_EQ(screen->state().loteriascerradas, u"AAA"_s);
    EXPECT_EQ(total(), u"244,00"_s);
}

// The central office releases the open ticket (or it stayed too long without plays): the next
// play tells the seller nothing of it was sold, the screen shows none of it and goes on under a
// new number, where the play is sold.
TEST_F(SalesScreenTest, AReleasedTicketStartsOverUnderANewNumber) {
    open();
    selectLotteries({0});
    sell(u"123"_s, u"10"_s);
    const QString released = screen->state().nticket;
    db.admin(u"SELECT admin.liberar_tickets('00012')"_s);
    seller.dialogs.clear();
    sell(u"456"_s, u"10"_s);
    EXPECT_EQ(seller.dialogs.texts(),
              QStringList{u"La jugada no fue registrada. "_s + kTicketLiberado});
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(total(), u"0,00"_s);
    EXPECT_NE(screen->state().nticket, released);
    sell(u"456"_s, u"10"_s);
    EXPECT_EQ(rows().size(), 1);
    EXPECT_EQ(db.value(u"SELECT nticket FROM central.items_ticket WHERE vigente"_s),
              screen->state().nticket);
}

// The fields take only their own characters, so no letter or sign of the key tables acts
// there, while Esc and the function keys still do; where the focus goes when something is
// missing or refused (the amount rules are tested on their own).
TEST_F(SalesScreenTest, TheEntryFieldsTakeOnlyTheirOwnCharacters) {
    open();
    selectLotteries({0});
    control("NumeroJugar")->setFocus();
    typeKeys(u"1s*2D/-3.4"_s);
    EXPECT_EQ(control("NumeroJugar")->text(), u"123"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), control("MONTO_JUGADA"));
    typeKeys(u"1.2.*3,l+4x"_s);
    EXPECT_EQ(control("MONTO_JUGADA")->text(), u"1.234"_s);
    EXPECT_EQ(loterias()->selectedItems().size(), 1);
    press(Qt::Key_F2);
    EXPECT_EQ(takeRan(), QStringList{run(SalesCommand::TicketsDelDia, u"Venta Normal"_s)});
    press(Qt::Key_Left);
    EXPECT_EQ(focused(), control("NumeroJugar"));
    press(Qt::Key_Backtab);  // back to the lottery list, where the letters act again
    EXPECT_EQ(focused(), loterias());
    {
        // Tab from the number takes the amount whole, as Enter does, and Shift+Tab the number:
        // what is typed replaces the last play's even in a window that lost its activation,
        // where the field's own select-all on Tab never runs
        AnotherWindowActive other(screen.get());
        control("NumeroJugar")->setFocus();
        press(Qt::Key_Tab);
        EXPECT_EQ(focused(), control("MONTO_JUGADA"));
        typeKeys(u"20"_s);
        EXPECT_EQ(control("MONTO_JUGADA")->text(), u"20"_s);
        press(Qt::Key_Backtab);  // and Shift+Tab the number whole
        EXPECT_EQ(focused(), control("NumeroJugar"));
        typeKeys(u"45"_s);
        EXPECT_EQ(control("NumeroJugar")->text(), u"45"_s);
    }

    control("MONTO_JUGADA")->clear();
    control("MONTO_JUGADA")->setFocus();
    press(Qt::Key_Return);  // empty amount: nothing
    control("NumeroJugar")->clear();
    control("MONTO_JUGADA")->setText(u"5"_s);
    press(Qt::Key_Return);  // amount but no number: back to the number, nothing sent
    EXPECT_EQ(focused(), control("NumeroJugar"));
    EXPECT_TRUE(seller.dialogs.shown.empty());

    sell(u"12"_s, u"15"_s);  // 0,015 Bs.F.: finer than a céntimo
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Monto inválido: en Bs. el monto debe ser "
                                                  u"múltiplo de 10 (10 Bs. son 0,01 Bs.F.)."_s});
    EXPECT_EQ(focused(), control("MONTO_JUGADA"));
    EXPECT_EQ(control("MONTO_JUGADA")->selectedText(), u"15"_s);
    sell(u"12"_s, u"50"_s);  // the refused play left neither a row nor an item behind
    EXPECT_EQ(rows(), QStringList{u"12* | AAA - ALFA | 0,05 | 1"_s});
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"1"_s);
    press(Qt::Key_Escape);  // Esc issues from the number field too
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"1"_s);
}

// A connection the server ended is opened again and the play sent again, with no word to the
// seller; only a server that stays out of reach costs the one message, and no row.
TEST_F(SalesScreenTest, AServerThatGoesAwayCostsOneMessageAndNoRow) {
    open();
    selectLotteries({0});
    press(Qt::Key_F9);
    sell(u"1"_s, u"2"_s);
    db.admin(
        u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        u"WHERE datname = current_database() AND usename <> 'postgres'"_s);
    sell(u"2"_s, u"2"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    // the server out of reach: every attempt to open the link again fails
    const int port = seller.installation.databasePort;
    seller.installation.databasePort = 1;
    seller.session.Conexion->close();
    sell(u"3"_s, u"2"_s);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_TRUE(seller.dialogs.last().text.startsWith(u"Ha ocurrido un error probablemente"_s));
    EXPECT_EQ(control("NumeroJugar")->text(), u"3"_s);
    // back in reach: the next play opens the link again by itself
    seller.installation.databasePort = port;
    sell(u"3"_s, u"2"_s);
    EXPECT_EQ(rows(),
              (QStringList{u"1** | AAA - ALFA | 2,00 | 1"_s, u"2** | AAA - ALFA | 2,00 | 2"_s,
                           u"3** | AAA - ALFA | 2,00 | 3"_s}));
    EXPECT_EQ(seller.dialogs.shown.size(), 1u);
}

class RemovalScreenTest : public SalesScreenTest {
  protected:
    void selectRows(std::initializer_list<int> list) {
        QTableView* view = screen->ticketView();
        view->clearSelection();
        for (int r : list)
            view->selectionModel()->select(screen->ticket().index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view->setFocus();
    }
};

// Delete takes the selected rows off after asking; Form13 (XPButton9, or "E") takes off every
// play of the lotteries chosen, or of all of them with F12.
TEST_F(RemovalScreenTest, PlaysAreTakenOffByRowOrByLotteryOnScreenAndServer) {
    db.addLottery(u"CCC"_s, u"GAMMA"_s, u"23:00"_s, u"100"_s, u"300"_s, 3);
    open();
    selectLotteries({0, 1});
    press(Qt::Key_F9);
    sell(u"7"_s, u"10"_s);
    sell(u"456"_s, u"100"_s);
    sell(u"456"_s, u"5"_s);  // sold out: "Sin Cupo"
    selectLotteries({0});
    sell(u"12"_s, u"3"_s);
    selectLotteries({2});
    sell(u"88"_s, u"1"_s);
    selectLotteries({1});
    sell(u"99"_s, u"1"_s);
    seller.dialogs.clear();
    ASSERT_EQ(screen->ticket().rowCount(), 9);

    selectRows({1, 2, 4});  // two adjacent rows and a "Sin Cupo" one
    seller.dialogs.answers = {false};
    press(Qt::Key_Delete);
    EXPECT_EQ(shown(), QStringList{u"C|KALVORA ON LINE - PUNTO DE VENTA|"
                                   u"¿Deseas Eliminar los Números  Seleccionados ?"_s});
    EXPECT_TRUE(seller.dialogs.last().question && !seller.dialogs.last().defaultYes);
    EXPECT_EQ(screen->ticket().rowCount(), 9);
    EXPECT_EQ(seller.session.ModoTrabajo, u"0"_s);
    control("NumeroJugar")->setText(u"9"_s);
    selectRows({1, 2, 4});
    press(Qt::Key_Delete);  // the recorder answers Yes
    EXPECT_EQ(rows(),
              (QStringList{u"7** | AAA - ALFA | 10,00 | 1"_s, u"456 | BBB - BETA | 100,00 | 4"_s,
                           u"456 | BBB - BETA | Sin Cupo | 6"_s, u"12* | AAA - ALFA | 3,00 | 7"_s,
                           u"88* | CCC - GAMMA | 1,00 | 8"_s, u"99* | BBB - BETA | 1,00 | 9"_s}));
    EXPECT_EQ(total() + u'|' + live(), u"115,00|1 4 6 7 8 9"_s);
    EXPECT_EQ(db.value(u"SELECT vendido::float8 FROM central.ventas_numero "
                       u"WHERE cod_lot = 'AAA' AND numero = '456'"_s),
              u"0"_s);
    EXPECT_EQ(seller.session.ModoTrabajo, u"1"_s);
    EXPECT_EQ(focused()->objectName() + u'|' + control("NumeroJugar")->text(), u"NumeroJugar|"_s);
    screen->ticketView()->clearSelection();
    screen->ticketView()->setFocus();
    press(Qt::Key_Delete);  // nothing selected: the question, then nothing removed
    EXPECT_EQ(seller.dialogs.shown.size(), 3u);
    EXPECT_EQ(screen->ticket().rowCount(), 6);

    control<QPushButton>("XPButton9")->click();
    QWidget* form13 = secondary("Form13");
    ASSERT_TRUE(form13);
    auto* list = form13->findChild<QListWidget*>(u"List1"_s);
    EXPECT_EQ(form13->windowTitle(), u"Eliminar jugadas por Loterias"_s);
    // each lottery once, in the order of its first play
    EXPECT_EQ(entries(list), (QStringList{u"AAA - ALFA"_s, u"BBB - BETA"_s, u"CCC - GAMMA"_s}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == list; }));
    QTest::keyClick(list, Qt::Key_Space);  // toggles AAA, moves down
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    QTest::keyClick(list, Qt::Key_Space);  // on the last entry: stays
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(list->selectedItems().size(), 1);
    list->item(2)->setSelected(true);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(secondary("Form13"));
    EXPECT_EQ(rows(),
              (QStringList{u"456 | BBB - BETA | 100,00 | 4"_s, u"456 | BBB - BETA | Sin Cupo | 6"_s,
                           u"99* | BBB - BETA | 1,00 | 9"_s}));
    EXPECT_EQ(total() + u'|' + live(), u"101,00|4 6 9"_s);

    // F12: all of them, even a single lottery; the total reads "0"
    screen->ticketView()->setFocus();
    press(Qt::Key_E);
    EXPECT_EQ(screen->state().jugadaactual, u"sEguidillas"_s);
    ASSERT_TRUE(secondary("Form13"));
    list = secondary("Form13")->findChild<QListWidget*>(u"List1"_s);
    EXPECT_EQ(list->count(), 1);
    QTest::keyClick(list, Qt::Key_F12);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(total() + u'|' + live(), u"0|"_s);
    seller.dialogs.clear();
    screen->ticketView()->setFocus();
    press(Qt::Key_Delete);  // an empty ticket: not even the question
    EXPECT_TRUE(seller.dialogs.shown.empty());
}

}  // namespace
