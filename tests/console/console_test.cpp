#include "console/console.h"
#include "platform/connection_text.h"
#include "platform/pq_gateway.h"
#include "session/database_account.h"
#include "test_database.h"

#include <QRegularExpression>

#include <string_view>

#include <gtest/gtest.h>

using namespace vendura;
using namespace vendura::test;

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

// A command line as typed: words separated by single blanks.
QStringList words(const char* line) {
    return QString::fromUtf8(line).split(u' ');
}

// The console against a test database, logged in as a central-office login of its own.
class ConsoleTest : public ::testing::Test {
  protected:
    ConsoleTest() : office(db.name() + u"_oficina"_s) {
        db.seedVendor();
        db.addVendor(u"00013"_s, u"2001"_s);
        db.seedLotteries();
        db.admin(u"CREATE ROLE \""_s + office +
                 u"\" LOGIN PASSWORD 'oficina-prueba' IN ROLE vendura_oficina"_s);
        db.admin(
            u"INSERT INTO central.oficinistas (cuenta, nombre, rol) VALUES ($1, 'JEFE', "
            u"'SUPERVISOR')"_s,
            {office});
    }
    ~ConsoleTest() override { db.admin(u"DROP ROLE IF EXISTS \""_s + office + u"\""_s); }

    Outcome run(const QStringList& args, const QString& user = QString(),
                const QString& password = u"oficina-prueba"_s, int port = Cluster::get().port) {
        QProcessEnvironment env;
        env.insert(u"VENDURA_CENTRAL_SERVIDOR"_s, Cluster::get().host);
        env.insert(u"VENDURA_CENTRAL_PUERTO"_s, QString::number(port));
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

    QString state() const;

    TestDatabase db;
    QString office;
};

TEST_F(ConsoleTest, ANewSalesPointGetsACuentaBDItsCounterConnectsWith) {
    const Outcome created = run(words("punto crear 00020 AGENCIA"));
    ASSERT_EQ(created.code, 0) << created.err.toStdString();
    const auto line =
        QRegularExpression(u"^CuentaBD=(\\S+)$"_s, QRegularExpression::MultilineOption)
            .match(created.out);
    ASSERT_TRUE(line.hasMatch()) << created.out.toStdString();
    auto account = decodeAccount(line.captured(1));
    ASSERT_TRUE(account.ok());
    EXPECT_EQ(account.value().user, db.account(u"00020"_s));
    EXPECT_GE(account.value().password.size(), 20);
    ASSERT_EQ(run(words("usuario crear 2020 00020 JUAN 4321 A.-F4.")).code, 0);

    auto connect = [&](PqGateway& counter) {
        return counter
            .open(buildConnectionText({Cluster::get().host, Cluster::get().port, db.name(),
                                       account.value().user, account.value().password}))
            .ok();
    };
    PqGateway counter(5);
    ASSERT_TRUE(connect(counter));
    auto answer = counter.callPositional(u"xVLDUSRT"_s, {u"0"_s, u"2020"_s, u"4321"_s});
    ASSERT_TRUE(answer.ok());
    EXPECT_EQ(answer.value().returnText() + answer.value().rows.text(0, u"CodVendEDOR"_s),
              u"000020"_s);

    // a new password for the login: the old CuentaBD no longer connects
    ASSERT_EQ(run(words("punto clave-cuenta 00020")).code, 0);
    PqGateway stale(5);
    EXPECT_FALSE(connect(stale));
    EXPECT_EQ(db.auditActions().filter(u"|00020|"_s),
              (QStringList{u"VENDEDOR_CREADO|00020|"_s, u"USUARIO_CREADO|00020|2020"_s,
                           u"INGRESO|00020|2020"_s, u"CUENTA_CLAVE|00020|"_s}));
}

// The office works through the connection pooler too, and the counter of a sales point it
// creates there opens its session with the account's CuentaBD.
TEST_F(ConsoleTest, TheOfficeAndANewSalesPointsCounterWorkThroughThePooler) {
    ASSERT_NE(Cluster::get().poolerPort, 0) << "VENDURA_TEST_POOLER_PORT: run tools/test";
    const Outcome created = run(words("punto crear 00020 AGENCIA"), QString(), u"oficina-prueba"_s,
                                Cluster::get().poolerPort);
    ASSERT_EQ(created.code, 0) << created.err.toStdString();
    auto account = decodeAccount(
        QRegularExpression(u"^CuentaBD=(\\S+)$"_s, QRegularExpression::MultilineOption)
            .match(created.out)
            .captured(1));
    ASSERT_TRUE(account.ok());
    ConnectionTarget target{Cluster::get().host, Cluster::get().poolerPort, db.name(),
                            account.value().user, account.value().password};
    target.gatewayUser = u"vendura_pasarela"_s;
    target.gatewayPassword = Cluster::get().gatewayPassword;
    PqGateway counter(5);
    ASSERT_TRUE(counter.open(buildConnectionText(target)).ok());
    EXPECT_EQ(db.auditActions().filter(u"|00020|"_s),
              (QStringList{u"VENDEDOR_CREADO|00020|"_s, u"SESION_ABIERTA|00020|"_s}));
    // the tests' cluster has no standby: the office is told so
    EXPECT_EQ(run(words("replica")).out,
              u"ninguna: sin réplica sincrónica: el primario sigue solo, -, retraso -\n"_s);
}

// What the central office's data says after each command, one "name=value" each.
QString ConsoleTest::state() const {
    return db.value(
        u"SELECT concat_ws(' ', "
        u"'v13=' || (SELECT estado FROM central.vendedores WHERE cod_vendedor = '00013'), "
        u"'u2001=' || (SELECT estado FROM central.usuarios WHERE cod_usuario = '2001'), "
        u"'clave=' || (SELECT clave_hash = central.crypt('nueva9', clave_hash) "
        u"    FROM central.usuarios WHERE cod_usuario = '1001'), "
        u"'anular=' || (SELECT minutos_anulacion FROM central.vendedores "
        u"    WHERE cod_vendedor = '00012'), "
        u"'comision=' || (SELECT string_agg(cod_lot || ' ' || porcentaje, ',') "
        u"    FROM central.comisiones), "
        u"'AAA=' || (SELECT cerrada || ' ' || hora_cierre FROM central.loterias "
        u"    WHERE cod_lot = 'AAA'), "
        u"'BBB=' || (SELECT cupo_triple || '/' || cupo_terminal FROM central.loterias "
        u"    WHERE cod_lot = 'BBB'), "
        u"'sorteos=' || (SELECT string_agg(cod_lot || cerrado || coalesce(hora_cierre::text, ''), "
        u"    ',' ORDER BY cod_lot, fecha) FROM central.sorteos), "
        u"'resultado=' || (SELECT string_agg(triple || coalesce(segundo, '-'), ',') "
        u"    FROM central.resultados), "
        u"'pagos=' || (SELECT string_agg(cod_lot || tipo || multiplicador, ',' ORDER BY 1) "
        u"    FROM central.tabla_pagos), "
        u"'mensajes=' || (SELECT string_agg(cod_vendedor || ':' || mensaje, ',' ORDER BY 1) "
        u"    FROM central.mensajes))"_s);
}

TEST_F(ConsoleTest, EveryCommandChangesWhatItSaysAndIsAudited) {
    const char* effects[][3] = {
        {"punto suspender 00013", "VENDEDOR_ESTADO", "v13=S"},
        {"punto activar 00013", "VENDEDOR_ESTADO", "v13=A"},
        {"usuario suspender 2001", "USUARIO_ESTADO", "u2001=S"},
        {"usuario clave 1001 nueva9", "USUARIO_CLAVE", "clave=true"},
        {"punto ventana-anulacion 00012 20", "TIEMPO_ANULACION", "anular=20"},
        {"punto comision 00012 12,5 aaa", "COMISION", "comision=AAA 12.50"},
        {"loteria cerrar AAA", "LOTERIA_CERRADA", "AAA=true"},
        {"loteria abrir AAA", "LOTERIA_ABIERTA", "AAA=false"},
        {"sorteo cerrar BBB 2026-12-07", "SORTEO_CERRADO", "BBBtrue"},
        {"loteria cierre AAA 21:30", "CIERRE", "AAA=false 21:30:00"},
        {"loteria cierre AAA 20:00 2026-12-08", "CIERRE", "AAAfalse20:00:00"},
        {"loteria cupos BBB 250 900.5", "CUPOS", "BBB=250.000/900.500"},
        // a draw's numbers: the first entry waits, the same numbers from another login count
        {"resultado registrar AAA 2026-12-06 123 --segundo 456", "RESULTADO_ANOTADO", "sorteos="},
        {"2: resultado registrar AAA 2026-12-06 123 --segundo 456", "RESULTADO",
         "resultado=123456"},
        {"resultado corregir AAA 2026-12-06 124", "CORRECCION_ANOTADA", "resultado=123456"},
        {"2: resultado corregir AAA 2026-12-06 124", "RESULTADO_CORREGIDO", "resultado=124-"},
        {"pagos fijar * TRIPLE 650", "TABLA_PAGOS", "AAATRIPLE650.00,BBBTRIPLE650.00"},
        {"pagos fijar bbb especial 900 1", "TABLA_PAGOS", "BBBESPECIAL900.00"},
        {"mensaje todos Cierre temprano hoy", "MENSAJE_ENVIADO",
         "mensajes=00012:Cierre temprano hoy,00013:Cierre temprano hoy"}};
    for (const auto& [line, audited, shows] : effects) {
        const int auditRows = int(db.auditActions().size());
        // "2: " runs the line as a second office login
        const bool second = std::string_view(line).starts_with("2: ");
        const Outcome r = second ? run(words(line + 3), db.officeLogin(1)) : run(words(line));
        EXPECT_TRUE(r.code == 0 && !r.out.isEmpty()) << line << ": " << r.err.toStdString();
        EXPECT_TRUE(state().contains(QString::fromUtf8(shows)))
            << line << ": " << state().toStdString();
        const QStringList audit = db.auditActions().mid(auditRows);
        EXPECT_TRUE(audit.size() == 1 && audit[0].startsWith(QString::fromLatin1(audited) + u'|'))
            << line << ": " << audit.join(u',').toStdString();
    }
    const Outcome table = run(words("pagos ver BBB"));
    EXPECT_EQ(table.code, 0);
    EXPECT_TRUE(table.out.contains(u"BBB      ESPECIAL  1         900.00"_s))
        << table.out.toStdString();
}

TEST_F(ConsoleTest, BadInputOrAWrongPasswordGetsAClearErrorANonZeroExitAndWritesNothing) {
    ASSERT_EQ(run(words("resultado registrar AAA 2026-12-06 123")).code, 0);
    ASSERT_EQ(run(words("resultado registrar AAA 2026-12-06 123"), db.officeLogin(1)).code, 0);
    ASSERT_EQ(run(words("resultado registrar BBB 2026-12-06 555")).code, 0);
    ASSERT_EQ(run(words("pagos fijar AAA TRIPLE 600")).code, 0);
    const QString before = db.checksum();
    struct Bad {
        const char* line;
        int code;
        const char* says;
    } bad[] = {{"resultado registrar AAA 2026-12-06 555", 1, "ya tiene resultados"},
               {"resultado registrar BBB 2026-12-06 555", 1, "debe confirmarlos otra persona"},
               {"resultado registrar BBB 2026-12-07 555", 1, "no ha cerrado"},
               {"resultado registrar BBB 2026-12-06 55", 1, "tres dígitos"},
               {"resultado registrar BBB 06/12/2026 555", 1, "AAAA-MM-DD"},
               {"resultado registrar BBB 2026-12-06 555 --cuarto 1", 1, "opción desconocida"},
               {"resultado corregir BBB 2026-12-06 555", 1, "no tiene resultados"},
               {"pagos fijar AAA TRIPLE 0", 1, "mayor que 0"},
               {"pagos fijar AAA TRIPLE -5", 1, "multiplicador inválido"},
               {"pagos fijar AAA TRIPLE 600 1", 1, "variante"},
               {"pagos fijar AAA CUATERNA 600", 1, "Tipo de premio"},
               {"pagos fijar ZZZ TRIPLE 600", 1, "no existe"},
               {"punto crear 00012 OTRA", 1, "ya existe"},
               {"punto crear 000123 OTRA", 1, "Código de vendedor"},
               {"punto crear 00030 OTRA corta", 1, "8 caracteres"},
               {"usuario crear 1001 00012 X 1", 1, "ya existe"},
               {"usuario crear 3001 00099 X 1", 1, "no existe"},
               {"usuario clave 1001 unaclavemuylarga", 1, "de 1 a 10"},
               {"punto ventana-anulacion 00012 diez", 1, "minutos inválido"},
               {"punto comision 00012 101", 1, "100"},
               {"loteria cierre AAA 25:00", 1, "hora inválida"},
               {"loteria cupos AAA -1 5", 1, "cupo de triples"},
               {"clave-auditoria 9999", 1, "no existe"},
               {"resultado registrar AAA", 2, "uso:"},
               {"auditoria 2026-12-07 07/12/2026", 1, "AAAA-MM-DD"},
               {"loteria vender AAA", 2, "uso:"},
               {"--puerto x pagos ver", 2, "puerto inválido"}};
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.line);
        const Outcome r = run(words(b.line));
        EXPECT_EQ(r.code, b.code);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(b.says))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(db.checksum(), before);
    }
    const Outcome wrongPassword = run(words("pagos ver"), QString(), u"no-es-la-clave"_s);
    EXPECT_EQ(wrongPassword.code, 3);
    EXPECT_TRUE(wrongPassword.err.contains(u"no se pudo conectar"_s));
}

// A supervisor gives the people of the office their logins; a clerk enters a draw's numbers
// as the first person (the supervisor, entering the same, makes them count) but decides nothing
// of the network's money, its sales points or the office's logins.
TEST_F(ConsoleTest, AClerkEntersResultsButOnlyASupervisorDecidesMoneyPointsAndLogins) {
    const QString ana = db.name() + u"_ana"_s;
    const Outcome made = run({u"oficinista"_s, u"crear"_s, ana, u"ANA RIOS"_s, u"oficinista"_s});
    const auto password = QRegularExpression(u"mostrada esta vez: (\\S+)"_s).match(made.out);
    ASSERT_TRUE(made.code == 0 && password.hasMatch()) << made.err.toStdString();
    auto asAna = [&](const char* line) { return run(words(line), ana, password.captured(1)); };
    const QString before = state();
    for (const char* line :
         {"pagos fijar AAA TRIPLE 700", "punto suspender 00013", "punto caducidad 00013 9",
          "punto cupo 00013 50", "punto comision 00013 12", "punto ventana-anulacion 00013 60",
          "punto clave-cuenta 00013", "punto crear 00077 NUEVO", "liquidar 00012 2026-12-05",
          "liquidar-todos 2026-12-05"}) {
        const Outcome r = asAna(line);
        EXPECT_EQ(r.code, 1) << line;
        EXPECT_TRUE(r.err.contains(u"Solo un supervisor"_s)) << line << ": " << r.err.toStdString();
    }
    EXPECT_TRUE(
        run({u"oficinista"_s, u"crear"_s, db.name() + u"_beto"_s, u"BETO"_s, u"supervisor"_s}, ana,
            password.captured(1))
            .err.contains(u"Solo un supervisor"_s));
    EXPECT_EQ(state(), before);
    EXPECT_EQ(asAna("resultado registrar AAA 2026-12-06 123").code, 0);
    EXPECT_EQ(db.value(u"SELECT count(*) FROM central.resultados"_s), u"0"_s);
    EXPECT_EQ(run(words("resultado registrar AAA 2026-12-06 123")).code, 0);
    EXPECT_EQ(db.value(u"SELECT triple FROM central.resultados"_s), u"123"_s);
    EXPECT_EQ(asAna("mensaje 00013 revise la impresora").code, 0);
    EXPECT_TRUE(run(words("oficinista ver")).out.contains(ana.leftJustified(20) + u"OFICINISTA"_s));
    db.admin(u"DROP ROLE \""_s + ana + u"\""_s);
}

// What each number would cost the network, the numbers that pay most first, across sales points.
TEST_F(ConsoleTest, TheExposureListsTheNumbersThatPayMostFirst) {
    db.admin(
        u"INSERT INTO central.tabla_pagos (cod_lot, tipo, multiplicador) VALUES ('AAA', "
        u"'TRIPLE', 600), ('AAA', 'TERMINAL', 60)"_s);
    db.admin(
        u"INSERT INTO central.ventas_numero (cod_lot, fecha, numero, vendido) VALUES "
        u"('AAA', '2026-12-07', '123', 3), ('AAA', '2026-12-07', '45*', 1)"_s);
    const Outcome r = run(words("exposicion aaa 2026-12-07 --primeros 2"));
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.split(u'\n').mid(1, 2).join(u'|').simplified(),
              u"123 3,00 97,00 3 1.800,00|045 0,00 100,00 0 60,00"_s)
        << r.out.toStdString();
    EXPECT_TRUE(run(words("exposicion ZZZ 2026-12-07")).err.contains(u"no existe"_s));
}

// The audit trail of some days, as lines or as CSV, found by the beginning of an action.
TEST_F(ConsoleTest, TheAuditTrailIsFoundByActionAsLinesOrCsv) {
    ASSERT_EQ(run(words("punto suspender 00013")).code, 0);
    const Outcome lines = run(words("auditoria 2026-12-07 2026-12-07 --accion vendedor_e"));
    EXPECT_EQ(lines.out.count(u'\n'), 1) << lines.out.toStdString();
    EXPECT_TRUE(lines.out.contains(u"VENDEDOR_ESTADO"_s));
    const Outcome csv = run(words("auditoria 2026-12-07 2026-12-07 --accion VENDEDOR --csv"));
    EXPECT_TRUE(
        csv.out.startsWith(u"id,momento,cuenta,cod_vendedor,cod_usuario,accion,detalle\r\n"_s))
        << csv.out.toStdString();
    EXPECT_EQ(csv.out.count(u"\r\n"_s),
              1 + db.value(u"SELECT count(*) FROM central.auditoria "
                           u"WHERE accion LIKE 'VENDEDOR%' AND momento::date = '2026-12-07'"_s)
                      .toInt());
}

// The key of the day for a seller; the counter's CuentaBD is made without a login.
TEST_F(ConsoleTest, TheAuditKeyPrintedIsTheOneTheServerChecks) {
    const Outcome r = run(words("clave-auditoria 1001"));
    const auto key = QRegularExpression(u"([2-9A-Z]{4}-){4}[2-9A-Z]{4}"_s).match(r.out);
    ASSERT_TRUE(key.hasMatch()) << r.out.toStdString() << r.err.toStdString();
    EXPECT_EQ(db.value(u"SELECT central.clave_auditoria_valida('1001', $1)"_s, {key.captured(0)}),
              u"t"_s);
    EXPECT_EQ(db.auditActions().last(), u"CLAVE_AUDITORIA|00012|1001"_s);
    const Outcome offline =
        run(words("cuenta-bd vendura_00014 una-clave-larga"), QString(), u"no-es-la-clave"_s);
    EXPECT_EQ(decodeAccount(offline.out.trimmed()).value().user, u"vendura_00014"_s);
}

TEST_F(ConsoleTest, DepositsLoansAndSettlementsOfASalesPointsAccount) {
    auto ok = [this](const QStringList& args) {
        const Outcome r = run(args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return r.out + r.err;
    };
    EXPECT_TRUE(ok(words("deposito registrar 00012 150,50 --fecha 2026-12-05 --referencia BANCO"))
                    .startsWith(u"Depósito "_s));
    EXPECT_TRUE(ok(words("prestamo otorgar 00012 1000 --fecha 2026-12-04")).contains(u"B-"_s));
    ok(words("prestamo cuota 00012 100"));
    const QString settled = ok(words("liquidar 00012 2026-12-05"));
    EXPECT_TRUE(settled.contains(u"saldo de jugada -150.50, saldo de préstamos 1000.00"_s))
        << settled.toStdString();
    const QString statement = ok(words("estado-cuenta 00012"));
    EXPECT_TRUE(statement.contains(u"Última liquidación  2026-12-05"_s)) << statement.toStdString();
    EXPECT_TRUE(statement.contains(u"Saldo de préstamos  900"_s)) << statement.toStdString();
    EXPECT_TRUE(statement.contains(u"Saldo general       749.5"_s)) << statement.toStdString();
    // the deposits of some days, with their numbers, a settled day's marked
    const QStringList deposits =
        ok(words("deposito ver 00012 --desde 2026-12-01 --hasta 2026-12-07"))
            .split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(deposits.size(), 2) << deposits.join(u'\n').toStdString();
    EXPECT_TRUE(deposits[1].simplified().endsWith(u"2026-12-05 150.50 BANCO (liquidado)"_s))
        << deposits[1].toStdString();
    // every sales point's statement of the day, a line each
    const QStringList day = ok(words("estados 2026-12-07")).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(day.size(), 3) << day.join(u'\n').toStdString();
    EXPECT_TRUE(day[1].simplified().startsWith(u"00012 2026-12-05 "_s)) << day[1].toStdString();
    EXPECT_TRUE(day[2].simplified().startsWith(u"00013 - "_s)) << day[2].toStdString();

    // a settled day takes no movement and is not settled again; amounts are read whole
    const QString before = db.checksum();
    for (const char* line :
         {"deposito registrar 00012 5 --fecha 2026-12-05", "liquidar 00012 2026-12-05",
          "deposito eliminar 1", "deposito registrar 00012 1000000000000",
          "deposito registrar 00012 1.2.3"}) {
        const Outcome r = run(words(line));
        EXPECT_EQ(r.code, 1) << line;
        EXPECT_TRUE(r.err.startsWith(u"error: "_s)) << r.err.toStdString();
    }
    EXPECT_EQ(db.checksum(), before);
    EXPECT_EQ(db.auditActions().filter(u"|00012|"_s).filter(u"DEPOSITO|"_s).size(), 1);
}

}  // namespace
