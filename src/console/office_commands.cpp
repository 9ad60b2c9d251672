#include "console/command.h"

#include "office/audit_trail.h"
#include "session/database_account.h"

namespace vendura::console {

std::vector<Command> officeCommands() {
    return {
        {{u"cuenta-bd"_s},
         u"CUENTA CLAVE"_s,
         u"el valor \"CuentaBD\" del VENDURA.INI de un punto de venta (sin conectarse)"_s,
         2,
         2,
         false,
         [](const CommandContext& c) {
             c.out << encodeAccount({c.args[0], c.args[1]}) << '\n';
             return kOk;
         }},
        {{u"replica"_s},
         QString(),
         u"las réplicas del servidor, si una confirma cada venta, y cuánto van detrás"_s,
         0,
         0,
         true,
         [](const CommandContext& c) {
             auto rows = c.call(u"replicacion"_s, {});
             if (!rows) return kRefused;
             for (int i = 0; i < rows->size(); ++i) {
                 c.out << rows->text(i, 0) << ": " << rows->text(i, 1) << ", " << rows->text(i, 2)
                       << ", retraso " << rows->text(i, 3) << '\n';
             }
             return kOk;
         }},
        {{u"oficinista"_s, u"ver"_s},
         QString(),
         u"las cuentas de la oficina y sus roles"_s,
         0,
         0,
         true,
         [](const CommandContext& c) {
             auto rows = c.call(u"oficinistas"_s, {});
             if (!rows) return kRefused;
             for (int r = 0; r < rows->size(); ++r) {
                 c.out << rows->text(r, u"cuenta"_s).leftJustified(20)
                       << rows->text(r, u"rol"_s).leftJustified(12) << rows->text(r, u"nombre"_s)
                       << '\n';
             }
             return kOk;
         }},
        {{u"auditoria"_s},
         u"DESDE HASTA [--punto P] [--vendedor U] [--accion A] [--csv]"_s,
         u"el registro de auditoría de esos días, de un punto, vendedor o acción (basta su "
         u"comienzo); --csv lo escribe como CSV"_s,
         2,
         9,
         true,
         [](const CommandContext& c) {
             QStringList args = c.args;
             const bool csv = args.removeAll(u"--csv"_s) > 0;
             const Flags f = takeFlags(args, {u"punto"_s, u"vendedor"_s, u"accion"_s});
             if (!f.error.isEmpty()) return c.fail(f.error);
             if (f.positional.size() != 2) return c.fail(u"se esperan DESDE HASTA"_s);
             auto rows = office::searchAudit(
                 *c.link, {f.positional[0], f.positional[1], f.values.value(u"punto"_s),
                           f.values.value(u"vendedor"_s), f.values.value(u"accion"_s)});
             if (!rows) return c.fail(rows.error().description);
             if (csv) {
                 c.out << office::toCsv(rows.value());
                 return kOk;
             }
             const RecordSet& a = rows.value();
             for (int r = 0; r < a.size(); ++r) {
                 c.out << a.text(r, u"momento"_s).left(19) << "  "
                       << a.text(r, u"accion"_s).leftJustified(24) << ' '
                       << a.text(r, u"cod_vendedor"_s).leftJustified(6) << ' '
                       << a.text(r, u"cod_usuario"_s).leftJustified(6) << ' '
                       << a.text(r, u"cuenta"_s) << ": " << a.text(r, u"detalle"_s) << '\n';
             }
             return kOk;
         }},
        {{u"clave-auditoria"_s},
         u"USUARIO [FECHA]"_s,
         u"la clave del día con que el usuario abre el visor del diario (hoy si no se da "
         u"fecha)"_s,
         1,
         2,
         true,
         [](const CommandContext& c) {
             FieldValue day;
             if (c.args.size() > 1) {
                 const auto d = isoDate(c, c.args[1]);
                 if (!d) return kRefused;
                 day = *d;
             }
             auto rows = c.call(u"clave_auditoria"_s, {day, c.args[0]});
             if (!rows) return kRefused;
             c.out << "Clave de auditoría de " << c.args[0] << " para " << (day ? *day : u"hoy"_s)
                   << ": " << rows->text(0, 0) << '\n';
             return kOk;
         }},
    };
}

}  // namespace vendura::console
