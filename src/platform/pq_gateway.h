#pragma once

#include "platform/database_gateway.h"

#include <QByteArray>
#include <QHash>

#include <functional>
#include <optional>
#include <utility>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace vendura {

// The central database reached through libpq. A procedure call is the CALL and a FETCH ALL of
// the procedure's result cursor, sent together in pipeline mode up to a sync, which commits them
// as one transaction: one round trip. Through the connection pooler (a connection text with a
// gateway login) the connection logs in as the login every counter there shares, opens a session
// with the sales point's own account, and sets the session's token in every transaction; a session
// the server no longer knows is opened again and the refused call sent once more.
class PqGateway final : public DatabaseGateway {
  public:
    // With a certificate authority's file, the connection is encrypted and the server's
    // certificate checked against it and the host name (libpq's sslmode verify-full).
    explicit PqGateway(int connectTimeoutSeconds = 86400, QString certificateAuthority = {});
    ~PqGateway() override;
    PqGateway(const PqGateway&) = delete;
    PqGateway& operator=(const PqGateway&) = delete;

    Result<void> open(const QString& connectionText) override;
    void close() override;
    bool isOpen() const override;
    QString connectionText() const override { return text_; }
    Result<CallAnswer> call(const ProcedureCall& call) override;
    Result<CallAnswer> exec(const QString& text) override;
    Result<CallAnswer> callPositional(const QString& procedure, const QStringList& args) override;
    // A bare "SELECT 1" on the same connection: the floor under every call's round trip.
    Result<void> ping();

  private:
    // the cursor every procedure opens its records under
    static constexpr char kCursorName[] = "vendura_rs";
    // a call that asks for no time limit of its own runs under the login's
    static constexpr int kDefaultTimeoutSeconds = 86400;
    struct Output {
        QString callerName;
        QByteArray column;
    };
    Result<CallAnswer> run(const QByteArray& callSql, const std::vector<FieldValue>& params,
                           int timeoutSeconds, const std::vector<Output>& outputs);
    Result<CallAnswer> runOnce(const QByteArray& callSql, const std::vector<FieldValue>& params,
                               int timeoutSeconds, const std::vector<Output>& outputs);
    // Through the pooler: proves the sales point's account and keeps the session's token.
    Result<void> openSession();
    // Whether the server process answering is the one the connection was opened with: a pooler
    // in between answers the opening itself.
    bool answersFromOwnServer();
    // Reads the results of what was sent, up to the pipeline's sync, handing each to `take`;
    // false when the link went first.
    bool readToSync(const std::function<void(const PGresult*)>& take);
    Result<CallAnswer> callExec(const QString& procedure, const std::vector<FieldValue>& args);
    Error lost(const QString& what);

    PGconn* conn_ = nullptr;
    QString text_;
    bool broken_ = false;
    // through the pooler: the sales point's account and the token of its session
    std::optional<std::pair<QString, QString>> account_;
    QString token_;
    // Whether the server connection under this one is this counter's for the connection's
    // life: not through a pooler, which hands it to other counters between transactions, even
    // to other counters of the same login. Only then does a session keep what a call leaves.
    bool ownServer_ = false;
    // On a server connection of its own, the time limit its session has now, set only when a
    // call asks for another one; none when not known (after a failed call). Otherwise every
    // transaction sets its own.
    std::optional<int> sessionTimeout_;
    // On a server connection of its own, the statements the server has parsed, by text: a
    // call's text is parsed once per connection, not at every call. Otherwise every statement
    // is unnamed, since a server connection's statements belong to whichever counter made them.
    QHash<QByteArray, QByteArray> prepared_;
    int statementsNamed_ = 0;
    QString certificateAuthority_;
    int connectTimeout_;
};

class PqConnector final : public DatabaseConnector {
  public:
    explicit PqConnector(int connectTimeoutSeconds = 86400, QString certificateAuthority = {})
        : timeout_(connectTimeoutSeconds), certificateAuthority_(std::move(certificateAuthority)) {}
    std::unique_ptr<DatabaseGateway> create() override;

  private:
    int timeout_;
    QString certificateAuthority_;
};

}  // namespace vendura
