#include "session/temporary_ticket.h"

#include "platform/database_gateway.h"
#include "session/session.h"
#include "session/text.h"

namespace vendura {

const QString kTicketLiberado =
    u"El ticket en curso fue liberado por estar sin jugadas: nada de él quedó vendido. Siga "
    u"con un ticket nuevo."_s;

Result<QString> takeTemporaryTicket(Session& s) {
    ProcedureCall ticket{u"nregresaticket"_s, {}};
    ticket.in(u"@xcodigo_vend"_s, s.CodVendedor, 5);
    auto number = s.Conexion->call(ticket);
    if (!number) return number.error();
    if (number.value().returnNumber() <= 0) {
        return Error{number.value().returnNumber(),
                     u"El servidor no entregó el número de ticket"_s};
    }
    s.NroTicketTmp = tenDigitTicket(number.value().returnText());
    return s.NroTicketTmp;
}

}  // namespace vendura
