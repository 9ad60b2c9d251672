#pragma once

#include "platform/record_set.h"
#include "platform/result.h"

#include <QProcessEnvironment>
#include <QString>

#include <memory>
#include <vector>

typedef struct pg_conn PGconn;

namespace vendura::office {

// Where the office's programs connect and as whom: the login of a person of the central office,
// a member of vendura_oficina. The console takes the password from the environment (or libpq's
// password file), never from the command line; the desk from its login window.
struct ConnectionOptions {
    QString host = QStringLiteral("127.0.0.1");
    int port = 1756;
    QString database = QStringLiteral("vendura");
    QString user = QStringLiteral("oficina");
    QString password;
    QString application = QStringLiteral("vendura-central");  // as the server lists it
};

// The server and login as the environment gives them (VENDURA_CENTRAL_SERVIDOR, _PUERTO, _BASE,
// _USUARIO, and the password from VENDURA_CENTRAL_CLAVE); the defaults otherwise. A port that is
// no port is refused, naming it.
Result<ConnectionOptions> connectionFromEnvironment(const QProcessEnvironment& env);

// A value a person typed or left empty: empty goes as null, for the function's default.
FieldValue orNull(const QString& value);

// The office's link to the central database, the console's and the desk's: functions of schema
// admin and nothing else, each call its own transaction.
class AdminLink {
  public:
    virtual ~AdminLink() = default;
    // SELECT * FROM admin.<function>(args...), every value bound; the rows as text.
    virtual Result<RecordSet> call(const QString& function,
                                   const std::vector<FieldValue>& args) = 0;
};

class PqAdminLink final : public AdminLink {
  public:
    ~PqAdminLink() override;
    static Result<std::unique_ptr<PqAdminLink>> connect(const ConnectionOptions& options);
    Result<RecordSet> call(const QString& function, const std::vector<FieldValue>& args) override;

  private:
    explicit PqAdminLink(PGconn* conn) : conn_(conn) {}
    Result<void> exec(const char* sql);
    PGconn* conn_;
};

}  // namespace vendura::office
