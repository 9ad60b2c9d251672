#include "office/admin_link.h"

#include "platform/exec_text.h"

#include <libpq-fe.h>

namespace vendura::office {
namespace {

QString serverMessage(const PGresult* r) {
    const QString primary = QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY));
    return primary.isEmpty() ? QString::fromUtf8(PQresultErrorMessage(r)).trimmed() : primary;
}

void silence(void*, const PGresult*) {}

}  // namespace

FieldValue orNull(const QString& value) {
    return value.isEmpty() ? FieldValue() : FieldValue(value);
}

Result<ConnectionOptions> connectionFromEnvironment(const QProcessEnvironment& env) {
    ConnectionOptions o;
    o.host = env.value(u"VENDURA_CENTRAL_SERVIDOR"_s, o.host);
    o.database = env.value(u"VENDURA_CENTRAL_BASE"_s, o.database);
    o.user = env.value(u"VENDURA_CENTRAL_USUARIO"_s, o.user);
    o.password = env.value(u"VENDURA_CENTRAL_CLAVE"_s);
    const QString port = env.value(u"VENDURA_CENTRAL_PUERTO"_s, QString::number(o.port));
    bool ok = false;
    o.port = port.toInt(&ok);
    if (!ok || o.port <= 0 || o.port > 65535) return Error{2, u"puerto inválido: "_s + port};
    return o;
}

PqAdminLink::~PqAdminLink() {
    PQfinish(conn_);
}

Result<std::unique_ptr<PqAdminLink>> PqAdminLink::connect(const ConnectionOptions& o) {
    const QByteArray host = o.host.toUtf8(), port = QByteArray::number(o.port),
                     db = o.database.toUtf8(), user = o.user.toUtf8(),
                     password = o.password.toUtf8(), application = o.application.toUtf8();
    std::vector<const char*> keys{
        "host", "port", "dbname", "user", "connect_timeout", "application_name", "client_encoding"};
    std::vector<const char*> values{host.constData(),
                                    port.constData(),
                                    db.constData(),
                                    user.constData(),
                                    "10",
                                    application.constData(),
                                    "UTF8"};
    if (!o.password.isEmpty()) {
        keys.push_back("password");
        values.push_back(password.constData());
    }
    keys.push_back(nullptr);
    values.push_back(nullptr);
    PGconn* conn = PQconnectdbParams(keys.data(), values.data(), 0);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        const QString why =
            conn ? QString::fromUtf8(PQerrorMessage(conn)).trimmed() : u"sin memoria"_s;
        PQfinish(conn);
        return Error{1, why};
    }
    PQsetNoticeReceiver(conn, silence, nullptr);
    return std::unique_ptr<PqAdminLink>(new PqAdminLink(conn));
}

Result<void> PqAdminLink::exec(const char* sql) {
    PGresult* r = PQexec(conn_, sql);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const QString why = ok ? QString() : serverMessage(r);
    PQclear(r);
    if (!ok) return Error{1, why};
    return {};
}

Result<RecordSet> PqAdminLink::call(const QString& function, const std::vector<FieldValue>& args) {
    if (!isPlainIdentifier(function)) return Error{1, u"función inválida: "_s + function};
    QByteArray sql = "SELECT * FROM admin." + function.toLatin1() + "(";
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    texts.reserve(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += "$" + QByteArray::number(qsizetype(i + 1));
        if (args[i]) {
            texts.push_back(args[i]->toUtf8());
            values.push_back(texts.back().constData());
        } else {
            values.push_back(nullptr);
        }
    }
    sql += ")";

    // a connection lost since the last call (a restart, a failover) is opened again before this
    // one is sent; a call whose answer was lost is never sent twice
    if (PQstatus(conn_) != CONNECTION_OK) PQreset(conn_);
    auto begun = exec("BEGIN");
    if (!begun) return begun.error();
    PGresult* r = PQexecParams(conn_, sql.constData(), int(values.size()), nullptr, values.data(),
                               nullptr, nullptr, 0);
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        Error e{1, serverMessage(r)};
        PQclear(r);
        (void)exec("ROLLBACK");
        return e;
    }
    QStringList fields;
    for (int c = 0; c < PQnfields(r); ++c) fields << QString::fromUtf8(PQfname(r, c));
    RecordSet rows(fields);
    for (int i = 0; i < PQntuples(r); ++i) {
        std::vector<FieldValue> row;
        for (int c = 0; c < PQnfields(r); ++c) {
            if (PQgetisnull(r, i, c)) {
                row.emplace_back(std::nullopt);
            } else {
                row.emplace_back(QString::fromUtf8(PQgetvalue(r, i, c)));
            }
        }
        rows.addRow(std::move(row));
    }
    PQclear(r);
    auto committed = exec("COMMIT");
    if (!committed) return committed.error();
    return rows;
}

}  // namespace vendura::office
