#include "console/command.h"

#include "session/database_account.h"

namespace vendura::console {
namespace {

int printAccount(const CommandContext& c, const QString& account, const QString& password) {
    c.out << "CuentaBD=" << encodeAccount({account, password}) << '\n';
    return kOk;
}

int createPoint(const CommandContext& c) {
    const QString password = c.args.size() > 2 ? c.args[2] : randomPassword();
    auto rows = c.call(u"crear_vendedor"_s, {c.args[0], c.args[1], password});
    if (!rows) return kRefused;
    const QString account = rows->text(0, 0);
    c.out << "Punto de venta " << c.args[0] << " \"" << c.args[1] << "\" creado, cuenta " << account
          << ".\n"
          << "Escriba esta línea en la sección [Comunicaciones] del VENDURA.INI del punto:\n";
    return printAccount(c, account, password);
}

int newAccountKey(const CommandContext& c) {
    const QString password = c.args.size() > 1 ? c.args[1] : randomPassword();
    auto rows = c.call(u"cambiar_clave_cuenta"_s, {c.args[0], password});
    if (!rows) return kRefused;
    c.out << "Nueva clave de la cuenta " << rows->text(0, 0) << " del punto " << c.args[0] << ":\n";
    return printAccount(c, rows->text(0, 0), password);
}

Command stateCommand(const QString& family, const QString& verb, const QString& function,
                     const QString& state, const QString& help, const QString& done) {
    return {{family, verb},
            u"CODIGO"_s,
            help,
            1,
            1,
            true,
            [function, state, done](const CommandContext& c) {
                if (!c.call(function, {c.args[0], state})) return kRefused;
                c.out << c.args[0] << ": " << done << '\n';
                return kOk;
            }};
}

}  // namespace

std::vector<Command> pointCommands() {
    return {
        {{u"punto"_s, u"crear"_s},
         u"CODIGO NOMBRE [CLAVE]"_s,
         u"crea un punto de venta con su cuenta e imprime su CuentaBD (clave al azar si no se da)"_s,
         2,
         3,
         true,
         createPoint},
        stateCommand(u"punto"_s, u"suspender"_s, u"estado_vendedor"_s, u"S"_s,
                     u"suspende un punto de venta: no vende, no emite ni paga"_s,
                     u"punto de venta suspendido"_s),
        stateCommand(u"punto"_s, u"activar"_s, u"estado_vendedor"_s, u"A"_s,
                     u"reactiva un punto de venta suspendido"_s, u"punto de venta activo"_s),
        {{u"punto"_s, u"clave-cuenta"_s},
         u"CODIGO [CLAVE]"_s,
         u"da otra clave a la cuenta del punto e imprime su nueva CuentaBD"_s,
         1,
         2,
         true,
         newAccountKey},
        {{u"punto"_s, u"ventana-anulacion"_s},
         u"CODIGO MINUTOS"_s,
         u"minutos después de la venta en que el punto puede anular un ticket"_s,
         2,
         2,
         true,
         [](const CommandContext& c) {
             const auto minutes = wholeNumber(c, c.args[1], u"minutos"_s);
             if (!minutes) return kRefused;
             if (!c.call(u"fijar_minutos_anulacion"_s, {c.args[0], *minutes})) return kRefused;
             c.out << c.args[0] << ": anula hasta " << *minutes << " minutos después de la venta\n";
             return kOk;
         }},
        {{u"punto"_s, u"caducidad"_s},
         u"CODIGO DIAS"_s,
         u"días después de su último sorteo en que se paga el premio de un ticket del punto"_s,
         2,
         2,
         true,
         [](const CommandContext& c) {
             const auto days = wholeNumber(c, c.args[1], u"días"_s);
             if (!days) return kRefused;
             if (!c.call(u"fijar_dias_caducidad"_s, {c.args[0], *days})) return kRefused;
             c.out << c.args[0] << ": los premios de sus tickets se pagan hasta " << *days
                   << " días después del sorteo\n";
             return kOk;
         }},
        {{u"punto"_s, u"permuta"_s},
         u"CODIGO DIGITOS"_s,
         u"dígitos que toma una permuta en el punto (2 a 8)"_s,
         2,
         2,
         true,
         [](const CommandContext& c) {
             const auto digits = wholeNumber(c, c.args[1], u"dígitos"_s);
             if (!digits) return kRefused;
             if (!c.call(u"fijar_longitud_permuta"_s, {c.args[0], *digits})) return kRefused;
             c.out << c.args[0] << ": permutas de hasta " << *digits << " dígitos\n";
             return kOk;
         }},
        {{u"punto"_s, u"cupo"_s},
         u"CODIGO PORCENTAJE"_s,
         u"la parte del cupo de cada número que el punto puede vender (100 si no se fija)"_s,
         2,
         2,
         true,
         [](const CommandContext& c) {
             const auto percent = decimal(c, c.args[1], u"porcentaje"_s);
             if (!percent) return kRefused;
             if (!c.call(u"fijar_cupo_punto"_s, {c.args[0], *percent})) return kRefused;
             c.out << c.args[0] << ": vende hasta el " << *percent << "% del cupo de cada número\n";
             return kOk;
         }},
        {{u"punto"_s, u"comision"_s},
         u"CODIGO PORCENTAJE [LOTERIA]"_s,
         u"comisión del punto, en todas las loterías o en una"_s,
         2,
         3,
         true,
         [](const CommandContext& c) {
             const auto percent = decimal(c, c.args[1], u"porcentaje"_s);
             if (!percent) return kRefused;
             const QString lottery = c.args.size() > 2 ? c.args[2].toUpper() : u"*"_s;
             if (!c.call(u"fijar_comision"_s, {c.args[0], *percent, lottery})) return kRefused;
             c.out << c.args[0] << ": comisión " << *percent << "% en "
                   << (lottery == u"*"_s ? u"todas las loterías"_s : lottery) << '\n';
             return kOk;
         }},
        {{u"usuario"_s, u"crear"_s},
         u"CODIGO PUNTO NOMBRE CLAVE [PERMISOS]"_s,
         u"crea un vendedor de un punto de venta"_s,
         4,
         5,
         true,
         [](const CommandContext& c) {
             const QString permissions = c.args.size() > 4 ? c.args[4] : QString();
             if (!c.call(u"crear_usuario"_s,
                         {c.args[0], c.args[1], c.args[2], c.args[3], permissions})) {
                 return kRefused;
             }
             c.out << "Usuario " << c.args[0] << " \"" << c.args[2] << "\" creado en el punto "
                   << c.args[1] << '\n';
             return kOk;
         }},
        stateCommand(u"usuario"_s, u"suspender"_s, u"estado_usuario"_s, u"S"_s,
                     u"suspende un vendedor"_s, u"usuario suspendido"_s),
        stateCommand(u"usuario"_s, u"activar"_s, u"estado_usuario"_s, u"A"_s,
                     u"reactiva un vendedor"_s, u"usuario activo"_s),
        {{u"usuario"_s, u"clave"_s},
         u"CODIGO CLAVE"_s,
         u"restablece la clave de un vendedor"_s,
         2,
         2,
         true,
         [](const CommandContext& c) {
             if (!c.call(u"cambiar_clave_usuario"_s, {c.args[0], c.args[1]})) return kRefused;
             c.out << c.args[0] << ": clave restablecida\n";
             return kOk;
         }},
    };
}

}  // namespace vendura::console
