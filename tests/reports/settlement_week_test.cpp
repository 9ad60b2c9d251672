#include "../aftersale/issued_tickets.h"
#include "platform/pq_gateway.h"
#include "reports/account_statement.h"
#include "reports/final_report.h"
#include "reports/prize_report.h"
#include "reports/report_frame.h"
#include "reports/sales_report.h"
#include "session/session.h"

#include <gtest/gtest.h>

#include <array>

using namespace vendura;
using namespace vendura::test;

namespace {

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
        issueTicket(db, u"1"_s, u"11"_s, u"2026-11-30"_s, u"AAA 123 10; AAA 45* 5"_s);
        issueTicket(db, u"2"_s, u"12"_s, u"2026-11-30"_s, u"BBB 777 20"_s);
        issueTicket(db, u"3"_s, u"13"_s, u"2026-11-30"_s, u"AAA 555 8"_s);
        db.admin(
            u"UPDATE central.tickets SET anulado = 'S', estado = 'ELI', "
            u"anulado_en = '2026-11-30 09:35' WHERE nroticket = '0000000003'"_s);
        issueTicket(db, u"4"_s, u"14"_s, u"2026-12-01"_s, u"AAA 7** 2.5; BBB 123 30"_s);
        issueTicket(db, u"5"_s, u"15"_s, u"2026-12-02"_s, u"AAA 123 4"_s);
        issueTicket(db, u"6"_s, u"16"_s, u"2026-12-04"_s, u"BBB 999 0.5"_s);
        db.admin(
            u"INSERT INTO central.pagos (nroticket, cod_vendedor, cod_usuario, monto, "
            u"pagado) VALUES ('0000000006', '00012', '1001', 300, '2026-12-05 09:00')"_s);
        enterResult(db, u"AAA"_s, u"2026-11-30"_s, u"945"_s);
        enterResult(db, u"BBB"_s, u"2026-11-30"_s, u"100"_s);
        enterResult(db, u"AAA"_s, u"2026-12-01"_s, u"117"_s);
        enterResult(db, u"BBB"_s, u"2026-12-01"_s, u"500"_s);
        enterResult(db, u"AAA"_s, u"2026-12-02"_s, u"321"_s);
        enterResult(db, u"BBB"_s, u"2026-12-04"_s, u"999"_s);
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
        ProcedureCall c{u"ACTGastos"_s, {}};
        c.in(u"@xmodo"_s, mode).in(u"@nrogasto"_s, number).in(u"@descri_gasto"_s, kind);
        c.in(u"@monto_gasto"_s, amount).in(u"@fecha_gasto"_s, day).in(u"@vendedor"_s, u"00012"_s);
        c.in(u"@observa_gasto"_s, QString()).in(u"@tipo_descuento"_s, u"1"_s);
        return call(c).returnText();
    }

    CallAnswer call(const ProcedureCall& c) {
        auto answer = counter.call(c);
        EXPECT_TRUE(answer.ok()) << (answer ? "" : answer.error().description.toStdString());
        return answer ? answer.value() : CallAnswer();
    }

    // The statement's amounts, "@xfecha1" first.
    QStringList statement(const QDate& on) {
        const QStringList lines =
            account_statement::compose(s, on, call(account_statement::call(u"00012"_s, on)));
        QStringList values;
        for (const QString& line : lines.mid(7)) {
            if (line.contains(u'\t')) values << line.section(u'\t', 1);
        }
        return values;
    }

    TestDatabase db;
    PqGateway counter{5};
    Session s;
};

TEST_F(SettlementWeekTest, TheWeeksReportsAndStatementFollowTheFormulas) {
    // before any settlement, Tuesday's statement runs from the first day
    EXPECT_EQ(statement(day(31)),
              (QStringList{u""_s, u"-270,50"_s, u"11,25"_s, u"60,00"_s, u"50,00"_s, u"-249,25"_s,
                           u"1.000,00"_s, u"750,75"_s}));
    db.admin(u"SELECT admin.liquidar('00012', '2026-12-01')"_s);
    EXPECT_EQ(
        db.value(u"SELECT saldo_jugada || ' ' || saldo_prestamo FROM central.liquidaciones"_s),
        u"-249.250 1000.000"_s);
    EXPECT_EQ(statement(day(34)),
              (QStringList{u"01/12/2026"_s, u"-320,65"_s, u"-299,60"_s, u"0,00"_s, u"0,00"_s,
                           u"-620,25"_s, u"775,00"_s, u"154,75"_s}));

    const QStringList summary = final_report::compose(
        s, final_report::Kind::Resumido, day(30), day(34),
        call(final_report::call(final_report::Kind::Resumido, u"00012"_s, day(30), day(34))).rows,
        {});
    EXPECT_EQ(summary.mid(10, 4),
              (QStringList{u"Total venta: \t\t72,00"_s, u"Comisión Bs.: \t\t12,25"_s,
                           u"Premios Bs.: \t\t615,00"_s, u"Saldo Bs.: \t\t-555,25"_s}));
    const CallAnswer days =
        call(final_report::call(final_report::Kind::Detallado, u"00012"_s, day(30), day(34)));
    EXPECT_EQ(days.rows.size(), 4);  // Thursday sold nothing
    const QStringList byLottery = final_report::compose(
        s, final_report::Kind::Loterias, day(30), day(34),
        call(final_report::call(final_report::Kind::Loterias, u"00012"_s, day(30), day(34))).rows,
        {{u"AAA"_s, u"ALFA"_s}, {u"BBB"_s, u"BETA"_s}});
    EXPECT_EQ(byLottery.mid(10, 4),
              (QStringList{u"AAA - ALFA"_s, u"1\t21,50\t2,15\t315,00\t-295,65"_s, u"BBB - BETA"_s,
                           u"1\t50,50\t10,10\t300,00\t-259,60"_s}));

    const QStringList prizes = prize_report::compose(
        s, day(30), day(34), false,
        call(prize_report::call(u"RPTTICKPREMIADOS"_s, u"00012"_s, day(30), day(34))).rows, {});
    EXPECT_EQ(prizes.mid(8),
              (QStringList{u"0000000001  09:30:00  300,00\t1001  N"_s,
                           u"0000000004  09:30:00  15,00\t1001  N"_s,
                           u"0000000006  09:30:00  300,00\t1001  S"_s, QString(40, u'='),
                           u"Total premios: \t615,00"_s, report::kRule, u"Pagados: \t300,00"_s,
                           u"Por pagar: \t315,00"_s, report::kRule}));
    const CallAnswer plays =
        call(prize_report::call(u"RPTTICKPREMIADOSdetalle"_s, u"00012"_s, day(30), day(34)));
    ASSERT_EQ(plays.rows.size(), 3);
    EXPECT_EQ(plays.rows.text(1, u"Num_normal"_s), u"7**"_s);

    const CallAnswer sold = call(sales_report::call(s, day(30)));
    const QStringList sales =
        sales_report::compose(s, day(30), sold.outputs.value(u"@montoventa"_s), sold.rows);
    EXPECT_EQ(sales[7], u"Total venta: \t35,00"_s);
    EXPECT_EQ(sales.last(), u"Total Anulados: \t\t8,00"_s);
}

TEST_F(SettlementWeekTest, SettledDaysAndOtherSalesPointsAreOutOfReach) {
    db.admin(u"SELECT admin.liquidar('00012', '2026-12-01')"_s);
    // a movement of a settled day can no longer be deleted; one of a later day can
    EXPECT_EQ(movement(u"2"_s, u"D1"_s, QString(), u"0"_s, u"01/12/2026"_s), u"5"_s);
    EXPECT_EQ(movement(u"2"_s, u"D3"_s, QString(), u"0"_s, u"01/12/2026"_s),
              u"4"_s);  // not listed on that day
    EXPECT_EQ(movement(u"2"_s, u"D3"_s, QString(), u"0"_s, u"02/12/2026"_s), u"0"_s);
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

}  // namespace
