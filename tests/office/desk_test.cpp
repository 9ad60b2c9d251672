// The central office's desk driven by keys, against a real central database, as two people of
// the office use it.
#include "desk_fixture.h"
#include "office/screens/audit_screen.h"
#include "office/screens/counters_screen.h"
#include "office/screens/desk_window.h"
#include "office/screens/exposure_grid.h"
#include "office/screens/exposure_screen.h"
#include "office/screens/office_login.h"
#include "office/screens/results_screen.h"
#include "platform/pq_gateway.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::office;
using namespace vendura::test;

namespace {

TEST_F(DeskTest, ADrawsNumbersCountWhenASecondPersonEntersTheSame) {
    auto one = linkOf(1), two = linkOf(2);
    ResultsScreen first(*one, dialogs, QDate(2026, 12, 6));
    ResultsScreen second(*two, dialogs, QDate(2026, 12, 6));
    auto* waiting = first.findChild<QTableWidget*>(u"tblPendientes"_s);

    type(&first, u"aaa"_s, u"123"_s);
    EXPECT_TRUE(said(&first).contains(u"anotado"_s)) << said(&first).toStdString();
    ASSERT_EQ(waiting->rowCount(), 1);
    EXPECT_EQ(waiting->item(0, 3)->text(), db.officeLogin(1));

    type(&first, u"aaa"_s, u"123"_s);
    EXPECT_TRUE(lastMessage().contains(u"debe confirmarlos otra persona"_s))
        << lastMessage().toStdString();
    type(&second, u"aaa"_s, u"124"_s);
    EXPECT_TRUE(lastMessage().contains(u"no coinciden"_s)) << lastMessage().toStdString();
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.resultados"_s), u"0"_s);

    type(&second, u"aaa"_s, u"123"_s);
    EXPECT_TRUE(said(&second).contains(u"los números cuentan"_s)) << said(&second).toStdString();
    EXPECT_EQ(db.value(u"SELECT triple FROM central.resultados"_s), u"123"_s);
    first.refresh();
    EXPECT_EQ(waiting->rowCount(), 0);

    // a first entry typed wrong is discarded from the list with Supr, after a question
    const size_t boxes = dialogs.shown.size();
    type(&first, u"bbb"_s, u"555"_s);
    ASSERT_EQ(waiting->rowCount(), 1);
    waiting->setCurrentCell(0, 0);
    dialogs.answers = {true};
    QTest::keyClick(waiting, Qt::Key_Delete);
    EXPECT_EQ(dialogs.shown.size(), boxes + 1);  // the question, and no error
    EXPECT_EQ(waiting->rowCount(), 0);
    EXPECT_TRUE(db.auditActions().back().startsWith(u"RESULTADO_DESCARTADO|"_s));

    // a draw still selling takes no numbers: the server's reason on screen, nothing written
    const QString before = db.checksum();
    ResultsScreen today(*one, dialogs, QDate(2026, 12, 7));
    type(&today, u"aaa"_s, u"777"_s);
    EXPECT_TRUE(lastMessage().contains(u"El sorteo AAA del 2026-12-07 no ha cerrado"_s))
        << lastMessage().toStdString();
    EXPECT_EQ(db.checksum(), before);
}

TEST_F(DeskTest, TheExposureScreenShowsTheNumbersThatPayMostAndTheGridOfTheDraw) {
    db.admin(
        u"INSERT INTO central.tabla_pagos (cod_lot, tipo, multiplicador) VALUES ('AAA', "
        u"'TRIPLE', 600), ('AAA', 'SEGUNDO', 100)"_s);
    db.admin(
        u"INSERT INTO central.ventas_numero (cod_lot, fecha, numero, vendido) VALUES "
        u"('AAA', '2026-12-07', '123', 50), ('AAA', '2026-12-07', '777', 100)"_s);
    auto link = linkOf(1);
    ExposureScreen screen(*link, dialogs, QDate(2026, 12, 7));
    auto* lottery = screen.findChild<QLineEdit*>(u"txtLoteria"_s);
    QTest::keyClicks(lottery, u"aaa"_s);
    QTest::keyClick(lottery, Qt::Key_Return);
    ASSERT_TRUE(dialogs.shown.empty()) << lastMessage().toStdString();
    auto* top = screen.findChild<QTableWidget*>(u"tblPrimeros"_s);
    ASSERT_EQ(top->rowCount(), ExposureScreen::kTopNumbers);
    QStringList first;
    // the second prize apart, as the lottery pays one; no third prize, no special plays
    for (int c = 0; c < top->columnCount(); ++c) {
        if (!top->isColumnHidden(c)) first << top->item(0, c)->text();
    }
    EXPECT_EQ(first, (QStringList{u"777"_s, u"100,00"_s, u"0,00"_s, u"100"_s, u"60.000,00"_s,
                                  u"10.000,00"_s}));
    EXPECT_EQ(top->item(1, 0)->text(), u"123"_s);
    // any of the thousand numbers from the keyboard
    auto* number = screen.findChild<QLineEdit*>(u"txtNumero"_s);
    QTest::keyClicks(number, u"777"_s);
    QTest::keyClick(number, Qt::Key_Return);
    EXPECT_EQ(screen.findChild<QLabel*>(u"lblNumero"_s)->text(),
              u"777: Vendido 100,00, Cupo restante 0,00, % del cupo 100, Paga 1º 60.000,00, "
              u"Paga 2º 10.000,00"_s);
    const auto& grid = screen.findChild<ExposureGrid*>()->numbers();
    ASSERT_EQ(grid.size(), 1000u);
    EXPECT_EQ(ExposureGrid::shade(grid[123].soldShare()), QColor(255, 255, 0));  // half sold
    EXPECT_EQ(ExposureGrid::shade(grid[777].soldShare()), QColor(255, 0, 0));    // sold out
    EXPECT_EQ(ExposureGrid::shade(grid[0].soldShare()), QColor(255, 255, 255));

    lottery->selectAll();
    QTest::keyClicks(lottery, u"zzz"_s);
    QTest::keyClick(lottery, Qt::Key_Return);
    EXPECT_TRUE(lastMessage().contains(u"no existe"_s)) << lastMessage().toStdString();
}

TEST_F(DeskTest, TheLoginTakesOnlyAnOfficeLoginWithItsPasswordAndOpensTheDesk) {
    const ConnectionOptions defaults = as(db.officeLogin(1), QString());
    OfficeLogin login(
        [](const ConnectionOptions& o) -> Result<std::unique_ptr<AdminLink>> {
            auto link = PqAdminLink::connect(o);
            if (!link) return link.error();
            return std::unique_ptr<AdminLink>(std::move(link.value()));
        },
        dialogs, defaults);
    auto* password = login.findChild<QLineEdit*>(u"txtClave"_s);
    auto* user = login.findChild<QLineEdit*>(u"txtUsuario"_s);
    QTest::keyClicks(password, u"no-es-la-clave"_s);
    login.accept();
    EXPECT_EQ(login.result(), QDialog::Rejected);
    EXPECT_TRUE(lastMessage().startsWith(u"No se pudo entrar"_s)) << lastMessage().toStdString();
    EXPECT_TRUE(password->text().isEmpty());
    // a sales point's login, with its right password, is no login of the office
    user->setText(db.account(u"00012"_s));
    QTest::keyClicks(password, u"clave-00012"_s);
    login.accept();
    EXPECT_EQ(login.result(), QDialog::Rejected);
    EXPECT_EQ(lastMessage(), u"No se pudo entrar: la cuenta "_s + db.account(u"00012"_s) +
                                 u" no es de la oficina central."_s);
    user->setText(db.officeLogin(1));
    QTest::keyClicks(password, u"oficina-prueba"_s);
    login.accept();
    ASSERT_EQ(login.result(), QDialog::Accepted);
    DeskWindow desk(login.takeLink(), login.login(), dialogs, QDate(2026, 12, 7));
    EXPECT_TRUE(desk.windowTitle().contains(db.officeLogin(1)));
    EXPECT_EQ(desk.results()->findChild<QTableWidget*>(u"tblPendientes"_s)->rowCount(), 0);
    // F3 and F4 from a field of the results screen, no window active
    auto* tabs = desk.findChild<QTabWidget*>(u"tabsOficina"_s);
    QTest::keyClick(desk.results()->findChild<QLineEdit*>(u"txtLoteria"_s), Qt::Key_F3);
    EXPECT_EQ(tabs->currentWidget(), desk.exposure());
    QTest::keyClick(desk.exposure()->findChild<QLineEdit*>(u"txtFecha"_s), Qt::Key_F4);
    EXPECT_EQ(tabs->currentWidget(), desk.audit());
}

// The audit trail found by days and action, and written to the file the screen names, whatever a
// sales point put into it.
TEST_F(DeskTest, TheAuditTrailIsFoundByActionAndWrittenToACsvFile) {
    db.admin(u"SELECT central.auditar('GASTO', '00012', '1001', '=1+1, \"dos\"')"_s);
    auto one = linkOf(1);
    ResultsScreen results(*one, dialogs, QDate(2026, 12, 6));
    type(&results, u"aaa"_s, u"123"_s);
    QTemporaryDir folder;
    AuditScreen screen(*one, dialogs, QDate(2026, 12, 7), folder.path());
    auto* action = screen.findChild<QLineEdit*>(u"txtAccion"_s);
    QTest::keyClicks(action, u"resultado"_s);
    QTest::keyClick(action, Qt::Key_Return);
    auto* found = screen.findChild<QTableWidget*>(u"tblAuditoria"_s);
    ASSERT_EQ(found->rowCount(), 1) << lastMessage().toStdString();
    EXPECT_EQ(found->item(0, 1)->text(), u"RESULTADO_ANOTADO"_s);

    action->clear();
    QTest::keyClick(action, Qt::Key_Return);
    const int day = db.value(
                          u"SELECT count(*) FROM central.auditoria WHERE momento::date = "
                          u"'2026-12-07'"_s)
                        .toInt();
    ASSERT_EQ(found->rowCount(), day);
    QTest::keyClick(action, Qt::Key_E, Qt::ControlModifier);
    QFile csv(folder.filePath(u"auditoria.csv"_s));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), day + 2);  // the header, the rows, and the end of the last line
    EXPECT_EQ(lines.filter(u",00012,1001,GASTO,\"'=1+1, \"\"dos\"\"\""_s).size(), 1)
        << lines.join(u'|').toStdString();

    screen.findChild<QLineEdit*>(u"txtDesde"_s)->setText(u"2026-13-01"_s);
    screen.search();
    EXPECT_TRUE(lastMessage().contains(u"AAAA-MM-DD"_s)) << lastMessage().toStdString();
}

// The counters selling now: an open ticket with its plays and the quota they hold, released with
// Supr after a question, its quota back to sale.
TEST_F(DeskTest, TheCountersSellingNowAreListedAndAnOpenTicketIsReleased) {
    const QString ticket = db.newTicket(u"00012"_s);
    PqGateway counter(5);
    ASSERT_TRUE(counter.open(db.connectionText()).ok());
    ASSERT_TRUE(counter.callPositional(
        u"xcreanormal"_s, {u"00012"_s, u"1001"_s, u"123"_s, u"7"_s, u"0"_s, u"AAABBB"_s, ticket}));
    auto link = linkOf(1);
    CountersScreen screen(*link, dialogs);
    screen.refresh();
    auto* open = screen.findChild<QTableWidget*>(u"tblTickets"_s);
    ASSERT_EQ(open->rowCount(), 1) << lastMessage().toStdString();
    QStringList row;
    for (int c : {0, 1, 4, 5}) row << open->item(0, c)->text();
    EXPECT_EQ(row, (QStringList{u"00012"_s, ticket, u"2"_s, u"14,00"_s}));

    open->setCurrentCell(0, 0);
    dialogs.answers = {false};
    QTest::keyClick(open, Qt::Key_Delete);
    EXPECT_EQ(open->rowCount(), 1);  // kept when the answer is no
    dialogs.answers = {true};
    QTest::keyClick(open, Qt::Key_Delete);
    EXPECT_EQ(open->rowCount(), 0) << lastMessage().toStdString();
    // Shift+Supr: every open ticket of the chosen point, another point's left alone
    db.addVendor(u"00013"_s, u"2001"_s);
    db.admin(
        u"SELECT central.crear_ticket_temporal('00012'), central.crear_ticket_temporal('00012'), "
        u"central.crear_ticket_temporal('00013')"_s);
    screen.refresh();
    ASSERT_EQ(open->rowCount(), 3);
    open->setCurrentCell(open->item(0, 0)->text() == u"00012"_s ? 0 : 2, 0);
    dialogs.answers = {true};
    QTest::keyClick(open, Qt::Key_Delete, Qt::ShiftModifier);
    ASSERT_EQ(open->rowCount(), 1) << lastMessage().toStdString();
    EXPECT_EQ(open->item(0, 0)->text(), u"00013"_s);
    EXPECT_EQ(db.value(u"SELECT coalesce(sum(vendido), 0)::numeric(12, 2) FROM "
                       u"central.ventas_numero"_s),
              u"0.00"_s);
}

}  // namespace
