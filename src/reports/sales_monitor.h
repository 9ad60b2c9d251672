#pragma once

#include "platform/database_gateway.h"
#include "session/money.h"

#include <QDate>
#include <QStringList>

#include <optional>
#include <vector>

namespace vendura {

// The "Monitor On Line": what was sold of each number of a lottery's draw on a day, laid out
// as many numbers to a line as the seller asks for.
namespace sales_monitor {

// "GENERAL": the whole network's totals; "DETALLADO": this sales point's.
enum class Kind { General, Detallado };
QString kindName(Kind kind);

struct Entry {
    QString number;  // with the mark of its kind: "7**", "45*", "123"
    Money amount;
};

// dspacumu: the listing of a lottery's draw on a day; sumacumu: one number's total.
ProcedureCall listing(Kind kind, const QString& lottery, const QString& vendor, const QDate& day);
ProcedureCall single(const QString& lottery, const QString& vendor, const QDate& day,
                     const QString& number);

// One entry per record ("Numero_normal", "Monto_Normal", "Monto_Digito", "Montoespecial"):
// a one-digit number counts its "Monto_Digito", the others their "Monto_Normal", and
// "Montoespecial" is added when there is one.
std::vector<Entry> entries(const RecordSet& rows);
Money total(const std::vector<Entry>& entries);

// Entries side by side, `columns` to a line (at least one), each as number " -> " amount,
// padded so that the columns line up.
QStringList lines(const std::vector<Entry>& entries, int columns);

// The block of a single number's total ("SUMAT", null as 0).
QStringList numberBlock(const QString& number, const FieldValue& sumat);

// The countdown shown between refreshes.
QString countdownText(int seconds);

// The seconds and columns fields: a whole number from 1 to most, or nullopt.
std::optional<int> positiveNumber(const QString& text, int most);

}  // namespace sales_monitor
}  // namespace vendura
