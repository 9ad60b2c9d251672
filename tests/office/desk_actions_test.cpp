// The desk's screens of money, sales points, payouts and the day's sales, driven by keys.
#include "../aftersale/issued_tickets.h"
#include "desk_fixture.h"
#include "office/screens/action_form.h"
#include "office/screens/desk_window.h"
#include "office/screens/money_screen.h"
#include "office/screens/payouts_screen.h"
#include "office/screens/points_screen.h"
#include "office/screens/sales_chart.h"
#include "office/screens/sales_screen.h"
#include "office/screens/settlement_screen.h"
#include "platform/pq_gateway.h"

#include <QApplication>
#include <QComboBox>
#include <QTableWidget>

using namespace vendura;
using namespace vendura::office;
using namespace vendura::test;

namespace {

// Writes the values into an action form's fields by keys (the rest left as they are), Enter
// after each; the Enter on the last field asks, and `yes` answers.
void typeInto(ActionForm* form, DialogRecorder& dialogs, const QStringList& values,
              bool yes = true) {
    dialogs.answers = {yes};
    for (int i = 1;; ++i) {
        auto* edit = form->findChild<QLineEdit*>(u"txtCampo"_s + QString::number(i));
        if (!edit) return;
        if (i <= values.size()) {
            edit->clear();
            QTest::keyClicks(edit, values[i - 1]);
        }
        QTest::keyClick(edit, Qt::Key_Return);
    }
}

QStringList column(const QTableWidget* table, int c) {
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r) texts << table->item(r, c)->text();
    return texts;
}

class DeskActionsTest : public DeskTest {
  protected:
    // A movement the counter declares, waiting for the office.
    void declare(const QString& document, const QString& amount) {
        PqGateway counter(5);
        ASSERT_TRUE(counter.open(db.connectionText()).ok());
        auto answer = counter.callPositional(u"ACTGastos"_s, {u"0"_s,
                                                              document,
                                                              u"0.- Pago Vendedor a Banca"_s,
                                                              amount,
                                                              u"07/12/2026"_s,
                                                              u"00012"_s,
                                                              {},
                                                              u"1"_s});
        ASSERT_TRUE(answer.ok());
        ASSERT_EQ(answer.value().returnText(), u"0"_s);
    }
};

// The movements a counter declared: Enter confirms one and Supr rejects the other with the
// reason typed, each after a question; the statement then counts the confirmed one only.
TEST_F(DeskActionsTest, DeclaredMovementsAreConfirmedOrRejectedWithAReasonByKeys) {
    declare(u"A1"_s, u"50"_s);
    declare(u"A2"_s, u"70"_s);
    auto link = linkOf(1);
    MoneyScreen screen(*link, dialogs, QDate(2026, 12, 7));
    screen.refresh();
    QTableWidget* list = screen.list();
    ASSERT_EQ(column(list, 1), (QStringList{u"A1"_s, u"A2"_s})) << lastMessage().toStdString();

    list->setCurrentCell(0, 0);
    QTest::keyClick(list, Qt::Key_Return);
    dialogs.answers = {true};
    ASSERT_EQ(screen.focusWidget(), screen.form()->findChild<QLineEdit*>(u"txtCampo2"_s));
    QTest::keyClick(screen.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(screen.form()->outcome(),
              u"Movimiento A1 de 00012 confirmado: cuenta el 2026-12-07"_s)
        << lastMessage().toStdString();
    ASSERT_EQ(column(list, 1), QStringList{u"A2"_s});

    list->setCurrentCell(0, 0);
    QTest::keyClick(list, Qt::Key_Delete);
    auto* reason = screen.form()->findChild<QLineEdit*>(u"txtCampo3"_s);
    ASSERT_EQ(screen.focusWidget(), reason);
    dialogs.answers = {true};
    QTest::keyClicks(reason, u"sin recibo"_s);
    QTest::keyClick(reason, Qt::Key_Return);
    EXPECT_EQ(screen.form()->outcome(), u"Movimiento A2 de 00012 rechazado"_s);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_EQ(db.value(u"SELECT string_agg(nrogasto || estado || coalesce(motivo, ''), ',' "
                       u"ORDER BY nrogasto) FROM central.gastos"_s),
              u"A1C,A2Rsin recibo"_s);

    auto* point = screen.findChild<QLineEdit*>(u"txtPuntoCuenta"_s);
    point->clear();
    QTest::keyClicks(point, u"00012"_s);
    QTest::keyClick(point, Qt::Key_Return);
    QTest::keyClick(screen.findChild<QLineEdit*>(u"txtFechaCuenta"_s), Qt::Key_Return);
    const QString statement = screen.findChild<QLabel*>(u"lblEstadoCuenta"_s)->text();
    EXPECT_TRUE(statement.split(u'\n').contains(u"Movimientos"_s.leftJustified(20) +
                                                u"-50,00"_s.rightJustified(16)))
        << statement.toStdString() << lastMessage().toStdString();

    // the day's deposits under the statement; Supr on one takes it back, after a question
    ASSERT_TRUE(screen.form()->choose(u"deposito registrar"_s));
    typeInto(screen.form(), dialogs, {u"00012"_s, u"150,5"_s, QString(), u"BANCO 77"_s});
    QTableWidget* deposits = screen.deposits();
    ASSERT_EQ(deposits->rowCount(), 1) << lastMessage().toStdString();
    EXPECT_EQ(deposits->item(0, 1)->text(), u"150,50"_s);
    deposits->setCurrentCell(0, 0);
    QTest::keyClick(deposits, Qt::Key_Delete);
    ASSERT_EQ(screen.focusWidget(), screen.form()->findChild<QLineEdit*>(u"txtCampo1"_s));
    dialogs.answers = {true};
    QTest::keyClick(screen.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(deposits->rowCount(), 0) << lastMessage().toStdString();
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.depositos"_s), u"0"_s);
}

// What the server refuses is shown as it says it, and nothing is written: a clerk's settlement,
// a supervisor's settlement of a day whose draw waits for its second person, a deposit of a
// mistyped amount (refused before it is sent).
TEST_F(DeskActionsTest, RefusedMoneyActionsShowTheReasonAndWriteNothing) {
    issueTicket(db, u"71"_s, u"7001"_s, u"2026-12-06"_s,
                {{u"AAA"_s, u"123"_s, u"5"_s}, {u"BBB"_s, u"555"_s, u"5"_s}});
    db.asAdminByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-06', '123')"_s);
    db.adminErrorAs(db.officeLogin(1),
                    u"SELECT admin.registrar_resultado('BBB', '2026-12-06', '555')"_s);
    auto clerk = linkOf(2);
    auto supervisor = supervisorLink(1);
    const QString before = db.checksum();
    struct Case {
        bool supervisor;
        const char* verb;
        QStringList values;
        const char* says;
    } cases[] = {
        {false, "liquidar", {u"00012"_s, u"2026-12-06"_s}, "Solo un supervisor"},
        {true,
         "liquidar",
         {u"00012"_s, u"2026-12-06"_s},
         "Faltan los resultados de los sorteos BBB 2026-12-06"},
        {true, "registrar", {u"00012"_s, u"12x"_s}, "monto inválido"},
    };
    for (const Case& c : cases) {
        MoneyScreen screen(c.supervisor ? *supervisor : *clerk, dialogs, QDate(2026, 12, 7));
        ASSERT_TRUE(screen.form()->choose(QString::fromLatin1(c.verb)));
        typeInto(screen.form(), dialogs, c.values);
        EXPECT_TRUE(lastMessage().contains(QString::fromUtf8(c.says)))
            << c.verb << ": " << lastMessage().toStdString();
        EXPECT_TRUE(screen.form()->outcome().isEmpty());
    }
    EXPECT_EQ(db.checksum(), before);
}

// A supervisor creates a sales point from the desk (its CuentaBD shown to copy), lists its
// sellers with Enter, sets its prize expiry, and a message goes to every sales point.
TEST_F(DeskActionsTest, ASupervisorCreatesAndSetsUpASalesPointByKeys) {
    auto link = supervisorLink(1);
    PointsScreen screen(*link, dialogs);
    screen.refresh();
    QTableWidget* list = screen.list();
    ASSERT_EQ(column(list, 0), QStringList{u"00012"_s}) << lastMessage().toStdString();
    EXPECT_EQ(list->item(0, 3)->text(), db.account(u"00012"_s));

    ASSERT_TRUE(screen.form()->choose(u"crear"_s));
    typeInto(screen.form(), dialogs, {u"00031"_s, u"AGENCIA NORTE"_s, QString()});
    EXPECT_TRUE(screen.form()->outcome().contains(u"\nCuentaBD="_s)) << lastMessage().toStdString();
    ASSERT_EQ(column(list, 0), (QStringList{u"00012"_s, u"00031"_s}));

    list->setCurrentCell(0, 0);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(column(screen.sellers(), 0), (QStringList{u"1001"_s, u"1002"_s, u"1003"_s}));

    ASSERT_TRUE(screen.form()->choose(u"caducidad"_s));
    list->setCurrentCell(1, 0);  // the chosen point fills the form's first field
    typeInto(screen.form(), dialogs, {u"00031"_s, u"9"_s});
    EXPECT_EQ(list->item(1, 4)->text(), u"9"_s);

    ASSERT_TRUE(screen.form()->choose(u"mensaje"_s));
    typeInto(screen.form(), dialogs, {u"todos"_s, u"cierre a las 8"_s});
    EXPECT_EQ(screen.form()->outcome(), u"Mensaje enviado a 2 punto(s) de venta"_s);
    // the office's own logins are given there too, by a supervisor only
    const QString ana = db.name() + u"_ana"_s;
    ASSERT_TRUE(screen.form()->choose(u"oficinista crear"_s));
    typeInto(screen.form(), dialogs, {ana, u"ANA RIOS"_s, u"oficinista"_s});
    EXPECT_TRUE(screen.form()->outcome().startsWith(
        u"Cuenta "_s + ana + u" (OFICINISTA) creada; su clave, mostrada esta vez: "_s))
        << lastMessage().toStdString();
    auto clerk = linkOf(2);
    PointsScreen clerks(*clerk, dialogs);
    ASSERT_TRUE(clerks.form()->choose(u"oficinista crear"_s));
    typeInto(clerks.form(), dialogs, {db.name() + u"_beto"_s, u"BETO"_s, u"supervisor"_s});
    EXPECT_TRUE(lastMessage().contains(u"Solo un supervisor"_s)) << lastMessage().toStdString();
    EXPECT_EQ(db.value(u"SELECT string_agg(cuenta || ' ' || rol, ',') FROM central.oficinistas "
                       u"WHERE cuenta LIKE '%\\_ana' OR cuenta LIKE '%\\_beto'"_s),
              ana + u" OFICINISTA"_s);
    db.admin(u"DROP ROLE \""_s + ana + u"\""_s);
    EXPECT_EQ(db.auditActions().filter(u"|00031|"_s),
              (QStringList{u"VENDEDOR_CREADO|00031|"_s, u"DIAS_CADUCIDAD|00031|"_s}));
}

// A new payout shows with the moment it began; the question answered no changes nothing.
TEST_F(DeskActionsTest, APayoutIsSetFromTheListOfPayoutsInForce) {
    db.setClock(u"2026-12-07 08:00:00"_s);
    db.admin(
        u"SELECT admin.fijar_pago('AAA', 'TRIPLE', 600), admin.fijar_pago('AAA', 'TERMINAL', 60)"_s);
    db.setClock(u"2026-12-07 10:00:00"_s);
    auto link = supervisorLink(1);
    PayoutsScreen screen(*link, dialogs);
    screen.refresh();
    QTableWidget* list = screen.list();
    const int triple = int(column(list, 1).indexOf(u"TRIPLE"_s));
    ASSERT_GE(triple, 0) << lastMessage().toStdString();
    list->setCurrentCell(triple, 0);
    QTest::keyClick(list, Qt::Key_Return);
    auto* multiplier = screen.form()->findChild<QLineEdit*>(u"txtCampo3"_s);
    ASSERT_EQ(screen.focusWidget(), multiplier);
    const QString lottery = list->item(triple, 0)->text();
    QTest::keyClicks(multiplier, u"650"_s);
    QTest::keyClick(multiplier, Qt::Key_Return);
    auto* variant = screen.form()->findChild<QLineEdit*>(u"txtCampo4"_s);
    dialogs.answers = {false};
    QTest::keyClick(variant, Qt::Key_Return);
    EXPECT_TRUE(screen.form()->outcome().isEmpty());
    EXPECT_EQ(list->item(triple, 3)->text(), u"600.00"_s);
    dialogs.answers = {true};
    QTest::keyClick(variant, Qt::Key_Return);
    EXPECT_EQ(screen.form()->outcome(), u"TRIPLE paga 650 por unidad en 1 lotería(s)"_s)
        << lastMessage().toStdString();
    // the payout it replaced stays listed with its dates, the new one in force
    const int row = int(column(list, 1).lastIndexOf(u"TRIPLE"_s));
    EXPECT_EQ(row, triple + 1);
    EXPECT_EQ(list->item(row, 0)->text(), lottery);
    QStringList dates;
    for (int r : {triple, row}) {
        dates << list->item(r, 3)->text() + u" "_s + list->item(r, 4)->text() + u" - "_s +
                     list->item(r, 5)->text();
    }
    EXPECT_EQ(dates, (QStringList{u"600.00 2026-12-07 08:00:00 - 2026-12-07 10:00:00"_s,
                                  u"650.00 2026-12-07 10:00:00 - en vigor"_s}));
}

// The day's sales per lottery and per hour of issue, as the issued tickets that count show
// them: a cancelled ticket leaves both.
TEST_F(DeskActionsTest, TheDaysSalesChartCountsTheIssuedTicketsPerLotteryAndHour) {
    issueTicket(db, u"81"_s, u"8001"_s, u"2026-12-07"_s,
                {{u"AAA"_s, u"123"_s, u"5"_s}, {u"BBB"_s, u"45*"_s, u"2.5"_s}});
    issueTicket(db, u"82"_s, u"8002"_s, u"2026-12-07"_s, {{u"AAA"_s, u"777"_s, u"10"_s}},
                u"00012"_s, u"1001"_s, u"11:15"_s);
    issueTicket(db, u"83"_s, u"8003"_s, u"2026-12-07"_s, {{u"AAA"_s, u"001"_s, u"4"_s}});
    db.admin(
        u"UPDATE central.tickets SET estado = 'ELI', anulado = 'S', anulado_en = "
        u"central.ahora() WHERE nroticket = '0000000083'"_s);
    auto link = linkOf(1);
    SalesScreen screen(*link, dialogs, QDate(2026, 12, 7));
    screen.refresh();
    const DaySales& sales = screen.chart()->sales();
    QStringList lotteries;
    for (const auto& [code, amount] : sales.lotteries) lotteries << code + u" "_s + amount.plain();
    EXPECT_TRUE(lotteries.contains(u"AAA 15"_s)) << lotteries.join(u',').toStdString();
    EXPECT_TRUE(lotteries.contains(u"BBB 2.5"_s)) << lotteries.join(u',').toStdString();
    EXPECT_EQ(sales.total.plain(), u"17.5"_s);
    EXPECT_EQ(sales.hours[9].plain(), u"7.5"_s);
    EXPECT_EQ(sales.hours[11].plain(), u"10"_s);
    EXPECT_TRUE(screen.findChild<QLabel*>(u"lblResumen"_s)->text().contains(u"17,50"_s));
}

// The statements of every sales point on a day; Enter twice on one settles it up to that day,
// and the list shows it settled.
TEST_F(DeskActionsTest, ADayIsSettledFromTheStatementsOfEverySalesPoint) {
    db.addVendor(u"00013"_s, u"2001"_s);
    db.admin(u"SELECT admin.registrar_deposito('00012', 150.5, '2026-12-06')"_s);
    auto link = supervisorLink(1);
    SettlementScreen screen(*link, dialogs, QDate(2026, 12, 7));
    screen.refresh();
    QTableWidget* list = screen.list();
    ASSERT_EQ(column(list, 0), (QStringList{u"00012"_s, u"00013"_s}))
        << lastMessage().toStdString();
    EXPECT_EQ(list->item(0, 7)->text(), u"150,50"_s);  // deposits
    EXPECT_EQ(list->item(0, 2)->text(), u"-"_s);       // never settled
    list->setCurrentCell(0, 0);
    QTest::keyClick(list, Qt::Key_Return);
    dialogs.answers = {true};
    QTest::keyClick(screen.focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(screen.form()->outcome().startsWith(
        u"00012 liquidado hasta el 2026-12-06: saldo de jugada -150.5"_s))
        << screen.form()->outcome().toStdString() << lastMessage().toStdString();
    EXPECT_EQ(list->item(0, 2)->text(), u"2026-12-06"_s);
    EXPECT_EQ(db.value(u"SELECT string_agg(cod_vendedor || ' ' || fecha, ',') FROM "
                       u"central.liquidaciones"_s),
              u"00012 2026-12-06"_s);

    // every point not yet settled, in one go: one that sold on a draw still without results is
    // left as it was, with the reason
    db.addVendor(u"00014"_s, u"3001"_s);
    issueTicket(db, u"91"_s, u"9001"_s, u"2026-12-06"_s, {{u"AAA"_s, u"123"_s, u"5"_s}}, u"00013"_s,
                u"2001"_s);
    ASSERT_TRUE(screen.form()->choose(u"liquidar-todos"_s));
    typeInto(screen.form(), dialogs, {u"2026-12-06"_s});
    EXPECT_EQ(screen.form()->outcome(),
              u"1 punto(s) liquidado(s) hasta el 2026-12-06; sin liquidar: 00013 (Faltan los "
              u"resultados de los sorteos AAA 2026-12-06)"_s)
        << lastMessage().toStdString();
    EXPECT_EQ(db.value(u"SELECT string_agg(cod_vendedor || ' ' || fecha, ',' ORDER BY 1) FROM "
                       u"central.liquidaciones"_s),
              u"00012 2026-12-06,00014 2026-12-06"_s);
}

// F2 to F10 show the desk's screens in their order, from whichever field has the focus.
TEST_F(DeskActionsTest, EveryScreenIsAFunctionKeyAway) {
    DeskWindow desk(linkOf(1), db.officeLogin(1), dialogs, QDate(2026, 12, 7));
    desk.show();
    auto* tabs = desk.findChild<QTabWidget*>(u"tabsOficina"_s);
    const QString shown[] = {u"ResultsScreen"_s,  u"ExposureScreen"_s, u"AuditScreen"_s,
                             u"CountersScreen"_s, u"SalesScreen"_s,    u"MoneyScreen"_s,
                             u"PointsScreen"_s,   u"PayoutsScreen"_s,  u"SettlementScreen"_s};
    for (int k = 0; k < 9; ++k) {
        QWidget* from = QApplication::focusWidget() ? QApplication::focusWidget() : &desk;
        QTest::keyClick(from, Qt::Key(Qt::Key_F2 + k));
        EXPECT_EQ(tabs->currentWidget()->objectName(), shown[k]);
    }
    // a field that takes F4 for itself (the list of actions) gives it to the window
    QTest::keyClick(desk.money()->form()->findChild<QComboBox*>(u"cmbAccion"_s), Qt::Key_F4);
    EXPECT_EQ(tabs->currentWidget()->objectName(), u"AuditScreen"_s);
    EXPECT_TRUE(dialogs.shown.empty()) << lastMessage().toStdString();
}

}  // namespace
