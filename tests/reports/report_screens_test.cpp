#include "reports/screens/report_screens.h"
#include "../aftersale/printing_counter.h"
#include "reports/report_frame.h"
#include "reports/screens/monitor_screen.h"
#include "sales/play_seller.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// Report screens of seller 1001 of sales point 00012, whose ticket 101 of Sunday 06/12/2026
// won 1,260.00 (AAA 347 x 2 on the triple, 47* x 1 on the terminal). The printer LPT1 is a file.
class ReportScreensTest : public PrintingCounter {
  protected:
    ReportScreensTest() {
        issueTicket(db, u"101"_s, u"246813579"_s, u"2026-12-06"_s, u"AAA 347 2; AAA 47* 1"_s);
        enterResult(db, u"AAA"_s, u"2026-12-06"_s, u"347"_s);
        login();
    }
    ReportDeps deps() { return {seller.link, *printers, seller.programEnd, seller.dir.path()}; }
    static QStringList listed(QWidget* screen) {
        QStringList out;
        auto* list = control<QListWidget>(screen, "List1");
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
};

TEST_F(ReportScreensTest, ThePrizeReportComposesAtOnceRecomposesAndPrints) {
    PrizeReportScreen screen(deps());
    ASSERT_TRUE(screen.load());
    screen.show();
    EXPECT_EQ(screen.windowTitle(), u"Reporte de Tickets"_s);
    // it opens on the server's day, which sold nothing
    EXPECT_EQ(listed(&screen)[3], u"Fecha : 07/12/2026"_s);
    EXPECT_EQ(listed(&screen).size(), 14);

    control<QDateEdit>(&screen, "esdesde")->setDate(QDate(2026, 12, 6));
    EXPECT_EQ(listed(&screen)[3], u"Fecha : 06/12/2026\tHasta: 07/12/2026"_s);
    EXPECT_EQ(listed(&screen)[8], u"0000000101  09:30:00  1.260,00\t1001  N"_s);
    control<QComboBox>(&screen, "Combo3")->setCurrentText(u"Detallado"_s);
    EXPECT_EQ(listed(&screen).mid(8, 3),
              (QStringList{u"0000000101  09:30:00   \t1001  N"_s, u"    347 ALFA\t\t1.200,00"_s,
                           u"    47* ALFA\t\t60,00"_s}));

    ASSERT_TRUE(screen.print());
    const QByteArray bytes = printed().toLatin1();
    // compressed print: byte 15 before every line, the detailed plays (four blanks) left out
    EXPECT_TRUE(bytes.startsWith("\x0f  << KALVORA ON LINE >>\r\n"))
        << bytes.left(40).toStdString();
    EXPECT_FALSE(bytes.contains("347 ALFA"));
    EXPECT_TRUE(bytes.endsWith("   \r\n   \r\n   \r\n\x12"));

    const QString pdf = screen.saveAsPdf();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << pdf.toStdString();
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_EQ(seller.dialogs.last().text, u"Reporte guardado en "_s + pdf);

    // a period that ends before it starts is refused, and so are ten years
    seller.dialogs.clear();
    control<QDateEdit>(&screen, "eshasta")->setDate(QDate(2026, 12, 1));
    EXPECT_EQ(seller.dialogs.last().text,
              u"La fecha final no puede ser anterior a la fecha inicial"_s);
    EXPECT_TRUE(listed(&screen).isEmpty());
    control<QDateEdit>(&screen, "esdesde")->setDate(QDate(2016, 12, 1));
    EXPECT_EQ(seller.dialogs.last().text, u"El período de un reporte no pasa de un año"_s);
}

TEST_F(ReportScreensTest, AReportThatCannotConnectEndsTheProgram) {
    seller.session.Servidor = u"0"_s;
    SalesReportScreen screen(deps());
    EXPECT_FALSE(screen.load());
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_EQ(seller.dialogs.last().text,
              u"Ocurrieron Errores al Intentar Conectarse!... Finalizando el Sistema"_s);
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - PUNTO DE VENTA"_s);
    EXPECT_EQ(seller.programEnd.ends, 1);
}

TEST_F(ReportScreensTest, TheOtherReportsComposeFromTheirProcedures) {
    SalesReportScreen sales(deps());
    ASSERT_TRUE(sales.load());
    EXPECT_EQ(listed(&sales).mid(7), (QStringList{u"Total venta: \t0,00"_s, report::kRule}));
    control<QDateEdit>(&sales, "esdesde")->setDate(QDate(2026, 12, 6));
    EXPECT_EQ(listed(&sales)[7], u"Total venta: \t3,00"_s);

    FinalReportScreen final(deps());
    ASSERT_TRUE(final.load());
    control<QDateEdit>(&final, "esdesde")->setDate(QDate(2026, 12, 6));
    control<QComboBox>(&final, "Combo1")->setCurrentText(u"Loterias"_s);
    EXPECT_EQ(listed(&final).mid(10, 2),
              (QStringList{u"AAA - ALFA"_s, u"1\t3,00\t0,00\t1.260,00\t-1.257,00"_s}));
    control<QComboBox>(&final, "Combo1")->setCurrentIndex(-1);
    EXPECT_EQ(seller.dialogs.last().text, u"Debe seleccionar el tipo de reporte!"_s);

    AccountStatementScreen statement(deps());
    ASSERT_TRUE(statement.load());
    EXPECT_EQ(listed(&statement)[8], u"Deuda Bs.       : \t-1.257,00"_s);
    EXPECT_EQ(statement.windowTitle(), u"Saldos Operadora"_s);
}

// Plays booked the way the counter books them, for the monitor.
void book(const TestDatabase& db, const QString& vendor, const QString& user, const QString& number,
          int amount, int item, const QString& lotteries) {
    PqGateway counter(5);
    ASSERT_TRUE(counter.open(db.connectionText(vendor)).ok());
    const QString ticket = db.value(
        u"SELECT nticket FROM central.tickets_temporales WHERE cod_vendedor = $1 "
        u"AND estado = 'ABI'"_s,
        {vendor});
    auto answer =
        counter.call(xcreanormal(vendor, user, number, Money::whole(amount), item, lotteries,
                                 ticket.isEmpty() ? db.newTicket(vendor) : ticket));
    ASSERT_TRUE(answer.ok());
    EXPECT_EQ(answer.value().returnText(), u"0"_s);
}

TEST_F(ReportScreensTest, TheMonitorShowsTheNetworkOrThisSalesPointAndRefreshes) {
    db.addVendor(u"00013"_s, u"2001"_s);
    book(db, u"00012"_s, u"1001"_s, u"7"_s, 10, 0, u"AAABBB"_s);
    book(db, u"00012"_s, u"1001"_s, u"45"_s, 5, 2, u"AAA"_s);
    book(db, u"00013"_s, u"2001"_s, u"7"_s, 3, 0, u"AAA"_s);
    book(db, u"00013"_s, u"2001"_s, u"123"_s, 4, 1, u"AAA"_s);

    MonitorScreen screen(seller.link, seller.programEnd);
    ASSERT_TRUE(screen.load());
    screen.show();
    auto* lotteries = control<QComboBox>(&screen, "Combo1");
    EXPECT_EQ(lotteries->itemText(0), u"AAA - ALFA"_s);
    screen.listing();
    EXPECT_EQ(seller.dialogs.last().text,
              u"No hay Datos para la Consulta Solicitada... Por Favor Seleccione una Loteria "
              u"para obtener el Reporte"_s);

    lotteries->setCurrentIndex(0);
    control<QLineEdit>(&screen, "Text1")->setText(u"2"_s);
    emit control<QLineEdit>(&screen, "Text1")->editingFinished();
    screen.listing();
    // the network's totals, ordered as text, naming no sales point
    EXPECT_EQ(listed(&screen),
              (QStringList{u"123 -> 4,00            45* -> 5,00"_s, u"7** -> 13,00"_s}));
    EXPECT_EQ(control<QLabel>(&screen, "Label4")->text(), u"22,00"_s);
    EXPECT_FALSE(control<QComboBox>(&screen, "Combo2")->isEnabled());

    control<QRadioButton>(&screen, "Option2")->setChecked(true);
    EXPECT_TRUE(control<QComboBox>(&screen, "Combo2")->isEnabled());
    QTest::keyClicks(control<QLineEdit>(&screen, "Text3"), u"7x"_s);
    QTest::keyClick(control<QLineEdit>(&screen, "Text3"), Qt::Key_Return);
    EXPECT_EQ(listed(&screen), (QStringList{u"45* -> 5,00            7** -> 10,00"_s,
                                            u"<<<< Consulta sobre el Numero :7 >>>>"_s,
                                            u"Total Bs.: 10,00"_s, QString(59, u'-')}));
    EXPECT_EQ(control<QLabel>(&screen, "Label4")->text(), u"15,00"_s);

    // a bad period is put back; the countdown runs
    control<QLineEdit>(&screen, "Text2")->setText(u"abc"_s);
    emit control<QLineEdit>(&screen, "Text2")->editingFinished();
    EXPECT_EQ(control<QLineEdit>(&screen, "Text2")->text(), u"30"_s);
    EXPECT_TRUE(control<QTimer>(&screen, "Timer1")->isActive());
    EXPECT_EQ(control<QTimer>(&screen, "Timer1")->interval(), 30000);
    EXPECT_EQ(control<QLabel>(&screen, "Label5")->text(),
              u"Actualizando Los Acumulados en Aproximadamente 30 Segundos"_s);

    // the ticket abandoned at the next login gives its plays back
    db.newTicket(u"00012"_s);
    seller.dialogs.clear();
    screen.listing();
    EXPECT_EQ(seller.dialogs.last().text, u"No hay Datos para la Consulta Solicitada"_s);
    EXPECT_FALSE(control<QTimer>(&screen, "Timer1")->isActive());
    EXPECT_TRUE(control<QLabel>(&screen, "Label5")->text().isEmpty());
}

}  // namespace
