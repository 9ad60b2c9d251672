#include "../aftersale/printing_counter.h"
#include "reports/account_statement.h"
#include "reports/final_report.h"
#include "reports/prize_report.h"
#include "reports/report_frame.h"
#include "reports/sales_monitor.h"
#include "reports/sales_report.h"
#include "reports/screens/monitor_screen.h"
#include "reports/screens/report_screens.h"
#include "sales/play_seller.h"
#include "session/session.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>

using namespace vendura;
using namespace vendura::test;
using report::kRule;

namespace {

const QDate kDay(2026, 12, 7);

Session seller() {
    Session s;
    s.CodVendedor = u"00012"_s;
    s.NombreVendedor = u"AGENCIA LA FORTUNA"_s;
    s.Usuario = u"1001"_s;
    s.NombreUsuario = u"ANA PEREZ"_s;
    s.HoraServidor = u"10:30:00"_s;
    s.TipoLetra = u"C"_s;
    s.FilasSalto = 2;
    return s;
}

RecordSet rows(const QStringList& fields, const std::vector<std::vector<FieldValue>>& values) {
    RecordSet r(fields);
    for (const auto& v : values) r.addRow(v);
    return r;
}

TEST(ReportFrameTest, PaperKeepsTheLineConventionsTheMarginAndTheControlBytes) {
    Session s = seller();
    s.Margen = u"   "_s;
    const QStringList lines{u"<< KALVORA ON LINE >>"_s, QString(45, u'='), u"    oculta"_s,
                            u"----------------------------------------x"_s, u"Total\t1,00"_s};
    const QByteArray port = report::printBytes(lines, s, true);
    const QByteArray expected = "\x0f   << KALVORA ON LINE >>\r\n\x0f   " + QByteArray(39, '=') +
                                "\r\n\x0f\x0f   " + QByteArray(39, '-') +
                                "\r\n\x0f   Total\t1,00\r\n   \r\n   \r\n\x12";
    EXPECT_EQ(port, expected);
    // the system printer gets no byte 15, but the closing 18 in compressed print
    EXPECT_EQ(report::printBytes(lines, s, false), QByteArray(expected).replace('\x0f', ""));
    s.TipoLetra = u"N"_s;
    s.FilasSalto = 0;
    const QByteArray plain = report::printBytes(lines, s, true);
    EXPECT_FALSE(plain.contains('\x0f') || plain.contains('\x12'));
    EXPECT_TRUE(plain.endsWith("Total\t1,00\r\n"));

    EXPECT_EQ(report::header(seller(), u"Titulo "_s, u"07/12/2026"_s),
              (QStringList{u"<< KALVORA ON LINE >>"_s, u"Titulo "_s,
                           u"Vendedor : AGENCIA LA FORTUNA 00012"_s, u"Usuario : ANA PEREZ 1001"_s,
                           u"Fecha : 07/12/2026"_s, u"Hora : 10:30:00"_s, kRule}));
    // a year and a day at most (the ends given the wrong way round and ten years are checked on
    // the prize report's screen)
    EXPECT_FALSE(report::periodProblem(kDay.addDays(-366), kDay));
    EXPECT_TRUE(report::periodProblem(kDay.addDays(-367), kDay));
    EXPECT_TRUE(report::periodProblem(QDate(), kDay));
    EXPECT_EQ(report::amountText(std::nullopt), u"0,00"_s);
    EXPECT_EQ(report::amountText(u"-1854.720"_s), u"-1.854,72"_s);
}

// The detailed form lists each winning play under its ticket, a special play by its name; a
// ticket whose payment is unknown is unpaid.
TEST(PrizeReportTest, TheDetailedFormListsThePlaysUnderTheirTicket) {
    const RecordSet tickets =
        rows({u"nroticket"_s, u"horaticket"_s, u"usuario"_s, u"montopremio"_s, u"Pagado"_s},
             {{u"0000000101"_s, u"09:30:00"_s, u"1001"_s, u"1260.00"_s, u"S"_s},
              {u"0000000104"_s, u"10:00:00"_s, u"1001"_s, u"600"_s, std::nullopt}});
    const RecordSet plays =
        rows({u"nroticket"_s, u"Tipo_jugada"_s, u"Num_normal"_s, u"LETRAS"_s, u"desc_loteria"_s,
              u"montopremio"_s},
             {{u"0000000101"_s, u"1"_s, u"347"_s, u""_s, u"ZULIA"_s, u"1200"_s},
              {u"0000000104"_s, u"1"_s, u"502"_s, u""_s, u"ZULIA"_s, u"600"_s},
              {u"0000000101"_s, u"2"_s, u"466"_s, u"TRIPLETA SENCILLA"_s, u"ORO"_s, u"60"_s}});
    EXPECT_EQ(prize_report::compose(seller(), kDay, kDay, true, tickets, plays).mid(8),
              (QStringList{u"0000000101  09:30:00   \t1001  S"_s, u"    347 ZULIA\t\t1.200,00"_s,
                           u"466 TRIPLETA SENCILLA ORO\t60,00"_s,
                           u"0000000104  10:00:00   \t1001  N"_s, u"    502 ZULIA\t\t600,00"_s,
                           QString(40, u'='), u"Total premios: \t1.860,00"_s, kRule,
                           u"Pagados: \t1.260,00"_s, u"Por pagar: \t600,00"_s, kRule}));
}

// One day has no "Desde" line; a lottery that sold nothing has no group line, but its prizes
// count.
TEST(FinalReportTest, ByLotteryOnlyLotteriesWithSalesHaveAGroupLine) {
    const RecordSet byLottery =
        rows({u"COD_LOT"_s, u"Tipo_jugada"_s, u"total_venta"_s, u"comision"_s, u"premios"_s,
              u"subtotal"_s},
             {{u"AAA"_s, u"1"_s, u"21.5"_s, u"2.15"_s, u"315"_s, u"-295.65"_s},
              {u"AAA"_s, u"2"_s, u"3"_s, u"0.3"_s, u"0"_s, u"2.7"_s},
              {u"CCC"_s, u"1"_s, u"0"_s, u"0"_s, u"50"_s, u"-50"_s}});
    const QStringList lines =
        final_report::compose(seller(), final_report::Kind::Loterias, kDay, kDay, byLottery,
                              {{u"AAA"_s, u"ALFA"_s}, {u"CCC"_s, u"GAMMA"_s}});
    EXPECT_EQ(lines[1], u"Reporte Relación Final por Loterias"_s);
    EXPECT_EQ(lines.mid(7),
              (QStringList{u"Tip.\tVenta\tComi.\tPrem.\tSubtot"_s, u"AAA - ALFA"_s,
                           u"1\t21,50\t2,15\t315,00\t-295,65"_s, u"2\t3,00\t0,30\t0,00\t2,70"_s,
                           u"1\t0,00\t0,00\t50,00\t-50,00"_s, kRule, u"Total venta: \t\t24,50"_s,
                           u"Comisión Bs.: \t\t2,45"_s, u"Premios Bs.: \t\t365,00"_s,
                           u"Saldo Bs.: \t\t-342,95"_s, kRule}));
}

QDate day(int d) {
    return d > 30 ? QDate(2026, 12, d - 30) : QDate(2026, 11, d);
}

// A week of sales point 00012 (Monday 30/11 to Friday 04/12 of 2026, the server on Monday
// 07/12), with a commission of 10 %, 20 % on BBB:
//   Mon  T1 AAA 123x10 + 45*x5, T2 BBB 777x20, T3 AAA 555x8 cancelled; AAA draws 945 (45* wins
//        5x60 = 300). Loan of 1,000 from the central office.
//        play 35 - 5.50 - 300 = -270.50
//   Tue  T4 AAA 7**x2.5 + BBB 123x30; AAA draws 117 (7** wins 2.5x6 = 15); the counter records
//        a payment from the central office of 100 and one to it of 40; a deposit of 50.
//        play 32.50 - 6.25 - 15 = 11.25; movements +60; deposits 50
//        The central office settles Tuesday: -270.50 + 11.25 + 60 - 50 = -249.25, loan 1,000.
//   Wed  T5 AAA 123x4; a daily loan instalment of 25 charged to the account.
//        play 4 - 0.40 = 3.60; movements +25; loan -25
//   Thu  a deposit of 100.
//   Fri  T6 BBB 999x0.5, BBB draws 999 (300, paid); an instalment of 200 paid on the loan.
//        play 0.50 - 0.10 - 300 = -299.60; loan -200
// Friday's statement: debt -249.25 + (3.60 + 25) + (-100) = -320.65; balance of play
// -320.65 - 299.60 = -620.25; loans 1,000 - 25 - 200 = 775; general 154.75.
class SettlementWeekTest : public ::testing::Test {
  protected:
    SettlementWeekTest() {
        db.seedVendor();
        db.seedLotteries();
        seedPayouts(db);
        db.admin(u"SELECT admin.fijar_comision('00012', 10)"_s);
        db.admin(u"SELECT admin.fijar_comision('00012', 20, 'BBB')"_s);
        // no prize of the week expires within it
        db.admin(u"SELECT admin.fijar_dias_caducidad('00012', 30)"_s);
        issueTicket(db, u"1"_s, u"11"_s, u"2026-11-30"_s, u"AAA 123 10; AAA 45* 5"_s);
        issueTicket(db, u"2"_s, u"12"_s, u"2026-11-30"_s, u"BBB 777 20"_s);
        issueTicket(db, u"3"_s, u"13"_s, u"2026-11-30"_s, u"AAA 555 8"_s);
        db.admin(
            u"UPDATE central.tickets SET anulado = 'S', estado = 'ELI', "
            u"anulado_en = '2026-11-30 09:35' WHERE nroticket = '0000000003'"_s);
        issueTicket(db, u"4"_s, u"14"_s, u"2026-12-01"_s, u"AAA 7** 2.5; BBB 123 30"_s);
        issueTicket(db, u"5"_s, u"15"_s, u"2026-12-02"_s, u"AAA 123 4"_s);
        issueTicket(db, u"6"_s, u"16"_s, u"2026-12-04"_s, u"BBB 999 0.5"_s);
        enterResult(db, u"AAA"_s, u"2026-11-30"_s, u"945"_s);
        enterResult(db, u"BBB"_s, u"2026-11-30"_s, u"100"_s);
        enterResult(db, u"AAA"_s, u"2026-12-01"_s, u"117"_s);
        enterResult(db, u"BBB"_s, u"2026-12-01"_s, u"500"_s);
        enterResult(db, u"AAA"_s, u"2026-12-02"_s, u"321"_s);
        enterResult(db, u"BBB"_s, u"2026-12-04"_s, u"999"_s);
        db.admin(
            u"INSERT INTO central.pagos (nroticket, cod_vendedor, cod_usuario, monto, "
            u"pagado) VALUES ('0000000006', '00012', '1001', 300, '2026-12-05 09:00')"_s);
        EXPECT_TRUE(counter.open(db.connectionText()).ok());
        // the counter records its movements on the day they happen
        for (const auto& [on, number, kind, amount] : std::initializer_list<std::array<QString, 4>>{
                 {u"2026-12-01"_s, u"D1"_s, u"1.- Pago Banca a Vendedor"_s, u"100"_s},
                 {u"2026-12-01"_s, u"D2"_s, u"0.- Pago Vendedor a Banca"_s, u"40"_s},
                 {u"2026-12-02"_s, u"D3"_s, u"4.- Couta diaria Presamo"_s, u"25"_s}}) {
            db.setClock(on + u" 12:00:00"_s);
            EXPECT_EQ(movement(u"0"_s, number, kind, amount, QString()), u"0"_s)
                << number.toStdString();
        }
        db.setClock(u"2026-12-07 10:00:00"_s);
        // the central office confirms what the counter declared
        db.admin(
            u"SELECT admin.confirmar_movimiento('00012', n) FROM unnest('{D1,D2,D3}'::text[]) n"_s);
        db.admin(u"SELECT admin.registrar_movimiento('00012', '2', 1000, '2026-11-30')"_s);
        db.admin(u"SELECT admin.registrar_movimiento('00012', '3', 200, '2026-12-04')"_s);
        db.admin(u"SELECT admin.registrar_deposito('00012', 50, '2026-12-01', 'BANCO 1')"_s);
        db.admin(u"SELECT admin.registrar_deposito('00012', 100, '2026-12-03')"_s);
        s.CodVendedor = u"00012"_s;
        s.Usuario = u"1001"_s;
    }

    // The counter's "ACTGastos": mode 0 adds a movement of the server's day, 2 deletes one of
    // the day given.
    QString movement(const QString& mode, const QString& number, const QString& kind,
                     const QString& amount, const QString& day) {
        return counter
            .callPositional(u"ACTGastos"_s,
                            {mode, number, kind, amount, day, u"00012"_s, {}, u"1"_s})
            .value()
            .returnText();
    }
    CallAnswer call(const ProcedureCall& c) {
        auto answer = counter.call(c);
        EXPECT_TRUE(answer.ok()) << (answer ? "" : answer.error().description.toStdString());
        return answer ? answer.value() : CallAnswer();
    }
    // A report of the week as the counter composes it, without its header.
    QStringList finalReport(final_report::Kind kind) {
        return final_report::compose(
                   s, kind, day(30), day(34),
                   call(final_report::call(kind, u"00012"_s, day(30), day(34))).rows,
                   {{u"AAA"_s, u"ALFA"_s}, {u"BBB"_s, u"BETA"_s}})
            .mid(7);
    }
    QStringList statement(const QDate& on) {
        return account_statement::compose(s, on, call(account_statement::call(u"00012"_s, on)))
            .mid(7);
    }

    TestDatabase db;
    PqGateway counter{5};
    Session s;
};

TEST_F(SettlementWeekTest, TheWeeksReportsAndStatementFollowTheFormulas) {
    // before any settlement, Tuesday's statement runs from the first day
    EXPECT_EQ(statement(day(31)),
              (QStringList{u"Ult. Fecha      : \t"_s, u"Deuda Bs.       : \t-270,50"_s,
                           u"Cuenta de Fecha : \t11,25"_s, u"Movimientos Bs. : \t60,00"_s,
                           u"Depósitos Bs.   : \t50,00"_s, u"Saldo Jugada    : \t-249,25"_s, kRule,
                           u"S. Prestamo Bs. : \t1.000,00"_s, u"S. General  Bs. : \t750,75"_s,
                           kRule, u"Por confirmar Bs.: \t0,00"_s}));
    db.admin(u"SELECT admin.liquidar('00012', '2026-12-01')"_s);
    EXPECT_EQ(
        db.value(u"SELECT saldo_jugada || ' ' || saldo_prestamo FROM central.liquidaciones"_s),
        u"-249.250 1000.000"_s);
    EXPECT_EQ(statement(day(34)),
              (QStringList{u"Ult. Fecha      : \t01/12/2026"_s, u"Deuda Bs.       : \t-320,65"_s,
                           u"Cuenta de Fecha : \t-299,60"_s, u"Movimientos Bs. : \t0,00"_s,
                           u"Depósitos Bs.   : \t0,00"_s, u"Saldo Jugada    : \t-620,25"_s, kRule,
                           u"S. Prestamo Bs. : \t775,00"_s, u"S. General  Bs. : \t154,75"_s, kRule,
                           u"Por confirmar Bs.: \t0,00"_s}));

    const QStringList totals{kRule,
                             u"Total venta: \t\t72,00"_s,
                             u"Comisión Bs.: \t\t12,25"_s,
                             u"Premios Bs.: \t\t615,00"_s,
                             u"Saldo Bs.: \t\t-555,25"_s,
                             kRule};
    EXPECT_EQ(finalReport(final_report::Kind::Resumido),
              QStringList({u"Desde : 30/11/2026  Hasta: 04/12/2026"_s, kRule}) + totals);
    // a block per day that sold (Thursday did not), then the week's totals
    const QStringList days = finalReport(final_report::Kind::Detallado);
    EXPECT_EQ(days.mid(0, 6),
              (QStringList{u"Fecha: \t\t30/11/2026"_s, u"Total venta: \t\t35,00"_s,
                           u"Comisión Bs.: \t\t5,50"_s, u"Premios Bs.: \t\t300,00"_s,
                           u"Saldo Bs.: \t\t-270,50"_s, kRule}));
    EXPECT_EQ(days.mid(24), totals);
    EXPECT_EQ(finalReport(final_report::Kind::Loterias).mid(3),
              QStringList({u"AAA - ALFA"_s, u"1\t21,50\t2,15\t315,00\t-295,65"_s, u"BBB - BETA"_s,
                           u"1\t50,50\t10,10\t300,00\t-259,60"_s}) +
                  totals);

    const QStringList prizes = prize_report::compose(
        s, day(30), day(34), false,
        call(prize_report::call(u"RPTTICKPREMIADOS"_s, u"00012"_s, day(30), day(34))).rows, {});
    EXPECT_EQ(prizes.mid(6),
              (QStringList{u"Ticket     Hora     Premio     Usuario P"_s, QString(40, u'='),
                           u"0000000001  09:30:00  300,00\t1001  N"_s,
                           u"0000000004  09:30:00  15,00\t1001  N"_s,
                           u"0000000006  09:30:00  300,00\t1001  S"_s, QString(40, u'='),
                           u"Total premios: \t615,00"_s, kRule, u"Pagados: \t300,00"_s,
                           u"Por pagar: \t315,00"_s, kRule}));
    const CallAnswer plays =
        call(prize_report::call(u"RPTTICKPREMIADOSdetalle"_s, u"00012"_s, day(30), day(34)));
    ASSERT_EQ(plays.rows.size(), 3);
    EXPECT_EQ(plays.rows.text(1, u"Num_normal"_s), u"7**"_s);

    const CallAnswer sold = call(sales_report::call(s, day(30)));
    EXPECT_EQ(
        sales_report::compose(s, day(30), sold.outputs.value(u"@montoventa"_s), sold.rows).mid(7),
        (QStringList{u"Total venta: \t35,00"_s, kRule, u" "_s, u"Tickets Anulados"_s, kRule,
                     u"Ticket   \tHora\tMonto Bs."_s, kRule, u"0000000003\t09:30:00\t8,00"_s, kRule,
                     u"Total Anulados: \t\t8,00"_s}));
}

TEST_F(SettlementWeekTest, SettledDaysAndOtherSalesPointsAreOutOfReach) {
    db.admin(u"SELECT admin.liquidar('00012', '2026-12-01')"_s);
    // a movement of a settled day can no longer be deleted, nor one the central office
    // confirmed; one still waiting for it can
    EXPECT_EQ(movement(u"2"_s, u"D1"_s, QString(), u"0"_s, u"01/12/2026"_s), u"5"_s);
    EXPECT_EQ(movement(u"2"_s, u"D3"_s, QString(), u"0"_s, u"01/12/2026"_s),
              u"4"_s);  // not listed on that day
    EXPECT_EQ(movement(u"2"_s, u"D3"_s, QString(), u"0"_s, u"02/12/2026"_s), u"6"_s);
    EXPECT_EQ(movement(u"0"_s, u"D4"_s, u"0.- Pago Vendedor a Banca"_s, u"5"_s, QString()), u"0"_s);
    EXPECT_EQ(movement(u"2"_s, u"D4"_s, QString(), u"0"_s, u"07/12/2026"_s), u"0"_s);
    EXPECT_EQ(db.adminError(u"SELECT admin.registrar_deposito('00012', 5, '2026-11-30')"_s),
              u"55000"_s);
    EXPECT_EQ(db.adminError(u"SELECT admin.liquidar('00012', '2026-12-07')"_s), u"22023"_s);

    db.addVendor(u"00013"_s, u"2001"_s);
    PqGateway other(5);
    ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
    for (const ProcedureCall& c :
         {prize_report::call(u"RPTTICKPREMIADOS"_s, u"00012"_s, day(30), day(34)),
          prize_report::call(u"RPTTICKPREMIADOSdetalle"_s, u"00012"_s, day(30), day(34)),
          final_report::call(final_report::Kind::Loterias, u"00012"_s, day(30), day(34)),
          account_statement::call(u"00012"_s, day(34)), sales_report::call(s, day(30))}) {
        auto answer = other.call(c);
        ASSERT_TRUE(answer.ok()) << c.name.toStdString();
        EXPECT_EQ(answer.value().returnText(), u"1"_s) << c.name.toStdString();
        EXPECT_TRUE(answer.value().rows.empty()) << c.name.toStdString();
    }
    // a bad period is refused by the server too
    EXPECT_EQ(call(final_report::call(final_report::Kind::Resumido, u"00012"_s, day(34), day(30)))
                  .returnText(),
              u"2"_s);
}

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

TEST_F(ReportScreensTest, TheOtherReportsComposeFromTheirProceduresOnTheirOwnConnection) {
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

    // a report that cannot connect ends the program
    seller.dialogs.clear();
    seller.session.Servidor = u"0"_s;
    EXPECT_FALSE(SalesReportScreen(deps()).load());
    EXPECT_EQ(
        seller.dialogs.texts(),
        QStringList{u"Ocurrieron Errores al Intentar Conectarse!... Finalizando el Sistema"_s});
    EXPECT_EQ(seller.dialogs.last().title, u"KALVORA ON LINE - PUNTO DE VENTA"_s);
    EXPECT_EQ(seller.programEnd.ends, 1);
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
    // a single number sums its two- and three-digit straight plays only
    QTest::keyClicks(control<QLineEdit>(&screen, "Text3"), u"45x"_s);
    QTest::keyClick(control<QLineEdit>(&screen, "Text3"), Qt::Key_Return);
    EXPECT_EQ(listed(&screen), (QStringList{u"45* -> 5,00            7** -> 10,00"_s,
                                            u"<<<< Consulta sobre el Numero :45 >>>>"_s,
                                            u"Total Bs.: 5,00"_s, QString(59, u'-')}));
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

    // a special play's amount adds to its number's
    const auto entries = sales_monitor::entries(
        rows({u"Numero_normal"_s, u"Monto_Normal"_s, u"Monto_Digito"_s, u"Montoespecial"_s},
             {{u"123"_s, u"1"_s, u"0"_s, u"2"_s}}));
    EXPECT_EQ(sales_monitor::lines(entries, 1), QStringList{u"123 -> 3,00"_s});
}

}  // namespace
