#include "dot_matrix.h"
#include "platform/code_page_437.h"
#include "platform/files.h"
#include "sales_screen_fixture.h"
#include "tickets/journal.h"

#include <QFile>

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

TEST_F(TicketIssueTest, EscIssuesPrintsWithBarCodeAndStartsTheNextTicket) {
    open();
    const QString nticket = screen->state().nticket;
    sellSomePlays();
    ASSERT_EQ(screen->ticket().rowCount(), 6);
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
    EXPECT_EQ(label("TOT_TICKET"), u"0"_s);
    EXPECT_EQ(label("NUM_ULTICK"), nticket);
    EXPECT_EQ(label("MONTO_ULTICK"), u"220,00"_s);
    EXPECT_EQ(screen->state().claveTicket, u"777"_s);

    // what came out of the printer: the compressed ticket, the bar code, three fed lines
    const QByteArray bytes = printed();
    const QString text = fromCodePage437(bytes);
    const qsizetype end = bytes.indexOf('\x12');
    ASSERT_TRUE(bytes.startsWith('\x0f'));
    ASSERT_GT(end, 0);
    const QStringList lines = QString::fromLatin1(bytes.mid(1, end - 1)).split(u"\r\n"_s);
    EXPECT_EQ(
        lines.mid(0, 9),
        (QStringList{u"  << KALVORA On Line >>"_s, u"  AGENCIA LA FORTUNA"_s,
                     u"  AV. BOLIVAR, LOCAL 4"_s, u"  R.I.F.: J-12345678-9  N.I.T.: 0012345678"_s,
                     u"  Ticket: "_s + nticket, u"  Serial:1987654321"_s, u"  1001 ANA PEREZ"_s,
                     u"  07/12/2026   10:00:00"_s, u"  "_s + QString(40, u'=')}));
    EXPECT_TRUE(lines.contains(u"  7** x  10,00 123 x 100,00"_s)) << text.toStdString();
    EXPECT_TRUE(lines.contains(u"  Total Bs.: 220,00"_s));
    EXPECT_TRUE(lines.contains(u"  AAA - ALFA   123"_s));  // the sold-out block
    EXPECT_TRUE(lines.contains(u"  GRACIAS POR SU COMPRA"_s));
    EXPECT_EQ(lines.count(u"  7** x  10,00 123 x 100,00"_s), 2);
    EXPECT_TRUE(
        bytes.mid(end + 1).startsWith("\x1b"
                                      "3\x02"));
    EXPECT_TRUE(bytes.endsWith("\x1b@ \r\n \r\n \r\n"));
    EXPECT_EQ(readBarcodes(renderDotMatrix(bytes.mid(end + 1))),
              QStringList{u"CODE-39:1987654321"_s});

    // and the journal holds the same lines
    auto journal =
        Journal::readLines(journalPath(seller.dir.path(), 7, u"00012"_s, u"1001"_s), "1001");
    ASSERT_TRUE(journal.ok());
    EXPECT_EQ(journal.value().first(), QByteArray("  << KALVORA On Line >>"));
    EXPECT_EQ(journal.value().size(), lines.size() - 1 + 4);

    sell(u"9"_s, u"1"_s);  // the next ticket is built under the new number
    EXPECT_EQ(db.value(u"SELECT nticket FROM central.items_ticket WHERE numero = '9**' LIMIT 1"_s),
              next);
}

TEST_F(TicketIssueTest, ATicketOfSoldOutRowsOnlyIsNotIssued) {
    db.admin(u"INSERT INTO central.cupos_numero VALUES ('AAA', '000', 0), ('BBB', '000', 0)"_s);
    open();
    control<QListWidget>("L_Loterias")->selectAll();
    sell(u"000"_s, u"5000"_s);
    ASSERT_EQ(screen->ticket().rowCount(), 2);
    seller.dialogs.clear();
    press(Qt::Key_Escape);
    EXPECT_TRUE(seller.dialogs.shown.empty());
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"0"_s);
    EXPECT_TRUE(printed().isEmpty());
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

TEST_F(TicketIssueTest, ASaveTheServerRefusesLeavesTheTicketOnScreen) {
    open();
    sellSomePlays();
    LoggedIn elsewhere(db);  // the same vendor starts on another number: this one is abandoned
    ASSERT_TRUE(elsewhere.login());
    const QString before = screen->state().nticket;
    press(Qt::Key_Escape);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_EQ(seller.dialogs.last().text, u"No se ha podido grabar el ticket"_s);
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Exclamation);
    EXPECT_EQ(screen->ticket().rowCount(), 6);
    EXPECT_NE(screen->state().nticket, before);
    EXPECT_TRUE(printed().isEmpty());
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"0"_s);
}

TEST_F(TicketIssueTest, ADrawClosedSinceTheSaleLeavesTheTicketOpenUnderItsNumber) {
    open();
    sellSomePlays();
    const QString nticket = screen->state().nticket;
    db.admin(
        u"INSERT INTO central.sorteos (cod_lot, fecha, cerrado) VALUES ('BBB', '2026-12-07', true)"_s);
    press(Qt::Key_Escape);
    EXPECT_EQ(seller.dialogs.texts(), QStringList{u"No se ha podido grabar el ticket"_s});
    EXPECT_EQ(screen->ticket().rowCount(), 6);
    EXPECT_EQ(screen->state().nticket, nticket);
    EXPECT_TRUE(printed().isEmpty());
    EXPECT_EQ(db.value(u"SELECT sum(vendido)::float8::text FROM central.ventas_numero"_s),
              u"220"_s);
}

TEST_F(TicketIssueTest, APrinterThatIsNotReadyStopsEverythingBeforeTheServer) {
    db.admin(u"UPDATE central.parametros_terminal SET nrotel1 = 'N'"_s);
    QFile::remove(seller.printerPath());
    open();
    control<QListWidget>("L_Loterias")->selectAll();
    sell(u"12"_s, u"3000"_s);
    press(Qt::Key_Escape);
    EXPECT_EQ(seller.dialogs.texts(),
              (QStringList{u"error de apertura del puerto -1"_s, u"Impresora No lista"_s}));
    EXPECT_EQ(seller.dialogs.last().icon, DialogIcon::Critical);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.tickets"_s), u"0"_s);
    EXPECT_EQ(db.value(u"SELECT estado FROM central.tickets_temporales WHERE nticket = $1"_s,
                       {screen->state().nticket}),
              u"ABI"_s);
    EXPECT_EQ(screen->ticket().rowCount(), 2);
}

TEST_F(TicketIssueTest, APrinterFailureAfterTheSaveLosesNoTicket) {
    ProfileFile(seller.installation.iniPath()).write(u"Puertos"_s, u"LPT1"_s, u"/dev/full"_s);
    open();
    const QString nticket = screen->state().nticket;
    control<QListWidget>("L_Loterias")->selectAll();
    sell(u"12"_s, u"3000"_s);
    press(Qt::Key_Escape);
    ASSERT_EQ(seller.dialogs.shown.size(), 1u);
    EXPECT_TRUE(seller.dialogs.last().text.startsWith(
        u"El ticket "_s + nticket + u" quedó grabado en el servidor pero no se pudo imprimir: "_s))
        << seller.dialogs.last().text.toStdString();
    EXPECT_EQ(db.rows(u"SELECT nroticket, impreso FROM central.tickets"_s),
              (std::vector<QStringList>{{nticket, u"f"_s}}));
    EXPECT_EQ(screen->ticket().rowCount(), 0);
    EXPECT_EQ(label("NUM_ULTICK"), nticket);
}

TEST_F(TicketIssueTest, ClosingTheScreenDeletesJournalsOfOtherDays) {
    open();
    for (int daysAgo : {0, 1, 30}) {
        const QString path =
            journalPath(seller.dir.path(), 7 - daysAgo % 7, u"00012"_s, QString::number(daysAgo));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.flush();
        f.setFileTime(QDateTime(QDate(2026, 12, 7).addDays(-daysAgo), QTime(8, 0)),
                      QFileDevice::FileModificationTime);
    }
    screen->close();
    EXPECT_EQ(seller.programEnd.ends, 1);
    EXPECT_TRUE(QFile::exists(journalPath(seller.dir.path(), 7, u"00012"_s, u"0"_s)));
    EXPECT_FALSE(QFile::exists(journalPath(seller.dir.path(), 6, u"00012"_s, u"1"_s)));
    EXPECT_FALSE(QFile::exists(journalPath(seller.dir.path(), 5, u"00012"_s, u"30"_s)));
}

}  // namespace
