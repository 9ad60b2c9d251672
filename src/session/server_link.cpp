#include "session/server_link.h"

#include "platform/connection_text.h"
#include "platform/dialogs.h"
#include "platform/profile_file.h"
#include "session/database_account.h"
#include "session/installation.h"
#include "session/session.h"

namespace vendura {

const QString kTituloPuntoVenta = u"KALVORA ON LINE - PUNTO DE VENTA"_s;
const QString kTituloAtencion = u"Atención!"_s;

ServerLink::ServerLink(Session& session, DatabaseConnector& connector, Dialogs& dialogs,
                       const Installation& installation)
    : session_(session), connector_(connector), dialogs_(dialogs), installation_(installation) {}

Result<QString> ServerLink::connectionText(const QString& server, const QString& database) const {
    const auto account = configuredAccount(ProfileFile(installation_.iniPath()));
    if (!account) return account.error();
    return buildConnectionText({server, installation_.databasePort, database, account.value().user,
                                account.value().password});
}

Result<void> ServerLink::openConnection(const QString& text) {
    session_.Conexion = connector_.create();
    const Result<QString> used =
        text.isEmpty() ? connectionText(session_.Servidor, session_.BaseDatos) : text;
    if (!used) return used.error();
    return session_.Conexion->open(used.value());
}

bool ServerLink::OpenConnection(const QString& text) {
    if (openConnection(text)) return true;
    dialogs_.message(DialogIcon::Critical, kTituloPuntoVenta,
                     u"No se puede Conectar con el Servidor de Datos Remotos... Finalizando"_s);
    return false;
}

bool ServerLink::reopen() {
    return OpenConnection(session_.Conexion ? session_.Conexion->connectionText() : QString());
}

bool ServerLink::ensureOpen() {
    return (session_.Conexion && session_.Conexion->isOpen()) || reopen();
}

Result<void> ServerLink::RefreshServerDate() {
    const Result<void> opened =
        openConnection(session_.Conexion ? session_.Conexion->connectionText() : QString());
    if (!opened) return opened.error();
    auto answer = session_.Conexion->exec(u"Retornafecha"_s);
    if (!answer) return answer.error();
    if (!applyServerDate(session_, answer.value().rows.text(0, u"fecha"_s))) {
        return Error{db_error::kServerError, u"El servidor no devolvió su fecha"_s};
    }
    return {};
}

QString connectionLossText(const Error& error) {
    return u"Ha ocurrido un error probablemente por la perdida de conexión con el servidor por "
           u"favor, salga de la aplicacion y vuelva a ingresar si el error persiste, Gracias!. "
           u"Error Número: "_s +
           QString::number(error.number) + u" Descripción: "_s + error.description;
}

void reportCallFailure(Dialogs& dialogs, const Error& error) {
    dialogs.message(DialogIcon::Information, kTituloAtencion, connectionLossText(error));
}

FailureHandling handleCallFailure(ServerLink& link, const Error& error) {
    if (error.number == db_error::kIgnored) return FailureHandling::Ignored;
    if (error.number == db_error::kObjectClosed || error.number == db_error::kConnectionUnusable) {
        link.reopen();
        return FailureHandling::Reconnected;
    }
    reportCallFailure(link.dialogs(), error);
    return FailureHandling::Reported;
}

}  // namespace vendura
