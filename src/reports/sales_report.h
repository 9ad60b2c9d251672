#pragma once

#include "platform/database_gateway.h"

#include <QDate>
#include <QStringList>

namespace vendura {

struct Session;

// The sales report ("Reporte Total de Ventas "): what the seller sold on a day and the
// tickets cancelled that day.
namespace sales_report {

// RPTVVENDURA for the session's seller on the day.
ProcedureCall call(const Session& session, const QDate& day);

// The lines from "@montoventa" and the cancelled tickets ("nroticket", "horaticket",
// "montoticket").
QStringList compose(const Session& session, const QDate& day, const FieldValue& montoventa,
                    const RecordSet& cancelled);

}  // namespace sales_report
}  // namespace vendura
