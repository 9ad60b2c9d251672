#pragma once

#include "platform/database_gateway.h"

#include <QString>

#include <functional>

namespace vendura {

class Dialogs;
struct Installation;
struct Session;

extern const QString kTituloPuntoVenta;  // "KALVORA ON LINE - PUNTO DE VENTA"
extern const QString kTituloAtencion;    // "Atención!"

// How a call that changes what the server holds is read when the counter had to send it again:
// an answer that says the first call did it already, for this counter, stands for the answer
// that was lost. Calls the server answers alike however often they come (bookings, the issue,
// removals) need none.
struct RepeatRule {
    std::function<bool(const CallAnswer& repeated, const Session& session)> doneBefore;
    QString doneCode = QStringLiteral("0");
};

// How long ago, at most, a record on the server may have been written by the call whose answer
// was lost, for its repeat to take it for its own.
constexpr int kOwnRecordSeconds = 300;

// The rule of a call whose repeat finds the record the first call wrote: the answer `code`,
// whose record names in `byField` the seller of this session and says in `agoField` how many
// seconds ago it was written (less than kOwnRecordSeconds), stands for the answer "0".
RepeatRule ownRecordBefore(const QString& code, const QString& byField, const QString& agoField);

// How the counter uses the central database: the connection text, opening the session's one
// connection, the check before a call, the server's date, and fresh connections for reports.
class ServerLink {
  public:
    ServerLink(Session& session, DatabaseConnector& connector, Dialogs& dialogs,
               const Installation& installation);

    // "...;Data Source=server,port;Initial Catalog=database;User id=...;Password=...", with the
    // sales point's database account decoded from the configuration, "DIRIP_2" as the secondary
    // server when it names another, and the pooler's shared login when the configuration has
    // one; an error when the configuration holds no readable account.
    // A connection that only reads days past prefers the secondary server when it is a standby.
    Result<QString> connectionText(const QString& server, const QString& database,
                                   bool readsPastDays = false) const;

    // Replaces Session.Conexion with a newly opened connection. An empty text means the text of
    // Session.Servidor and Session.BaseDatos. On failure shows "No se puede Conectar con el
    // Servidor de Datos Remotos... Finalizando" and returns false.
    bool OpenConnection(const QString& text = QString());

    // Opens the session's connection again with the settings it was opened with (the session's,
    // as they stand now, unless a text was given).
    bool reopen();

    // The check before a call: a connection that is closed or was found broken is opened again
    // with the same settings. False (after the gateway's message) when that fails.
    bool ensureOpen();

    // A call on the session's connection that recovers by itself: when its answer is lost (the
    // connection broke, or the server gave the call up over a lock, a timeout or a conflict),
    // the connection is opened again and the identical call sent again, up to kRepeats times,
    // and a repeat's answer is read by the rule. Recovery is the program's, never the seller's:
    // the error comes back only when the server stays out of reach, for handleCallFailure.
    Result<CallAnswer> call(const ProcedureCall& call, const RepeatRule& rule = {});
    Result<CallAnswer> callPositional(const QString& procedure, const QStringList& args,
                                      const RepeatRule& rule = {});
    static constexpr int kRepeats = 3;

    // Replaces the connection with a freshly opened one and reads the server's date and time
    // into Session. A connection that does not open again is answered as the error, with no
    // box of its own: the caller reports it once.
    Result<void> RefreshServerDate();

    Session& session() { return session_; }
    Dialogs& dialogs() { return dialogs_; }
    DatabaseConnector& connector() { return connector_; }
    const Installation& installation() const { return installation_; }

  private:
    // OpenConnection without the box.
    Result<void> openConnection(const QString& text);
    Result<CallAnswer> repeating(const std::function<Result<CallAnswer>(DatabaseGateway&)>& send,
                                 const RepeatRule& rule);

    // The text the connection was opened with when one was given; empty when it follows the
    // session's settings, which it reads again at every reopening: after the login they name
    // the secondary server ("DIRIP_2") too.
    QString givenText_;
    Session& session_;
    DatabaseConnector& connector_;
    Dialogs& dialogs_;
    const Installation& installation_;
};

// "Ha ocurrido un error probablemente por la perdida de conexión ... Error Número: N
// Descripción: text"
QString connectionLossText(const Error& error);
void reportCallFailure(Dialogs& dialogs, const Error& error);

// The one handler every failed call of a screen goes through: error 5 is passed over, 3704
// and 3709 (connection closed or unusable) open the connection again, anything else is
// reported with the common message. The action is abandoned in every case but the first.
enum class FailureHandling { Ignored, Reconnected, Reported };
FailureHandling handleCallFailure(ServerLink& link, const Error& error);

}  // namespace vendura
