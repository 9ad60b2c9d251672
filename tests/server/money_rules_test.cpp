// The rules that keep the money of the network where it belongs, each as a sales point and the
// central office meet it: a draw's life, dated payouts and stored prizes, special prizes in the
// reports, late results and settlement, the office's expiry, declared movements, permissions on
// the server, the network's customers.
#include "issued_tickets.h"
#include "platform/pq_gateway.h"

#include <gtest/gtest.h>
#include <latch>
#include <thread>

using namespace vendura;
using namespace vendura::test;

namespace {

// Sales point 00012 (seller 1001) sells on AAA and BBB on Monday 2026-12-07 from 10:00; 00013
// (seller 2001) is another sales point; the payouts of the tests are in force from the start.
class MoneyRulesTest : public ::testing::Test {
  protected:
    MoneyRulesTest() {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        db.seedSpecial();
        seedPayouts(db);
        EXPECT_TRUE(counter.open(db.connectionText()).ok());
        EXPECT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
        ticket = db.newTicket(u"00012"_s);
    }
    // A straight play (or a special one, with its variants) on the open ticket: the statuses of
    // its items, "0" each when sold in full.
    QString sell(const QString& number, const QString& amount, const QString& lots = u"AAA"_s,
                 const QString& variants = QString()) {
        const QString base = db.value(
            u"SELECT coalesce(max(num_item), 0) FROM central.items_ticket WHERE nticket = $1"_s,
            {ticket});
        auto a = variants.isEmpty()
                     ? counter.callPositional(u"xcreanormal"_s, {u"00012"_s, u"1001"_s, number,
                                                                 amount, base, lots, ticket})
                     : counter.callPositional(u"xcreaespecial"_s,
                                              {u"00012"_s, u"1001"_s, number, amount, base, lots,
                                               variants, u"TRI"_s, ticket});
        if (!a) return u"failed"_s;
        QString statuses = a.value().returnText() == u"0"_s ? u"0"_s : QString();
        for (int r = 0; r < a.value().rows.size(); ++r)
            statuses += a.value().rows.text(r, u"status"_s);
        return statuses;
    }
    // Issues the open ticket with serial 77 for what it sold; answers its number.
    QString issue() {
        const QString total = db.value(
            u"SELECT sum(monto_vendido) FROM central.items_ticket WHERE nticket = $1 AND "
            u"vigente"_s,
            {ticket});
        const QString issued = ticket;
        EXPECT_EQ(saveTicket(counter, ticket, u"77"_s, total), 0);
        ticket = db.newTicket(u"00012"_s);
        return issued;
    }
    QString pay(const QString& number, const QString& mode = u"1"_s) {
        auto a = counter.callPositional(u"PAGATICKETnew"_s,
                                        {u"77"_s, u"00012"_s, u"1001"_s, mode, number, {}});
        return a ? a.value().returnText() + u" "_s + a.value().rows.text(0, u"montopremio"_s)
                 : u"failed"_s;
    }
    QString office(const QString& sql, const QStringList& params = {}) {
        return db.adminError(sql, params);
    }
    // A report procedure of the counter, its rows' field summed.
    QString reported(const QString& procedure, const QString& mode, const QString& field,
                     const QString& from = u"07/12/2026"_s, const QString& to = u"07/12/2026"_s) {
        auto a = counter.callPositional(procedure, {mode, u"00012"_s, from, to});
        double sum = 0;
        for (int r = 0; a && r < a.value().rows.size(); ++r)
            sum += a.value().rows.text(r, field).toDouble();
        return QString::number(sum, 'f', 2);
    }
    // DSPLUP23 of a day: last settlement, debt, day's account, movements, deposits, balance of
    // play, loans, general balance and what waits for confirmation, apart by blanks.
    QString statement(const QString& day) { return statement(counter, day); }
    static QString statement(PqGateway& on, const QString& day) {
        ProcedureCall c{u"DSPLUP23"_s, {}};
        c.in(u"@xfecmov"_s, day).in(u"@xcodven"_s, u"00012"_s).out(u"@xfecha1"_s);
        const QStringList names{u"@xdeuda"_s,       u"@xcuenta"_s, u"@xmovimiento"_s,
                                u"@xdeposito"_s,    u"@xtotal"_s,  u"@xsaldoprestamo"_s,
                                u"@xtotalgragral"_s};
        for (const QString& n : names) c.out(n, u"0"_s);
        auto a = on.call(c);
        if (!a) return u"failed"_s;
        QString out = a.value().output(u"@xfecha1"_s);
        for (const QString& n : names)
            out += u' ' + QString::number(a.value().output(n).toDouble(), 'f', 2);
        out += u' ' + QString::number(a.value().rows.text(0, u"porconfirmar"_s).toDouble(), 'f', 2);
        return out;
    }

    TestDatabase db;
    PqGateway counter{5};
    PqGateway other{5};
    QString ticket;
};

// A draw moves one way: closed by hand, it neither sells nor opens again, whatever the office
// changes; its results are entered only once it closed; a void draw gives its plays back.
TEST_F(MoneyRulesTest, ADrawThatClosedNeverSellsAgain) {
    EXPECT_EQ(sell(u"123"_s, u"2"_s, u"AAABBB"_s), u"0"_s);
    const QString losing = issue();
    EXPECT_EQ(db.adminErrorByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '123')"_s),
              u"22023"_s);  // still open
    EXPECT_EQ(office(u"SELECT admin.cerrar_sorteo('AAA', '2026-12-07', true)"_s), QString());
    EXPECT_EQ(db.adminErrorByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '555')"_s),
              QString());
    // every way the office could bring it back
    for (const char* sql : {"SELECT admin.cerrar_sorteo('AAA', '2026-12-07', false)",
                            "SELECT admin.fijar_cierre('AAA', '23:59', '2026-12-07')"})
        EXPECT_EQ(office(QString::fromLatin1(sql)), u"55000"_s) << sql;
    for (const char* sql :
         {"SELECT admin.fijar_cierre('AAA', '23:59')", "SELECT admin.cerrar_loteria('AAA', true)",
          "SELECT admin.cerrar_loteria('AAA', false)"})
        EXPECT_EQ(office(QString::fromLatin1(sql)), QString()) << sql;
    EXPECT_EQ(sell(u"555"_s, u"3"_s, u"AAABBB"_s), u"4"_s);  // AAA closed, BBB sells
    EXPECT_EQ(counter.callPositional(u"ANULATICKET"_s, {losing, u"00012"_s, u"1001"_s, u"1"_s})
                  .value()
                  .returnNumber(),
              12);

    // a lottery-wide closing time applies from the next draw: BBB today keeps 23:00
    EXPECT_EQ(office(u"SELECT admin.fijar_cierre('BBB', '09:00')"_s), QString());
    EXPECT_EQ(sell(u"456"_s, u"1"_s, u"BBB"_s), u"0"_s);
    db.setClock(u"2026-12-08 09:30:00"_s);
    EXPECT_EQ(sell(u"456"_s, u"1"_s, u"BBB"_s), u"4"_s);

    // void: BBB of Monday gives back what the issued ticket sold on it, and takes no results
    EXPECT_EQ(office(u"SELECT admin.anular_sorteo('AAA', '2026-12-07')"_s), u"55000"_s);
    EXPECT_EQ(office(u"SELECT admin.anular_sorteo('BBB', '2026-12-07')"_s), QString());
    EXPECT_EQ(db.adminErrorByTwo(u"SELECT admin.registrar_resultado('BBB', '2026-12-07', '123')"_s),
              u"55000"_s);
    EXPECT_EQ(db.value(u"SELECT monto || ' ' || reembolsado FROM central.tickets WHERE "
                       u"nroticket = $1"_s,
                       {losing}),
              u"4.000 2.000"_s);
    EXPECT_EQ(db.auditActions().filter(u"SORTEO_ANULADO"_s).size(), 1);
    EXPECT_EQ(db.auditActions().filter(u"JUGADAS_REEMBOLSADAS|00012|1001"_s).size(), 1);
}

// The ledger refuses, whoever writes it, an amount or a status no booking could give, and a
// lottery that sold keeps its code.
TEST_F(MoneyRulesTest, TheLedgerRefusesWhatNoBookingWrites) {
    db.addLottery(u"CCC"_s, u"GAMMA"_s, u"23:00"_s, u"100"_s, u"300"_s, 3);
    db.addLottery(u"DDD"_s, u"DELTA"_s, u"23:00"_s, u"100"_s, u"300"_s, 4);
    EXPECT_EQ(sell(u"123"_s, u"2"_s, u"BBBCCC"_s), u"0"_s);
    const auto ledger = [&] {
        return db.value(
                   u"SELECT string_agg(cod_lot || numero || vendido, ' ' ORDER BY cod_lot) "
                   u"FROM central.ventas_numero"_s) +
               db.value(
                   u"SELECT string_agg(num_item || status || monto_vendido || monto_pedido, "
                   u"' ' ORDER BY num_item) FROM central.items_ticket"_s);
    };
    const QString before = ledger();
    for (const char* sql : {"UPDATE central.ventas_numero SET vendido = vendido - 3",
                            "UPDATE central.items_ticket SET monto_vendido = monto_pedido + 1",
                            "UPDATE central.items_ticket SET monto_vendido = -1",
                            "UPDATE central.items_ticket SET monto_pedido = 0",
                            "UPDATE central.items_ticket SET status = '7'",
                            "UPDATE central.items_ticket SET num_item = 0",
                            "INSERT INTO central.ventas_numero (cod_lot, fecha, numero, vendido) "
                            "VALUES ('BBB', '2026-12-07', '999', -0.01)"})
        EXPECT_EQ(office(QString::fromLatin1(sql)), u"23514"_s) << sql;
    for (const char* sql : {"DELETE FROM central.loterias WHERE cod_lot = 'CCC'",
                            "UPDATE central.loterias SET cod_lot = 'ZZZ' WHERE cod_lot = 'CCC'"})
        EXPECT_EQ(office(QString::fromLatin1(sql)), u"23503"_s) << sql;
    EXPECT_EQ(ledger(), before);
    EXPECT_EQ(office(u"DELETE FROM central.loterias WHERE cod_lot = 'DDD'"_s), QString());
}

// A payout changed after the sale pays only what is sold after it; the prize stored when the
// results came in is what is paid and reported, whatever changes later.
TEST_F(MoneyRulesTest, APrizeIsThePayoutInForceAtTheSaleStoredOnce) {
    EXPECT_EQ(sell(u"123"_s, u"1"_s), u"0"_s);
    const QString before = issue();
    db.setClock(u"2026-12-07 10:30:00"_s);
    EXPECT_EQ(office(u"SELECT admin.fijar_pago('AAA', 'TRIPLE', 900)"_s), QString());
    db.setClock(u"2026-12-07 11:00:00"_s);
    EXPECT_EQ(sell(u"123"_s, u"1"_s), u"0"_s);
    const QString after = issue();
    db.setClock(u"2026-12-08 09:00:00"_s);
    EXPECT_EQ(db.adminErrorByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '123')"_s),
              QString());
    EXPECT_EQ(pay(before), u"0 600.00"_s);
    EXPECT_EQ(office(u"SELECT admin.fijar_pago('AAA', 'TRIPLE', 100)"_s), QString());
    EXPECT_EQ(pay(after, u"0"_s), u"0 900.00"_s);
    EXPECT_EQ(reported(u"RPTTICKPREMIADOS"_s, u"0"_s, u"montopremio"_s), u"1500.00"_s);
    EXPECT_EQ(db.value(u"SELECT sum(monto) FROM central.pagos"_s), u"600.00"_s);
}

// A winning special play is in every report, the statement and the settlement, by the variant
// it was sold in.
TEST_F(MoneyRulesTest, SpecialPrizesReachEveryReportAndTheSettlement) {
    EXPECT_EQ(sell(u"777"_s, u"0.5"_s, u"AAA"_s, u"12"_s), u"0"_s);  // variant 2 pays nothing
    const QString special = issue();
    db.setClock(u"2026-12-08 09:00:00"_s);
    EXPECT_EQ(db.adminErrorByTwo(
                  u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '123', NULL, NULL, "
                  u"'777')"_s),
              QString());
    EXPECT_EQ(pay(special, u"0"_s), u"0 500.00"_s);
    for (const auto& [procedure, mode, field] :
         {std::tuple{u"RPTTICKPREMIADOS"_s, u"0"_s, u"montopremio"_s},
          {u"RPTTICKPREMIADOSdetalle"_s, u"0"_s, u"montopremio"_s},
          {u"RPTRFINAL"_s, u"1"_s, u"premios"_s},
          {u"RPTRFINAL"_s, u"5"_s, u"premios"_s}})
        EXPECT_EQ(reported(procedure, mode, field), u"500.00"_s) << procedure.toStdString();
    auto plays = counter.callPositional(u"RPTTICKPREMIADOSdetalle"_s,
                                        {u"0"_s, u"00012"_s, u"07/12/2026"_s, u"07/12/2026"_s});
    EXPECT_EQ(plays.value().rows.text(0, u"LETRAS"_s), u"SENCILLA"_s);
    // sold 1 in all, no commission: the day's play is 1 - 500
    EXPECT_EQ(statement(u"07/12/2026"_s), u" 0.00 -499.00 0.00 0.00 -499.00 0.00 -499.00 0.00"_s);
    db.admin(u"SELECT admin.liquidar('00012', '2026-12-07')"_s);
    EXPECT_EQ(db.value(u"SELECT saldo_jugada::float8 FROM central.liquidaciones"_s), u"-499"_s);
}

// A day whose draws have no results yet is not settled; a correction after the settlement
// posts its difference to the next open day and leaves the settled day as it was.
TEST_F(MoneyRulesTest, LateResultsReachTheAccountWithoutTouchingASettledDay) {
    EXPECT_EQ(sell(u"123"_s, u"1"_s, u"AAABBB"_s), u"0"_s);
    issue();
    db.setClock(u"2026-12-08 09:00:00"_s);
    EXPECT_EQ(office(u"SELECT admin.liquidar('00012', '2026-12-07')"_s), u"55000"_s);
    db.asAdminByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '999')"_s);
    db.asAdminByTwo(u"SELECT admin.registrar_resultado('BBB', '2026-12-07', '999')"_s);
    db.admin(u"SELECT admin.liquidar('00012', '2026-12-07')"_s);
    const QString settled = statement(u"07/12/2026"_s);
    EXPECT_EQ(settled, u" 0.00 2.00 0.00 0.00 2.00 0.00 2.00 0.00"_s);
    db.asAdminByTwo(u"SELECT admin.corregir_resultado('AAA', '2026-12-07', '123')"_s);
    EXPECT_EQ(statement(u"07/12/2026"_s), settled);
    EXPECT_EQ(statement(u"08/12/2026"_s),
              u"07/12/2026 2.00 -600.00 0.00 0.00 -598.00 0.00 -598.00 0.00"_s);
    EXPECT_EQ(db.auditActions().filter(u"AJUSTE_CORRECCION|00012"_s).size(), 1);
    // the prize report follows the stored prize; the settlement refused naming the draws
    EXPECT_EQ(reported(u"RPTTICKPREMIADOS"_s, u"0"_s, u"montopremio"_s), u"600.00"_s);
}

TEST_F(MoneyRulesTest, ASettlementNamesTheDrawsWithoutResults) {
    EXPECT_EQ(sell(u"123"_s, u"1"_s, u"AAABBB"_s), u"0"_s);
    issue();
    db.setClock(u"2026-12-08 09:00:00"_s);
    db.asAdminByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '999')"_s);
    auto conn = connectAs(db, u"postgres"_s);
    PGresult* r = PQexec(conn.get(), "SELECT admin.liquidar('00012', '2026-12-07')");
    EXPECT_EQ(QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY)),
              u"Faltan los resultados de los sorteos BBB 2026-12-07"_s);
    PQclear(r);
}

// The days a prize is paid are the office's, kept with each ticket when issued; a prize that
// expires unpaid goes back to the sales point's account on the day it expires, once, however
// many statement reads and the scheduler's job post it at the same moment.
TEST_F(MoneyRulesTest, ExpiryIsTheOfficesKeptWithTheTicketAndPostedBack) {
    db.admin(u"SELECT admin.fijar_dias_caducidad('00012', 1)"_s);
    EXPECT_EQ(sell(u"123"_s, u"1"_s), u"0"_s);
    const QString number = ticket;
    auto a = counter.callPositional(
        u"xgrabtick"_s,
        {u"00012"_s, u"1001"_s, u"77"_s, {}, {}, u"ACT"_s, u"1"_s, u"N"_s, ticket, ticket});
    EXPECT_EQ(a.value().rows.text(0, u"diascaduca"_s), u"1"_s);
    db.admin(u"SELECT admin.fijar_dias_caducidad('00012', 30)"_s);
    db.setClock(u"2026-12-08 09:00:00"_s);
    db.asAdminByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '123')"_s);
    EXPECT_EQ(pay(number, u"0"_s), u"0 600.00"_s);  // the day after the draw: still paid
    db.setClock(u"2026-12-09 09:00:00"_s);
    EXPECT_EQ(pay(number, u"0"_s), u"7 600.00"_s);
    std::latch connected(4);
    std::vector<std::thread> readers;
    for (int k = 0; k < 4; ++k) {
        readers.emplace_back([this, &connected] {
            PqGateway g(10);
            const bool open = g.open(db.connectionText()).ok();
            connected.arrive_and_wait();
            if (open) statement(g, u"09/12/2026"_s);
        });
    }
    for (std::thread& r : readers) r.join();
    EXPECT_EQ(statement(u"09/12/2026"_s), u" -599.00 600.00 0.00 0.00 1.00 0.00 1.00 0.00"_s);
    EXPECT_EQ(db.auditActions().filter(u"PREMIO_CADUCADO|00012"_s).size(), 1);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.ajustes WHERE concepto = 'CADUCADO'"_s),
              u"1"_s);
}

// What the counter records waits for the office: it counts once confirmed, never once rejected,
// and the counter can no longer change it either way.
TEST_F(MoneyRulesTest, MovementsOfTheCounterAreDeclarationsTheOfficeConfirms) {
    auto record = [&](const QString& mode, const QString& doc, const QString& amount) {
        return counter
            .callPositional(u"ACTGastos"_s, {mode,
                                             doc,
                                             u"0.- Pago Vendedor a Banca"_s,
                                             amount,
                                             u"07/12/2026"_s,
                                             u"00012"_s,
                                             {},
                                             u"1"_s})
            .value()
            .returnText();
    };
    EXPECT_EQ(record(u"0"_s, u"A1"_s, u"9999999.99"_s), u"0"_s);
    EXPECT_EQ(record(u"0"_s, u"A2"_s, u"50"_s), u"0"_s);
    EXPECT_EQ(statement(u"07/12/2026"_s), u" 0.00 0.00 0.00 0.00 0.00 0.00 0.00 -10000049.99"_s);
    EXPECT_EQ(office(u"SELECT admin.confirmar_movimiento('00012', 'A2')"_s), QString());
    EXPECT_EQ(office(u"SELECT admin.rechazar_movimiento('00012', 'A1', 'no llegó')"_s), QString());
    EXPECT_EQ(statement(u"07/12/2026"_s), u" 0.00 0.00 -50.00 0.00 -50.00 0.00 -50.00 0.00"_s);
    for (const char* doc : {"A1", "A2"}) {
        EXPECT_EQ(record(u"1"_s, QString::fromLatin1(doc), u"1"_s), u"6"_s);
        EXPECT_EQ(record(u"2"_s, QString::fromLatin1(doc), u"1"_s), u"6"_s);
    }
    // confirmed after its day was settled, a movement counts on the next open day
    EXPECT_EQ(record(u"0"_s, u"A3"_s, u"20"_s), u"0"_s);
    db.setClock(u"2026-12-08 09:00:00"_s);
    db.admin(u"SELECT admin.liquidar('00012', '2026-12-07')"_s);
    EXPECT_EQ(db.value(u"SELECT admin.confirmar_movimiento('00012', 'A3')"_s), u"2026-12-08"_s);
    EXPECT_EQ(statement(u"08/12/2026"_s),
              u"07/12/2026 -50.00 0.00 -20.00 0.00 -70.00 0.00 -70.00 0.00"_s);
    EXPECT_EQ(office(u"SELECT admin.confirmar_movimiento('00012', 'A9')"_s), u"22023"_s);
}

// Each procedure behind a guarded key or menu entry asks for the seller's permission again,
// with the user code it is sent or, without one, the seller logged in through the login.
TEST_F(MoneyRulesTest, EveryGuardedProcedureChecksTheSellersPermission) {
    db.admin(u"SELECT admin.crear_usuario('1004', '00012', 'SOLO VENDE', '1234', 'F5.')"_s);
    ASSERT_EQ(
        counter.callPositional(u"xVLDUSRT"_s, {u"0"_s, u"1004"_s, u"1234"_s}).value().rows.size(),
        1);
    EXPECT_EQ(sell(u"123"_s, u"1"_s), u"0"_s);
    const QString issued = issue();
    const std::vector<std::pair<QString, QStringList>> calls{
        {u"ANULATICKET"_s, {issued, u"00012"_s, u"1004"_s, u"1"_s}},
        {u"PAGATICKETnew"_s, {u"77"_s, u"00012"_s, u"1004"_s, u"0"_s, issued, {}}},
        {u"dsptickets"_s, {u"00012"_s, u"07/12/2026"_s, u"0"_s}},
        {u"xmuestraticket"_s, {issued, u"00012"_s, u"07/12/2026"_s, u"0"_s}},
        {u"xreimpresion"_s, {u"00012"_s, u"1004"_s, issued}},
        {u"Verpremios"_s, {u"0"_s, u"07/12/2026"_s, u"00012"_s}},
        {u"RPTTICKPREMIADOS"_s, {u"0"_s, u"00012"_s, u"07/12/2026"_s, u"07/12/2026"_s}},
        {u"RPTVVENDURA"_s,
         {u"1"_s, u"1004"_s, u"00012"_s, u"07/12/2026"_s, u"07/12/2026"_s, u"0"_s}},
        {u"RPTRFINAL"_s, {u"1"_s, u"00012"_s, u"07/12/2026"_s, u"07/12/2026"_s}},
        {u"dspgastos"_s, {u"07/12/2026"_s, u"00012"_s, u"1"_s}},
        {u"ACTGastos"_s,
         {u"0"_s, u"Z1"_s, u"1.- Pago Banca a Vendedor"_s, u"5"_s, {}, u"00012"_s, {}, u"1"_s}},
        {u"DSPACUMU"_s, {u"GENERAL"_s, u"AAA"_s, u"00012"_s, u"07/12/2026"_s}},
        {u"ver_usuario"_s, {u"00012"_s, u"1004"_s}},
        {u"Dsplotactiva"_s, {u"00012"_s}},
        {u"activaloterias"_s, {u"00012"_s, u"AAA"_s, u"I"_s}},
        {u"xvalidaauditoria"_s, {u"00012"_s, u"1004"_s, u"X"_s}},
        {u"Cliente"_s, {u"0"_s, u"V-1"_s, u"ANA"_s, {}, {}}},
        {u"DSPLUP23"_s, QStringList{u"07/12/2026"_s, u"00012"_s, {}} + QStringList(7, u"0"_s)},
    };
    const QString before = db.checksum();
    for (const auto& [procedure, args] : calls) {
        const int audits = int(db.auditActions().size());
        auto a = counter.callPositional(procedure, args);
        ASSERT_TRUE(a.ok()) << procedure.toStdString()
                            << (a ? "" : a.error().description.toStdString());
        EXPECT_TRUE(a.value().rows.empty()) << procedure.toStdString();
        EXPECT_NE(a.value().returnText(), u"0"_s) << procedure.toStdString();
        EXPECT_EQ(db.auditActions().mid(audits), QStringList{u"PERMISO_DENEGADO|00012|1004"_s})
            << procedure.toStdString();
    }
    EXPECT_EQ(db.checksum(), before);
}

// One person buys at many sales points: any of them reads and saves the customer, a save adds
// a version, a read of another sales point's record is audited, and the payment keeps the
// version it printed. No free text of any procedure takes control characters.
TEST_F(MoneyRulesTest, CustomersAreTheNetworksKeptInVersions) {
    auto cliente = [](PqGateway& g, const QString& mode, const QString& name) {
        auto a = g.callPositional(u"Cliente"_s, {mode, u"v-9"_s, name, u"CALLE 1"_s, {}});
        return a ? a.value().returnText() + u" "_s + a.value().rows.text(0, u"descripcion"_s)
                 : u"error"_s;
    };
    EXPECT_EQ(cliente(other, u"0"_s, u"ANA"_s), u"0 "_s);
    EXPECT_EQ(cliente(counter, u"1"_s, QString()), u"1 ANA"_s);
    EXPECT_EQ(db.auditActions().last(), u"CLIENTE_CONSULTADO|00012|1001"_s);
    EXPECT_EQ(cliente(counter, u"0"_s, u"ANA MARIA"_s), u"0 "_s);
    EXPECT_EQ(cliente(other, u"1"_s, QString()), u"1 ANA MARIA"_s);
    EXPECT_EQ(db.value(u"SELECT string_agg(descripcion || '/' || cod_vendedor, ' ' ORDER BY id) "
                       u"FROM central.clientes"_s),
              u"ANA/00013 ANA MARIA/00012"_s);

    EXPECT_EQ(sell(u"123"_s, u"1"_s), u"0"_s);
    const QString number = issue();
    db.setClock(u"2026-12-08 09:00:00"_s);
    db.asAdminByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '123')"_s);
    EXPECT_EQ(counter
                  .callPositional(u"PAGATICKETnew"_s,
                                  {u"77"_s, u"00012"_s, u"1001"_s, u"1"_s, number, u"V-9"_s})
                  .value()
                  .returnText(),
              u"0"_s);
    EXPECT_EQ(db.value(u"SELECT c.descripcion FROM central.pagos p JOIN central.clientes c ON "
                       u"c.id = p.cliente"_s),
              u"ANA MARIA"_s);

    const QString before = db.checksum();
    for (const auto& [procedure, args] : std::initializer_list<std::pair<QString, QStringList>>{
             {u"Cliente"_s, {u"0"_s, u"V-8"_s, u"PEDRO\x1b[2J"_s, {}, {}}},
             {u"Cliente"_s, {u"0"_s, u"V-8"_s, u"PEDRO"_s, u"CALLE\r1"_s, {}}},
             {u"Cliente"_s, {u"0"_s, u"V-8"_s, u"PEDRO"_s, {}, u"0412\x7f"_s}},
             {u"ACTGastos"_s,
              {u"0"_s,
               u"Z\t1"_s,
               u"1.- Pago Banca a Vendedor"_s,
               u"5"_s,
               {},
               u"00012"_s,
               {},
               u"1"_s}},
             {u"ACTGastos"_s,
              {u"0"_s,
               u"Z2"_s,
               u"1.- Pago Banca a Vendedor"_s,
               u"5"_s,
               {},
               u"00012"_s,
               u"pagado\n"_s,
               u"1"_s}}}) {
        auto a = counter.callPositional(procedure, args);
        EXPECT_FALSE(a.ok()) << procedure.toStdString() << " " << args.join(u'|').toStdString();
        if (!a) {
            EXPECT_TRUE(a.error().description.contains(u"caracteres de control"_s));
        }
    }
    EXPECT_EQ(db.checksum(), before);
}

// A correction may add what was left out while no paid prize changes; one that would change a
// paid prize is refused naming the ticket.
TEST_F(MoneyRulesTest, ACorrectionChangesNoPaidPrize) {
    EXPECT_EQ(sell(u"123"_s, u"1"_s), u"0"_s);
    const QString paid = issue();
    EXPECT_EQ(sell(u"777"_s, u"1"_s, u"AAA"_s, u"1"_s), u"0"_s);
    const QString special = issue();
    db.setClock(u"2026-12-08 09:00:00"_s);
    db.asAdminByTwo(u"SELECT admin.registrar_resultado('AAA', '2026-12-07', '123')"_s);
    EXPECT_EQ(pay(paid), u"0 600.00"_s);
    EXPECT_EQ(db.adminErrorByTwo(
                  u"SELECT admin.corregir_resultado('AAA', '2026-12-07', '123', '456', NULL, "
                  u"'777')"_s),
              QString());
    EXPECT_EQ(pay(special, u"0"_s), u"0 1000.00"_s);
    // the first entry waits; the second, by another login, meets the paid prize
    db.admin(u"SELECT admin.corregir_resultado('AAA', '2026-12-07', '124')"_s);
    auto conn = connectAs(db, u"postgres"_s);
    const QByteArray other = "SET SESSION AUTHORIZATION \"" + db.officeLogin(1).toUtf8() + "\"";
    PQclear(PQexec(conn.get(), other.constData()));
    PGresult* r = PQexec(conn.get(), "SELECT admin.corregir_resultado('AAA', '2026-12-07', '124')");
    EXPECT_EQ(QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY)),
              u"El ticket "_s + paid + u" ya cobró su premio: estos resultados lo cambiarían"_s);
    PQclear(r);
}

// A draw's numbers count only when a second, different office login enters the same: until then
// nothing is prized, paid or settled; the same login twice and other numbers are refused and
// audited, the first entry waiting on; corrections follow the same rule, and a wrong first
// entry can be taken away.
TEST_F(MoneyRulesTest, ResultsCountWhenTwoPeopleEnterTheSameNumbers) {
    EXPECT_EQ(sell(u"123"_s, u"1"_s), u"0"_s);
    const QString winning = issue();
    db.setClock(u"2026-12-08 09:00:00"_s);
    const QString one = db.officeLogin(1), two = db.officeLogin(2), three = u"postgres"_s;
    const QString enter = u"SELECT admin.registrar_resultado('AAA', '2026-12-07', $1)"_s,
                  correct = u"SELECT admin.corregir_resultado('AAA', '2026-12-07', $1)"_s,
                  discard = u"SELECT admin.descartar_resultado('AAA', '2026-12-07')"_s;
    const struct {
        QString login, sql, numbers, error, audited, pending, results;
    } steps[] = {
        {one, enter, u"123"_s, QString(), u"RESULTADO_ANOTADO"_s, u"f123"_s, QString()},
        {one, enter, u"123"_s, u"42501"_s, u"RESULTADO_MISMA_PERSONA"_s, u"f123"_s, QString()},
        {two, enter, u"124"_s, u"22023"_s, u"RESULTADO_DISCREPANTE"_s, u"f123"_s, QString()},
        {two, discard, QString(), QString(), u"RESULTADO_DESCARTADO"_s, QString(), QString()},
        {two, discard, QString(), u"22023"_s, QString(), QString(), QString()},
        {two, enter, u"123"_s, QString(), u"RESULTADO_ANOTADO"_s, u"f123"_s, QString()},
        {three, enter, u"123"_s, QString(), u"RESULTADO"_s, QString(), u"123"_s},
        {three, enter, u"123"_s, u"23505"_s, QString(), QString(), u"123"_s},
        {one, correct, u"125"_s, QString(), u"CORRECCION_ANOTADA"_s, u"t125"_s, u"123"_s},
        {two, correct, u"126"_s, u"22023"_s, u"RESULTADO_DISCREPANTE"_s, u"t125"_s, u"123"_s},
        {one, correct, u"125"_s, u"42501"_s, u"RESULTADO_MISMA_PERSONA"_s, u"t125"_s, u"123"_s},
        {two, correct, u"125"_s, QString(), u"RESULTADO_CORREGIDO"_s, QString(), u"125"_s},
    };
    int step = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(step++);
        const int audited = int(db.auditActions().size());
        const QStringList params = s.numbers.isEmpty() ? QStringList() : QStringList{s.numbers};
        EXPECT_EQ(db.adminErrorAs(s.login, s.sql, params), s.error);
        const QStringList audit = db.auditActions().mid(audited);
        EXPECT_EQ(audit.isEmpty() ? QString() : audit.join(u',').section(u'|', 0, 0), s.audited);
        EXPECT_EQ(db.value(u"SELECT correccion::text::char || triple FROM "
                           u"central.resultados_pendientes"_s),
                  s.pending);
        EXPECT_EQ(db.value(u"SELECT triple FROM central.resultados"_s), s.results);
        // nothing is prized, paid or settled on numbers one person entered
        if (s.results.isEmpty()) {
            EXPECT_EQ(db.value(u"SELECT count(*) FROM central.premios"_s), u"0"_s);
            EXPECT_EQ(pay(winning, u"0"_s).section(u' ', 0, 0), u"3"_s);
            EXPECT_EQ(office(u"SELECT admin.liquidar('00012', '2026-12-07')"_s), u"55000"_s);
        }
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.premios"_s), u"0"_s);  // 125 wins nothing
}

// The exposure of a number is what the whole network pays if it comes out, at the payouts in
// force when the desk reads it: a small day computed by hand.
TEST_F(MoneyRulesTest, TheExposureOfEachNumberIsWhatTheNetworkPaysIfItComesOut) {
    for (const auto& [number, amount] :
         {std::pair{u"123"_s, u"2"_s}, {u"23"_s, u"3"_s}, {u"3"_s, u"1"_s}, {u"723"_s, u"5"_s}}) {
        EXPECT_EQ(sell(number, amount), u"0"_s);
    }
    const QString theirs = db.newTicket(u"00013"_s);
    EXPECT_TRUE(other.callPositional(
        u"xcreanormal"_s, {u"00013"_s, u"2001"_s, u"123"_s, u"4"_s, u"0"_s, u"AAA"_s, theirs}));
    const auto exposure = [&] {
        QStringList lines;
        for (const QStringList& r :
             db.rows(u"SELECT numero, triple::numeric(12, 2), terminal::numeric(12, 2), "
                     u"digito::numeric(12, 2), paga_primero::numeric(12, 2), "
                     u"paga_segundo::numeric(12, 2), paga_tercero::numeric(12, 2), "
                     u"cupo::numeric(12, 2), vendido::numeric(12, 2) "
                     u"FROM admin.exposicion('aaa', '2026-12-07') WHERE numero IN ('123', '723', "
                     u"'023', '000')"_s)) {
            lines << r.join(u' ');
        }
        return lines.join(u" | ");
    };
    EXPECT_EQ(exposure(),
              u"000 0.00 0.00 0.00 0.00 0.00 0.00 100.00 0.00 | "
              u"023 0.00 3.00 1.00 186.00 0.00 0.00 100.00 0.00 | "
              u"123 6.00 3.00 1.00 3786.00 600.00 300.00 100.00 6.00 | "
              u"723 5.00 3.00 1.00 3186.00 500.00 250.00 100.00 5.00"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM admin.exposicion('AAA', '2026-12-07')"_s), u"1000"_s);
    // a special play on the number holds its quota but is paid by its variant: shown apart
    EXPECT_EQ(sell(u"123"_s, u"2"_s, u"AAA"_s, u"1"_s), u"0"_s);
    EXPECT_EQ(db.value(u"SELECT concat_ws(' ', triple::numeric(12, 2), especial::numeric(12, 2), "
                       u"vendido::numeric(12, 2), paga_primero::numeric(12, 2)) FROM "
                       u"admin.exposicion('AAA', '2026-12-07') WHERE numero = '123'"_s),
              u"6.00 2.00 8.00 3786.00"_s);
    EXPECT_EQ(office(u"SELECT admin.fijar_pago('AAA', 'TRIPLE', 700)"_s), QString());
    EXPECT_EQ(db.value(u"SELECT paga_primero::numeric(12, 2) FROM "
                       u"admin.exposicion('AAA', '2026-12-07') WHERE numero = '123'"_s),
              u"4386.00"_s);
}

}  // namespace
