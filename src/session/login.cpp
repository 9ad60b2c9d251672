#include "session/login.h"
#include "session/temporary_ticket.h"

#include "platform/dialogs.h"
#include "platform/launcher.h"
#include "session/configuration.h"
#include "session/installation.h"
#include "session/server_discovery.h"
#include "session/server_link.h"
#include "session/session.h"
#include "session/text.h"

namespace vendura {
namespace {

constexpr int kMaxFailedLogins = 5;
constexpr int kLoginTimeoutSeconds = 900;

}  // namespace

Login::Login(ServerLink& link, Launcher& launcher, ProgramEnd& programEnd)
    : link_(link), launcher_(launcher), programEnd_(programEnd) {}

LoginOutcome Login::run(const LoginFields& fields, bool fileExisted, const QString& ipEnganche) {
    Session& s = link_.session();
    Dialogs& dialogs = link_.dialogs();
    if (fields.user.trimmed().isEmpty() || fields.password.trimmed().isEmpty() ||
        fields.server.trimmed().isEmpty() || fields.database.trimmed().isEmpty()) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion, u"Debe llenar todos los campos"_s);
        return LoginOutcome::StayFocusUser;
    }

    s.Servidor = fields.server.trimmed();
    s.BaseDatos = fields.database.trimmed();
    if (!looksLikeAddress(s.Servidor)) {
        // the resolver would get the name cut short and answer "0" with no word of why
        if (s.Servidor.size() > kMaxServerName) {
            const QString limit = QString::number(kMaxServerName);
            dialogs.message(DialogIcon::Critical, kTituloAtencion,
                            u"El nombre del servidor \""_s + s.Servidor + u"\" tiene más de "_s +
                                limit +
                                u" caracteres: escriba su dirección o un nombre de hasta "_s +
                                limit + u" caracteres"_s);
            return LoginOutcome::Stay;
        }
        const auto resolver = link_.connectionText(ipEnganche, u"master"_s);
        auto address = resolver ? obtencionip(link_.connector(), resolver.value(), s.Servidor)
                                : Result<QString>(resolver.error());
        if (!address) {
            reportCallFailure(dialogs, address.error());
            return LoginOutcome::Stay;
        }
        s.Servidor = address.value();
    }

    if (!link_.OpenConnection()) {
        dialogs.message(DialogIcon::Critical, kTituloPuntoVenta,
                        u"Ocurrieron Errores al Intentar Conectarse!... Finalizando el Sistema"_s);
        return LoginOutcome::Stay;
    }

    ProcedureCall validate{u"xVLDUSRT"_s, {}, kLoginTimeoutSeconds};
    validate.out(u"@xmodo"_s, u"0"_s, 60)
        .in(u"@xusuario"_s, fields.user, 5)
        .in(u"@xclave"_s, fields.password, 10);
    auto answer = s.Conexion->call(validate);
    if (!answer) {
        reportCallFailure(dialogs, answer.error());
        return LoginOutcome::Stay;
    }
    const CallAnswer& a = answer.value();
    s.NombreVendedor =
        a.outputs.value(u"@xmodo"_s) ? rightTrimmed(a.output(u"@xmodo"_s)) : u"Prueba"_s;

    const QString code = a.returnText();
    if (code == u"11"_s || code == u"12"_s || code == u"55"_s) {
        const QString text = code == u"11"_s   ? u"Vendedor Inactivo!"_s
                             : code == u"12"_s ? u"Vendedor Suspendido!"_s
                                               : u"Usuario no existe!"_s;
        dialogs.message(DialogIcon::Critical, kTituloAtencion, text);
        return LoginOutcome::Stay;
    }

    if (a.rows.empty()) {
        ++failedLogins_;
        const bool last = failedLogins_ >= kMaxFailedLogins;
        dialogs.message(DialogIcon::Critical, u"ZIZIZ OR ERAV"_s,
                        last ? u"Acceso Denegado al Sistema.. Terminando..."_s
                             : u"Acceso Denegado.. Intente de Nuevo..."_s);
        s.Conexion->close();
        if (last) {
            programEnd_.end();
            return LoginOutcome::Ended;
        }
        return LoginOutcome::Stay;
    }

    s.fillFromLogin(a.rows, a.outputs.value(u"@xmodo"_s), fields.user, s.BaseDatos);

    const LoginOutcome afterVersion = versionCheck(a.rows.text(0, u"estadovendura"_s).trimmed());
    if (afterVersion == LoginOutcome::Ended) return afterVersion;

    SaveConfigurationAfterLogin(s, link_.installation(), fileExisted, fields.server,
                                fields.database);

    if (auto number = takeTemporaryTicket(s); !number) {
        reportCallFailure(dialogs, number.error());
        return LoginOutcome::Stay;
    }

    auto date = link_.RefreshServerDate();
    if (!date) {
        reportCallFailure(dialogs, date.error());
        return LoginOutcome::Stay;
    }
    return LoginOutcome::OpenSales;
}

LoginOutcome Login::versionCheck(const QString& estadovendura) {
    Dialogs& dialogs = link_.dialogs();
    if (estadovendura == u"1"_s) {
        if (dialogs.question(
                DialogIcon::Question, u"Responda!"_s,
                u"Existe una nueva version de la vendura!, Desea actualizarla ahora?"_s)) {
            return runUpdater();
        }
    } else if (estadovendura == u"2"_s) {
        dialogs.message(DialogIcon::Critical, kTituloAtencion,
                        u"Existe una nueva version de la vendura y debe actualizarla para poder "
                        u"acceder a ella"_s);
        return runUpdater();
    } else if (estadovendura == u"3"_s) {
        if (dialogs.question(DialogIcon::Information, u"Responda!"_s,
                             u"Existe una nueva version de la vendura y para porder vender debe "
                             u"actualizarla, Desea actualizarla ahora?"_s)) {
            return runUpdater();
        }
        link_.session().estadovendura = u"3"_s;
    }
    return LoginOutcome::OpenSales;
}

LoginOutcome Login::runUpdater() {
    launcher_.start(link_.installation().updaterPath(), {u"/1"_s});
    programEnd_.end();
    return LoginOutcome::Ended;
}

}  // namespace vendura
