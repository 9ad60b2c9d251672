// One sales point can never hurt another: failed logins a client cannot roll back, quota held
// only while it is used and never past the office's share, locks and transactions bounded
// whatever a client sets, a connection limit per login.
#include "issued_tickets.h"
#include "platform/pq_gateway.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

using namespace vendura;
using namespace vendura::test;

namespace {

class LimitsTest : public ::testing::Test {
  protected:
    LimitsTest() {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
    }
    RawConnection point(const QString& vendor = u"00012"_s) {
        return connectAs(db, db.account(vendor), u"clave-"_s + vendor);
    }
    // A seller's login as a client may send it, in a transaction of its own or inside one it
    // rolls back: whether it let the seller in.
    static bool login(PGconn* c, const QString& password, bool rolledBack = false) {
        PQclear(PQexec(c, "BEGIN"));
        const QByteArray p = password.toUtf8();
        const char* values[] = {p.constData()};
        PQclear(PQexecParams(c, "CALL public.xvldusrt(NULL, '0', '1001', $1, 'l')", 1, nullptr,
                             values, nullptr, nullptr, 0));
        PGresult* r;
        r = PQexec(c, "FETCH ALL l");
        const bool in = PQntuples(r) == 1;
        PQclear(r);
        PQclear(PQexec(c, rolledBack ? "ROLLBACK" : "COMMIT"));
        return in;
    }
    // A straight play of 00012 on the given open ticket; answers the procedure's code, or the
    // SQLSTATE of the error it raised.
    static QString play(PGconn* c, const QString& ticket, const QString& number,
                        const QString& amount, int item = 0) {
        const QByteArray t = ticket.toUtf8(), n = number.toUtf8(), m = amount.toUtf8(),
                         i = QByteArray::number(item);
        const char* values[] = {n.constData(), m.constData(), i.constData(), t.constData()};
        PGresult* r = PQexecParams(
            c, "CALL public.xcreanormal(NULL, '00012', '1001', $1, $2, $3, 'AAA', $4, NULL)", 4,
            nullptr, values, nullptr, nullptr, 0);
        const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
        const QString out =
            state ? QString::fromLatin1(state) : QString::fromUtf8(PQgetvalue(r, 0, 0));
        PQclear(r);
        return out;
    }
    QString sold(const QString& number) {
        return db.value(u"SELECT vendido::float8 FROM central.ventas_numero WHERE numero = $1"_s,
                        {number});
    }

    TestDatabase db;
};

// The failures count whatever the client does: each attempt inside a transaction it rolls back
// still counts; five lock the seller out; a success clears the count.
TEST_F(LimitsTest, FailedLoginsCountWhateverTheClientRollsBack) {
    RawConnection c = point();
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(login(c.get(), u"9999"_s, true));
    EXPECT_FALSE(login(c.get(), u"1234"_s));
    EXPECT_EQ(db.auditActions().filter(u"INGRESO_FALLIDO|00012|1001"_s).size(), 5);
    EXPECT_EQ(db.auditActions().filter(u"INGRESO_BLOQUEADO|00012|1001"_s).size(), 16);
    db.setClock(u"2026-12-07 10:16:00"_s);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(login(c.get(), u"9999"_s));
    EXPECT_TRUE(login(c.get(), u"1234"_s));
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(login(c.get(), u"9999"_s));
    EXPECT_TRUE(login(c.get(), u"1234"_s));  // the success before cleared the count
}

// Attempts sent at once, on every connection the login may open, check five wrong passwords at
// most; the others are refused unchecked.
TEST_F(LimitsTest, ABurstOfAttemptsChecksFiveWrongPasswordsAtMost) {
    std::vector<std::thread> counters;
    for (int k = 0; k < 6; ++k) {
        counters.emplace_back([this] {
            RawConnection c = point();
            for (int i = 0; i < 7; ++i) login(c.get(), u"9999"_s);
        });
    }
    for (std::thread& t : counters) t.join();
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.intentos_ingreso"_s), u"5"_s);
    EXPECT_EQ(db.auditActions().filter(u"INGRESO_BLOQUEADO|00012|1001"_s).size(), 37);
}

// An open ticket without plays gives its quota back after the office's minutes; its counter is
// told on the next call and goes on under a new number. The office releases tickets too.
TEST_F(LimitsTest, AnIdleTicketGivesItsQuotaBack) {
    RawConnection c = point();
    const QString idle = db.newTicket(u"00012"_s);
    EXPECT_EQ(play(c.get(), idle, u"123"_s, u"100"_s), u"0"_s);  // the number's whole quota
    db.setClock(u"2026-12-07 10:29:00"_s);
    EXPECT_EQ(db.value(u"SELECT central.liberar_inactivos()"_s), u"0"_s);
    db.setClock(u"2026-12-07 10:31:00"_s);
    EXPECT_EQ(db.value(u"SELECT central.liberar_inactivos()"_s), u"1"_s);
    EXPECT_EQ(sold(u"123"_s), u"0"_s);
    EXPECT_EQ(play(c.get(), idle, u"456"_s, u"1"_s, 1), u"80"_s);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.items_ticket WHERE nticket = $1 AND "
                       u"vigente"_s,
                       {idle}),
              u"0"_s);
    EXPECT_EQ(db.auditActions().filter(u"TICKET_LIBERADO|00012|"_s).size(), 1);

    // the office's hand, and a suspension, release what is open
    const QString open = db.newTicket(u"00012"_s);
    EXPECT_EQ(play(c.get(), open, u"123"_s, u"60"_s), u"0"_s);
    EXPECT_EQ(db.value(u"SELECT admin.liberar_tickets('00012')"_s), u"1"_s);
    EXPECT_EQ(sold(u"123"_s), u"0"_s);
    const QString next = db.newTicket(u"00012"_s);
    EXPECT_EQ(play(c.get(), next, u"123"_s, u"60"_s), u"0"_s);
    db.admin(u"SELECT admin.estado_vendedor('00012', 'S')"_s);
    EXPECT_EQ(sold(u"123"_s), u"0"_s);
}

// With a share of 25 % a sales point takes 25 of a number of quota 100; another takes the rest.
TEST_F(LimitsTest, ASalesPointHoldsAtMostItsShareOfANumber) {
    db.admin(u"SELECT admin.fijar_cupo_punto('00012', 25)"_s);
    RawConnection c = point();
    const QString ticket = db.newTicket(u"00012"_s);
    EXPECT_EQ(play(c.get(), ticket, u"123"_s, u"20"_s), u"0"_s);
    EXPECT_EQ(play(c.get(), ticket, u"123"_s, u"20"_s, 1), u"1"_s);  // 5 of it
    EXPECT_EQ(sold(u"123"_s), u"25"_s);
    EXPECT_EQ(play(c.get(), ticket, u"124"_s, u"30"_s, 2), u"1"_s);
    PqGateway other(5);
    ASSERT_TRUE(other.open(db.connectionText(u"00013"_s)).ok());
    const QString theirs = db.newTicket(u"00013"_s);
    EXPECT_EQ(other
                  .callPositional(u"xcreanormal"_s, {u"00013"_s, u"2001"_s, u"123"_s, u"75"_s,
                                                     u"0"_s, u"AAA"_s, theirs})
                  .value()
                  .returnNumber(),
              0);
    EXPECT_EQ(sold(u"123"_s), u"100"_s);
}

// A sales point holding a number's row in a transaction it leaves open holds another's play on
// it for the procedures' lock timeout at most, whatever the other client set for itself; the
// server ends the connection that stays idle in its transaction.
TEST_F(LimitsTest, AnOpenTransactionHoldsAnotherSalesPointForTheLockTimeoutOnly) {
    RawConnection holder = point();
    const QString held = db.newTicket(u"00012"_s);
    PQclear(PQexec(holder.get(), "BEGIN"));
    EXPECT_EQ(play(holder.get(), held, u"123"_s, u"1"_s), u"0"_s);

    RawConnection waiter = point(u"00013"_s);
    PQclear(PQexec(waiter.get(), "SET lock_timeout = 0; SET statement_timeout = 0"));
    const QString theirs = db.newTicket(u"00013"_s);
    QElapsedTimer waited;
    waited.start();
    PGresult* r = PQexec(
        waiter.get(), ("CALL public.xcreanormal(NULL, '00013', '2001', '123', '1', '0', 'AAA', '" +
                       theirs.toUtf8() + "', NULL)")
                          .constData());
    EXPECT_STREQ(PQresultErrorField(r, PG_DIAG_SQLSTATE), "55P03");
    PQclear(r);
    RecordProperty("lock_wait_ms", int(waited.elapsed()));

    QThread::msleep(1200);
    EXPECT_EQ(db.value(u"SELECT central.terminar_abusos('1 second', '1 hour')"_s), u"1"_s);
    EXPECT_NE(PQstatus(holder.get()) == CONNECTION_OK &&
                  PQresultStatus(PQexec(holder.get(), "SELECT 1")) == PGRES_TUPLES_OK,
              true);
    EXPECT_EQ(db.auditActions().filter(u"CONEXION_TERMINADA|00012|"_s).size(), 1);
    EXPECT_EQ(sold(u"123"_s), QString());  // the held play never committed
}

TEST_F(LimitsTest, ASalesPointsLoginOpensSixConnectionsAtMost) {
    std::vector<RawConnection> open;
    for (int i = 0; i < 6; ++i) {
        open.push_back(point());
        EXPECT_EQ(PQstatus(open.back().get()), CONNECTION_OK) << i;
    }
    RawConnection seventh = point();
    EXPECT_NE(PQstatus(seventh.get()), CONNECTION_OK);
    EXPECT_TRUE(
        QString::fromUtf8(PQerrorMessage(seventh.get())).contains(u"too many connections"_s));
    // another sales point is not held back by it
    EXPECT_EQ(PQstatus(point(u"00013"_s).get()), CONNECTION_OK);
}

}  // namespace
