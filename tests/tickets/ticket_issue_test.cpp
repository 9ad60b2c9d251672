#include "dot_matrix.h"
#include "platform/files.h"
#include "sales_screen_fixture.h"
#include "tickets/journal.h"
#include "tickets/screens/ticket_list_screen.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class TicketIssueTest : public SalesScreenFixture {
  protected:
    TicketIssueTest() {
        random.numbers = {555, 1987654321, 777};  // ticket key at load, serial, next key
    }
    void sellSomePlays() {
        control<QListWidget>("L_Loterias")->selectAll();
        press(Qt::Key_F9);         // Bs.F.
        sell(u"7"_s, u"10"_s);     // 10 on each
        sell(u"123"_s, u"150"_s);  // 100 on each, partly
        sell(u"123"_s, u"5"_s);    // sold out on both
        seller.dialogs.clear();
    }
    QByteArray printed() { return files::read(seller.printerPath()).value(); }
};

// A ticket of sold-out rows only is not issued; with plays sold, Esc issues it at the server's
// total, prints it with its bar code into the journal, and starts the next ticket.
TEST_F(TicketIssueTest, EscIssuesPrintsWithBarCodeAndStartsTheNextTicket) {
    db.admin(u"INSERT INTO central.cupos_numero VALUES ('AAA', '000', 0), ('BBB', '000', 0)"_s);
    open();
    const QString nticket = screen->state().nticket;
    control<QListWidget>("L_Loterias")->selectAll();
    sell(u"000"_s, u"5000"_s);
    ASSERT_EQ(screen->ticket().rowCount(), 2);
    seller.dialogs.clear();
    press(Qt::Key_Escape);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"0"_s);
    EXPECT_TRUE(printed().isEmpty());

    sellSomePlays();
    ASSERT_EQ(screen->ticket().rowCount(), 8);
    press(Qt::Key_Escape);
    ASSERT_TRUE(seller.dialogs.shown.empty())
        << seller.dialogs.texts().join(u" | "_s).toStdString();
    EXPECT_EQ(
        db.rows(
            u"SELECT nroticket, serial, monto::float8, fecha, hora, impreso FROM central.tickets"_s),
        (std::vector<QStringList>{
            {nticket, u"1987654321"_s, u"220"_s, u"2026-12-07"_s, u"10:00:00"_s, u"t"_s}}));
    const QString next =
        db.value(u"SELECT nticket FROM central.tickets_temporales WHERE estado = 'ABI'"_s);
    EXPECT_EQ(screen->state().nticket, next);
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(label("TOT_TICKET") + u" "_s + label("NUM_ULTICK") + u" "_s + label("MONTO_ULTICK"),
              u"0 "_s + nticket + u" 220,00"_s);
    EXPECT_EQ(screen->state().claveTicket, u"777"_s);

    // the compressed ticket, the bar code, three fed lines; the journal has the ticket's lines
    const QByteArray bytes = printed();
    const qsizetype end = bytes.indexOf('\x12');
    ASSERT_TRUE(bytes.startsWith('\x0f') && end > 0);
    QStringList lines = QString::fromLatin1(bytes.mid(1, end - 1)).split(u"\r\n"_s);
    EXPECT_EQ(
        lines.mid(0, 9),
        (QStringList{u"  << KALVORA On Line >>"_s, u"  AGENCIA LA FORTUNA"_s,
                     u"  AV. BOLIVAR, LOCAL 4"_s, u"  R.I.F.: J-12345678-9  N.I.T.: 0012345678"_s,
                     u"  Ticket: "_s + nticket, u"  Serial:1987654321"_s, u"  1001 ANA PEREZ"_s,
                     u"  07/12/2026   10:00:00"_s, u"  "_s + QString(40, u'=')}));
    EXPECT_EQ(lines.count(u"  7** x  10,00 123 x 100,00"_s), 2) << lines.join(u'\n').toStdString();
    for (const QString& line : {u"  Total Bs.: 220,00"_s, u"  AAA - ALFA   123"_s,
                                u"  BBB - BETA   000"_s, u"  GRACIAS POR SU COMPRA"_s})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
    EXPECT_EQ(readBarcodes(renderDotMatrix(bytes.mid(end + 1))),
              QStringList{u"CODE-39:1987654321"_s});
    EXPECT_TRUE(bytes.endsWith("\x1b@ \r\n \r\n \r\n"));
    const auto journal =
        Journal::readLines(journalPath(seller.dir.path(), 7, u"00012"_s, u"1001"_s), "1001");
    QStringList journalLines;
    for (const QByteArray& l : journal.value()) journalLines << QString::fromLatin1(l);
    lines.last() = u" "_s;  // after the last line end: the journal's four blank lines
    EXPECT_EQ(journalLines, lines + QStringList(3, u" "_s));

    sell(u"9"_s, u"1"_s);  // the next ticket is built under the new number
    EXPECT_EQ(db.value(u"SELECT nticket FROM central.items_ticket WHERE numero = '9**' LIMIT 1"_s),
              next);
}

TEST_F(TicketIssueTest, AServerRefusalWith88PrintsTheVoucherAndStartsAfresh) {
    open();
    sellSomePlays();
    // the server sold less than the counter shows: the totals disagree
    db.admin(
        u"UPDATE central.items_ticket SET monto_vendido = monto_vendido - 1 "
        u"WHERE num_item = 1"_s);
    db.setClock(u"2026-12-07 10:05:30"_s);
    press(Qt::Key_Escape);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"0"_s);
    EXPECT_EQ(db.value(u"SELECT sum(vendido)::float8::text FROM central.ventas_numero"_s), u"1"_s);
    const QString text = QString::fromLatin1(printed());
    EXPECT_EQ(text.count(u"***TICKET INVALIDO****TICKET INVALIDO***"_s), 2);
    // the voucher carries the server's date and time of the refusal
    EXPECT_TRUE(text.contains(u"\r\n  07/12/2026   10:05:30\r\n"_s)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"Total Bs.:"_s));
    EXPECT_FALSE(printed().contains("\x1bL"));  // no bar code on a voucher
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(label("MONTO_ULTICK"), u"0"_s);
}

// A draw closed since the sale (6), then another login of the vendor that abandoned this
// number (1): the seller is told, and the ticket stays on screen with its quota.
TEST_F(TicketIssueTest, ASaveTheServerRefusesLeavesTheTicketOnScreen) {
    open();
    sellSomePlays();
    const QString nticket = screen->state().nticket;
    db.admin(
        u"INSERT INTO central.sorteos (cod_lot, fecha, cerrado) VALUES ('BBB', '2026-12-07', true)"_s);
    press(Qt::Key_Escape);
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"No se ha podido grabar el ticket"_s});
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Exclamation);
    EXPECT_EQ(screen->state().nticket, nticket);
    EXPECT_EQ(db.value(u"SELECT sum(vendido)::float8::text FROM central.ventas_numero"_s),
              u"220"_s);

    LoggedIn elsewhere(db);
    ASSERT_TRUE(elsewhere.login());
    press(Qt::Key_Escape);
    EXPECT_EQ(seller.dialogs.texts(), QStringList(2, u"No se ha podido grabar el ticket"_s));
    EXPECT_NE(screen->state().nticket, nticket);
    EXPECT_EQ(screen->ticket().rowCount(), 6);
    EXPECT_TRUE(printed().isEmpty());
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"0"_s);
}

// A printer that is not ready stops the issue before the server is asked; one that fails after
// the save loses no ticket: it is issued, unprinted, and in the journal.
TEST_F(TicketIssueTest, APrinterNotReadyStopsBeforeTheServerAndAFailureAfterLosesNothing) {
    db.admin(u"UPDATE central.parametros_terminal SET nrotel1 = 'N'"_s);
    QFile::remove(seller.printerPath());
    open();
    const QString nticket = screen->state().nticket;
    control<QListWidget>("L_Loterias")->selectAll();
    sell(u"12"_s, u"3000"_s);
    press(Qt::Key_Escape);
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"error de apertura del puerto -1"_s, u"Impresora No lista"_s}));
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    EXPECT_EQ(
        db.value(u"SELECT estado FROM central.tickets_temporales WHERE nticket = $1"_s, {nticket}),
        u"ABI"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 2);

    seller.dialogs.clear();
    ASSERT_TRUE(QFile::link(u"/dev/full"_s, seller.printerPath()));
    seller.session.Nrotel1 = u"S"_s;  // a bar-code printer is not asked for its status
    press(Qt::Key_Escape);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_TRUE(seller.dialogs.last().text.startsWith(
        u"El ticket "_s + nticket + u" quedó grabado en el servidor pero no se pudo imprimir: "_s))
        << seller.dialogs.last().text.toStdString();
    EXPECT_EQ(db.rows(u"SELECT nroticket, impreso FROM central.tickets"_s),
              (std::vector<QStringList>{{nticket, u"f"_s}}));
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(label("NUM_ULTICK"), nticket);
    EXPECT_TRUE(Journal::readLines(journalPath(seller.dir.path(), 7, u"00012"_s, u"1001"_s), "1001")
                    .value()
                    .contains("  Ticket: " + nticket.toLatin1()));
}

// Sales point 00012 issued two tickets this morning: the first at 10:00 came out of the
// printer, the second at 10:02 did not (the printer was off its port); sales point 00013 sold
// one too.
class TicketListTest : public TicketIssueTest {
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
        clearPrinter();
        seller.dialogs.clear();
        otherTicket = db.newTicket(u"00013"_s);
        db.admin(
            u"INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, "
            u"fecha, hora, monto) VALUES ($1, '00013', '2001', 9, '2026-12-07', '10:01', 3)"_s,
            {otherTicket});
    }
    QString issue(const QString& number, const QString& amount) {
        const QString nticket = screen->state().nticket;
        control<QListWidget>("L_Loterias")->selectAll();
        sell(number, amount);
        press(Qt::Key_Escape);
        return nticket;
    }
    void openList() {
        list = std::make_unique<TicketListScreen>(seller.link, *printers);
        list->show();
        QApplication::setActiveWindow(list.get());
    }
    QStringList lines(const char* name) {
        QStringList out;
        auto* w = list->findChild<QListWidget*>(QString::fromLatin1(name));
        for (int i = 0; i < w->count(); ++i) out << w->item(i)->text();
        return out;
    }
    // Enter on a ticket of List1, then XPButton1 (print) as many times as asked.
    void showRow(int row, int prints = 0) {
        auto* w = list->findChild<QListWidget*>(u"List1"_s);
        w->setCurrentRow(row);
        QTest::keyClick(w, Qt::Key_Return);
        while (prints-- > 0) list->findChild<QPushButton*>(u"XPButton1"_s)->click();
    }
    void clearPrinter() { QFile(seller.printerPath()).open(QIODevice::WriteOnly); }
    // "impreso reimpresiones" of a ticket.
    QString printState(const QString& ticket) {
        return db.value(
            u"SELECT impreso || ' ' || reimpresiones FROM central.tickets "
            u"WHERE nroticket = $1"_s,
            {ticket});
    }

    QString printedTicket, unprintedTicket, otherTicket;
    std::unique_ptr<TicketListScreen> list;
};

TEST_F(TicketListTest, TheDaysTicketsAndTheImageOfOneRebuiltFromTheServer) {
    openList();
    auto* day = list->findChild<QDateEdit*>(u"esdesde"_s);
    EXPECT_EQ(day->date(), QDate(2026, 12, 7));
    const QStringList expected{printedTicket + u"\t10:00:00\t20,00\tACTIVO\t1001"_s,
                               unprintedTicket + u"\t10:02:00\t10,00\tACTIVO\t1001\tNO IMPRESO"_s};
    EXPECT_EQ(lines("List1"), expected);
    day->setDate(QDate(2026, 12, 6));
    EXPECT_TRUE(lines("List1").isEmpty());
    day->setDate(QDate(2026, 12, 7));
    EXPECT_EQ(lines("List1"), expected);

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
    EXPECT_TRUE(seller.dialogs.shown.empty());
}

// A printer that is not ready hands nothing out. Then the original goes out once, whole, with
// its serial and bar code, into the day's journal; every later print is the image without the
// serial, counted and audited.
TEST_F(TicketListTest, TheFirstPrintOfAnUnprintedTicketIsTheOriginalAndTheRestCopies) {
    QFile::remove(seller.printerPath());
    openList();
    showRow(1, 1);
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"error de apertura del puerto -1"_s, u"Impresora No lista"_s}));
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    EXPECT_EQ(printState(unprintedTicket), u"false 0"_s);
    seller.dialogs.clear();

    clearPrinter();
    showRow(1, 1);
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
    EXPECT_EQ(printState(unprintedTicket), u"true 0"_s);
    EXPECT_FALSE(lines("List1")[1].endsWith(u"NO IMPRESO"_s));
    const auto journal =
        Journal::readLines(journalPath(seller.dir.path(), 7, u"00012"_s, u"1001"_s), "1001");
    EXPECT_EQ(journal.value().count(QByteArray("  Serial:1122334455")), 2);

    clearPrinter();
    showRow(1, 2);
    const QByteArray copy = "\x0f" + lines("List2").join(u"\r\n"_s).toLatin1() + "\r\n\x12" +
                            QByteArray("   \r\n").repeated(3);
    EXPECT_EQ(printed(), copy + copy);
    EXPECT_FALSE(printed().contains("1122334455"));
    EXPECT_EQ(printState(unprintedTicket), u"true 2"_s);
    EXPECT_EQ(db.auditActions().filter(QRegularExpression(u"TICKET_(ORIGINAL|REIMPRESO)"_s)),
              (QStringList{u"TICKET_ORIGINAL|00012|1001"_s, u"TICKET_REIMPRESO|00012|1001"_s,
                           u"TICKET_REIMPRESO|00012|1001"_s}));
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
    openList();
    EXPECT_TRUE(lines("List1")[0].contains(u"\tANULADO\t"_s));
    showRow(1, 1);
    EXPECT_TRUE(lines("List2").contains(u"  123 x 5,00"_s));  // its plays are kept
    EXPECT_EQ(lines("List2").last(), u"  EL TICKET ESTA ANULADO"_s);
    EXPECT_TRUE(printed().contains("EL TICKET ESTA ANULADO"));
    EXPECT_FALSE(printed().contains("1122334455"));
    EXPECT_EQ(printState(unprintedTicket), u"false 1"_s);
}

// "return code, rows" of the list and of one ticket for bad dates, another day, another sales
// point's ticket and numbers that are none.
TEST_F(TicketListTest, AnotherSalesPointsTicketAndBadInputAnswerAnEmptyList) {
    PqGateway counter(5);
    ASSERT_TRUE(counter.open(db.connectionText()).ok());
    const QString v = u"00012"_s, day = u"07/12/2026"_s;
    for (const auto& [call, expected] : std::initializer_list<std::pair<QStringList, QString>>{
             {{u"dsptickets"_s, v, u"7/12/26"_s, u"0"_s}, u"0 2"_s},
             {{u"dsptickets"_s, v, u"31/02/2026"_s, u"0"_s}, u"1 0"_s},
             {{u"dsptickets"_s, v, u"2026-12-07"_s, u"0"_s}, u"1 0"_s},
             {{u"dsptickets"_s, v, day, u"1"_s}, u"1 0"_s},
             {{u"xmuestraticket"_s, printedTicket, v, day, u"0"_s}, u"0 2"_s},
             {{u"xmuestraticket"_s, otherTicket, v, day, u"0"_s}, u"0 0"_s},
             {{u"xmuestraticket"_s, printedTicket, v, u"06/12/2026"_s, u"0"_s}, u"0 0"_s},
             {{u"xmuestraticket"_s, printedTicket, v, u"31/02/2026"_s, u"0"_s}, u"1 0"_s},
             {{u"xmuestraticket"_s, u"ABCDEFGHIJ"_s, v, day, u"0"_s}, u"0 0"_s},
             {{u"xmuestraticket"_s, u"1"_s + printedTicket, v, day, u"0"_s}, u"0 0"_s}}) {
        auto answer = counter.callPositional(call[0], call.mid(1));
        ASSERT_TRUE(answer.ok()) << answer.error().description.toStdString();
        EXPECT_EQ(u"%1 %2"_s.arg(answer.value().returnNumber()).arg(answer.value().rows.size()),
                  expected)
            << call.join(u' ').toStdString();
    }
}

}  // namespace
