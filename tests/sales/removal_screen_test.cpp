#include "sales_screen_fixture.h"

#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// A ticket of five rows: 7** AAA and BBB (10 each), 456 AAA and BBB (quota 100, 80 asked
// before by another play... sold out here), 12* AAA (3).
class RemovalScreenTest : public SalesScreenFixture {
  protected:
    void build() {
        open();
        selectLotteries({0, 1});
        press(Qt::Key_F9);
        sell(u"7"_s, u"10"_s);
        sell(u"456"_s, u"100"_s);
        sell(u"456"_s, u"5"_s);  // sold out on both: "Sin Cupo"
        selectLotteries({0});
        sell(u"12"_s, u"3"_s);
        seller.dialogs.clear();
        ASSERT_EQ(
            rows(),
            (QStringList{u"7** | AAA - ALFA | 10,00 | 1"_s, u"7** | BBB - BETA | 10,00 | 2"_s,
                         u"456 | AAA - ALFA | 100,00 | 3"_s, u"456 | BBB - BETA | 100,00 | 4"_s,
                         u"456 | AAA - ALFA | Sin Cupo | 5"_s, u"456 | BBB - BETA | Sin Cupo | 6"_s,
                         u"12* | AAA - ALFA | 3,00 | 7"_s}));
    }
    void selectRows(std::initializer_list<int> list) {
        QTableView* view = screen->ticketView();
        view->clearSelection();
        for (int r : list)
            view->selectionModel()->select(screen->ticket().index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view->setFocus();
    }
    QString live() {
        return db.value(
            u"SELECT string_agg(num_item::text, ' ' ORDER BY num_item) "
            u"FROM central.items_ticket WHERE vigente"_s);
    }
    QListWidget* form13List() {
        QWidget* form13 = secondary("Form13");
        return form13 ? form13->findChild<QListWidget*>(u"List1"_s) : nullptr;
    }
};

TEST_F(RemovalScreenTest, DeleteAsksThenTakesTheSelectedRowsOffScreenAndServer) {
    build();
    selectRows({1, 2, 4});  // two adjacent rows and a "Sin Cupo" one
    seller.dialogs.answers = {false};
    press(Qt::Key_Delete);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    const auto& asked = seller.dialogs.last();
    EXPECT_TRUE(asked.question);
    EXPECT_FALSE(asked.defaultYes);
    EXPECT_EQ(asked.icon, DialogIcon::Critical);
    EXPECT_EQ(asked.title, u"KALVORA ON LINE - PUNTO DE VENTA"_s);
    EXPECT_EQ(asked.text, u"¿Deseas Eliminar los Números  Seleccionados ?"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 7);
    EXPECT_EQ(seller.session.ModoTrabajo, u"0"_s);

    control("NumeroJugar")->setText(u"9"_s);
    selectRows({1, 2, 4});
    press(Qt::Key_Delete);  // the recorder answers Yes
    EXPECT_EQ(rows(), (QStringList{
                          u"7** | AAA - ALFA | 10,00 | 1"_s, u"456 | BBB - BETA | 100,00 | 4"_s,
                          u"456 | BBB - BETA | Sin Cupo | 6"_s, u"12* | AAA - ALFA | 3,00 | 7"_s}));
    EXPECT_EQ(label("TOT_TICKET"), u"113,00"_s);
    EXPECT_EQ(live(), u"1 4 6 7"_s);
    EXPECT_EQ(db.value(u"SELECT vendido::float8 FROM central.ventas_numero "
                       u"WHERE cod_lot = 'AAA' AND numero = '456'"_s),
              u"0"_s);
    EXPECT_EQ(seller.session.ModoTrabajo, u"1"_s);
    EXPECT_TRUE(control("NumeroJugar")->text().isEmpty());

    // the focus went back to the number; nothing selected: the question, then nothing removed
    EXPECT_EQ(focused(), control("NumeroJugar"));
    screen->ticketView()->clearSelection();
    screen->ticketView()->setFocus();
    press(Qt::Key_Delete);
    EXPECT_EQ(seller.dialogs.shown.size(), 3u);
    EXPECT_EQ(screen->ticket().rowCount(), 4);

    // every row: an empty list, a zero total, and then Delete does nothing at all
    screen->ticketView()->selectAll();
    screen->ticketView()->setFocus();
    press(Qt::Key_Delete);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(label("TOT_TICKET"), u"0,00"_s);
    EXPECT_TRUE(live().isEmpty());
    seller.dialogs.clear();
    screen->ticketView()->setFocus();
    press(Qt::Key_Delete);
    EXPECT_TRUE(seller.dialogs.shown.empty());
}

TEST_F(RemovalScreenTest, Form13ListsTheLotteriesAndRemovesTheChosenOnes) {
    db.addLottery(u"CCC"_s, u"GAMMA"_s, u"23:00"_s, u"100"_s, u"300"_s, 3);
    build();
    selectLotteries({2});
    sell(u"88"_s, u"1"_s);
    selectLotteries({1});
    sell(u"99"_s, u"1"_s);
    control<QPushButton>("XPButton9")->click();
    QListWidget* list = form13List();
    ASSERT_TRUE(list);
    EXPECT_EQ(secondary("Form13")->windowTitle(), u"Eliminar jugadas por Loterias"_s);
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    EXPECT_EQ(entries, (QStringList{u"AAA - ALFA"_s, u"BBB - BETA"_s, u"CCC - GAMMA"_s}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == list; }));
    QTest::keyClick(list, Qt::Key_Space);  // toggles AAA, moves down
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Space);
    QTest::keyClick(list, Qt::Key_Space);  // on the last entry: stays
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_FALSE(list->item(2)->isSelected());
    list->item(2)->setSelected(true);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(secondary("Form13"));
    EXPECT_EQ(rows(), (QStringList{
                          u"7** | BBB - BETA | 10,00 | 2"_s, u"456 | BBB - BETA | 100,00 | 4"_s,
                          u"456 | BBB - BETA | Sin Cupo | 6"_s, u"99* | BBB - BETA | 1,00 | 9"_s}));
    EXPECT_EQ(label("TOT_TICKET"), u"111,00"_s);
    EXPECT_EQ(live(), u"2 4 6 9"_s);

    // F12: all of them, even a single lottery; the total reads "0"
    screen->ticketView()->setFocus();
    press(Qt::Key_E);
    EXPECT_EQ(screen->state().jugadaactual, u"sEguidillas"_s);
    ASSERT_TRUE(form13List());
    EXPECT_EQ(form13List()->count(), 1);
    QTest::keyClick(form13List(), Qt::Key_F12);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(label("TOT_TICKET"), u"0"_s);
    EXPECT_TRUE(live().isEmpty());
}

}  // namespace
