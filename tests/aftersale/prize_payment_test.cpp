#include "issued_tickets.h"
#include "platform/pq_gateway.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <QRegularExpression>

#include <atomic>
#include <thread>

using namespace vendura;
using namespace vendura::test;

namespace {

constexpr auto kYesterday = "2026-12-06";

struct Answer {
    QString code;
    QString premio;
    QString estado;
};

Answer pagaticket(PqGateway& gateway, const QString& serial, const QString& mode,
                  const QString& number, const QString& vendor = u"00012"_s,
                  const QString& user = u"1001"_s, const QString& customer = QString()) {
    ProcedureCall call{u"PAGATICKETnew"_s, {}};
    call.in(u"@xserial"_s, serial)
        .in(u"@xcodigo_vend"_s, vendor)
        .in(u"@xcodigo_user"_s, user)
        .in(u"@xmodo"_s, mode)
        .in(u"@nticket"_s, number);
    if (mode == u"1"_s) call.in(u"@codcli"_s, customer);
    auto answer = gateway.call(call);
    EXPECT_TRUE(answer.ok()) << (answer ? "" : answer.error().description.toStdString());
    if (!answer) return {};
    return {answer.value().returnText(), answer.value().rows.text(0, u"montopremio"_s),
            answer.value().rows.text(0, u"estadoticket"_s)};
}

class PrizePaymentTest : public ::testing::Test {
  protected:
    PrizePaymentTest() {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        seedPayouts(db);
        EXPECT_TRUE(gateway.open(db.connectionText()).ok());
    }
    TestDatabase db;
    PqGateway gateway{5};
};

struct PrizeCase {
    const char* name;
    std::vector<SoldItem> items;
    QString triple, segundo, tercero, especial;
    QString code;
    QString premio;
};

// What a ticket sold yesterday on AAA wins once AAA's results are in.
TEST_F(PrizePaymentTest, PrizeIsAmountSoldTimesTheMultiplierOfEachWinningItem) {
    const std::vector<PrizeCase> cases{
        {"triple on the first prize",
         {{u"AAA"_s, u"123"_s, u"2"_s}},
         u"123"_s,
         {},
         {},
         {},
         u"0"_s,
         u"1200.00"_s},
        {"triple on the second prize",
         {{u"AAA"_s, u"456"_s, u"1.5"_s}},
         u"123"_s,
         u"456"_s,
         {},
         {},
         u"0"_s,
         u"150.00"_s},
        {"triple on the third prize",
         {{u"AAA"_s, u"789"_s, u"1"_s}},
         u"123"_s,
         u"456"_s,
         u"789"_s,
         {},
         u"0"_s,
         u"50.00"_s},
        {"first prize before the second",
         {{u"AAA"_s, u"123"_s, u"1"_s}},
         u"123"_s,
         u"123"_s,
         {},
         {},
         u"0"_s,
         u"600.00"_s},
        {"terminal on the last two digits",
         {{u"AAA"_s, u"23*"_s, u"3"_s}},
         u"123"_s,
         {},
         {},
         {},
         u"0"_s,
         u"180.00"_s},
        {"one digit on the last digit",
         {{u"AAA"_s, u"3**"_s, u"5"_s}},
         u"123"_s,
         {},
         {},
         {},
         u"0"_s,
         u"30.00"_s},
        {"special play with its variant",
         {{u"AAA"_s, u"777"_s, u"0.5"_s, u"2"_s, u"1"_s}},
         u"123"_s,
         {},
         {},
         u"777"_s,
         u"0"_s,
         u"500.00"_s},
        {"special variant without a payout",
         {{u"AAA"_s, u"777"_s, u"1"_s, u"2"_s, u"2"_s}},
         u"123"_s,
         {},
         {},
         u"777"_s,
         u"3"_s,
         u"0.00"_s},
        {"special play on the first prize only",
         {{u"AAA"_s, u"123"_s, u"1"_s, u"2"_s, u"1"_s}},
         u"123"_s,
         {},
         {},
         u"777"_s,
         u"3"_s,
         u"0.00"_s},
        {"no win",
         {{u"AAA"_s, u"124"_s, u"1"_s}, {u"AAA"_s, u"24*"_s, u"1"_s}},
         u"123"_s,
         {},
         {},
         {},
         u"3"_s,
         u"0.00"_s},
        {"triple, terminal and digit add up",
         {{u"AAA"_s, u"123"_s, u"1"_s},
          {u"AAA"_s, u"23*"_s, u"1"_s},
          {u"AAA"_s, u"3**"_s, u"1"_s},
          {u"AAA"_s, u"999"_s, u"4"_s}},
         u"123"_s,
         {},
         {},
         {},
         u"0"_s,
         u"666.00"_s},
        {"a draw still without results",
         {{u"AAA"_s, u"123"_s, u"1"_s}, {u"BBB"_s, u"1**"_s, u"1"_s}},
         u"123"_s,
         {},
         {},
         {},
         u"3"_s,
         u"0.00"_s},
        {"a prize rounds to the cent",
         {{u"AAA"_s, u"3**"_s, u"0.001"_s}},
         u"123"_s,
         {},
         {},
         {},
         u"0"_s,
         u"0.01"_s},
    };
    int n = 100;
    for (const PrizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        db.admin(u"DELETE FROM central.resultados"_s);
        enterResult(db, u"AAA"_s, QString::fromLatin1(kYesterday), c.triple, c.segundo, c.tercero,
                    c.especial);
        const QString number = issueTicket(db, QString::number(++n), u"555"_s,
                                           QString::fromLatin1(kYesterday), c.items);
        const Answer a = pagaticket(gateway, u"555"_s, u"0"_s, number);
        EXPECT_EQ(a.code, c.code);
        EXPECT_EQ(a.premio, c.premio);
    }
}

TEST_F(PrizePaymentTest, CancelledAndExpiredTicketsAreNotPaid) {
    enterResult(db, u"AAA"_s, u"2026-12-02"_s, u"123"_s);
    enterResult(db, u"AAA"_s, u"2026-12-04"_s, u"123"_s);
    enterResult(db, u"AAA"_s, QString::fromLatin1(kYesterday), u"123"_s);
    const QString cancelled = issueTicket(db, u"201"_s, u"11"_s, QString::fromLatin1(kYesterday),
                                          {{u"AAA"_s, u"123"_s, u"1"_s}});
    db.admin(
        u"UPDATE central.tickets SET anulado = 'S', estado = 'ELI', anulado_en = central.ahora() WHERE nroticket = $1"_s,
        {cancelled});
    // the sales point pays for 3 days after the draw: the 4th is the last day, the 5th is late
    const QString lastDay =
        issueTicket(db, u"202"_s, u"12"_s, u"2026-12-04"_s, {{u"AAA"_s, u"123"_s, u"1"_s}});
    const QString late =
        issueTicket(db, u"203"_s, u"13"_s, u"2026-12-02"_s, {{u"AAA"_s, u"123"_s, u"1"_s}});

    const Answer a = pagaticket(gateway, u"11"_s, u"1"_s, cancelled);
    EXPECT_EQ(a.code, u"9"_s);
    EXPECT_EQ(a.premio, u"0.00"_s);
    EXPECT_EQ(a.estado, u"ELI"_s);
    EXPECT_EQ(pagaticket(gateway, u"12"_s, u"0"_s, lastDay).code, u"0"_s);
    const Answer expired = pagaticket(gateway, u"13"_s, u"1"_s, late);
    EXPECT_EQ(expired.code, u"7"_s);
    EXPECT_EQ(expired.premio, u"600.00"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.pagos"_s), u"0"_s);
}

TEST_F(PrizePaymentTest, APrizeIsPaidOnceAndTheSecondTryIsTold) {
    enterResult(db, u"AAA"_s, QString::fromLatin1(kYesterday), u"123"_s);
    const QString number =
        issueTicket(db, u"301"_s, u"246813579"_s, QString::fromLatin1(kYesterday),
                    {{u"AAA"_s, u"123"_s, u"2"_s}});
    // the seller may leave the leading zeros of the number out
    EXPECT_EQ(pagaticket(gateway, u"246813579"_s, u"0"_s, u"301"_s).code, u"0"_s);
    EXPECT_EQ(
        pagaticket(gateway, u"246813579"_s, u"1"_s, u"301"_s, u"00012"_s, u"1001"_s, u"V-1234"_s)
            .code,
        u"0"_s);
    const Answer check = pagaticket(gateway, u"246813579"_s, u"0"_s, number);
    EXPECT_EQ(check.code, u"55"_s);
    EXPECT_EQ(check.premio, u"1200.00"_s);
    EXPECT_EQ(pagaticket(gateway, u"246813579"_s, u"1"_s, number).code, u"6"_s);
    EXPECT_EQ(db.rows(u"SELECT nroticket, monto, cedula, cod_usuario FROM central.pagos"_s),
              (std::vector<QStringList>{{number, u"1200.00"_s, u"V-1234"_s, u"1001"_s}}));
    const QStringList audit = db.auditActions();
    EXPECT_EQ(audit.count(u"PREMIO_PAGADO|00012|1001"_s), 1);
    EXPECT_EQ(audit.count(u"PAGO_RECHAZADO|00012|1001"_s), 1);
}

TEST_F(PrizePaymentTest, NumberAndSerialMustBothBeThoseOfATicketOfThisSalesPoint) {
    enterResult(db, u"AAA"_s, QString::fromLatin1(kYesterday), u"123"_s);
    const QString own = issueTicket(db, u"401"_s, u"777"_s, QString::fromLatin1(kYesterday),
                                    {{u"AAA"_s, u"123"_s, u"1"_s}});
    const QString other = issueTicket(db, u"402"_s, u"888"_s, QString::fromLatin1(kYesterday),
                                      {{u"AAA"_s, u"123"_s, u"1"_s}}, u"00013"_s, u"2001"_s);
    const QString before = db.checksum();
    const std::vector<std::pair<QString, QString>> refused{
        {u"778"_s, own},              // another serial
        {u"777"_s, u"0000000402"_s},  // another ticket's number
        {u"888"_s, other},            // another sales point's ticket
        {QString(30, u'7'), own},     // a serial of 30 digits
        {u"abc"_s, own},              // letters
        {u"777"_s, u"401x"_s},        // a number that is none
        {u"777"_s, QString()},        // no number
    };
    for (const auto& [serial, number] : refused) {
        SCOPED_TRACE(serial.toStdString() + " / " + number.toStdString());
        EXPECT_EQ(pagaticket(gateway, serial, u"1"_s, number).code, u"8"_s);
        EXPECT_EQ(db.checksum(), before);
    }
    // the other sales point's seller, sent through this sales point's login
    EXPECT_EQ(pagaticket(gateway, u"888"_s, u"1"_s, other, u"00013"_s, u"2001"_s).code, u"8"_s);
    EXPECT_EQ(db.checksum(), before);
    // a seller suspended since the login pays nothing
    db.admin(u"UPDATE central.usuarios SET estado = 'S' WHERE cod_usuario = '1001'"_s);
    const QString suspended = db.checksum();
    EXPECT_EQ(pagaticket(gateway, u"777"_s, u"1"_s, own).code, u"12"_s);
    EXPECT_EQ(db.checksum(), suspended);
}

// Two counters of the sales point pay the same tickets at the same moment: each ticket is paid
// once, and the other counter is told it was paid.
TEST_F(PrizePaymentTest, TwoCountersPayingTheSameTicketAtOncePayOnce) {
    enterResult(db, u"AAA"_s, QString::fromLatin1(kYesterday), u"123"_s);
    constexpr int kTickets = 20;
    QStringList numbers;
    for (int i = 0; i < kTickets; ++i) {
        numbers << issueTicket(db, QString::number(500 + i), u"99"_s,
                               QString::fromLatin1(kYesterday), {{u"AAA"_s, u"123"_s, u"1"_s}});
    }
    std::atomic<int> ready{0};
    std::vector<std::vector<QString>> codes(2);
    auto counter = [&](int which) {
        PqGateway own(5);
        ASSERT_TRUE(own.open(db.connectionText()).ok());
        ++ready;
        while (ready.load() < 2) std::this_thread::yield();
        for (const QString& n : numbers)
            codes[which].push_back(pagaticket(own, u"99"_s, u"1"_s, n).code);
    };
    std::thread a(counter, 0), b(counter, 1);
    a.join();
    b.join();
    for (int i = 0; i < kTickets; ++i) {
        QStringList pair{codes[0][i], codes[1][i]};
        pair.sort();
        EXPECT_EQ(pair, (QStringList{u"0"_s, u"6"_s})) << numbers[i].toStdString();
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.pagos"_s), QString::number(kTickets));
    EXPECT_EQ(db.value(u"SELECT sum(monto) FROM central.pagos"_s), u"12000.00"_s);
}

// A cancellation as the cancelling procedure makes it: the ticket's row lock, then the state,
// unless the prize was paid.
bool cancelUnderTheTicketLock(PGconn* conn, const QString& number) {
    const QByteArray n = number.toUtf8();
    const char* values[] = {n.constData()};
    PQclear(PQexec(conn, "BEGIN"));
    PQclear(PQexecParams(conn, "SELECT 1 FROM central.tickets WHERE nroticket = $1 FOR UPDATE", 1,
                         nullptr, values, nullptr, nullptr, 0));
    PGresult* r =
        PQexecParams(conn,
                     "UPDATE central.tickets SET anulado = 'S', estado = 'ELI', anulado_en = now() "
                     "WHERE nroticket = $1 AND NOT EXISTS (SELECT FROM central.pagos p "
                     "WHERE p.nroticket = $1)",
                     1, nullptr, values, nullptr, nullptr, 0);
    const bool cancelled = QByteArray(PQcmdTuples(r)) == "1";
    PQclear(r);
    PQclear(PQexec(conn, "COMMIT"));
    return cancelled;
}

TEST_F(PrizePaymentTest, APaymentRacingACancellationEndsInOneOfTheTwo) {
    enterResult(db, u"AAA"_s, QString::fromLatin1(kYesterday), u"123"_s);
    constexpr int kTickets = 20;
    QStringList numbers;
    for (int i = 0; i < kTickets; ++i) {
        numbers << issueTicket(db, QString::number(600 + i), u"42"_s,
                               QString::fromLatin1(kYesterday), {{u"AAA"_s, u"123"_s, u"1"_s}});
    }
    std::atomic<int> ready{0};
    std::vector<QString> paid;
    std::vector<bool> cancelled;
    std::thread payer([&] {
        PqGateway own(5);
        ASSERT_TRUE(own.open(db.connectionText()).ok());
        ++ready;
        while (ready.load() < 2) std::this_thread::yield();
        for (const QString& n : numbers) paid.push_back(pagaticket(own, u"42"_s, u"1"_s, n).code);
    });
    std::thread canceller([&] {
        const Cluster& c = Cluster::get();
        const QByteArray host = c.socket.toUtf8(), port = QByteArray::number(c.port),
                         name = db.name().toUtf8();
        const char* keys[] = {"host", "port", "user", "dbname", nullptr};
        const char* values[] = {host.constData(), port.constData(), "postgres", name.constData(),
                                nullptr};
        PGconn* conn = PQconnectdbParams(keys, values, 0);
        ++ready;
        while (ready.load() < 2) std::this_thread::yield();
        for (const QString& n : numbers) cancelled.push_back(cancelUnderTheTicketLock(conn, n));
        PQfinish(conn);
    });
    payer.join();
    canceller.join();
    ASSERT_EQ(paid.size(), size_t(kTickets));
    for (int i = 0; i < kTickets; ++i) {
        SCOPED_TRACE(numbers[i].toStdString());
        if (cancelled[i]) {
            EXPECT_EQ(paid[i], u"9"_s);
        } else {
            EXPECT_EQ(paid[i], u"0"_s);
        }
        const QString state = db.value(
            u"SELECT t.anulado || (SELECT count(*) FROM central.pagos p WHERE p.nroticket = "
            u"t.nroticket) FROM central.tickets t WHERE t.nroticket = $1"_s,
            {numbers[i]});
        EXPECT_TRUE(state == u"S0"_s || state == u"N1"_s) << state.toStdString();
    }
}

TEST_F(PrizePaymentTest, CorrectedResultsDecideUntilAPrizeOfTheDrawIsPaid) {
    enterResult(db, u"AAA"_s, QString::fromLatin1(kYesterday), u"124"_s);
    const QString number = issueTicket(db, u"701"_s, u"5"_s, QString::fromLatin1(kYesterday),
                                       {{u"AAA"_s, u"123"_s, u"1"_s}});
    EXPECT_EQ(pagaticket(gateway, u"5"_s, u"0"_s, number).code, u"3"_s);
    db.admin(u"SELECT admin.corregir_resultado('AAA', '2026-12-06', '123')"_s);
    EXPECT_EQ(pagaticket(gateway, u"5"_s, u"1"_s, number).code, u"0"_s);
    EXPECT_EQ(db.adminError(u"SELECT admin.corregir_resultado('AAA', '2026-12-06', '555')"_s),
              u"55000"_s);
    EXPECT_EQ(db.value(u"SELECT triple FROM central.resultados"_s), u"123"_s);
}

TEST_F(PrizePaymentTest, CustomersAreLookedUpAndSavedByIdentityNumber) {
    auto cliente = [&](const QString& mode, const QStringList& fields) {
        ProcedureCall call{u"Cliente"_s, {}};
        call.in(u"@modo"_s, mode)
            .in(u"@Cedula"_s, fields.value(0))
            .in(u"@Descripcion"_s, fields.value(1))
            .in(u"@Direccion"_s, fields.value(2))
            .in(u"@Telefonos"_s, fields.value(3));
        auto answer = gateway.call(call);
        EXPECT_TRUE(answer.ok());
        return answer ? answer.value() : CallAnswer{};
    };
    EXPECT_EQ(cliente(u"1"_s, {u"V-555"_s}).returnText(), u"0"_s);
    EXPECT_EQ(cliente(u"0"_s, {u"V-555"_s, QString()}).returnText(), u"1"_s);
    EXPECT_EQ(cliente(u"0"_s, {u"V 555"_s, u"ANA"_s}).returnText(), u"1"_s);
    EXPECT_EQ(cliente(u"0"_s, {u"v-555"_s, u"ANA ROJAS"_s, u"CALLE 1"_s, u"0414"_s}).returnText(),
              u"0"_s);
    const CallAnswer found = cliente(u"1"_s, {u"V-555"_s});
    EXPECT_EQ(found.returnText(), u"1"_s);
    EXPECT_EQ(found.rows.text(0, u"descripcion"_s), u"ANA ROJAS"_s);
    EXPECT_EQ(found.rows.text(0, u"Direccion"_s), u"CALLE 1"_s);
    EXPECT_EQ(found.rows.text(0, u"telefonos"_s), u"0414"_s);
    EXPECT_EQ(cliente(u"0"_s, {u"V-555"_s, u"ANA ROJAS DE PAZ"_s}).returnText(), u"0"_s);
    EXPECT_EQ(db.value(u"SELECT descripcion || '/' || cod_vendedor FROM central.clientes"_s),
              u"ANA ROJAS DE PAZ/00012"_s);
    EXPECT_EQ(db.auditActions().count(u"CLIENTE_GRABADO|00012|"_s), 2);
}

TEST_F(PrizePaymentTest, ResultsOfADayComeInTheGridsOrder) {
    enterResult(db, u"BBB"_s, QString::fromLatin1(kYesterday), u"507"_s, u"111"_s, {}, u"222"_s);
    enterResult(db, u"AAA"_s, QString::fromLatin1(kYesterday), u"123"_s);
    auto answer = gateway.callPositional(u"Verpremios"_s, {u"0"_s, u"06/12/2026"_s, u"00012"_s});
    ASSERT_TRUE(answer.ok());
    const RecordSet& rows = answer.value().rows;
    EXPECT_EQ(rows.fields(),
              (QStringList{u"desc_lot"_s, u"Pri_triple"_s, u"Termi"_s, u"Seg_triple"_s,
                           u"Ter_triple"_s, u"Triple_Especial"_s, u"desc_jugada"_s, u"Digito"_s,
                           u"Par_A"_s, u"Par_B"_s, u"Fijo"_s}));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.text(0, u"desc_lot"_s), u"ALFA"_s);
    EXPECT_EQ(rows.text(1, u"Pri_triple"_s) + rows.text(1, u"Termi"_s) +
                  rows.text(1, u"Seg_triple"_s) + rows.text(1, u"Triple_Especial"_s) +
                  rows.text(1, u"Digito"_s) + rows.text(1, u"Par_A"_s) + rows.text(1, u"Par_B"_s) +
                  rows.text(1, u"Fijo"_s),
              u"50707111222750575"_s);
    for (const QString& day : {u"6/12/2026"_s, u"31/02/2026"_s, u"2026-12-06"_s}) {
        auto bad = gateway.callPositional(u"Verpremios"_s, {u"0"_s, day, u"00012"_s});
        ASSERT_TRUE(bad.ok());
        EXPECT_EQ(bad.value().returnText(), u"1"_s) << day.toStdString();
        EXPECT_TRUE(bad.value().rows.empty());
    }
    auto lotteries = gateway.exec(u"DSPLOT '4', '0'"_s);
    ASSERT_TRUE(lotteries.ok());
    EXPECT_EQ(lotteries.value().rows.size(), 2);
}

TEST_F(PrizePaymentTest, TheAuditKeyIsFiveGroupsOfTheDayAndTheUser) {
    const QString key = db.value(u"SELECT admin.clave_auditoria('2026-12-07', '1001')"_s);
    EXPECT_TRUE(
        QRegularExpression(u"^([2-9A-HJ-NP-Z]{4}-){4}[2-9A-HJ-NP-Z]{4}$"_s).match(key).hasMatch())
        << key.toStdString();
    EXPECT_NE(key, db.value(u"SELECT admin.clave_auditoria('2026-12-08', '1001')"_s));
    EXPECT_NE(key, db.value(u"SELECT admin.clave_auditoria('2026-12-07', '1002')"_s));
    // the server's today is the 7th; the key may be typed without dashes and in small letters
    QString typed = key.toLower();
    typed.remove(u'-');
    EXPECT_EQ(db.value(u"SELECT central.clave_auditoria_valida('1001', $1)"_s, {typed}), u"t"_s);
    EXPECT_EQ(db.value(u"SELECT central.clave_auditoria_valida('1002', $1)"_s, {key}), u"f"_s);
    // another installation's secret gives other keys
    db.admin(u"UPDATE central.instalacion SET secreto_auditoria = central.gen_random_bytes(32)"_s);
    EXPECT_NE(key, db.value(u"SELECT admin.clave_auditoria('2026-12-07', '1001')"_s));
}

}  // namespace
