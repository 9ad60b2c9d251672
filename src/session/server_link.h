#pragma once

#include "platform/database_gateway.h"

#include <QString>

namespace vendura {

class Dialogs;
struct Installation;
struct Session;

extern const QString kTituloPuntoVenta;  // "KALVORA ON LINE - PUNTO DE VENTA"
extern const QString kTituloAtencion;    // "Atención!"

// How the counter uses the central database: the connection text, opening the session's one
// connection, the check before a call, the server's date, and fresh connections for reports.
class ServerLink {
  public:
    ServerLink(Session& session, DatabaseConnector& connector, Dialogs& dialogs,
               const Installation& installation);

    // "...;Data Source=server,port;Initial Catalog=database;User id=...;Password=...", with the
    // sales point's database account decoded from the configuration; an error when the
    // configuration holds no readable account.
    Result<QString> connectionText(const QString& server, const QString& database) const;

    // Replaces Session.Conexion with a newly opened connection. An empty text means the text of
    // Session.Servidor and Session.BaseDatos. On failure shows "No se puede Conectar con el
    // Servidor de Datos Remotos... Finalizando" and returns false.
    bool OpenConnection(const QString& text = QString());

    // Opens the session's connection again with the settings it was opened with.
    bool reopen();

    // The check before a call: a connection that is closed or was found broken is opened again
    // with the same settings. False (after the gateway's message) when that fails.
    bool ensureOpen();

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
