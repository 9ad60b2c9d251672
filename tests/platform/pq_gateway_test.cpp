#include "platform/pq_gateway.h"
#include "platform/connection_text.h"
#include "test_database.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

using namespace vendura;
using vendura::test::TestDatabase;

namespace {

class PqGatewayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db.seedVendor();
        ASSERT_TRUE(gateway.open(db.connectionText()).ok());
    }
    // The seller 1001's login, on the fixture's connection or another one.
    Result<CallAnswer> login() { return login(gateway); }
    static Result<CallAnswer> login(PqGateway& on) {
        ProcedureCall call{u"xVLDUSRT"_s, {}, 900};
        call.out(u"@xmodo"_s, u"0"_s, 60)
            .in(u"@xusuario"_s, u"1001"_s, 5)
            .in(u"@xclave"_s, u"1234"_s, 10);
        return on.call(call);
    }
    // The error number of a failed call; 0 when it was answered.
    int failure(const Result<CallAnswer>& answer) { return answer ? 0 : answer.error().number; }

    TestDatabase db;
    PqGateway gateway{5};
};

TEST_F(PqGatewayTest, CallsAndTextCommandsReturnTheirValueOutputsAndRowsByName) {
    auto answer = login();
    ASSERT_TRUE(answer.ok()) << answer.error().description.toStdString();
    const CallAnswer& a = answer.value();
    EXPECT_EQ((QStringList{a.returnText(), a.output(u"@xmodo"_s), QString::number(a.rows.size()),
                           a.rows.text(0, u"codvendedor"_s), a.rows.text(0, u"Nombre_Usua"_s)}),
              (QStringList{u"0"_s, u"AGENCIA LA FORTUNA"_s, u"1"_s, u"00012"_s, u"ANA PEREZ"_s}));
    EXPECT_FALSE(a.rows.value(0, u"DIRIP_2"_s).has_value());  // a null

    EXPECT_EQ(gateway.exec(u"Retornafecha"_s).value().rows.text(0, u"fecha"_s).size(), 19);
    auto lots = gateway.exec(u"xdsplot 'X', 'A'"_s);
    EXPECT_TRUE(lots && lots.value().returnText() == u"0"_s &&
                lots.value().rows.hasField(u"COD_LOT"_s));
}

// A server error leaves the connection usable, and the next calls get their own answers, not
// what was left of the failed one.
TEST_F(PqGatewayTest, AServerErrorIsReportedAndTheConnectionStaysUsable) {
    auto missing = gateway.call({u"no_such_procedure"_s, {}});
    ASSERT_EQ(failure(missing), db_error::kServerError);
    EXPECT_TRUE(missing.error().description.startsWith(u"42883"_s));
    for (int i = 0; i < 2; ++i) EXPECT_EQ(login().value().rows.size(), 1);
}

// A call, its settings and the fetch of its records are one transaction: what a failed call
// wrote is gone, and a call's time limit ends with it, whichever call comes next.
TEST_F(PqGatewayTest, AFailedCallLeavesNothingAndACallsSettingsEndWithIt) {
    db.admin(u"CREATE TABLE public.rastro (n serial, limite text)"_s);
    db.admin(
        u"CREATE PROCEDURE public.xrastro(INOUT return_value integer, IN xfalla varchar,"
        u"                                INOUT rs refcursor)"
        u"LANGUAGE plpgsql SECURITY DEFINER SET search_path = public AS $$ BEGIN"
        u"  INSERT INTO public.rastro (limite) VALUES (current_setting('statement_timeout'));"
        u"  OPEN rs FOR SELECT count(*) AS filas FROM public.rastro;"
        u"  IF xfalla = 'S' THEN RAISE EXCEPTION 'falla pedida'; END IF;"
        u"  return_value := 0;"
        u"END $$"_s);
    db.admin(u"GRANT EXECUTE ON PROCEDURE public.xrastro TO vendura_puntos"_s);
    const auto rastro = [&](const QString& falla, int timeoutSeconds) {
        ProcedureCall call{u"xrastro"_s, {}, timeoutSeconds};
        call.in(u"@xfalla"_s, falla, 1);
        return gateway.call(call);
    };
    ASSERT_EQ(failure(rastro(u"S"_s, 900)), db_error::kServerError);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM public.rastro"_s), u"0"_s);

    const auto limited = rastro(u"N"_s, 900);
    ASSERT_TRUE(limited.ok());
    EXPECT_EQ(limited.value().rows.text(0, u"filas"_s), u"1"_s);
    ASSERT_TRUE(rastro(u"N"_s, 900).ok());
    ASSERT_TRUE(rastro(u"N"_s, 86400).ok());
    ASSERT_EQ(failure(rastro(u"S"_s, 900)), db_error::kServerError);
    ASSERT_TRUE(rastro(u"N"_s, 900).ok());
    ASSERT_TRUE(rastro(u"N"_s, 86400).ok());
    // a limit holds for the calls that ask for it, run after run, and the login's own limit
    // comes back after a call with a limit of its own and after a failed one
    const auto limits = db.rows(u"SELECT limite FROM public.rastro ORDER BY n"_s);
    ASSERT_EQ(limits.size(), 5u);
    EXPECT_EQ(limits[0], QStringList{u"15min"_s});
    EXPECT_EQ(limits[1], limits[0]);
    EXPECT_NE(limits[2], limits[0]);
    EXPECT_EQ(limits[3], limits[0]);
    EXPECT_EQ(limits[4], limits[2]);
}

// A counter stays connected while the central office replaces a procedure (dropped and made
// again, then with one more record): its calls go on, each answered by the procedure there is.
TEST_F(PqGatewayTest, CallsGoOnWhenTheirProcedureIsMadeAgain) {
    const auto make = [&](const QString& outputs, int value) {
        db.admin(u"DROP PROCEDURE IF EXISTS public.xversion"_s);
        db.admin(
            u"CREATE PROCEDURE public.xversion(INOUT return_value integer, IN xdato varchar,"
            u" INOUT rs refcursor"_s +
            outputs + u") LANGUAGE plpgsql AS $$ BEGIN return_value := "_s +
            QString::number(value) + u"; OPEN rs FOR SELECT xdato AS dato; END $$"_s);
        db.admin(u"GRANT EXECUTE ON PROCEDURE public.xversion TO vendura_puntos"_s);
    };
    const auto version = [&](const QString& dato) {
        ProcedureCall call{u"xversion"_s, {}, 900};
        call.in(u"@xdato"_s, dato, 10);
        const auto answer = gateway.call(call);
        return answer
                   ? answer.value().returnText() + u"|"_s + answer.value().rows.text(0, u"dato"_s)
                   : answer.error().description;
    };
    make({}, 1);
    EXPECT_EQ(version(u"a"_s), u"1|a"_s);
    EXPECT_EQ(version(u"b"_s), u"1|b"_s);
    make({}, 2);
    EXPECT_EQ(version(u"c"_s), u"2|c"_s);
    make(u", INOUT xotro integer DEFAULT 7"_s, 3);
    EXPECT_EQ(version(u"d"_s), u"3|d"_s);
    EXPECT_EQ(login().value().rows.size(), 1);
}

// A sales point's own login may reach the cluster through the pooler too, where the server
// connection under a counter changes from call to call and another counter of the same login
// gets it between them: two such counters, calling different procedures in turn, each get their
// own answers and their own time limits.
TEST_F(PqGatewayTest, TwoCountersOfOneLoginThroughThePoolerGetTheirOwnAnswers) {
    const test::Cluster& c = test::Cluster::get();
    ASSERT_NE(c.poolerPort, 0) << "VENDURA_TEST_POOLER_PORT: run tools/test";
    db.admin(
        u"CREATE PROCEDURE public.xlimite(INOUT return_value integer, INOUT rs refcursor)"
        u"LANGUAGE plpgsql SECURITY DEFINER AS $$ BEGIN return_value := 0;"
        u"  OPEN rs FOR SELECT current_setting('statement_timeout') AS limite; END $$"_s);
    db.admin(u"GRANT EXECUTE ON PROCEDURE public.xlimite TO vendura_puntos"_s);
    const QString ownLimit = gateway.exec(u"xlimite"_s).value().rows.text(0, u"limite"_s);
    ASSERT_NE(ownLimit, u"15min"_s);
    const QString text = buildConnectionText(
        {c.host, c.poolerPort, db.name(), db.account(u"00012"_s), u"clave-00012"_s});
    PqGateway first{5}, second{5};
    ASSERT_TRUE(first.open(text).ok());
    ASSERT_TRUE(second.open(text).ok());
    for (int round = 0; round < 3; ++round) {
        const auto seller = login(first);
        ASSERT_TRUE(seller.ok()) << seller.error().description.toStdString();
        EXPECT_EQ(seller.value().rows.text(0, u"codvendedor"_s), u"00012"_s);
        const auto date = second.exec(u"Retornafecha"_s);
        ASSERT_TRUE(date.ok()) << date.error().description.toStdString();
        EXPECT_EQ(date.value().rows.text(0, u"fecha"_s).size(), 19);
        const auto limit = second.exec(u"xlimite"_s);
        ASSERT_TRUE(limit.ok()) << limit.error().description.toStdString();
        EXPECT_EQ(limit.value().rows.text(0, u"limite"_s), ownLimit);
    }
}

// A lost server, then the broken connection, then a closed one are each reported with their
// number (a wrong account not opening is checked through the login screen).
TEST_F(PqGatewayTest, ALostServerAndAClosedConnectionAreReportedWithTheirNumbers) {
    db.admin(
        u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        u"WHERE datname = current_database() AND usename <> 'postgres'"_s);
    EXPECT_EQ(failure(login()), db_error::kConnectionLost);
    EXPECT_FALSE(gateway.isOpen());
    EXPECT_EQ(failure(login()), db_error::kConnectionUnusable);
    ASSERT_TRUE(gateway.open(gateway.connectionText()).ok());
    EXPECT_EQ(failure(login()), 0);
    gateway.close();
    EXPECT_EQ(failure(login()), db_error::kObjectClosed);
}

TEST_F(PqGatewayTest, ASalesPointsLoginCanCallProceduresButNothingElse) {
    const auto t = parseConnectionText(db.connectionText()).value();
    const QString info = u"host=%1 port=%2 dbname=%3 user=%4 password=%5"_s.arg(
        t.host, QString::number(t.port), t.database, t.user, t.password);
    PGconn* conn = PQconnectdb(info.toUtf8().constData());
    ASSERT_EQ(PQstatus(conn), CONNECTION_OK);
    for (const char* sql : {"SELECT * FROM central.usuarios", "SELECT * FROM central.tickets",
                            "UPDATE central.ventas_numero SET vendido = 0",
                            "SELECT central.nuevo_ticket_temporal('00012')",
                            "SELECT central.auditar('INGRESO', '00012', '1001', 'falso')",
                            "DELETE FROM central.auditoria", "CREATE TEMP TABLE t (x int)",
                            "SELECT admin.crear_vendedor('00099', 'X', 'clave-larga')"}) {
        PGresult* r = PQexec(conn, sql);
        EXPECT_STREQ(PQresultErrorField(r, PG_DIAG_SQLSTATE), "42501") << sql;
        PQclear(r);
    }
    PQfinish(conn);
}

// A counter names its two servers: it goes on with whichever answers, one of them unknown,
// refusing connections or not there at all, and says the connection was lost when neither does.
TEST_F(PqGatewayTest, TheCounterGoesOnWithWhicheverOfItsTwoServersAnswers) {
    const ConnectionTarget own = parseConnectionText(db.connectionText()).value();
    const QString unknown = u"servidor-inexistente.invalid"_s, silent = u"127.0.0.3"_s;
    const struct {
        QString primary, secondary;
        bool opens;
    } cases[] = {
        {own.host, unknown, true}, {unknown, own.host, true}, {silent, own.host, true},
        {own.host, silent, true},  {unknown, silent, false},  {silent, unknown, false},
    };
    for (const auto& c : cases) {
        ConnectionTarget t = own;
        t.host = c.primary;
        t.failoverHost = c.secondary;
        PqGateway g(5);
        const auto opened = g.open(buildConnectionText(t));
        const QString which = c.primary + u" / "_s + c.secondary;
        ASSERT_EQ(opened.ok(), c.opens) << which.toStdString();
        if (c.opens) {
            EXPECT_EQ(g.exec(u"Retornafecha"_s).value().rows.text(0, u"fecha"_s).size(), 19)
                << which.toStdString();
        } else {
            EXPECT_EQ(opened.error().number, db_error::kConnectionLost) << which.toStdString();
        }
    }
}

}  // namespace
