#include "sales_screen_fixture.h"

#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class SalesScreenTest : public SalesScreenFixture {
  protected:
    SalesScreenTest() {
        db.addLottery(u"CCC"_s, u"GAMMA MANANA"_s, u"09:00"_s, u"100"_s, u"300"_s, 3);
        db.addLottery(u"SSS"_s, u"SOLO ESPECIAL"_s, u"23:00"_s, u"100"_s, u"300"_s, 4);
        db.admin(u"UPDATE central.loterias SET juegaespecial = 'S' WHERE cod_lot = 'SSS'"_s);
    }
    QString total() { return label("TOT_TICKET"); }
};

TEST_F(SalesScreenTest, LoadsTheOpenLotteriesAndAnEmptyTicket) {
    open();
    QListWidget* list = control<QListWidget>("L_Loterias");
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    EXPECT_EQ(entries, (QStringList{u"AAA - ALFA"_s, u"BBB - BETA"_s}));
    EXPECT_FALSE(control<QLabel>("CERRADOPV")->isVisible());
    EXPECT_TRUE(control("NumeroJugar")->isEnabled());
    EXPECT_EQ(control<QLabel>("Label8")->text(), u"F9 - Monto Bs."_s);
    EXPECT_EQ(total(), u"0,00"_s);
    EXPECT_TRUE(control<QLabel>("NUM_ULTICK")->text().isEmpty());
    EXPECT_EQ(screen->state().nticket, seller.session.NroTicketTmp);
    EXPECT_EQ(screen->state().NUM_ITEM, 0);
    EXPECT_EQ(screen->state().jugadaactual, u"Venta Normal"_s);
    EXPECT_EQ(screen->state().rsloterias.all().size(), 4u);  // every lottery, closed ones too
    EXPECT_EQ(screen->userPanel(), u"1001 ANA PEREZ"_s);
    EXPECT_NE(screen->findChild<QLabel*>(), nullptr);
    bool ticketPanel = false;
    for (QLabel* l : screen->findChildren<QLabel*>()) {
        ticketPanel =
            ticketPanel || l->text() == u"Venta del Ticket #: "_s + seller.session.NroTicketTmp;
    }
    EXPECT_TRUE(ticketPanel);
}

TEST_F(SalesScreenTest, ADeclinedUpdateOrNoOpenLotteryClosesTheSalesPoint) {
    db.admin(u"UPDATE central.parametros_terminal SET estadovendura = '3'"_s);
    seller.dialogs.answers = {false};
    open();
    EXPECT_TRUE(screen->isClosed());
    EXPECT_TRUE(control<QLabel>("CERRADOPV")->isVisible());
    for (const char* name : {"NumeroJugar", "MONTO_JUGADA"})
        EXPECT_FALSE(control(name)->isEnabled());
    EXPECT_FALSE(control<QListWidget>("L_Loterias")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("XPButton1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("XPButton22")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("XPButton15")->isEnabled());

    db.admin(u"UPDATE central.parametros_terminal SET estadovendura = NULL"_s);
    db.setClock(u"2026-12-07 23:30:00"_s);
    open();
    EXPECT_TRUE(screen->isClosed());
    EXPECT_EQ(control<QListWidget>("L_Loterias")->count(), 0);
}

TEST_F(SalesScreenTest, TheLotteryListIsWorkedFromTheKeyboard) {
    db.addLottery(u"DDD"_s, u"DELTA"_s, u"23:00"_s, u"100"_s, u"300"_s, 5);
    open();
    QListWidget* list = control<QListWidget>("L_Loterias");
    list->setFocus();
    list->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    press(Qt::Key_Space);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(list->currentRow(), 1);
    press(Qt::Key_Space);
    press(Qt::Key_Space);  // on the last entry: toggled, the cursor stays
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_TRUE(list->item(2)->isSelected());
    press(Qt::Key_Asterisk);
    EXPECT_FALSE(list->item(0)->isSelected());
    EXPECT_FALSE(list->item(2)->isSelected());
    list->clearSelection();
    press(Qt::Key_Return);  // nothing selected: the focus stays
    EXPECT_EQ(focused(), list);
    QTest::mouseClick(control<QLabel>("Label1"), Qt::LeftButton);
    EXPECT_EQ(list->selectedItems().size(), 3);
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), control("NumeroJugar"));

    list->setFocus();
    press(Qt::Key_4);
    EXPECT_EQ(focused(), control("NumeroJugar"));
    EXPECT_EQ(control("NumeroJugar")->text(), u"4"_s);
    EXPECT_EQ(control("NumeroJugar")->cursorPosition(), 1);
    list->setFocus();
    press(Qt::Key_X);  // not a digit: discarded
    EXPECT_EQ(focused(), list);
}

TEST_F(SalesScreenTest, F9AndLabel8SwitchTheAmountUnit) {
    open();
    control("NumeroJugar")->setFocus();
    press(Qt::Key_F9);
    EXPECT_TRUE(screen->state().montobsf);
    EXPECT_EQ(control<QLabel>("Label8")->text(), u"F9 - Monto Bs.F."_s);
    press(Qt::Key_F9);
    EXPECT_EQ(control<QLabel>("Label8")->text(), u"F9 - Monto Bs."_s);
    QTest::mouseClick(control<QLabel>("Label8"), Qt::LeftButton);
    EXPECT_TRUE(screen->state().montobsf);
}

TEST_F(SalesScreenTest, AStraightPlayIsSoldOnEverySelectedLottery) {
    open();
    selectLotteries({0, 1});
    press(Qt::Key_F9);  // Bs.F.
    sell(u"7"_s, u"10"_s);
    EXPECT_EQ(rows(),
              (QStringList{u"7** | AAA - ALFA | 10,00 | 1"_s, u"7** | BBB - BETA | 10,00 | 2"_s}));
    EXPECT_EQ(total(), u"20,00"_s);
    EXPECT_TRUE(control("NumeroJugar")->text().isEmpty());
    EXPECT_EQ(focused(), control("NumeroJugar"));
    EXPECT_EQ(control("MONTO_JUGADA")->text(), u"10"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    EXPECT_EQ(
        db.value(u"SELECT string_agg(num_item || ':' || monto_vendido, ' ' ORDER BY num_item) "
                 u"FROM central.items_ticket"_s),
        u"1:10.000 2:10.000"_s);

    press(Qt::Key_F9);  // back to Bs.: 10000 Bs. are 10 Bs.F.
    sell(u"123"_s, u"10000"_s);
    EXPECT_EQ(rows().mid(2),
              (QStringList{u"123 | AAA - ALFA | 10,00 | 3"_s, u"123 | BBB - BETA | 10,00 | 4"_s}));
    EXPECT_EQ(control("MONTO_JUGADA")->text(), u"10000"_s);
    EXPECT_EQ(total(), u"40,00"_s);
    EXPECT_EQ(screen->state().NUM_ITEM, 4);
}

TEST_F(SalesScreenTest, PartialSoldOutAndClosedAnswersBecomeRowsAndBoxes) {
    open();
    selectLotteries({0, 1});
    press(Qt::Key_F9);
    sell(u"456"_s, u"80"_s);
    sell(u"456"_s, u"50"_s);  // 20 left on each
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - Ventas por el Resto"_s);
    EXPECT_EQ(seller.dialogs.last().text,
              u"Los Siguiente Números Fueron Vendidos por las Cantidades Aqui Indicadas\r\r"
              u"456 ALFA Bs.: 20\r456 BETA Bs.: 20\r"_s);
    seller.dialogs.clear();
    sell(u"456"_s, u"5"_s);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_EQ(
        seller.dialogs.last().text,
        u"Los Siguiente Números No Fueron Vendidos por estar Agotados \r\r456 ALFA\r456 BETA\r"_s);
    EXPECT_EQ(rows().mid(4), (QStringList{u"456 | AAA - ALFA | Sin Cupo | 5"_s,
                                          u"456 | BBB - BETA | Sin Cupo | 6"_s}));
    EXPECT_EQ(total(), u"200,00"_s);

    seller.dialogs.clear();
    db.admin(
        u"INSERT INTO central.sorteos (cod_lot, fecha, cerrado) VALUES ('AAA', '2026-12-07', true)"_s);
    sell(u"12"_s, u"3"_s);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - LOTERIA CERRADA"_s);
    EXPECT_EQ(seller.dialogs.last().text, u"ALFA\r"_s);
    EXPECT_EQ(rows().mid(6), QStringList{u"12* | BBB - BETA | 3,00 | 8"_s});
    EXPECT_EQ(control<QListWidget>("L_Loterias")->count(), 1);
    EXPECT_TRUE(control<QListWidget>("L_Loterias")->item(0)->isSelected());
    EXPECT_EQ(screen->state().loteriascerradas, u"AAA"_s);
    EXPECT_EQ(total(), u"203,00"_s);
    sell(u"13"_s, u"1"_s);
    EXPECT_EQ(rows().last(), u"13* | BBB - BETA | 1,00 | 9"_s);
}

TEST_F(SalesScreenTest, TheEntryFieldsLetThroughOnlyWhatTheyShould) {
    open();
    selectLotteries({0});
    control("NumeroJugar")->setFocus();
    typeKeys(u"1a2-3.4"_s);
    EXPECT_EQ(control("NumeroJugar")->text(), u"123"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), control("MONTO_JUGADA"));
    typeKeys(u"1.2.3,4x"_s);
    EXPECT_EQ(control("MONTO_JUGADA")->text(), u"1.234"_s);
    press(Qt::Key_Left);
    EXPECT_EQ(focused(), control("NumeroJugar"));

    control("MONTO_JUGADA")->clear();
    control("MONTO_JUGADA")->setFocus();
    press(Qt::Key_Return);  // empty amount: nothing
    control("NumeroJugar")->clear();
    control("MONTO_JUGADA")->setText(u"5"_s);
    control("MONTO_JUGADA")->setFocus();
    press(Qt::Key_Return);  // amount but no number: back to the number, nothing sent
    EXPECT_EQ(focused(), control("NumeroJugar"));
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);
    EXPECT_TRUE(seller.dialogs.shown.empty());

    sell(u"12"_s, u"0"_s);
    EXPECT_TRUE(seller.dialogs.last().text.startsWith(u"Monto inválido"_s));
    sell(u"12"_s, u"1.25"_s);  // 1,25 Bs. are 0,00125 Bs.F.: no such amount
    EXPECT_TRUE(seller.dialogs.last().text.startsWith(u"Monto inválido"_s));
    sell(u"12"_s, u"15"_s);  // 0,015 Bs.F.: finer than a céntimo
    EXPECT_EQ(
        seller.dialogs.last().text,
        u"Monto inválido: en Bs. el monto debe ser múltiplo de 10 (10 Bs. son 0,01 Bs.F.)."_s);
    EXPECT_EQ(focused(), control("MONTO_JUGADA"));
    EXPECT_EQ(control("MONTO_JUGADA")->selectedText(), u"15"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket"_s), u"0"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
}

TEST_F(SalesScreenTest, AServerThatGoesAwayCostsOneMessageAndNoRow) {
    open();
    selectLotteries({0});
    press(Qt::Key_F9);
    sell(u"1"_s, u"2"_s);
    db.admin(
        u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        u"WHERE datname = current_database() AND usename <> 'postgres'"_s);
    sell(u"2"_s, u"2"_s);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_TRUE(seller.dialogs.last().text.startsWith(u"Ha ocurrido un error probablemente"_s));
    EXPECT_EQ(screen->ticket().rowCount(), 1);
    EXPECT_EQ(control("NumeroJugar")->text(), u"2"_s);
    control("NumeroJugar")->clear();
    sell(u"3"_s, u"2"_s);  // the link is opened again before the call
    EXPECT_EQ(rows().last(), u"3** | AAA - ALFA | 2,00 | 2"_s);
    EXPECT_EQ(seller.dialogs.shown.size(), 1u);
}

}  // namespace

namespace {

TEST_F(SalesScreenTest, CommandsRunWhatIsRegisteredAndGuardedOnesAskForPermission) {
    QStringList ran;
    actions.set(SalesCommand::TicketsDelDia, [&](SalesScreen&) { ran << u"F2"_s; });
    actions.set(SalesCommand::AnularTicket, [&](SalesScreen&) { ran << u"anular"_s; });
    actions.set(SalesCommand::Series, [&](SalesScreen& s) { ran << s.state().jugadaactual; });
    open();  // the seller may use "A.-B.-F2.": F2 yes, F3 no
    press(Qt::Key_F2);
    press(Qt::Key_F3);
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"Permiso de acceso denegado"_s});
    EXPECT_EQ(seller.dialogs.last().title, u"Atención!"_s);
    press(Qt::Key_S);  // a lower-case letter acts like the capital one
    press(Qt::Key_B);
    press(Qt::Key_G);  // nobody registered the seguidillas: nothing visible happens
    EXPECT_EQ(ran, (QStringList{u"F2"_s, u"Series"_s, u"anular"_s}));
    EXPECT_EQ(seller.dialogs.shown.size(), 1u);
}

}  // namespace
