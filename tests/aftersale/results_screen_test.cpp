#include "aftersale/screens/results_screen.h"
#include "issued_tickets.h"
#include "logged_in.h"

#include <QApplication>
#include <QDateEdit>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class ResultsScreenTest : public ::testing::Test {
  protected:
    ResultsScreenTest() {
        db.seedVendor();
        db.seedLotteries();
        enterResult(db, u"AAA"_s, u"2026-12-06"_s, u"347"_s);
        enterResult(db, u"BBB"_s, u"2026-12-06"_s, u"018"_s, u"111"_s, u"222"_s, u"512"_s);
        QFile port(seller.printerPath());
        port.open(QIODevice::WriteOnly);
        EXPECT_TRUE(seller.login());
        seller.dialogs.clear();
        printers = std::make_unique<DevicePrinters>(
            PortMap::fromProfile(ProfileFile(seller.installation.iniPath()), seller.dir.path()),
            nullptr);
        screen = std::make_unique<ResultsScreen>(seller.link, *printers, clock);
    }
    template <typename W>
    W* control(const char* name) {
        W* w = screen->findChild<W*>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }

    TestDatabase db;
    LoggedIn seller{db};
    FixedClock clock{QDateTime(QDate(2026, 12, 7), QTime(10, 30, 5))};
    std::unique_ptr<DevicePrinters> printers;
    std::unique_ptr<ResultsScreen> screen;
};

TEST_F(ResultsScreenTest, ShowsTheChosenDaysResultsUnderTheElevenCaptions) {
    ASSERT_TRUE(screen->load());
    screen->show();
    QApplication::setActiveWindow(screen.get());
    EXPECT_EQ(screen->windowTitle(), u"Visualizador de premios"_s);
    auto* grid = control<QTableWidget>("DataGrid1");
    QStringList captions;
    for (int c = 0; c < grid->columnCount(); ++c) {
        captions << grid->horizontalHeaderItem(c)->text();
    }
    EXPECT_EQ(captions,
              (QStringList{u"Loteria"_s, u"Triple"_s, u"Termi"_s, u"2do"_s, u"3ro"_s, u"Especial"_s,
                           u"Jugada Especial"_s, u"Digito"_s, u"Par A"_s, u"Par B"_s, u"Fijo"_s}));
    // the picker starts on the server's day, which has no results yet
    control<QPushButton>("XPButton2")->click();
    EXPECT_EQ(grid->rowCount(), 0);
    auto* picker = control<QDateEdit>("DTPicker1");
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Down);  // the day before
    ASSERT_EQ(picker->date(), QDate(2026, 12, 6));
    control<QPushButton>("XPButton2")->click();
    ASSERT_EQ(grid->rowCount(), 2);
    QStringList second;
    for (int c = 0; c < grid->columnCount(); ++c) second << grid->item(1, c)->text();
    EXPECT_EQ(second, (QStringList{u"BETA"_s, u"018"_s, u"18"_s, u"111"_s, u"222"_s, u"512"_s,
                                   QString(), u"8"_s, u"01"_s, u"08"_s, u"0"_s}));
    EXPECT_TRUE(seller.dialogs.shown.empty());
}

TEST_F(ResultsScreenTest, PrintsTheResultsOnTheTicketPrinter) {
    ASSERT_TRUE(screen->load());
    screen->show();
    control<QDateEdit>("DTPicker1")->setDate(QDate(2026, 12, 6));
    control<QPushButton>("XPButton18")->click();
    QFile f(seller.printerPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString out = QString::fromLatin1(f.readAll());
    const QString margin = seller.session.Margen;
    EXPECT_TRUE(out.startsWith(QChar(15) + margin + u"<< KALVORA ON LINE >>\r\n"_s));
    EXPECT_TRUE(out.contains(margin + u"Resultados de Sorteos 06/12/2026\r\n"_s));
    EXPECT_TRUE(out.contains(margin + u"Vendedor : AGENCIA LA FORTUNA 00012\r\n"_s));
    EXPECT_TRUE(out.contains(margin + u"Hora : 10:30:05\r\n"_s));
    EXPECT_TRUE(out.contains(margin + u"ALFA\t347\t\r\n"_s));
    EXPECT_TRUE(out.contains(margin + u"BETA\t018\t512\r\n"_s));
    EXPECT_TRUE(out.contains(margin + QString(39, u'=') + u"\r\n"_s));
    EXPECT_FALSE(out.contains(QString(40, u'=')));
    EXPECT_TRUE(out.contains(QChar(18)));
    EXPECT_TRUE(seller.dialogs.shown.empty()) << seller.dialogs.texts().join(u"|"_s).toStdString();
}

TEST_F(ResultsScreenTest, APrinterNotReadyStopsThePrintout) {
    ASSERT_TRUE(screen->load());
    seller.session.PuertoPrinter = u"LPT4"_s;  // no such device here
    control<QPushButton>("XPButton18")->click();
    EXPECT_EQ(seller.dialogs.texts().last(), u"Impresora No lista"_s);
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    EXPECT_TRUE(control<QListWidget>("List1")->count() == 0);
}

TEST_F(ResultsScreenTest, NoLotteryConfiguredIsToldAndTheScreenStaysShut) {
    db.admin(u"UPDATE central.loterias SET cerrada = true"_s);
    EXPECT_FALSE(screen->load());
    EXPECT_EQ(seller.dialogs.texts(),
              QStringList{u"No hay Loterias Configuradas en el Sistema..."_s});
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - PUNTO DE VENTA"_s);
}

}  // namespace
