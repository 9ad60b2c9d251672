#pragma once

#include "platform/database_gateway.h"

#include <QDate>
#include <QStringList>

namespace vendura {

struct Session;

// The account statement ("Reporte de Caudre con La Operadora "): the sales point's position
// with the central office on a day.
namespace account_statement {

// DSPLUP23 for the vendor and the day, every amount sent as 0.
ProcedureCall call(const QString& vendor, const QDate& day);

// The lines from the answer's output parameters.
QStringList compose(const Session& session, const QDate& day, const CallAnswer& answer);

}  // namespace account_statement
}  // namespace vendura
