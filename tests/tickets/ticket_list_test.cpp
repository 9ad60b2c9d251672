#include "app/tickets_actions.h"
#include "dot_matrix.h"
#include "platform/files.h"
#include "sales_screen_fixture.h"
#include "tickets/journal.h"
#include "tickets/screens/ticket_list_screen.h"

#include <QDateEdit>
#include <QDir>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

// Sales point 00012 issued two tickets this morning: the first at 10:00 came out of the
// printer, the second at 10:02 did not (the printer was off its port); sales point 00013 sold
// one too.
class TicketListTest : public SalesScreenFixture {
  protected:
    TicketListTest() {
        db.addVendor(u"00013"_s, u"2001"_s);
        random.numbers = {555, 1987654321, 777, 1122334455, 888};  // key, serial, key, ...
    }
    void SetUp() override {
        open();
        press(Qt::Key_F9);  // Bs.F.
        printedTicket = issue(u"7"_s, u"10"_s);
        db.setClock(u"2026-12-07 10:02:00"_s);
        const QString port = seller.printerPath();
        QFile::remove(port);
        QDir().mkdir(port);  // no printer can be opened there
        unprintedTicket = issue(u"123"_s, u"5"_s);
        ASSERT_EQ(seller.dialogs.shown.size(), 1u);
        QDir().rmdir(port);
        QFile(port).open(QIODevice::WriteOnly);
        seller.dialogs.clear();
        otherSalesPoint();
    }
    QString issue(const QString& number, const QString& amount) {
        const QString nticket = screen->state().nticket;
        control<QListWidget>("L_Loterias")->selectAll();
        sell(number, amount);
        press(Qt::Key_Escape);
        return nticket;
    }
    void otherSalesPoint() {
        otherTicket = db.newTicket(u"00013"_s);
        db.admin(
            u"INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, "
            u"fecha, hora, monto) VALUES ($1, '00013', '2001', 9, '2026-12-07', '10:01', 3)"_s,
            {otherTicket});
    }
    TicketListScreen& openList() {
        list = std::make_unique<TicketListScreen>(seller.link, *printers);
        list->show();
        QApplication::setActiveWindow(list.get());
        return *list;
    }
    QListWidget* listWidget(const char* name) {
        return list->findChild<QListWidget*>(QString::fromLatin1(name));
    }
    QStringList lines(const char* name) {
        QStringList out;
        QListWidget* w = listWidget(name);
        for (int i = 0; i < w->count(); ++i) out << w->item(i)->text();
        return out;
    }
    // Selects a ticket of List1 and presses Enter on it.
    void showRow(int row) {
        listWidget("List1")->setCurrentRow(row);
        QTest::keyClick(listWidget("List1"), Qt::Key_Return);
    }
    void clickPrint() { list->findChild<QPushButton*>(u"XPButton1"_s)->click(); }
    QByteArray printed() { return files::read(seller.printerPath()).value(); }
    void clearPrinter() { QFile(seller.printerPath()).open(QIODevice::WriteOnly); }
    QString ticketValue(const char* column, const QString& ticket) {
        return db.value(u"SELECT "_s + QString::fromLatin1(column) +
                            u"::text FROM central.tickets WHERE nroticket = $1"_s,
                        {ticket});
    }

    QString printedTicket;
    QString unprintedTicket;
    QString otherTicket;
    std::unique_ptr<TicketListScreen> list;
};

TEST_F(TicketListTest, TheDaysTicketsOfThisSalesPointWithTheUnprintedOneMarked) {
    openList();
    EXPECT_EQ(list->findChild<QDateEdit*>(u"esdesde"_s)->date(), QDate(2026, 12, 7));
    const QStringList expected{printedTicket + u"\t10:00:00\t20,00\tACTIVO\t1001"_s,
                               unprintedTicket + u"\t10:02:00\t10,00\tACTIVO\t1001\tNO IMPRESO"_s};
    EXPECT_EQ(lines("List1"), expected);
    EXPECT_TRUE(seller.dialogs.shown.empty());

    list->findChild<QDateEdit*>(u"esdesde"_s)->setDate(QDate(2026, 12, 6));
    EXPECT_TRUE(lines("List1").isEmpty());
    list->findChild<QDateEdit*>(u"esdesde"_s)->setDate(QDate(2026, 12, 7));
    EXPECT_EQ(lines("List1"), expected);
}

TEST_F(TicketListTest, EnterShowsTheImageOfTheTicketRebuiltFromTheServer) {
    openList();
    showRow(0);
    const QString rule = u"  "_s + QString(40, u'=');
    EXPECT_EQ(
        lines("List2"),
        (QStringList{
            u"  << KALVORA On Line >>"_s, u"  AGENCIA LA FORTUNA"_s, u"  AV. BOLIVAR, LOCAL 4"_s,
            u"  R.I.F.: J-12345678-9  N.I.T.: 0012345678"_s, u"  Ticket: "_s + printedTicket,
            u"  1001 ANA PEREZ"_s, u"  07/12/2026   10:00:00"_s, rule,
            u"                Sorteo:ALFA"_s, u"  7** x 10,00"_s, u"                Sorteo:BETA"_s,
            u"  7** x 10,00"_s, rule, u"  Total Bs.: 20,00"_s, u"  GRACIAS POR SU COMPRA"_s,
            u"  Caduca a los 3 Dias"_s, u"  REVISE SU TICKET"_s, u"  EL TICKET ESTA ACTIVO"_s}));
    showRow(1);
    EXPECT_TRUE(lines("List2").contains(u"  123 x 5,00"_s));
    EXPECT_EQ(lines("List2").last(), u"  EL TICKET ESTA ACTIVO"_s);
}

TEST_F(TicketListTest, TheFirstPrintOfAnUnprintedTicketIsTheWholeOriginalWithItsBarCode) {
    clearPrinter();
    openList();
    showRow(1);
    clickPrint();
    ASSERT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();

    const QByteArray bytes = printed();
    const qsizetype end = bytes.indexOf('\x12');
    ASSERT_TRUE(bytes.startsWith('\x0f'));
    const QStringList ticket = QString::fromLatin1(bytes.mid(1, end - 1)).split(u"\r\n"_s);
    EXPECT_EQ(ticket.mid(4, 4),
              (QStringList{u"  Ticket: "_s + unprintedTicket, u"  Serial:1122334455"_s,
                           u"  1001 ANA PEREZ"_s, u"  07/12/2026   10:02:00"_s}));
    EXPECT_TRUE(ticket.contains(u"  Total Bs.: 10,00"_s));
    EXPECT_EQ(ticket.count(u"  Serial:1122334455"_s), 2);
    EXPECT_FALSE(ticket.contains(u"  EL TICKET ESTA ACTIVO"_s));
    EXPECT_EQ(readBarcodes(renderDotMatrix(bytes.mid(end + 1))),
              QStringList{u"CODE-39:1122334455"_s});
    EXPECT_TRUE(bytes.endsWith("\x1b@ \r\n \r\n \r\n"));

    EXPECT_EQ(ticketValue("impreso", unprintedTicket), u"true"_s);
    EXPECT_EQ(ticketValue("reimpresiones", unprintedTicket), u"0"_s);
    EXPECT_TRUE(db.auditActions().contains(u"TICKET_ORIGINAL|00012|1001"_s));
    EXPECT_FALSE(lines("List1")[1].endsWith(u"NO IMPRESO"_s));
    // the journal of the day now holds it, once
    auto journal =
        Journal::readLines(journalPath(seller.dir.path(), 7, u"00012"_s, u"1001"_s), "1001");
    ASSERT_TRUE(journal.ok());
    EXPECT_EQ(journal.value().count(QByteArray("  Serial:1122334455")), 2);

    // from now on it is a copy
    clearPrinter();
    clickPrint();
    EXPECT_FALSE(printed().contains("Serial"));
    EXPECT_EQ(ticketValue("reimpresiones", unprintedTicket), u"1"_s);
}

TEST_F(TicketListTest, EveryLaterPrintIsTheImageWithoutItsSerialCountedAndAudited) {
    clearPrinter();
    openList();
    showRow(0);
    const QStringList image = lines("List2");
    clickPrint();
    clickPrint();
    ASSERT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();
    const QByteArray one =
        "\x0f" + image.join(u"\r\n"_s).toLatin1() + "\r\n\x12" + QByteArray("   \r\n").repeated(3);
    EXPECT_EQ(printed(), one + one);
    EXPECT_FALSE(printed().contains("1987654321"));
    EXPECT_FALSE(printed().contains("\x1bL"));  // no bar code
    EXPECT_EQ(ticketValue("reimpresiones", printedTicket), u"2"_s);
    EXPECT_EQ(db.auditActions().filter(u"TICKET_REIMPRESO|00012|1001"_s).size(), 2);
}

TEST_F(TicketListTest, APrinterThatIsNotReadyPrintsNothingAndHandsOutNothing) {
    QFile::remove(seller.printerPath());
    openList();
    showRow(1);
    clickPrint();
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"error de apertura del puerto -1"_s, u"Impresora No lista"_s}));
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    EXPECT_EQ(ticketValue("impreso", unprintedTicket), u"false"_s);
    EXPECT_FALSE(db.auditActions().contains(u"TICKET_ORIGINAL|00012|1001"_s));
}

TEST_F(TicketListTest, ACancelledTicketShowsItAndIsNeverPrintedWithItsSerial) {
    PqGateway counter(5);
    ASSERT_TRUE(counter.open(db.connectionText()).ok());
    for (const QString& ticket : {printedTicket, unprintedTicket}) {
        ASSERT_EQ(counter.callPositional(u"ANULATICKET"_s, {ticket, u"00012"_s, u"1001"_s, u"1"_s})
                      .value()
                      .returnNumber(),
                  0);
    }
    clearPrinter();
    openList();
    EXPECT_TRUE(lines("List1")[0].contains(u"\tANULADO\t"_s));
    showRow(1);
    EXPECT_TRUE(lines("List2").contains(u"  123 x 5,00"_s));  // its plays are kept
    EXPECT_EQ(lines("List2").last(), u"  EL TICKET ESTA ANULADO"_s);
    clickPrint();
    EXPECT_TRUE(printed().contains("EL TICKET ESTA ANULADO"));
    EXPECT_FALSE(printed().contains("1122334455"));
    EXPECT_EQ(ticketValue("impreso", unprintedTicket), u"false"_s);
    EXPECT_EQ(ticketValue("reimpresiones", unprintedTicket), u"1"_s);
}

TEST_F(TicketListTest, AnotherSalesPointsTicketAndBadInputAnswerAnEmptyList) {
    PqGateway counter(5);
    ASSERT_TRUE(counter.open(db.connectionText()).ok());
    struct Case {
        const char* procedure;
        QStringList args;
        int code;
        int rows;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"dsptickets", {u"00012"_s, u"7/12/26"_s, u"0"_s}, 0, 2},
             {"dsptickets", {u"00012"_s, u"31/02/2026"_s, u"0"_s}, 1, 0},
             {"dsptickets", {u"00012"_s, u"2026-12-07"_s, u"0"_s}, 1, 0},
             {"dsptickets", {u"00012"_s, u"07/12/2026"_s, u"1"_s}, 1, 0},
             {"xmuestraticket", {printedTicket, u"00012"_s, u"07/12/2026"_s, u"0"_s}, 0, 2},
             {"xmuestraticket", {otherTicket, u"00012"_s, u"07/12/2026"_s, u"0"_s}, 0, 0},
             {"xmuestraticket", {printedTicket, u"00012"_s, u"06/12/2026"_s, u"0"_s}, 0, 0},
             {"xmuestraticket", {printedTicket, u"00012"_s, u"31/02/2026"_s, u"0"_s}, 1, 0},
             {"xmuestraticket", {u"ABCDEFGHIJ"_s, u"00012"_s, u"07/12/2026"_s, u"0"_s}, 0, 0},
             {"xmuestraticket",
              {u"1"_s + printedTicket, u"00012"_s, u"07/12/2026"_s, u"0"_s},
              0,
              0}}) {
        auto answer = counter.callPositional(QString::fromLatin1(c.procedure), c.args);
        ASSERT_TRUE(answer.ok()) << answer.error().description.toStdString();
        EXPECT_EQ(answer.value().returnNumber(), c.code) << c.procedure << c.args[1].toStdString();
        EXPECT_EQ(answer.value().rows.size(), c.rows) << c.procedure << c.args[1].toStdString();
    }
}

TEST_F(TicketListTest, F2AndXPButton12OpenTheTicketList) {
    registerTicketActions(actions, *printers);
    for (bool byButton : {false, true}) {
        QString opened;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) return;
            opened = modal->objectName() + u" "_s + modal->windowTitle();
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        if (byButton) {
            screen->findChild<QPushButton*>(u"XPButton12"_s)->click();
        } else {
            press(Qt::Key_F2);
        }
        EXPECT_EQ(opened, u"Form35 Consulta Tickets"_s) << byButton;
    }
}

}  // namespace
