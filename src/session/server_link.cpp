#include "session/server_link.h"

#include "platform/connection_text.h"
#include "platform/dialogs.h"
#include "platform/profile_file.h"
#include "session/database_account.h"
#include "session/installation.h"
#include "session/session.h"

#include <QThread>

namespace vendura {

const QString kTituloPuntoVenta = u"KALVORA ON LINE - PUNTO DE VENTA"_s;
const QString kTituloAtencion = u"Atención!"_s;

ServerLink::ServerLink(Session& session, DatabaseConnector& connector, Dialogs& dialogs,
                       const Installation& installation)
    : session_(session), connector_(connector), dialogs_(dialogs), installation_(installation) {}

Result<QString> ServerLink::connectionText(const QString& server, const QString& database,
                                           bool readsPastDays) const {
    const ProfileFile ini(installation_.iniPath());
    const auto account = configuredAccount(ini);
    if (!account) return account.error();
    const auto gateway = configuredGateway(ini);
    if (!gateway) return gateway.error();
    ConnectionTarget target{server, installation_.databasePort, database, account.value().user,
                            account.value().password};
    // the secondary server of the configuration takes over when the primary is gone
    const QString secondary = session_.DIRIP_2.trimmed();
    if (!secondary.isEmpty() && secondary != server.trimmed()) target.failoverHost = secondary;
    target.readOnlyIntent = readsPastDays;
    if (gateway.value()) {
        target.gatewayUser = gateway.value()->user;
        target.gatewayPassword = gateway.value()->password;
    }
    return buildConnectionText(target);
}

Result<void> ServerLink::openConnection(const QString& text) {
    givenText_ = text;
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
    return OpenConnection(givenText_);
}

bool ServerLink::ensureOpen() {
    return (session_.Conexion && session_.Conexion->isOpen()) || reopen();
}

namespace {

// Whether a call whose answer did not come may be sent again as it was: the connection broke,
// or the server gave it up whole (lock or statement timeout, a connection ended by the server,
// a deadlock or serialization conflict) and rolled it back.
bool answerLost(const Error& e) {
    if (e.number == db_error::kConnectionLost || e.number == db_error::kObjectClosed ||
        e.number == db_error::kConnectionUnusable) {
        return true;
    }
    static const char* const kGivenUp[] = {"55P03", "57014", "57P01", "57P02",
                                           "57P03", "40001", "40P01", "08"};
    for (const char* state : kGivenUp) {
        if (e.description.startsWith(QLatin1String(state))) return true;
    }
    return false;
}

}  // namespace

RepeatRule ownRecordBefore(const QString& code, const QString& byField, const QString& agoField) {
    return {[=](const CallAnswer& a, const Session& s) {
                return a.returnText() == code &&
                       a.rows.text(0, byField).trimmed() == s.Usuario.trimmed() &&
                       a.rows.text(0, agoField).toInt() < kOwnRecordSeconds;
            },
            u"0"_s};
}

Result<CallAnswer> ServerLink::call(const ProcedureCall& c, const RepeatRule& rule) {
    return repeating([&](DatabaseGateway& g) { return g.call(c); }, rule);
}

Result<CallAnswer> ServerLink::callPositional(const QString& procedure, const QStringList& args,
                                              const RepeatRule& rule) {
    return repeating([&](DatabaseGateway& g) { return g.callPositional(procedure, args); }, rule);
}

Result<CallAnswer> ServerLink::repeating(
    const std::function<Result<CallAnswer>(DatabaseGateway&)>& send, const RepeatRule& rule) {
    Error last{db_error::kConnectionLost, u"Sin conexión con el servidor"_s};
    for (int attempt = 0; attempt <= kRepeats; ++attempt) {
        if (attempt > 1) QThread::msleep(static_cast<unsigned long>(250 << attempt));
        if (!session_.Conexion || !session_.Conexion->isOpen()) {
            const Result<void> opened = openConnection(givenText_);
            if (!opened) {
                last = opened.error();
                continue;
            }
        }
        Result<CallAnswer> answer = send(*session_.Conexion);
        if (answer) {
            if (attempt > 0 && rule.doneBefore && rule.doneBefore(answer.value(), session_)) {
                answer.value().returnValue = rule.doneCode;
            }
            return answer;
        }
        if (!answerLost(answer.error())) return answer;
        last = answer.error();
        session_.Conexion->close();
    }
    return last;
}

Result<void> ServerLink::RefreshServerDate() {
    const Result<void> opened = openConnection(givenText_);
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
