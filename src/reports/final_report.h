#pragma once

#include "platform/database_gateway.h"

#include <QDate>
#include <QMap>
#include <QStringList>

#include <optional>

namespace vendura {

struct Session;

// The final relation ("Relación Final"): sales, commission, prizes and balance of a period, in
// total ("Resumido"), day by day ("Detallado") or by lottery and kind of play ("Loterias").
namespace final_report {

enum class Kind { Resumido, Detallado, Loterias };

// The entries of the kind chooser, in order, and the kind of an entry (nullopt for none).
const QStringList& kindEntries();
std::optional<Kind> kindOf(const QString& entry);

// RPTRFINAL: "@xmodo" "5" for "Loterias", "1" for the others.
ProcedureCall call(Kind kind, const QString& vendor, const QDate& from, const QDate& to);

// "COD_LOT" -> "desc_lot" of the rows of "DSPLOT '4', '0'".
QMap<QString, QString> lotteryNames(const RecordSet& lotteries);

// The lines from the rows of RPTRFINAL ("total_venta", "comision", "premios", "subtotal" and
// "fecha", or "COD_LOT" and "Tipo_jugada").
QStringList compose(const Session& session, Kind kind, const QDate& from, const QDate& to,
                    const RecordSet& rows, const QMap<QString, QString>& names);

}  // namespace final_report
}  // namespace vendura
