#include "aftersale/customer_record.h"

#include "session/server_link.h"
#include "session/session.h"

namespace vendura {
namespace {

ProcedureCall cliente(const QString& mode, const Customer& c) {
    ProcedureCall call{u"Cliente"_s, {}};
    call.in(u"@modo"_s, mode, 1)
        .in(u"@Cedula"_s, c.cedula, 15)
        .in(u"@Descripcion"_s, c.nombre, 50)
        .in(u"@Direccion"_s, c.direccion, 100)
        .in(u"@Telefonos"_s, c.telefonos, 100);
    return call;
}

}  // namespace

Result<std::optional<Customer>> CustomerRecord::lookUp(const Customer& typed) {
    auto answer = link_.call(cliente(u"1"_s, typed));
    if (!answer) {
        handleCallFailure(link_, answer.error());
        return answer.error();
    }
    const CallAnswer& a = answer.value();
    if (a.returnNumber() <= 0) return std::optional<Customer>();
    Customer found = typed;
    found.nombre = a.rows.text(0, u"descripcion"_s).trimmed();
    found.direccion = a.rows.text(0, u"Direccion"_s).trimmed();
    found.telefonos = a.rows.text(0, u"telefonos"_s).trimmed();
    return std::optional<Customer>(found);
}

Result<bool> CustomerRecord::save(const Customer& customer) {
    // a save repeated after a lost answer adds one more version of the same record
    auto answer = link_.call(cliente(u"0"_s, customer));
    if (!answer) {
        handleCallFailure(link_, answer.error());
        return answer.error();
    }
    return answer.value().returnText() == u"0"_s;
}

}  // namespace vendura
