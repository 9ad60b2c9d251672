#include "aftersale/screens/results_screen.h"
#include "printing_counter.h"

#include <QDateEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace vendura;
using namespace vendura::test;

namespace {

// BBB's results are entered before AAA's: the grid follows the lotteries' order. AAA's name is
// longer than the printout's column.
class ResultsScreenTest : public PrintingCounter {
  protected:
    ResultsScreenTest() {
        db.admin(
            u"UPDATE central.loterias SET desc_lot = 'ZULIA 12:45 PM MEDIODIA' "
            u"WHERE cod_lot = 'AAA'"_s);
        enterResult(db, u"BBB"_s, u"2026-12-06"_s, u"018 111 222 512"_s);
        enterResult(db, u"AAA"_s, u"2026-12-06"_s, u"347"_s);
        login();
        screen = std::make_unique<ResultsScreen>(seller.link, *printers, clock);
    }
    void click(const char* button) { control<QPushButton>(screen.get(), button)->click(); }

    std::unique_ptr<ResultsScreen> screen;
};

TEST_F(ResultsScreenTest, ShowsAndPrintsTheChosenDaysResults) {
    ASSERT_TRUE(screen->load());
    screen->show();
    QApplication::setActiveWindow(screen.get());
    auto* grid = control<QTableWidget>(screen.get(), "DataGrid1");
    QStringList captions;
    for (int c = 0; c < grid->columnCount(); ++c) captions << grid->horizontalHeaderItem(c)->text();
    EXPECT_EQ(captions,
              (QStringList{u"Loteria"_s, u"Triple"_s, u"Termi"_s, u"2do"_s, u"3ro"_s, u"Especial"_s,
                           u"Jugada Especial"_s, u"Digito"_s, u"Par A"_s, u"Par B"_s, u"Fijo"_s}));
    // the picker starts on the server's day, which has no results yet
    click("XPButton2");
    EXPECT_EQ(grid->rowCount(), 0);
    auto* picker = control<QDateEdit>(screen.get(), "DTPicker1");
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);  // the day before
    ASSERT_EQ(picker->date(), QDate(2026, 12, 6));
    click("XPButton2");
    std::vector<QStringList> shown(size_t(grid->rowCount()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) shown[size_t(r)] << grid->item(r, c)->text();
    }
    EXPECT_EQ(shown, (std::vector<QStringList>{
                         {u"ZULIA 12:45 PM MEDIODIA"_s, u"347"_s, u"47"_s, QString(), QString(),
                          QString(), QString(), u"7"_s, u"34"_s, u"37"_s, u"3"_s},
                         {u"BETA"_s, u"018"_s, u"18"_s, u"111"_s, u"222"_s, u"512"_s, QString(),
                          u"8"_s, u"01"_s, u"08"_s, u"0"_s}}));

    // on the ticket printer in compressed print: the counter's clock, the chosen day, the
    // margin, a heading and a line per lottery, rules one short of the width
    click("XPButton18");
    const QString rule = u"  "_s + QString(39, u'=');
    const QStringList lines{u"  << KALVORA ON LINE >>"_s,
                            u"  Resultados de Sorteos 06/12/2026"_s,
                            u"  Vendedor : AGENCIA LA FORTUNA 00012"_s,
                            u"  Fecha : 07/12/2026"_s,
                            u"  Hora : 10:30:05"_s,
                            rule,
                            u"  LOTERIA\tTRIPLE\tSIG"_s,
                            rule,
                            u"       Sorteo:ZULIA 12:45 PM MEDIODIA"_s,
                            u"  ZULIA 12:45 PM \t347\t"_s,
                            u"                Sorteo:BETA"_s,
                            u"  BETA\t018\t512"_s,
                            rule};
    const QString out = printed();
    EXPECT_TRUE(out.startsWith(QChar(15)) && out.contains(QChar(18)));
    EXPECT_TRUE(QString(out).remove(QChar(15)).contains(lines.join(u"\r\n"_s) + u"\r\n"_s))
        << out.toStdString();
    EXPECT_TRUE(seller.dialogs.shown.empty()) << seller.dialogs.texts().join(u"|"_s).toStdString();
}

TEST_F(ResultsScreenTest, APrinterNotReadyOrNoLotteryStopsIt) {
    ASSERT_TRUE(screen->load());
    seller.session.PuertoPrinter = u"LPT4"_s;  // no such device here
    click("XPButton18");
    EXPECT_EQ(seller.dialogs.texts().last(), u"Impresora No lista"_s);
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    EXPECT_EQ(control<QListWidget>(screen.get(), "List1")->count(), 0);

    seller.dialogs.clear();
    db.admin(u"UPDATE central.loterias SET cerrada = true"_s);
    EXPECT_FALSE(screen->load());
    EXPECT_EQ(seller.dialogs.texts(),
              QStringList{u"No hay Loterias Configuradas en el Sistema..."_s});
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - PUNTO DE VENTA"_s);
}

}  // namespace
