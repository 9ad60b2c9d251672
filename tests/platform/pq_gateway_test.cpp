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
    Result<CallAnswer> login(const QString& user, const QString& password) {
        ProcedureCall call{u"xVLDUSRT"_s, {}, 900};
        call.out(u"@xmodo"_s, u"0"_s, 60)
            .in(u"@xusuario"_s, user, 5)
            .in(u"@xclave"_s, password, 10);
        return gateway.call(call);
    }
    TestDatabase db;
    PqGateway gateway{5};
};

TEST_F(PqGatewayTest, CallsAndTextCommandsReturnTheirValueOutputsAndRowsByName) {
    auto answer = login(u"1001"_s, u"1234"_s);
    ASSERT_TRUE(answer.ok()) << answer.error().description.toStdString();
    EXPECT_EQ(answer.value().returnText(), u"0"_s);
    EXPECT_EQ(answer.value().output(u"@xmodo"_s), u"AGENCIA LA FORTUNA"_s);
    ASSERT_EQ(answer.value().rows.size(), 1);
    EXPECT_EQ(answer.value().rows.text(0, u"codvendedor"_s), u"00012"_s);
    EXPECT_EQ(answer.value().rows.text(0, u"Nombre_Usua"_s), u"ANA PEREZ"_s);
    EXPECT_FALSE(answer.value().rows.value(0, u"DIRIP_2"_s).has_value());  // a null

    EXPECT_EQ(gateway.exec(u"Retornafecha"_s).value().rows.text(0, u"fecha"_s).size(), 19);
    auto lots = gateway.exec(u"xdsplot 'X', 'A'"_s);
    ASSERT_TRUE(lots.ok());
    EXPECT_EQ(lots.value().returnText(), u"0"_s);
    EXPECT_TRUE(lots.value().rows.hasField(u"COD_LOT"_s));
}

TEST_F(PqGatewayTest, WhatASellerTypesReachesTheServerAsDataOnly) {
    for (const QString& hostile : {u"1'--"_s, u"';DROP TABLE central.usuarios;--"_s,
                                   u"1001"_s + QString(4996, u'x'), u"\"; ;'"_s}) {
        auto answer = login(hostile, hostile);
        ASSERT_TRUE(answer.ok()) << hostile.left(20).toStdString();
        EXPECT_EQ(answer.value().returnText(), u"55"_s);
    }
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.usuarios"_s), u"3"_s);
}

TEST_F(PqGatewayTest, AServerErrorIsReportedAndTheConnectionStaysUsable) {
    auto missing = gateway.call({u"no_such_procedure"_s, {}});
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().number, db_error::kServerError);
    EXPECT_TRUE(missing.error().description.startsWith(u"42883"_s));
    EXPECT_TRUE(gateway.isOpen());
    // the next calls get their own answers, not what was left of the failed one
    for (int i = 0; i < 2; ++i) {
        auto next = login(u"1001"_s, u"1234"_s);
        ASSERT_TRUE(next.ok());
        EXPECT_EQ(next.value().returnText(), u"0"_s);
        EXPECT_EQ(next.value().rows.size(), 1);
    }
}

TEST_F(PqGatewayTest, ALostServerAndAClosedConnectionAreReportedWithTheirNumbers) {
    db.admin(
        u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        u"WHERE datname = current_database() AND usename <> 'postgres'"_s);
    auto first = login(u"1001"_s, u"1234"_s);
    ASSERT_FALSE(first.ok());
    EXPECT_EQ(first.error().number, db_error::kConnectionLost);
    EXPECT_FALSE(gateway.isOpen());
    auto second = login(u"1001"_s, u"1234"_s);
    ASSERT_FALSE(second.ok());
    EXPECT_EQ(second.error().number, db_error::kConnectionUnusable);

    ASSERT_TRUE(gateway.open(gateway.connectionText()).ok());
    EXPECT_TRUE(login(u"1001"_s, u"1234"_s).ok());
    gateway.close();
    auto closed = login(u"1001"_s, u"1234"_s);
    ASSERT_FALSE(closed.ok());
    EXPECT_EQ(closed.error().number, db_error::kObjectClosed);
}

TEST_F(PqGatewayTest, AWrongAccountOrServerDoesNotOpen) {
    PqGateway other(3);
    auto target = parseConnectionText(db.connectionText()).value();
    target.password = u"wrong"_s;
    EXPECT_FALSE(other.open(buildConnectionText(target)).ok());
    target.port = 1;
    EXPECT_FALSE(other.open(buildConnectionText(target)).ok());
    EXPECT_FALSE(other.isOpen());
}

TEST_F(PqGatewayTest, ASalesPointsLoginCanCallProceduresButNothingElse) {
    const auto target = parseConnectionText(db.connectionText()).value();
    const QByteArray info =
        "host=" + target.host.toUtf8() + " port=" + QByteArray::number(target.port) +
        " dbname=" + target.database.toUtf8() + " user=" + target.user.toUtf8() +
        " password=" + target.password.toUtf8();
    PGconn* conn = PQconnectdb(info.constData());
    ASSERT_EQ(PQstatus(conn), CONNECTION_OK);
    for (const char* sql : {"SELECT * FROM central.usuarios", "SELECT * FROM central.tickets",
                            "UPDATE central.ventas_numero SET vendido = 0",
                            "SELECT central.nuevo_ticket_temporal('00012')",
                            "SELECT central.auditar('INGRESO', '00012', '1001', 'falso')",
                            "DELETE FROM central.auditoria", "CREATE TEMP TABLE t (x int)",
                            "SELECT admin.crear_vendedor('00099', 'X', 'clave-larga')"}) {
        PGresult* r = PQexec(conn, sql);
        EXPECT_EQ(PQresultStatus(r), PGRES_FATAL_ERROR) << sql;
        EXPECT_STREQ(PQresultErrorField(r, PG_DIAG_SQLSTATE), "42501") << sql;
        PQclear(r);
    }
    PQfinish(conn);
}

}  // namespace
