#include "issued_tickets.h"
#include "platform/pq_gateway.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <functional>
#include <latch>
#include <thread>

using namespace vendura;
using namespace vendura::test;

namespace {

const QString kYesterday = u"2026-12-06"_s;

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
    // Twenty tickets of yesterday, each winning 600 on AAA 123, all with one serial.
    QStringList winners(int first, const QString& serial) {
        enterResult(db, u"AAA"_s, kYesterday, u"123"_s);
        QStringList numbers;
        for (int i = 0; i < 20; ++i) {
            numbers << issueTicket(db, QString::number(first + i), serial, kYesterday,
                                   u"AAA 123 1"_s);
        }
        return numbers;
    }

    TestDatabase db;
    PqGateway gateway{5};
};

// What a ticket sold on AAA (yesterday, unless said) wins once AAA's results are in, and what is
// paid on it.
TEST_F(PrizePaymentTest, PrizeIsAmountSoldTimesTheMultiplierOfEachWinningItem) {
    struct Case {
        const char* name;
        const char* items;
        const char* draw;
        const char* code;
        const char* premio;
        const char* day = "2026-12-06";
        bool cancelled = false;
    };
    int n = 100;
    for (const Case& c : std::initializer_list<Case>{
             {"triple on the first prize", "AAA 123 2", "123", "0", "1200.00"},
             {"triple on the second prize", "AAA 456 1.5", "123 456", "0", "150.00"},
             {"triple on the third prize", "AAA 789 1", "123 456 789", "0", "50.00"},
             {"first prize before the second", "AAA 123 1", "123 123", "0", "600.00"},
             {"terminal on the last two digits", "AAA 23* 3", "123", "0", "180.00"},
             {"one digit on the last digit", "AAA 3** 5", "123", "0", "30.00"},
             {"special play with its variant", "AAA 777 0.5 1", "123 - - 777", "0", "500.00"},
             {"special variant without a payout", "AAA 777 1 2", "123 - - 777", "3", "0.00"},
             {"special play on the first prize only", "AAA 123 1 1", "123 - - 777", "3", "0.00"},
             {"no win", "AAA 124 1; AAA 24* 1", "123", "3", "0.00"},
             {"triple, terminal and digit add up", "AAA 123 1; AAA 23* 1; AAA 3** 1; AAA 999 4",
              "123", "0", "666.00"},
             {"a draw still without results", "AAA 123 1; BBB 1** 1", "123", "3", "0.00"},
             {"a prize rounds to the cent", "AAA 3** 0.001", "123", "0", "0.01"},
             {"a cancelled ticket", "AAA 123 1", "123", "9", "0.00", "2026-12-06", true},
             // paid for 3 days after the draw: the 4th is the last day, the 5th is late
             {"the last day", "AAA 123 1", "123", "0", "600.00", "2026-12-04"},
             {"a day late", "AAA 123 1", "123", "7", "600.00", "2026-12-02"}}) {
        SCOPED_TRACE(c.name);
        db.admin(u"DELETE FROM central.resultados"_s);
        enterResult(db, u"AAA"_s, QString::fromLatin1(c.day), QString::fromLatin1(c.draw));
        const QString number =
            issueTicket(db, QString::number(++n), u"555"_s, QString::fromLatin1(c.day),
                        QString::fromLatin1(c.items));
        if (c.cancelled) {
            db.admin(
                u"UPDATE central.tickets SET anulado = 'S', estado = 'ELI', "
                u"anulado_en = central.ahora() WHERE nroticket = $1"_s,
                {number});
        }
        const Answer a = pagaticket(gateway, u"555"_s, u"1"_s, number);
        EXPECT_EQ(a.code + u" "_s + a.premio + u" "_s + a.estado,
                  QString::fromLatin1(c.code) + u" "_s + QLatin1String(c.premio) +
                      (c.cancelled ? u" ELI"_s : u" ACT"_s));
    }
    // only the prizes answered "0" were paid
    EXPECT_EQ(db.value(u"SELECT count(*) || ' ' || sum(monto) FROM central.pagos"_s),
              u"10 3976.01"_s);
}

TEST_F(PrizePaymentTest, APrizeIsPaidOnceAndTheSecondTryIsTold) {
    enterResult(db, u"AAA"_s, kYesterday, u"123"_s);
    const QString number = issueTicket(db, u"301"_s, u"246813579"_s, kYesterday, u"AAA 123 2"_s);
    // the seller may leave the leading zeros of the number out
    EXPECT_EQ(pagaticket(gateway, u"246813579"_s, u"0"_s, u"301"_s).code, u"0"_s);
    EXPECT_EQ(
        pagaticket(gateway, u"246813579"_s, u"1"_s, u"301"_s, u"00012"_s, u"1001"_s, u"V-1234"_s)
            .code,
        u"0"_s);
    const Answer check = pagaticket(gateway, u"246813579"_s, u"0"_s, number);
    EXPECT_EQ(check.code + u" "_s + check.premio, u"55 1200.00"_s);
    EXPECT_EQ(pagaticket(gateway, u"246813579"_s, u"1"_s, number).code, u"6"_s);
    EXPECT_EQ(db.rows(u"SELECT nroticket, monto, cedula, cod_usuario FROM central.pagos"_s),
              (std::vector<QStringList>{{number, u"1200.00"_s, u"V-1234"_s, u"1001"_s}}));
    const QStringList audit = db.auditActions();
    EXPECT_EQ(audit.count(u"PREMIO_PAGADO|00012|1001"_s), 1);
    EXPECT_EQ(audit.count(u"PAGO_RECHAZADO|00012|1001"_s), 1);
}

TEST_F(PrizePaymentTest, NumberAndSerialMustBothBeThoseOfATicketOfThisSalesPoint) {
    enterResult(db, u"AAA"_s, kYesterday, u"123"_s);
    const QString own = issueTicket(db, u"401"_s, u"777"_s, kYesterday, u"AAA 123 1"_s);
    const QString other =
        issueTicket(db, u"402"_s, u"888"_s, kYesterday, u"AAA 123 1"_s, u"00013"_s, u"2001"_s);
    const QString before = db.checksum();
    const std::vector<std::pair<QString, QString>> refused{
        {u"778"_s, own},              // another serial
        {u"777"_s, u"0000000402"_s},  // another ticket's number
        {u"888"_s, other},            // another sales point's ticket
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

// Runs the two at the same moment, each on a thread of its own.
void atOnce(const std::function<void()>& a, const std::function<void()>& b) {
    std::latch start(2);
    std::thread one([&] {
        start.arrive_and_wait();
        a();
    });
    start.arrive_and_wait();
    b();
    one.join();
}

// Two counters of the sales point pay the same tickets at the same moment: each ticket is paid
// once, and the other counter is told it was paid.
TEST_F(PrizePaymentTest, TwoCountersPayingTheSameTicketAtOncePayOnce) {
    const QStringList numbers = winners(500, u"99"_s);
    PqGateway second(5);
    ASSERT_TRUE(second.open(db.connectionText()).ok());
    std::vector<std::vector<QString>> codes(2);
    auto payAll = [&](PqGateway& counter, std::vector<QString>& answers) {
        return [&] {
            for (const QString& n : numbers)
                answers.push_back(pagaticket(counter, u"99"_s, u"1"_s, n).code);
        };
    };
    atOnce(payAll(gateway, codes[0]), payAll(second, codes[1]));
    for (int i = 0; i < numbers.size(); ++i) {
        QStringList pair{codes[0][i], codes[1][i]};
        pair.sort();
        EXPECT_EQ(pair, (QStringList{u"0"_s, u"6"_s})) << numbers[i].toStdString();
    }
    EXPECT_EQ(db.value(u"SELECT count(*) || ' ' || sum(monto) FROM central.pagos"_s),
              u"20 12000.00"_s);
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
    const QStringList numbers = winners(600, u"42"_s);
    RawConnection canceller = connectAs(db, u"postgres"_s);
    std::vector<QString> paid;
    std::vector<bool> cancelled;
    atOnce(
        [&] {
            for (const QString& n : numbers)
                paid.push_back(pagaticket(gateway, u"42"_s, u"1"_s, n).code);
        },
        [&] {
            for (const QString& n : numbers)
                cancelled.push_back(cancelUnderTheTicketLock(canceller.get(), n));
        });
    ASSERT_EQ(paid.size(), size_t(numbers.size()));
    for (int i = 0; i < numbers.size(); ++i) {
        const QString state = db.value(
            u"SELECT t.anulado || (SELECT count(*) FROM central.pagos p WHERE p.nroticket = "
            u"t.nroticket) FROM central.tickets t WHERE t.nroticket = $1"_s,
            {numbers[i]});
        // told "cancelled" and nothing paid, or paid and not cancelled
        EXPECT_EQ(paid[i] + state, cancelled[i] ? u"9S0"_s : u"0N1"_s) << numbers[i].toStdString();
    }
}

TEST_F(PrizePaymentTest, CorrectedResultsDecideUntilAPrizeOfTheDrawIsPaid) {
    enterResult(db, u"AAA"_s, kYesterday, u"124"_s);
    const QString number = issueTicket(db, u"701"_s, u"5"_s, kYesterday, u"AAA 123 1"_s);
    EXPECT_EQ(pagaticket(gateway, u"5"_s, u"0"_s, number).code, u"3"_s);
    db.admin(u"SELECT admin.corregir_resultado('AAA', '2026-12-06', '123')"_s);
    EXPECT_EQ(pagaticket(gateway, u"5"_s, u"1"_s, number).code, u"0"_s);
    EXPECT_EQ(db.adminError(u"SELECT admin.corregir_resultado('AAA', '2026-12-06', '555')"_s),
              u"55000"_s);
    EXPECT_EQ(db.value(u"SELECT triple FROM central.resultados"_s), u"123"_s);
}

// That the key changes with the day and is typed without dashes in small letters is checked on
// the journal's key screen.
TEST_F(PrizePaymentTest, TheAuditKeyIsFiveGroupsOfTheUserAndTheInstallation) {
    auto keyOf = [&](const char* user) {
        return db.value(u"SELECT admin.clave_auditoria('2026-12-07', $1)"_s,
                        {QString::fromLatin1(user)});
    };
    const QString key = keyOf("1001");
    EXPECT_TRUE(
        QRegularExpression(u"^([2-9A-HJ-NP-Z]{4}-){4}[2-9A-HJ-NP-Z]{4}$"_s).match(key).hasMatch())
        << key.toStdString();
    EXPECT_NE(key, keyOf("1002"));
    EXPECT_EQ(db.value(u"SELECT central.clave_auditoria_valida('1002', $1)"_s, {key}), u"f"_s);
    // another installation's secret gives other keys
    db.admin(u"UPDATE central.instalacion SET secreto_auditoria = central.gen_random_bytes(32)"_s);
    EXPECT_NE(key, keyOf("1001"));
}

}  // namespace
