// Counters behind the connection pooler share one login there: each call acts for the sales
// point of the session it carries, a session is proved with the sales point's own password and
// is never another's, and an unknown, expired or busy one is refused.
#include "issued_tickets.h"
#include "platform/pq_gateway.h"

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

class PooledIdentityTest : public ::testing::Test {
  protected:
    PooledIdentityTest() {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
    }
    RawConnection pasarela() { return connectAs(db, u"vendura_pasarela"_s); }

    // The token of a new session of a sales point's account, "" when refused.
    QString openSession(PGconn* c, const QString& vendor, const QString& password = {}) {
        const QByteArray a = db.account(vendor).toUtf8(),
                         p = (password.isNull() ? u"clave-"_s + vendor : password).toUtf8();
        const char* values[] = {a.constData(), p.constData()};
        PGresult* r = PQexecParams(c, "CALL public.xabresesion(NULL, $1, $2, NULL, 's')", 2,
                                   nullptr, values, nullptr, nullptr, 0);
        const QString token = PQresultStatus(r) == PGRES_TUPLES_OK
                                  ? QString::fromLatin1(PQgetvalue(r, 0, PQfnumber(r, "xtoken")))
                                  : QString();
        PQclear(r);
        return token;
    }

    // The calls a session is proved for: a plain one, and a straight play, whose compiled
    // booking proves the session itself.
    std::vector<QByteArray> calls() {
        if (ticket.isEmpty()) ticket = db.newTicket(u"00012"_s).toLatin1();
        return {"CALL public.retornafecha(NULL, 'f')",
                "CALL public.xcreanormal(NULL, '00012', '1001', '123', '1', '0', 'AAA', '" +
                    ticket + "', NULL)"};
    }

    // A call carrying a token, as the counter sends one, committed unless the transaction is to
    // stay open: the SQLSTATE it raised, "" when it ran.
    static QString callWith(PGconn* c, const QString& token, bool stayOpen = false,
                            const QByteArray& call = "CALL public.retornafecha(NULL, 'f')") {
        PQclear(PQexec(c, "BEGIN"));
        const QByteArray t = token.toLatin1();
        const char* values[] = {t.constData()};
        PQclear(PQexecParams(c, "SELECT set_config('vendura.sesion', $1, true)", 1, nullptr, values,
                             nullptr, nullptr, 0));
        PGresult* r = PQexec(c, call.constData());
        const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
        const QString out = state ? QString::fromLatin1(state) : QString();
        PQclear(r);
        if (!stayOpen || !out.isEmpty()) PQclear(PQexec(c, out.isEmpty() ? "COMMIT" : "ROLLBACK"));
        return out;
    }

    int sessions(const QString& vendor) {
        return db
            .value(u"SELECT count(*) FROM central.sesiones WHERE cuenta = $1"_s,
                   {db.account(vendor)})
            .toInt();
    }

    TestDatabase db;
    QByteArray ticket;
};

TEST_F(PooledIdentityTest, ACallWithoutALiveSessionIsRefusedAndAuditedAndTheCounterOpensANewOne) {
    RawConnection c = pasarela();
    const QString token = openSession(c.get(), u"00012"_s);
    ASSERT_EQ(token.size(), 64);
    EXPECT_EQ(callWith(c.get(), token), u""_s);

    QString forged = token;
    forged[0] = forged[0] == u'a' ? u'b' : u'a';
    for (const QByteArray& call : calls()) {
        EXPECT_EQ(callWith(c.get(), token, false, call), u""_s) << call.constData();
        for (const QString& bad : {QString(), forged, u"' OR true --"_s}) {
            EXPECT_EQ(callWith(c.get(), bad, false, call), u"28000"_s)
                << bad.toStdString() << ' ' << call.constData();
            EXPECT_EQ(db.auditActions().last(), u"SESION_RECHAZADA||"_s);
        }
    }
    // sessions last the hours the central office allows
    for (const QByteArray& call : calls()) {
        db.setClock(u"2026-12-07 21:59:00"_s);
        EXPECT_EQ(callWith(c.get(), token, false, call), u""_s) << call.constData();
        db.setClock(u"2026-12-07 22:00:00"_s);
        EXPECT_EQ(callWith(c.get(), token, false, call), u"28000"_s) << call.constData();
    }

    // the counter's gateway opens a session again by itself and sends the refused call once more
    PqGateway counter(5);
    ASSERT_TRUE(counter.open(db.pooledConnectionText()).ok());
    db.setClock(u"2026-12-08 11:00:00"_s);
    auto answer = counter.callPositional(u"Retornafecha"_s, {});
    ASSERT_TRUE(answer.ok()) << answer.error().description.toStdString();
    EXPECT_EQ(answer.value().rows.text(0, u"fecha"_s), u"2026-12-08 11:00:00"_s);
    EXPECT_EQ(db.auditActions().mid(db.auditActions().size() - 2),
              (QStringList{u"SESION_RECHAZADA||"_s, u"SESION_ABIERTA|00012|"_s}));
    EXPECT_EQ(db.value(u"SELECT cuenta FROM central.auditoria ORDER BY id DESC LIMIT 1"_s),
              db.account(u"00012"_s));
    // a counter that closes its connection ends its session
    counter.close();
    EXPECT_EQ(sessions(u"00012"_s), 0);
}

TEST_F(PooledIdentityTest, OnlyTheSalesPointsPasswordOpensASessionAndFiveWrongOnesLockItOut) {
    PqGateway counter(5);
    EXPECT_FALSE(counter.open(db.pooledConnectionText(u"00012"_s, u"clave-00013"_s)).ok());
    RawConnection c = pasarela();
    EXPECT_EQ(openSession(c.get(), u"00099"_s), u""_s);
    EXPECT_EQ(db.auditActions().last(), u"SESION_RECHAZADA||"_s);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(openSession(c.get(), u"00012"_s, u"12345678"_s), u""_s);
    EXPECT_EQ(db.auditActions().last(), u"INGRESO_FALLIDO|00012|@00012"_s);
    EXPECT_EQ(openSession(c.get(), u"00012"_s), u""_s);
    EXPECT_EQ(db.auditActions().last(), u"INGRESO_BLOQUEADO|00012|@00012"_s);
    EXPECT_FALSE(counter.open(db.pooledConnectionText()).ok());
    // another sales point goes on
    EXPECT_TRUE(counter.open(db.pooledConnectionText(u"00013"_s)).ok());
    db.setClock(u"2026-12-07 10:16:00"_s);
    EXPECT_TRUE(counter.open(db.pooledConnectionText()).ok());
    EXPECT_EQ(sessions(u"00012"_s), 1);
}

TEST_F(PooledIdentityTest, ASalesPointHoldsAFewSessionsEachServingOneCallAtATime) {
    RawConnection a = pasarela(), b = pasarela();
    std::vector<QString> tokens;
    for (int i = 0; i < 7; ++i) tokens.push_back(openSession(a.get(), u"00012"_s));
    EXPECT_EQ(sessions(u"00012"_s), 6);
    EXPECT_EQ(callWith(a.get(), tokens.front()), u"28000"_s);  // the oldest ended
    EXPECT_EQ(callWith(a.get(), tokens.back()), u""_s);

    // a second connection with a session in use waits for nothing and holds nothing
    for (const QByteArray& call : calls()) {
        ASSERT_EQ(callWith(a.get(), tokens.back(), true), u""_s);
        EXPECT_EQ(callWith(b.get(), tokens.back(), false, call), u"55P03"_s) << call.constData();
        EXPECT_EQ(callWith(b.get(), tokens[1], false, call), u""_s) << call.constData();
        PQclear(PQexec(a.get(), "COMMIT"));
        EXPECT_EQ(callWith(b.get(), tokens.back(), false, call), u""_s) << call.constData();
    }
}

TEST_F(PooledIdentityTest, ThePooledLoginReadsNothingAndANewPasswordEndsTheSessions) {
    RawConnection c = pasarela();
    const QString token = openSession(c.get(), u"00012"_s);
    ASSERT_FALSE(token.isEmpty());
    const QString with = u"SELECT set_config('vendura.sesion', '"_s + token + u"', false)"_s;
    PQclear(PQexec(c.get(), with.toLatin1().constData()));
    for (const char* sql : {"SELECT * FROM central.sesiones", "SELECT * FROM central.tickets",
                            "SELECT central.vendedor_de_sesion()",
                            "SELECT admin.cambiar_clave_cuenta('00013', 'otra-clave-1')"}) {
        EXPECT_EQ(sqlState(c.get(), QString::fromLatin1(sql)), u"42501"_s) << sql;
    }
    PQclear(PQexec(c.get(), "RESET vendura.sesion"));

    db.admin(u"SELECT admin.cambiar_clave_cuenta('00012', 'nueva-clave-1')"_s);
    EXPECT_EQ(callWith(c.get(), token), u"28000"_s);
    PqGateway counter(5);
    EXPECT_FALSE(counter.open(db.pooledConnectionText()).ok());
    EXPECT_TRUE(counter.open(db.pooledConnectionText(u"00012"_s, u"nueva-clave-1"_s)).ok());
}

}  // namespace
