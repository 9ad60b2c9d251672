#include "console/console.h"
#include "platform/connection_text.h"
#include "platform/pq_gateway.h"
#include "session/database_account.h"
#include "test_database.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

// The console against a test database, logged in as a central-office login of its own.
class ConsoleTest : public ::testing::Test {
  protected:
    ConsoleTest() : office(db.name() + u"_oficina"_s) {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        db.admin(u"CREATE ROLE \""_s + office +
                 u"\" LOGIN PASSWORD 'oficina-prueba' IN ROLE vendura_oficina"_s);
    }
    ~ConsoleTest() override { db.admin(u"DROP ROLE IF EXISTS \""_s + office + u"\""_s); }

    Outcome run(const QStringList& args, const QString& user = QString(),
                const QString& password = u"oficina-prueba"_s) {
        QProcessEnvironment env;
        env.insert(u"VENDURA_CENTRAL_SERVIDOR"_s, Cluster::get().host);
        env.insert(u"VENDURA_CENTRAL_PUERTO"_s, QString::number(Cluster::get().port));
        env.insert(u"VENDURA_CENTRAL_BASE"_s, db.name());
        env.insert(u"VENDURA_CENTRAL_USUARIO"_s, user.isEmpty() ? office : user);
        env.insert(u"VENDURA_CENTRAL_CLAVE"_s, password);
        Outcome r;
        QTextStream out(&r.out), err(&r.err);
        r.code = console::runConsole(
            args, env,
            [](const console::ConnectionOptions& o) -> Result<std::unique_ptr<console::AdminLink>> {
                auto link = console::PqAdminLink::connect(o);
                if (!link) return link.error();
                return std::unique_ptr<console::AdminLink>(std::move(link.value()));
            },
            out, err);
        return r;
    }

    TestDatabase db;
    QString office;
};

TEST_F(ConsoleTest, ANewSalesPointGetsACuentaBDItsCounterConnectsWith) {
    const Outcome created = run({u"punto"_s, u"crear"_s, u"00020"_s, u"AGENCIA NUEVA"_s});
    ASSERT_EQ(created.code, 0) << created.err.toStdString();
    const auto line =
        QRegularExpression(u"^CuentaBD=(\\S+)$"_s, QRegularExpression::MultilineOption)
            .match(created.out);
    ASSERT_TRUE(line.hasMatch()) << created.out.toStdString();
    auto account = decodeAccount(line.captured(1));
    ASSERT_TRUE(account.ok());
    EXPECT_EQ(account.value().user, db.account(u"00020"_s));
    EXPECT_GE(account.value().password.size(), 20);

    const Outcome user = run(
        {u"usuario"_s, u"crear"_s, u"2020"_s, u"00020"_s, u"JUAN LEON"_s, u"4321"_s, u"A.-F4."_s});
    ASSERT_EQ(user.code, 0) << user.err.toStdString();

    PqGateway counter(5);
    ASSERT_TRUE(counter
                    .open(buildConnectionText({Cluster::get().host, Cluster::get().port, db.name(),
                                               account.value().user, account.value().password}))
                    .ok());
    ProcedureCall login{u"xVLDUSRT"_s, {}};
    login.out(u"@xmodo"_s).in(u"@xusuario"_s, u"2020"_s).in(u"@xclave"_s, u"4321"_s);
    auto answer = counter.call(login);
    ASSERT_TRUE(answer.ok());
    EXPECT_EQ(answer.value().returnText(), u"0"_s);
    EXPECT_EQ(answer.value().rows.text(0, u"CodVendEDOR"_s), u"00020"_s);

    // a new password for the login: the old CuentaBD no longer connects
    const Outcome rotated = run({u"punto"_s, u"clave-cuenta"_s, u"00020"_s});
    ASSERT_EQ(rotated.code, 0) << rotated.err.toStdString();
    PqGateway stale(5);
    EXPECT_FALSE(stale
                     .open(buildConnectionText({Cluster::get().host, Cluster::get().port, db.name(),
                                                account.value().user, account.value().password}))
                     .ok());
    const QStringList audit = db.auditActions();
    EXPECT_TRUE(audit.contains(u"VENDEDOR_CREADO|00020|"_s));
    EXPECT_TRUE(audit.contains(u"USUARIO_CREADO|00020|2020"_s));
    EXPECT_TRUE(audit.contains(u"CUENTA_CLAVE|00020|"_s));
}

struct Effect {
    QStringList args;
    QString check;     // SQL whose value shows the change
    QString expected;  // its value afterwards
    QString audited;   // the audit action written
};

TEST_F(ConsoleTest, EveryCommandChangesWhatItSaysAndIsAudited) {
    const std::vector<Effect> effects{
        {{u"punto"_s, u"suspender"_s, u"00013"_s},
         u"SELECT estado FROM central.vendedores WHERE cod_vendedor = '00013'"_s,
         u"S"_s,
         u"VENDEDOR_ESTADO"_s},
        {{u"punto"_s, u"activar"_s, u"00013"_s},
         u"SELECT estado FROM central.vendedores WHERE cod_vendedor = '00013'"_s,
         u"A"_s,
         u"VENDEDOR_ESTADO"_s},
        {{u"usuario"_s, u"suspender"_s, u"2001"_s},
         u"SELECT estado FROM central.usuarios WHERE cod_usuario = '2001'"_s,
         u"S"_s,
         u"USUARIO_ESTADO"_s},
        {{u"usuario"_s, u"clave"_s, u"1001"_s, u"nueva9"_s},
         u"SELECT clave_hash = central.crypt('nueva9', clave_hash) FROM central.usuarios "
         u"WHERE cod_usuario = '1001'"_s,
         u"t"_s,
         u"USUARIO_CLAVE"_s},
        {{u"punto"_s, u"ventana-anulacion"_s, u"00012"_s, u"20"_s},
         u"SELECT minutos_anulacion FROM central.vendedores WHERE cod_vendedor = '00012'"_s,
         u"20"_s,
         u"TIEMPO_ANULACION"_s},
        {{u"punto"_s, u"comision"_s, u"00012"_s, u"12,5"_s, u"aaa"_s},
         u"SELECT cod_lot || ' ' || porcentaje FROM central.comisiones"_s,
         u"AAA 12.50"_s,
         u"COMISION"_s},
        {{u"loteria"_s, u"cerrar"_s, u"AAA"_s},
         u"SELECT cerrada FROM central.loterias WHERE cod_lot = 'AAA'"_s,
         u"t"_s,
         u"LOTERIA_CERRADA"_s},
        {{u"loteria"_s, u"abrir"_s, u"AAA"_s},
         u"SELECT cerrada FROM central.loterias WHERE cod_lot = 'AAA'"_s,
         u"f"_s,
         u"LOTERIA_ABIERTA"_s},
        {{u"sorteo"_s, u"cerrar"_s, u"BBB"_s, u"2026-12-07"_s},
         u"SELECT cerrado FROM central.sorteos WHERE cod_lot = 'BBB'"_s,
         u"t"_s,
         u"SORTEO_CERRADO"_s},
        {{u"loteria"_s, u"cierre"_s, u"AAA"_s, u"21:30"_s},
         u"SELECT hora_cierre FROM central.loterias WHERE cod_lot = 'AAA'"_s,
         u"21:30:00"_s,
         u"CIERRE"_s},
        {{u"loteria"_s, u"cierre"_s, u"AAA"_s, u"20:00"_s, u"2026-12-08"_s},
         u"SELECT hora_cierre FROM central.sorteos WHERE cod_lot = 'AAA'"_s,
         u"20:00:00"_s,
         u"CIERRE"_s},
        {{u"loteria"_s, u"cupos"_s, u"BBB"_s, u"250"_s, u"900.5"_s},
         u"SELECT cupo_triple || '/' || cupo_terminal FROM central.loterias WHERE cod_lot = "
         u"'BBB'"_s,
         u"250.000/900.500"_s,
         u"CUPOS"_s},
        {{u"resultado"_s, u"registrar"_s, u"AAA"_s, u"2026-12-06"_s, u"123"_s, u"--segundo"_s,
          u"456"_s},
         u"SELECT triple || segundo FROM central.resultados"_s,
         u"123456"_s,
         u"RESULTADO"_s},
        {{u"resultado"_s, u"corregir"_s, u"AAA"_s, u"2026-12-06"_s, u"124"_s},
         u"SELECT triple || coalesce(segundo, '-') FROM central.resultados"_s,
         u"124-"_s,
         u"RESULTADO_CORREGIDO"_s},
        {{u"pagos"_s, u"fijar"_s, u"*"_s, u"TRIPLE"_s, u"650"_s},
         u"SELECT string_agg(cod_lot || multiplicador, ',' ORDER BY cod_lot) FROM "
         u"central.tabla_pagos"_s,
         u"AAA650.00,BBB650.00"_s,
         u"TABLA_PAGOS"_s},
        {{u"pagos"_s, u"fijar"_s, u"bbb"_s, u"especial"_s, u"900"_s, u"1"_s},
         u"SELECT multiplicador FROM central.tabla_pagos WHERE tipo = 'ESPECIAL'"_s,
         u"900.00"_s,
         u"TABLA_PAGOS"_s},
        {{u"mensaje"_s, u"todos"_s, u"Cierre"_s, u"temprano"_s, u"hoy"_s},
         u"SELECT string_agg(cod_vendedor || ':' || mensaje, ',' ORDER BY cod_vendedor) FROM "
         u"central.mensajes"_s,
         u"00012:Cierre temprano hoy,00013:Cierre temprano hoy"_s,
         u"MENSAJE_ENVIADO"_s},
    };
    for (const Effect& e : effects) {
        SCOPED_TRACE(e.args.join(u' ').toStdString());
        const int auditRows = int(db.auditActions().size());
        const Outcome r = run(e.args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_FALSE(r.out.isEmpty());
        EXPECT_EQ(db.value(e.check), e.expected);
        const QStringList audit = db.auditActions().mid(auditRows);
        ASSERT_EQ(audit.size(), 1);
        EXPECT_TRUE(audit[0].startsWith(e.audited + u"|"_s)) << audit[0].toStdString();
    }
    const Outcome table = run({u"pagos"_s, u"ver"_s, u"BBB"_s});
    EXPECT_EQ(table.code, 0);
    EXPECT_TRUE(table.out.contains(u"BBB      ESPECIAL  1         900.00"_s))
        << table.out.toStdString();
}

TEST_F(ConsoleTest, BadInputGetsAClearErrorANonZeroExitAndWritesNothing) {
    ASSERT_EQ(run({u"resultado"_s, u"registrar"_s, u"AAA"_s, u"2026-12-06"_s, u"123"_s}).code, 0);
    ASSERT_EQ(run({u"pagos"_s, u"fijar"_s, u"AAA"_s, u"TRIPLE"_s, u"600"_s}).code, 0);
    const QString before = db.checksum();
    struct Bad {
        QStringList args;
        int code;
        QString says;
    };
    const std::vector<Bad> bad{
        {{u"resultado"_s, u"registrar"_s, u"AAA"_s, u"2026-12-06"_s, u"555"_s},
         1,
         u"ya tiene resultados"_s},
        {{u"resultado"_s, u"registrar"_s, u"BBB"_s, u"2026-12-07"_s, u"555"_s},
         1,
         u"no ha cerrado"_s},
        {{u"resultado"_s, u"registrar"_s, u"BBB"_s, u"2026-12-06"_s, u"55"_s},
         1,
         u"tres dígitos"_s},
        {{u"resultado"_s, u"registrar"_s, u"BBB"_s, u"06/12/2026"_s, u"555"_s}, 1, u"AAAA-MM-DD"_s},
        {{u"resultado"_s, u"registrar"_s, u"BBB"_s, u"2026-12-06"_s, u"555"_s, u"--cuarto"_s,
          u"1"_s},
         1,
         u"opción desconocida"_s},
        {{u"resultado"_s, u"corregir"_s, u"BBB"_s, u"2026-12-06"_s, u"555"_s},
         1,
         u"no tiene resultados"_s},
        {{u"pagos"_s, u"fijar"_s, u"AAA"_s, u"TRIPLE"_s, u"0"_s}, 1, u"mayor que 0"_s},
        {{u"pagos"_s, u"fijar"_s, u"AAA"_s, u"TRIPLE"_s, u"-5"_s}, 1, u"multiplicador inválido"_s},
        {{u"pagos"_s, u"fijar"_s, u"AAA"_s, u"TRIPLE"_s, u"600"_s, u"1"_s}, 1, u"variante"_s},
        {{u"pagos"_s, u"fijar"_s, u"AAA"_s, u"CUATERNA"_s, u"600"_s}, 1, u"Tipo de premio"_s},
        {{u"pagos"_s, u"fijar"_s, u"ZZZ"_s, u"TRIPLE"_s, u"600"_s}, 1, u"no existe"_s},
        {{u"punto"_s, u"crear"_s, u"00012"_s, u"OTRA"_s}, 1, u"ya existe"_s},
        {{u"punto"_s, u"crear"_s, u"000123"_s, u"OTRA"_s}, 1, u"Código de vendedor"_s},
        {{u"punto"_s, u"crear"_s, u"00030"_s, u"OTRA"_s, u"corta"_s}, 1, u"8 caracteres"_s},
        {{u"usuario"_s, u"crear"_s, u"1001"_s, u"00012"_s, u"X"_s, u"1"_s}, 1, u"ya existe"_s},
        {{u"usuario"_s, u"crear"_s, u"3001"_s, u"00099"_s, u"X"_s, u"1"_s}, 1, u"no existe"_s},
        {{u"usuario"_s, u"clave"_s, u"1001"_s, u"unaclavemuylarga"_s}, 1, u"de 1 a 10"_s},
        {{u"punto"_s, u"suspender"_s, u"00099"_s}, 1, u"no existe"_s},
        {{u"punto"_s, u"ventana-anulacion"_s, u"00012"_s, u"diez"_s}, 1, u"minutos inválido"_s},
        {{u"punto"_s, u"ventana-anulacion"_s, u"00012"_s, u"5000"_s}, 1, u"1440"_s},
        {{u"punto"_s, u"comision"_s, u"00012"_s, u"101"_s}, 1, u"100"_s},
        {{u"loteria"_s, u"cierre"_s, u"AAA"_s, u"25:00"_s}, 1, u"hora inválida"_s},
        {{u"loteria"_s, u"cupos"_s, u"AAA"_s, u"-1"_s, u"5"_s}, 1, u"cupo de triples"_s},
        {{u"loteria"_s, u"cerrar"_s, u"ZZZ"_s}, 1, u"no existe"_s},
        {{u"mensaje"_s, u"00099"_s, u"hola"_s}, 1, u"no existe"_s},
        {{u"clave-auditoria"_s, u"9999"_s}, 1, u"no existe"_s},
        {{u"resultado"_s, u"registrar"_s, u"AAA"_s}, 2, u"uso:"_s},
        {{u"loteria"_s, u"vender"_s, u"AAA"_s}, 2, u"uso:"_s},
        {{u"--puerto"_s, u"x"_s, u"pagos"_s, u"ver"_s}, 2, u"puerto inválido"_s},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.args.join(u' ').toStdString());
        const Outcome r = run(b.args);
        EXPECT_EQ(r.code, b.code);
        EXPECT_TRUE(r.err.contains(b.says)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(db.checksum(), before);
    }
    const Outcome wrongPassword = run({u"pagos"_s, u"ver"_s}, QString(), u"no-es-la-clave"_s);
    EXPECT_EQ(wrongPassword.code, 3);
    EXPECT_TRUE(wrongPassword.err.contains(u"no se pudo conectar"_s));
}

TEST_F(ConsoleTest, ASalesPointsLoginCannotDoTheCentralOfficesWork) {
    const QString before = db.checksum();
    const Outcome r =
        run({u"loteria"_s, u"cerrar"_s, u"AAA"_s}, db.account(u"00012"_s), u"clave-00012"_s);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(u"permission denied"_s) || r.err.contains(u"permiso"_s))
        << r.err.toStdString();
    EXPECT_EQ(db.checksum(), before);
}

TEST_F(ConsoleTest, TheAuditKeyPrintedIsTheOneTheServerChecks) {
    const Outcome r = run({u"clave-auditoria"_s, u"1001"_s});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const auto key = QRegularExpression(u"([2-9A-Z]{4}-){4}[2-9A-Z]{4}"_s).match(r.out);
    ASSERT_TRUE(key.hasMatch()) << r.out.toStdString();
    EXPECT_EQ(db.value(u"SELECT central.clave_auditoria_valida('1001', $1)"_s, {key.captured(0)}),
              u"t"_s);
    const Outcome dated = run({u"clave-auditoria"_s, u"1001"_s, u"2026-12-08"_s});
    EXPECT_TRUE(
        dated.out.contains(db.value(u"SELECT central.clave_auditoria('2026-12-08', '1001')"_s)));
    EXPECT_EQ(db.auditActions().count(u"CLAVE_AUDITORIA|00012|1001"_s), 2);
    // the counter's part of the work needs no login
    const Outcome offline = run({u"cuenta-bd"_s, u"vendura_00014"_s, u"una-clave-larga"_s},
                                QString(), u"no-es-la-clave"_s);
    EXPECT_EQ(offline.code, 0);
    EXPECT_EQ(decodeAccount(offline.out.trimmed()).value().user, u"vendura_00014"_s);
}

TEST_F(ConsoleTest, DepositsLoansAndSettlementsOfASalesPointsAccount) {
    auto ok = [this](const QStringList& args) {
        const Outcome r = run(args);
        EXPECT_EQ(r.code, 0) << args.join(u' ').toStdString() << ": " << r.err.toStdString();
        return r.out;
    };
    EXPECT_TRUE(ok({u"deposito"_s, u"registrar"_s, u"00012"_s, u"150,50"_s, u"--fecha"_s,
                    u"2026-12-05"_s, u"--referencia"_s, u"BANCO 77"_s})
                    .startsWith(u"Depósito "_s));
    EXPECT_TRUE(
        ok({u"prestamo"_s, u"otorgar"_s, u"00012"_s, u"1000"_s, u"--fecha"_s, u"2026-12-04"_s})
            .contains(u"B-"_s));
    ok({u"prestamo"_s, u"cuota"_s, u"00012"_s, u"100"_s});
    EXPECT_TRUE(ok({u"liquidar"_s, u"00012"_s, u"2026-12-05"_s})
                    .contains(u"saldo de jugada -150.50, saldo de préstamos 1000.00"_s));
    const QString statement = ok({u"estado-cuenta"_s, u"00012"_s});
    EXPECT_TRUE(statement.contains(u"Última liquidación  2026-12-05"_s)) << statement.toStdString();
    EXPECT_TRUE(statement.contains(u"Saldo de préstamos  900"_s)) << statement.toStdString();
    EXPECT_TRUE(statement.contains(u"Saldo general       749.5"_s)) << statement.toStdString();

    const QString before = db.checksum();
    for (const QStringList& args : std::vector<QStringList>{
             {u"deposito"_s, u"registrar"_s, u"00012"_s, u"5"_s, u"--fecha"_s, u"2026-12-05"_s},
             {u"deposito"_s, u"registrar"_s, u"00012"_s, u"1000000000000"_s},
             {u"deposito"_s, u"registrar"_s, u"00012"_s, u"1.2.3"_s},
             {u"deposito"_s, u"registrar"_s, u"00099"_s, u"5"_s},
             {u"movimiento"_s, u"registrar"_s, u"00012"_s, u"7"_s, u"5"_s},
             {u"liquidar"_s, u"00012"_s, u"2026-12-05"_s},
             {u"liquidar"_s, u"00012"_s, u"2026-12-07"_s},
             {u"deposito"_s, u"eliminar"_s, u"1"_s}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.code, 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(u"error: "_s)) << r.err.toStdString();
    }
    EXPECT_EQ(db.checksum(), before);
    EXPECT_EQ(db.auditActions().filter(u"|00012|"_s).filter(u"DEPOSITO|"_s).size(), 1);
}

}  // namespace
