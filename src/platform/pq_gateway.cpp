#include "platform/pq_gateway.h"

#include "platform/connection_text.h"

#include <libpq-fe.h>

// Opening, checking and closing the connection; the calls it carries are in pq_gateway_calls.cpp.
namespace vendura {
namespace {

QString libpqMessage(PGconn* conn) {
    return QString::fromUtf8(PQerrorMessage(conn)).trimmed();
}

void silence(void*, const PGresult*) {}

}  // namespace

PqGateway::PqGateway(int connectTimeoutSeconds, QString certificateAuthority)
    : certificateAuthority_(std::move(certificateAuthority)),
      connectTimeout_(connectTimeoutSeconds) {}

PqGateway::~PqGateway() {
    close();
}

Result<void> PqGateway::open(const QString& connectionText) {
    close();
    text_ = connectionText;
    auto target = parseConnectionText(connectionText);
    if (!target) return target.error();
    const ConnectionTarget& t = target.value();
    // "0" is how the name resolver says it knows no such server; Linux would take it for this
    // very machine
    if (t.host == u"0"_s || t.host == u"0.0.0.0"_s) {
        return Error{db_error::kConnectionLost, u"Dirección de servidor inválida: "_s + t.host};
    }

    // no statement timeout of the client's own: the server's limits bound every call
    const bool pooled = !t.gatewayUser.isEmpty();
    // with a secondary server, libpq tries both in turn and keeps the one that takes writes:
    // after a failover, the promoted standby
    const bool pair = !t.failoverHost.isEmpty();
    const QByteArray host = pair ? (t.host + u","_s + t.failoverHost).toUtf8() : t.host.toUtf8(),
                     port = pair ? QByteArray::number(t.port) + "," + QByteArray::number(t.port)
                                 : QByteArray::number(t.port),
                     db = t.database.toUtf8(), user = (pooled ? t.gatewayUser : t.user).toUtf8(),
                     password = (pooled ? t.gatewayPassword : t.password).toUtf8(),
                     timeout = QByteArray::number(connectTimeout_),
                     authority = certificateAuthority_.toUtf8();
    const bool verified = !certificateAuthority_.isEmpty();
    const char* keys[] = {"host",
                          "port",
                          "dbname",
                          "user",
                          "password",
                          "connect_timeout",
                          "application_name",
                          "client_encoding",
                          "sslmode",
                          "target_session_attrs",
                          verified ? "sslrootcert" : nullptr,
                          nullptr};
    const char* values[] = {host.constData(), port.constData(), db.constData(), user.constData(),
                            password.constData(), timeout.constData(), "vendura", "UTF8",
                            verified ? "verify-full" : "prefer",
                            // the sessions of the pooled login live on the primary
                            t.readOnlyIntent && !pooled ? "prefer-standby"
                            : pair                      ? "read-write"
                                                        : "any",
                            authority.constData(), nullptr};
    conn_ = PQconnectdbParams(keys, values, 0);
    if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
        Error e{db_error::kConnectionLost, conn_ ? libpqMessage(conn_) : u"sin memoria"_s};
        close();
        text_ = connectionText;
        return e;
    }
    PQsetNoticeReceiver(conn_, silence, nullptr);
    if (!PQenterPipelineMode(conn_)) {
        Error e{db_error::kConnectionLost, libpqMessage(conn_)};
        close();
        return e;
    }
    broken_ = false;
    token_.clear();
    sessionTimeout_ = kDefaultTimeoutSeconds;
    prepared_.clear();
    account_ =
        pooled ? std::optional<std::pair<QString, QString>>{{t.user, t.password}} : std::nullopt;
    // a sales point's own login may reach the cluster through the pooler too
    ownServer_ = !pooled && answersFromOwnServer();
    if (pooled) {
        if (auto opened = openSession(); !opened) {
            close();
            text_ = connectionText;
            return opened.error();
        }
    }
    return {};
}

bool PqGateway::answersFromOwnServer() {
    if (!PQsendQueryParams(conn_, "SELECT pg_backend_pid()", 0, nullptr, nullptr, nullptr, nullptr,
                           0) ||
        !PQpipelineSync(conn_)) {
        return false;
    }
    bool own = false;
    const bool read = readToSync([&](const PGresult* r) {
        if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1) {
            own = QByteArray(PQgetvalue(r, 0, 0)).toInt() == PQbackendPID(conn_);
        }
    });
    return read && own;
}

bool PqGateway::readToSync(const std::function<void(const PGresult*)>& take) {
    for (;;) {
        PGresult* r = PQgetResult(conn_);
        if (!r) {
            if (PQstatus(conn_) != CONNECTION_OK) return false;
            continue;
        }
        const ExecStatusType status = PQresultStatus(r);
        take(r);
        PQclear(r);
        if (status == PGRES_PIPELINE_SYNC) return true;
    }
}

Result<void> PqGateway::openSession() {
    token_.clear();
    auto answer = run("CALL public.xabresesion(NULL, $1, $2, NULL, $3)",
                      {account_->first, account_->second, QString::fromLatin1(kCursorName)},
                      kDefaultTimeoutSeconds, {{u"xtoken"_s, "xtoken"}});
    if (!answer) return answer.error();
    const FieldValue token = answer.value().outputs.value(u"xtoken"_s);
    if (answer.value().returnValue != u"0"_s || !token || token->isEmpty()) {
        return Error{db_error::kConnectionLost,
                     u"El servidor no aceptó la cuenta de base de datos "_s + account_->first};
    }
    token_ = *token;
    return {};
}

void PqGateway::close() {
    // a session left open would count against its sales point until it expires
    if (!token_.isEmpty() && isOpen()) {
        (void)run("CALL public.xcierrasesion(NULL, $1)", {QString::fromLatin1(kCursorName)},
                  kDefaultTimeoutSeconds, {});
    }
    token_.clear();
    if (conn_) PQfinish(conn_);
    conn_ = nullptr;
    broken_ = false;
}

bool PqGateway::isOpen() const {
    return conn_ && !broken_ && PQstatus(conn_) == CONNECTION_OK;
}

Error PqGateway::lost(const QString& what) {
    broken_ = true;
    const QString detail = conn_ ? libpqMessage(conn_) : QString();
    return Error{db_error::kConnectionLost, detail.isEmpty() ? what : what + u": "_s + detail};
}

Result<void> PqGateway::ping() {
    if (!isOpen()) return Error{db_error::kConnectionUnusable, u"La conexión no está abierta"_s};
    if (!PQsendQueryParams(conn_, "SELECT 1", 0, nullptr, nullptr, nullptr, nullptr, 0) ||
        !PQpipelineSync(conn_)) {
        return lost(u"No se pudo enviar la consulta"_s);
    }
    bool ok = false;
    if (!readToSync([&](const PGresult* r) { ok = ok || PQresultStatus(r) == PGRES_TUPLES_OK; })) {
        return lost(u"Se perdió la conexión"_s);
    }
    if (!ok) return Error{db_error::kServerError, u"SELECT 1 falló"_s};
    return {};
}

std::unique_ptr<DatabaseGateway> PqConnector::create() {
    return std::make_unique<PqGateway>(timeout_, certificateAuthority_);
}

}  // namespace vendura
