#include "test_database.h"

#include "platform/connection_text.h"
#include "platform/result.h"
#include "session/database_account.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <unistd.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace vendura::test {
namespace {

PGconn* connectAdmin(const QString& database, const QString& socket = Cluster::get().socket) {
    const Cluster& c = Cluster::get();
    const QByteArray host = socket.toUtf8(), port = QByteArray::number(c.port),
                     db = database.toUtf8();
    const char* keys[] = {"host", "port", "user", "dbname", nullptr};
    const char* values[] = {host.constData(), port.constData(), "postgres", db.constData(),
                            nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 0);
    if (PQstatus(conn) != CONNECTION_OK) {
        std::fprintf(stderr, "cannot reach the test cluster: %s\n", PQerrorMessage(conn));
        std::abort();
    }
    return conn;
}

PGresult* run(PGconn* conn, const QString& sql, const QStringList& params) {
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    for (const QString& p : params) texts.push_back(p.toUtf8());
    for (const QByteArray& t : texts) values.push_back(t.constData());
    PGresult* r = PQexecParams(conn, sql.toUtf8().constData(), static_cast<int>(values.size()),
                               nullptr, values.data(), nullptr, nullptr, 0);
    const ExecStatusType s = PQresultStatus(r);
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK) {
        ADD_FAILURE() << "admin SQL failed: " << PQresultErrorMessage(r) << "\n"
                      << sql.toStdString();
    }
    return r;
}

// A process killed before its databases' destructors ran leaves them and their logins in the
// cluster; the next process given the same id would meet them under its own names (a login that
// "already exists" fails that test's sales point). Nothing alive uses a name made of this
// process's id.
void dropLeftovers(PGconn* postgres, const QString& name) {
    PQclear(PQexec(postgres, "SET client_min_messages = warning"));
    const QString drop = u"DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)"_s.arg(name);
    PQclear(PQexec(postgres, drop.toUtf8().constData()));
    const QByteArray prefix = (name + u'_').toUtf8();
    const char* values[] = {prefix.constData()};
    PGresult* r = PQexecParams(postgres,
                               "SELECT quote_ident(rolname) FROM pg_roles "
                               "WHERE starts_with(rolname, $1)",
                               1, nullptr, values, nullptr, nullptr, 0);
    for (int i = 0; i < PQntuples(r); ++i) {
        const QByteArray dropRole = QByteArray("DROP ROLE ") + PQgetvalue(r, i, 0);
        PQclear(PQexec(postgres, dropRole.constData()));
    }
    PQclear(r);
}

}  // namespace

const QString kAllPermissions = u"A.-B.-C.-D.-R.-M.-F2.F3.F4.F5.F6.F7.F10F11F12"_s;

const Cluster& Cluster::get() {
    static const Cluster cluster = [] {
        Cluster c;
        c.host = qEnvironmentVariable("VENDURA_TEST_HOST");
        c.port = qEnvironmentVariableIntValue("VENDURA_TEST_PORT");
        c.socket = qEnvironmentVariable("VENDURA_TEST_SOCKET");
        c.templateName = qEnvironmentVariable("VENDURA_TEST_TEMPLATE");
        c.poolerPort = qEnvironmentVariableIntValue("VENDURA_TEST_POOLER_PORT");
        // tools/db keeps it beside the cluster's socket directory
        QFile pasarela(QFileInfo(c.socket).dir().filePath(u"pasarela.clave"_s));
        if (pasarela.open(QIODevice::ReadOnly)) {
            c.gatewayPassword = QString::fromUtf8(pasarela.readAll()).trimmed();
        }
        if (c.host.isEmpty() || c.port == 0 || c.socket.isEmpty() || c.templateName.isEmpty()) {
            std::fprintf(stderr,
                         "VENDURA_TEST_HOST, VENDURA_TEST_PORT, VENDURA_TEST_SOCKET and "
                         "VENDURA_TEST_TEMPLATE must name the test cluster: run tools/test\n");
            std::abort();
        }
        return c;
    }();
    return cluster;
}

TestDatabase::TestDatabase(const QString& templateName) {
    static std::atomic<int> counter{0};
    name_ = u"vt_%1_%2"_s.arg(getpid()).arg(counter++);
    PGconn* postgres = connectAdmin(u"postgres"_s);
    dropLeftovers(postgres, name_);
    const QString create = u"CREATE DATABASE \"%1\" TEMPLATE \"%2\""_s.arg(
        name_, templateName.isEmpty() ? Cluster::get().templateName : templateName);
    // another test may be copying the same template this very moment
    for (int attempt = 0;; ++attempt) {
        PGresult* r = PQexec(postgres, create.toUtf8().constData());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        const QString error = QString::fromUtf8(PQresultErrorMessage(r));
        PQclear(r);
        if (ok) break;
        if (attempt == 50) {
            std::fprintf(stderr, "cannot create test database: %s\n", qPrintable(error));
            std::abort();
        }
        QThread::msleep(100);
    }
    PQfinish(postgres);
    admin_ = connectAdmin(name_);
    admin(u"SELECT central.proteger_base()"_s);
}

TestDatabase::~TestDatabase() {
    // VENDURA_TEST_KEEP leaves the database behind, to look into what a run left
    if (qEnvironmentVariableIsSet("VENDURA_TEST_KEEP")) {
        std::fprintf(stderr, "kept database %s\n", qPrintable(name_));
        PQfinish(admin_);
        return;
    }
    // the sales points' logins belong to the cluster and would outlive the database
    QStringList accounts;
    for (const QStringList& row : rows(u"SELECT cuenta FROM central.cuentas"_s)) accounts << row[0];
    PQfinish(admin_);
    PGconn* postgres = connectAdmin(u"postgres"_s);
    PQclear(PQexec(postgres, "SET client_min_messages = warning"));  // a login never made
    const QString drop = u"DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)"_s.arg(name_);
    PQclear(PQexec(postgres, drop.toUtf8().constData()));
    // and so would the office logins that entered results in it
    accounts << name_ + u"_oficina_1"_s << name_ + u"_oficina_2"_s;
    for (const QString& a : accounts) {
        PQclear(PQexec(postgres, u"DROP ROLE IF EXISTS \"%1\""_s.arg(a).toUtf8().constData()));
    }
    PQfinish(postgres);
}

void TestDatabase::moveTo(const QString& socket) {
    PQfinish(admin_);
    admin_ = connectAdmin(name_, socket);
}

QString TestDatabase::account(const QString& vendor) const {
    return name_ + u"_"_s + vendor.toLower();
}

QString TestDatabase::connectionText(const QString& vendor) const {
    const Cluster& c = Cluster::get();
    return buildConnectionText({c.host, c.port, name_, account(vendor), u"clave-"_s + vendor});
}

QString TestDatabase::socketConnectionText(const QString& vendor) const {
    const Cluster& c = Cluster::get();
    return buildConnectionText({c.socket, c.port, name_, account(vendor), u"clave-"_s + vendor});
}

QString TestDatabase::pooledConnectionText(const QString& vendor, const QString& password,
                                           int port) const {
    const Cluster& c = Cluster::get();
    ConnectionTarget target{c.host, port ? port : c.port, name_, account(vendor),
                            password.isNull() ? u"clave-"_s + vendor : password};
    target.gatewayUser = u"vendura_pasarela"_s;
    target.gatewayPassword = c.gatewayPassword;
    return buildConnectionText(target);
}

QString TestDatabase::cuentaBD(const QString& vendor) const {
    return encodeAccount({account(vendor), u"clave-"_s + vendor});
}

QString TestDatabase::newTicket(const QString& vendor) const {
    return value(u"SELECT lpad(central.nuevo_ticket_temporal($1)::text, 10, '0')"_s, {vendor});
}

void TestDatabase::admin(const QString& sql, const QStringList& params) const {
    PQclear(run(admin_, sql, params));
}

QString TestDatabase::adminError(const QString& sql) const {
    PGresult* r = PQexec(admin_, sql.toUtf8().constData());
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const QString error = state ? QString::fromLatin1(state) : QString();
    PQclear(r);
    return error;
}

QString TestDatabase::adminError(const QString& sql, const QStringList& params) const {
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    for (const QString& p : params) texts.push_back(p.toUtf8());
    for (const QByteArray& t : texts) values.push_back(t.constData());
    PGresult* r = PQexecParams(admin_, sql.toUtf8().constData(), static_cast<int>(values.size()),
                               nullptr, values.data(), nullptr, nullptr, 0);
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const QString error = state ? QString::fromLatin1(state) : QString();
    PQclear(r);
    return error;
}

QString TestDatabase::officeLogin(int which) const {
    const QString login = name_ + u"_oficina_"_s + QString::number(which);
    if (value(u"SELECT count(*) FROM pg_roles WHERE rolname = $1"_s, {login}) == u"0"_s) {
        admin(u"CREATE ROLE \"%1\" LOGIN PASSWORD 'oficina-prueba' IN ROLE vendura_oficina"_s.arg(
            login));
    }
    return login;
}

QString TestDatabase::adminErrorAs(const QString& login, const QString& sql,
                                   const QStringList& params) const {
    admin(u"SET SESSION AUTHORIZATION \"%1\""_s.arg(login));
    const QString error = adminError(sql, params);
    admin(u"RESET SESSION AUTHORIZATION"_s);
    return error;
}

QString TestDatabase::adminErrorByTwo(const QString& sql, const QStringList& params) const {
    for (int which : {1, 2}) {
        const QString error = adminErrorAs(officeLogin(which), sql, params);
        if (!error.isEmpty()) return error;
    }
    return QString();
}

void TestDatabase::asAdminByTwo(const QString& sql, const QStringList& params) const {
    const QString error = adminErrorByTwo(sql, params);
    if (!error.isEmpty())
        ADD_FAILURE() << "office SQL failed (" << error.toStdString() << "): " << sql.toStdString();
}

QString TestDatabase::value(const QString& sql, const QStringList& params) const {
    PGresult* r = run(admin_, sql, params);
    const QString v = PQntuples(r) > 0 && PQnfields(r) > 0 && !PQgetisnull(r, 0, 0)
                          ? QString::fromUtf8(PQgetvalue(r, 0, 0))
                          : QString();
    PQclear(r);
    return v;
}

bool TestDatabase::waitForLockWaiters(int sessions) const {
    for (int tries = 0; tries < 500; ++tries) {
        if (value(u"SELECT count(*) FROM pg_stat_activity WHERE datname = current_database() "
                  u"AND wait_event_type = 'Lock'"_s)
                .toInt() >= sessions) {
            return true;
        }
        QThread::msleep(10);
    }
    return false;
}

std::vector<QStringList> TestDatabase::rows(const QString& sql, const QStringList& params) const {
    PGresult* r = run(admin_, sql, params);
    std::vector<QStringList> out;
    for (int i = 0; i < PQntuples(r); ++i) {
        QStringList row;
        for (int c = 0; c < PQnfields(r); ++c) row << QString::fromUtf8(PQgetvalue(r, i, c));
        out.push_back(row);
    }
    PQclear(r);
    return out;
}

QString TestDatabase::checksum() const {
    QString digest;
    for (const QStringList& table :
         rows(u"SELECT quote_ident(tablename) FROM pg_tables WHERE schemaname = 'central' "
              u"AND tablename NOT IN ('auditoria', 'intentos_ingreso', 'sesiones') ORDER BY 1"_s)) {
        digest += table[0] + u':' +
                  value(
                      u"SELECT md5(coalesce(string_agg(t::text, '|' ORDER BY t::text), '')) "
                      u"FROM central."_s +
                      table[0] + u" t"_s) +
                  u' ';
    }
    return digest;
}

QStringList TestDatabase::auditActions() const {
    QStringList out;
    for (const QStringList& row :
         rows(u"SELECT accion || '|' || coalesce(cod_vendedor, '') || '|' || "
              u"coalesce(cod_usuario, '') FROM central.auditoria ORDER BY id"_s)) {
        out << row[0];
    }
    return out;
}

void TestDatabase::setClock(const QString& timestamp) const {
    admin(u"UPDATE central.instalacion SET reloj_fijo = $1::timestamp"_s, {timestamp});
}

void TestDatabase::seedVendor() const {
    admin(u"SELECT admin.crear_vendedor('00012', 'AGENCIA LA FORTUNA', 'clave-00012')"_s);
    admin(
        u"INSERT INTO central.usuarios (cod_usuario, cod_vendedor, nombre, clave_hash, estado, "
        u"permisos) VALUES "
        u"('1001', '00012', 'ANA PEREZ', central.crypt('1234', central.gen_salt('bf', 4)), 'A', "
        u"$1), "
        u"('1002', '00012', 'LUIS GOMEZ', central.crypt('1234', central.gen_salt('bf', 4)), 'I', "
        u"''), "
        u"('1003', '00012', 'RAUL DIAZ', central.crypt('1234', central.gen_salt('bf', 4)), 'S', '')"_s,
        {kAllPermissions});
    // as if 1001 had logged in at the counter: procedures without a user code act for that seller
    admin(u"UPDATE central.cuentas SET usuario_sesion = '1001' WHERE cod_vendedor = '00012'"_s);
    admin(
        u"INSERT INTO central.parametros_terminal (cod_vendedor, nrif, nnit, "
        u"tiempoanular, msgticket, direccion, margenizquierdo, screenvuelto, codtel2, filassalto, "
        u"tipoletra, puertoprinter, velocidadfax, nrotel1, modotrabajo, nrocolumnas, "
        u"longitudpermuta) VALUES ('00012', 'J-12345678-9', '0012345678', 1, "
        u"'GRACIAS POR SU COMPRA', 'AV. BOLIVAR, LOCAL 4', 2, '0', 'N', 3, 'C', 'LPT1', "
        u"'9600,8,N,1', 'S', '0', 3, 7)"_s);
}

void TestDatabase::addVendor(const QString& vendor, const QString& user) const {
    admin(u"SELECT admin.crear_vendedor($1::varchar, 'AGENCIA ' || $1, 'clave-' || $1)"_s,
          {vendor});
    admin(
        u"INSERT INTO central.usuarios (cod_usuario, cod_vendedor, nombre, clave_hash, permisos) "
        u"VALUES ($1::varchar, $2, 'VENDEDOR ' || $1::varchar, "
        u"central.crypt('1234', central.gen_salt('bf', 4)), $3)"_s,
        {user, vendor, kAllPermissions});
    admin(u"UPDATE central.cuentas SET usuario_sesion = $1 WHERE cod_vendedor = $2"_s,
          {user, vendor});
}

void TestDatabase::seedLotteries() const {
    addLottery(u"AAA"_s, u"ALFA"_s, u"23:00"_s, u"100"_s, u"300"_s, 1);
    addLottery(u"BBB"_s, u"BETA"_s, u"23:00"_s, u"100"_s, u"300"_s, 2);
    setClock(u"2026-12-07 10:00:00"_s);
}

void TestDatabase::seedSpecial() const {
    for (const char* sql : {"SELECT admin.crear_especial('TRI', 'TRIPLETAS')",
                            "SELECT admin.agregar_variante('TRI', '1', 'SENCILLA')",
                            "SELECT admin.agregar_variante('TRI', '2', 'COMBINADA')",
                            "SELECT admin.agregar_variante('TRI', '3', 'CON SERIE')",
                            "SELECT admin.asignar_especial('TRI', '00012')",
                            "UPDATE central.loterias SET juegaespecial = 'A', especial = 'TRI' "
                            "WHERE cod_lot IN ('AAA', 'BBB')"})
        admin(QString::fromLatin1(sql));
}

void TestDatabase::postMessage(const QString& vendor, const QString& text) const {
    admin(u"SELECT admin.enviar_mensaje($1, $2)"_s, {vendor, text});
}

void TestDatabase::addLottery(const QString& code, const QString& description,
                              const QString& closing, const QString& tripleQuota,
                              const QString& terminalQuota, int order) const {
    admin(
        u"INSERT INTO central.loterias (cod_lot, desc_lot, orden, hora_cierre, cupo_triple, "
        u"cupo_terminal) VALUES ($1, $2, $3::int, $4::time, $5::numeric, $6::numeric)"_s,
        {code, description, QString::number(order), closing, tripleQuota, terminalQuota});
}

}  // namespace vendura::test
