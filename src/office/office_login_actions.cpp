#include "office/office_action.h"

namespace vendura::office {

std::vector<OfficeAction> officeLoginActions() {
    return {
        {{u"oficinista"_s, u"crear"_s},
         u"Crear una cuenta de la oficina"_s,
         u"da a una persona de la oficina su cuenta (solo un supervisor; clave al azar si no se "
         u"da)"_s,
         u"crear_oficinista"_s,
         {{u"Cuenta"_s, u"CUENTA"_s},
          {u"Nombre"_s, u"NOMBRE"_s},
          {u"Rol (OFICINISTA o SUPERVISOR)"_s, u"OFICINISTA|SUPERVISOR"_s, FieldKind::Code},
          {u"Clave"_s, u"CLAVE"_s, FieldKind::Password, true}},
         {},
         // shown once, for the person to be told; only its hash stays in the cluster
         [](const QStringList& v, const RecordSet&) {
             return u"Cuenta %1 (%2) creada; su clave, mostrada esta vez: %3"_s.arg(v[0], v[2],
                                                                                    v[3]);
         }},
    };
}

}  // namespace vendura::office
