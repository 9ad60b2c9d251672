#include "office/office_action.h"
#include "session/database_account.h"

namespace vendura::office {
namespace {

const ActionField kPoint{u"Punto de venta"_s, u"CODIGO"_s};

QString cuentaBD(const QString& account, const QString& password) {
    return u"CuentaBD="_s + encodeAccount({account, password});
}

// A change of state of a sales point ("S" suspended, "A" active) or of a seller.
OfficeAction stateAction(const QString& family, const QString& verb, const QString& title,
                         const QString& function, const QString& state, const QString& help,
                         const QString& done) {
    return {{family, verb},
            title,
            help,
            function,
            {family == u"punto"_s ? kPoint : ActionField{u"Vendedor"_s, u"CODIGO"_s}},
            [state](const QStringList& v) {
                return std::vector<FieldValue>{v[0], state};
            },
            [done](const QStringList& v, const RecordSet&) { return v[0] + u": "_s + done; }};
}

// A number the central office sets for one sales point.
OfficeAction pointSetting(const QString& verb, const QString& title, const QString& function,
                          const ActionField& value, const QString& help,
                          const std::function<QString(const QStringList&)>& done) {
    return {{u"punto"_s, verb},
            title,
            help,
            function,
            {kPoint, value},
            {},
            [done](const QStringList& v, const RecordSet&) { return done(v); }};
}

}  // namespace

std::vector<OfficeAction> salesPointActions() {
    return {
        {{u"punto"_s, u"crear"_s},
         u"Crear un punto de venta"_s,
         u"crea un punto de venta con su cuenta e imprime su CuentaBD (clave al azar si no se "
         u"da)"_s,
         u"crear_vendedor"_s,
         {{u"Código"_s, u"CODIGO"_s},
          {u"Nombre"_s, u"NOMBRE"_s},
          {u"Clave de la cuenta"_s, u"CLAVE"_s, FieldKind::Password, true}},
         {},
         [](const QStringList& v, const RecordSet& r) {
             return u"Punto de venta %1 \"%2\" creado, cuenta %3.\nEscriba esta línea en la "
                    u"sección [Comunicaciones] del VENDURA.INI del punto:\n"_s.arg(v[0], v[1],
                                                                                   r.text(0, 0)) +
                    cuentaBD(r.text(0, 0), v[2]);
         }},
        stateAction(u"punto"_s, u"suspender"_s, u"Suspender un punto de venta"_s,
                    u"estado_vendedor"_s, u"S"_s,
                    u"suspende un punto de venta: no vende, no emite ni paga"_s,
                    u"punto de venta suspendido"_s),
        stateAction(u"punto"_s, u"activar"_s, u"Reactivar un punto de venta"_s,
                    u"estado_vendedor"_s, u"A"_s, u"reactiva un punto de venta suspendido"_s,
                    u"punto de venta activo"_s),
        {{u"punto"_s, u"clave-cuenta"_s},
         u"Nueva clave de la cuenta de un punto"_s,
         u"da otra clave a la cuenta del punto e imprime su nueva CuentaBD"_s,
         u"cambiar_clave_cuenta"_s,
         {kPoint, {u"Clave de la cuenta"_s, u"CLAVE"_s, FieldKind::Password, true}},
         {},
         [](const QStringList& v, const RecordSet& r) {
             return u"Nueva clave de la cuenta %1 del punto %2:\n"_s.arg(r.text(0, 0), v[0]) +
                    cuentaBD(r.text(0, 0), v[1]);
         }},
        pointSetting(u"ventana-anulacion"_s, u"Ventana de anulación"_s,
                     u"fijar_minutos_anulacion"_s, {u"Minutos"_s, u"MINUTOS"_s, FieldKind::Whole},
                     u"minutos después de la venta en que el punto puede anular un ticket"_s,
                     [](const QStringList& v) {
                         return v[0] + u": anula hasta "_s + v[1] +
                                u" minutos después de la venta"_s;
                     }),
        pointSetting(u"caducidad"_s, u"Caducidad de los premios"_s, u"fijar_dias_caducidad"_s,
                     {u"Días"_s, u"DIAS"_s, FieldKind::Whole},
                     u"días después de su último sorteo en que se paga el premio de un ticket "
                     u"del punto"_s,
                     [](const QStringList& v) {
                         return v[0] + u": los premios de sus tickets se pagan hasta "_s + v[1] +
                                u" días después del sorteo"_s;
                     }),
        pointSetting(u"permuta"_s, u"Dígitos de una permuta"_s, u"fijar_longitud_permuta"_s,
                     {u"Dígitos"_s, u"DIGITOS"_s, FieldKind::Whole},
                     u"dígitos que toma una permuta en el punto (2 a 8)"_s,
                     [](const QStringList& v) {
                         return v[0] + u": permutas de hasta "_s + v[1] + u" dígitos"_s;
                     }),
        pointSetting(u"cupo"_s, u"Parte del cupo"_s, u"fijar_cupo_punto"_s,
                     {u"Porcentaje"_s, u"PORCENTAJE"_s, FieldKind::Amount},
                     u"la parte del cupo de cada número que el punto puede vender (100 si no se "
                     u"fija)"_s,
                     [](const QStringList& v) {
                         return v[0] + u": vende hasta el "_s + v[1] +
                                u"% del cupo de cada número"_s;
                     }),
        {{u"punto"_s, u"comision"_s},
         u"Comisión"_s,
         u"comisión del punto, en todas las loterías o en una"_s,
         u"fijar_comision"_s,
         {kPoint,
          {u"Porcentaje"_s, u"PORCENTAJE"_s, FieldKind::Amount},
          {u"Lotería (vacío: todas)"_s, u"LOTERIA"_s, FieldKind::Code, true}},
         [](const QStringList& v) {
             return std::vector<FieldValue>{v[0], v[1], v[2].isEmpty() ? u"*"_s : v[2]};
         },
         [](const QStringList& v, const RecordSet&) {
             return v[0] + u": comisión "_s + v[1] + u"% en "_s +
                    (v[2].isEmpty() || v[2] == u"*"_s ? u"todas las loterías"_s : v[2]);
         }},
        {{u"usuario"_s, u"crear"_s},
         u"Crear un vendedor"_s,
         u"crea un vendedor de un punto de venta"_s,
         u"crear_usuario"_s,
         {{u"Vendedor"_s, u"CODIGO"_s},
          {u"Punto de venta"_s, u"PUNTO"_s},
          {u"Nombre"_s, u"NOMBRE"_s},
          {u"Clave"_s, u"CLAVE"_s, FieldKind::Secret},
          {u"Permisos"_s, u"PERMISOS"_s, FieldKind::Text, true}},
         [](const QStringList& v) {
             return std::vector<FieldValue>{v[0], v[1], v[2], v[3], v[4]};
         },
         [](const QStringList& v, const RecordSet&) {
             return u"Usuario %1 \"%2\" creado en el punto %3"_s.arg(v[0], v[2], v[1]);
         }},
        stateAction(u"usuario"_s, u"suspender"_s, u"Suspender un vendedor"_s, u"estado_usuario"_s,
                    u"S"_s, u"suspende un vendedor"_s, u"usuario suspendido"_s),
        stateAction(u"usuario"_s, u"activar"_s, u"Reactivar un vendedor"_s, u"estado_usuario"_s,
                    u"A"_s, u"reactiva un vendedor"_s, u"usuario activo"_s),
        {{u"usuario"_s, u"clave"_s},
         u"Restablecer la clave de un vendedor"_s,
         u"restablece la clave de un vendedor"_s,
         u"cambiar_clave_usuario"_s,
         {{u"Vendedor"_s, u"CODIGO"_s}, {u"Clave nueva"_s, u"CLAVE"_s, FieldKind::Secret}},
         {},
         [](const QStringList& v, const RecordSet&) { return v[0] + u": clave restablecida"_s; }},
        {{u"mensaje"_s},
         u"Mensaje a los puntos"_s,
         u"deja un mensaje de la oficina central a un punto de venta o a todos los activos"_s,
         u"enviar_mensaje"_s,
         {{u"Punto de venta (todos: a todos)"_s, u"PUNTO|todos"_s},
          {u"Texto"_s, u"TEXTO"_s, FieldKind::Text, false, false, true}},
         [](const QStringList& v) {
             const bool everyone =
                 v[0].compare(u"todos"_s, Qt::CaseInsensitive) == 0 || v[0] == u"*"_s;
             return std::vector<FieldValue>{everyone ? FieldValue() : FieldValue(v[0]), v[1]};
         },
         [](const QStringList&, const RecordSet& r) {
             return u"Mensaje enviado a "_s + r.text(0, 0) + u" punto(s) de venta"_s;
         }},
    };
}

}  // namespace vendura::office
