#include "dot_matrix.h"
#include "platform/files.h"
#include "sales_screen_fixture.h"
#include "tickets/journal.h"
#include "tickets/journal_audit.h"
#include "tickets/screens/audit_access_screen.h"
#include "tickets/screens/journal_viewer_screen.h"
#include "tickets/screens/ticket_list_screen.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
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
    // xgrabtick on the seller's connection, as a counter sends it or a request could carry it.
    CallAnswer save(const QString& nticket, const QString& serial, const QString& total,
                    const QString& estado = u"ACT"_s) {
        ProcedureCall call{u"xgrabtick"_s, {}, 900};
        call.in(u"@xcodigo_vend"_s, u"00012"_s)
            .in(u"@xcodigo_user"_s, u"1001"_s)
            .in(u"@xseriald"_s, serial)
            .out(u"@xfecha_ticket"_s, QString())
            .out(u"@xhora_ticket"_s, QString())
            .in(u"@xestado_ticket"_s, estado)
            .decimal(u"@xmonto_ticket"_s, total)
            .in(u"@xanulado"_s, u"N"_s)
            .in(u"@xnroticktmp"_s, nticket)
            .out(u"@xnroticket"_s, nticket);
        auto answer = seller.session.Conexion->call(call);
        EXPECT_TRUE(answer.ok()) << answer.error().description.toStdString();
        return answer.ok() ? answer.value() : CallAnswer{};
    }
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

    // the same save after a lost answer, with a new serial drawn: the same answer, nothing more
    const CallAnswer again = save(nticket, u"7654321"_s, u"220"_s);
    EXPECT_EQ(again.returnNumber(), 0);
    EXPECT_EQ(again.output(u"@xnroticket"_s), next);
    EXPECT_EQ(again.rows.text(0, u"serial"_s), u"1987654321"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"1"_s);
}

TEST_F(TicketIssueTest, AServerRefusalWith88PrintsTheVoucherAndStartsAfresh) {
    open();
    sellSomePlays();
    // the server sold less than the counter shows: the totals disagree
    db.admin(
        u"UPDATE central.items_ticket SET monto_vendido = monto_vendido - 1 "
        u"WHERE num_item = 1"_s);
    db.setClock(u"2026-12-07 10:05:30"_s);
    db.admin(  // even with a draw closed since the sale
        u"INSERT INTO central.sorteos (cod_lot, fecha, cerrado) VALUES ('BBB', '2026-12-07', true)"_s);
    press(Qt::Key_Escape);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    EXPECT_EQ(db.value(u"SELECT (SELECT count(*) FROM central.tickets) || ' ' || "
                       u"sum(vendido)::float8 FROM central.ventas_numero"_s),
              u"0 1"_s);  // the quota given back
    const QString text = QString::fromLatin1(printed());
    EXPECT_EQ(text.count(u"***TICKET INVALIDO****TICKET INVALIDO***"_s), 2);
    // the voucher carries the server's date and time of the refusal
    EXPECT_TRUE(text.contains(u"\r\n  07/12/2026   10:05:30\r\n"_s)) << text.toStdString();
    EXPECT_FALSE(printed().contains("\x1bL"));  // no bar code on a voucher
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(label("MONTO_ULTICK"), u"0"_s);
}

// Saves the counter never sends issue nothing and keep the ticket open; a draw closed since the
// sale (6), then another login of the vendor that abandoned this number (1): the seller is
// told, and the ticket stays on screen with its quota.
TEST_F(TicketIssueTest, ASaveTheServerRefusesLeavesTheTicketOnScreen) {
    open();
    sellSomePlays();
    const QString nticket = screen->state().nticket;
    for (const QString& c : {u"|220|ACT"_s, u"0|220|ACT"_s, u"0123|220|ACT"_s,
                             u"2000000002|220|ACT"_s, u"12a|220|ACT"_s, u"-5|220|ACT"_s,
                             u"5|220|ELI"_s, u"5|220.0001|ACT"_s, u"5|1000000|ACT"_s}) {
        const QStringList f = c.split(u'|');  // serial, total, state
        const CallAnswer a = save(nticket, f[0], f[1], f[2]);
        EXPECT_EQ(a.returnNumber(), 4) << c.toStdString();
        EXPECT_EQ(a.output(u"@xnroticket"_s), nticket);
    }
    EXPECT_EQ(save(u"9999999999"_s, u"5"_s, u"220"_s).returnNumber(), 1);  // no such ticket
    db.admin(u"UPDATE central.usuarios SET estado = 'S' WHERE cod_usuario = '1001'"_s);
    EXPECT_EQ(save(nticket, u"5"_s, u"220"_s).returnNumber(), 12);  // suspended since the login
    db.admin(u"UPDATE central.usuarios SET estado = 'A' WHERE cod_usuario = '1001'"_s);
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
        db.admin(
            u"INSERT INTO central.tickets (nroticket, cod_vendedor, cod_usuario, serial, "
            u"fecha, hora, monto) VALUES ($1, '00013', '2001', 9, '2026-12-07', '10:01', 3)"_s,
            {db.newTicket(u"00013"_s)});
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

    QString printedTicket, unprintedTicket;
    std::unique_ptr<TicketListScreen> list;
};

TEST_F(TicketListTest, TheDaysTicketsAndTheImageOfOneRebuiltFromTheServer) {
    openList();
    auto* day = list->findChild<QDateEdit*>(u"esdesde"_s);
    EXPECT_EQ(day->date(), QDate(2026, 12, 7));
    const QStringList expected{printedTicket + u"\t10:00:00\t20,00\tACTIVO\t1001"_s,
                               unprintedTicket + u"\t10:02:00\t10,00\tACTIVO\t1001\tNO IMPRESO"_s};
    EXPECT_EQ(lines("List1"), expected);  // and not 00013's
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
    EXPECT_EQ(ticket.mid(4, 2),
              (QStringList{u"  Ticket: "_s + unprintedTicket, u"  Serial:1122334455"_s}));
    EXPECT_EQ(ticket.count(u"  Serial:1122334455"_s), 2);
    EXPECT_EQ(readBarcodes(renderDotMatrix(bytes.mid(end + 1))),
              QStringList{u"CODE-39:1122334455"_s});
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

    // the serial is handed out once: were the mark of the printed original lost, the next
    // request still gets a copy
    db.admin(u"UPDATE central.tickets SET impreso = false WHERE nroticket = $1"_s,
             {unprintedTicket});
    EXPECT_EQ(seller.session.Conexion
                  ->callPositional(u"xticketoriginal"_s, {u"00012"_s, u"1001"_s, unprintedTicket})
                  .value()
                  .returnNumber(),
              2);
}

TEST_F(TicketListTest, ACancelledTicketShowsItAndIsNeverPrintedWithItsSerial) {
    for (const QString& ticket : {printedTicket, unprintedTicket}) {
        ASSERT_EQ(seller.session.Conexion
                      ->callPositional(u"ANULATICKET"_s, {ticket, u"00012"_s, u"1001"_s, u"1"_s})
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

// The day's key opens; three wrong keys close the screen, and the server keeps the count:
// even the right key waits then.
TEST_F(TicketIssueTest, TheDaysAuditKeyOpensAndThreeWrongKeysClose) {
    ASSERT_TRUE(seller.login());
    seller.dialogs.clear();
    // a new access screen; the key typed group by group, as the screen moves on, and Enter
    auto tryKey = [this](const char* day, int times = 1) {
        const QString key =
            db.value(u"SELECT central.clave_auditoria($1, '1001')"_s, {QString::fromLatin1(day)});
        AuditAccessScreen screen(seller.link);
        screen.show();
        QApplication::setActiveWindow(&screen);
        EXPECT_EQ(screen.windowTitle(), u"Autenticación de Auditoria"_s);
        while (times-- > 0) {
            for (QChar c : QString(key).remove(u'-').toLower())
                QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        EXPECT_FALSE(screen.isVisible());
        return screen.result();
    };
    EXPECT_EQ(tryKey("2026-12-07"), QDialog::Accepted);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    EXPECT_EQ(tryKey("2026-12-06", 3), QDialog::Rejected);
    EXPECT_EQ(tryKey("2026-12-07"), QDialog::Rejected);
    const QString wrong = u"La clave de auditoría no es válida"_s,
                  locked = u"3 intentos fallidos, pruebe mas tarde!"_s;
    EXPECT_EQ(seller.dialogs.texts(), (QStringList{wrong, wrong, locked, locked}));
    const QString failed = u"AUDITORIA_FALLIDA|00012|1001"_s;
    EXPECT_EQ(db.auditActions().filter(u"AUDITORIA_"_s),
              (QStringList{u"AUDITORIA_ABIERTA|00012|1001"_s, failed, failed, failed,
                           u"AUDITORIA_BLOQUEADA|00012|1001"_s}));
}

// The viewer shows the day's journal descrambled, from a fresh working file it deletes when
// closed, and finds a ticket by its number.
TEST_F(TicketIssueTest, TheJournalViewerShowsTheDaysJournalFindsATicketAndCleansUp) {
    ASSERT_TRUE(seller.login());
    const QString folder = seller.installation.journalFolder;
    Journal journal(journalPath(folder, 7, u"00012"_s, u"1001"_s), "1001");
    ASSERT_TRUE(journal.appendTicket({"Ticket: 0000000101", "ZULIA 347 2,00"}).ok());
    ASSERT_TRUE(journal.appendTicket({"Ticket: 0000000102", "Total Bs.: 5,00 \x82"}).ok());
    const QString working = journal_audit::workingFile(folder);
    ASSERT_TRUE(files::append(working, "left behind").ok());
    JournalViewerScreen viewer(seller.link, folder);
    viewer.show();
    QApplication::setActiveWindow(&viewer);
    EXPECT_EQ(viewer.windowTitle(), u"Auditar Tickets"_s);
    auto* text = viewer.findChild<QPlainTextEdit*>(u"RichTextBox1"_s);
    EXPECT_EQ(text->toPlainText(),
              u"Ticket: 0000000101\nZULIA 347 2,00\n \n \n \n \n"
              u"Ticket: 0000000102\nTotal Bs.: 5,00 é\n \n \n \n \n"_s);
    EXPECT_FALSE(files::read(working).value().contains("left behind"));

    auto* number = viewer.findChild<QLineEdit*>(u"Text1"_s);
    QTest::keyClicks(number, u"102"_s);
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(text->textCursor().selectedText(), u"0000000102"_s);
    EXPECT_EQ(text->textCursor().blockNumber(), 6);
    number->setText(u"999"_s);
    EXPECT_FALSE(viewer.find());
    EXPECT_EQ(seller.dialogs.last().text, u"No se encontró el ticket 999"_s);

    EXPECT_TRUE(files::exists(working));
    viewer.reject();
    EXPECT_FALSE(files::exists(working));
}

}  // namespace
