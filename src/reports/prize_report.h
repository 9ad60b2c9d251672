#pragma once

#include "platform/database_gateway.h"

#include <QDate>
#include <QStringList>

namespace vendura {

struct Session;

// The prize report ("Reporte Tickets Premiados"): the winning tickets of a day or a period,
// summed into prizes, paid and still to pay.
namespace prize_report {

// RPTTICKPREMIADOS or RPTTICKPREMIADOSdetalle for the vendor and the period.
ProcedureCall call(const QString& procedure, const QString& vendor, const QDate& from,
                   const QDate& to);

// The report's lines from the tickets ("nroticket", "horaticket", "usuario", "montopremio",
// "Pagado") and, for the detailed form, their winning plays ("nroticket", "Tipo_jugada",
// "Num_normal", "LETRAS", "desc_loteria", "montopremio").
QStringList compose(const Session& session, const QDate& from, const QDate& to, bool detailed,
                    const RecordSet& tickets, const RecordSet& plays);

}  // namespace prize_report
}  // namespace vendura
