#pragma once

#include "session/money.h"

#include <QString>

#include <optional>

namespace vendura {

// One row of the ticket being built: one item the server booked (or refused for lack of quota).
struct ItemTicket {
    QString numero;              // as shown: "123", "12*", "5**"
    QString loteria;             // lottery code, " - " and its description
    std::optional<Money> monto;  // amount sold; nothing when the row is "Sin Cupo"
    QString jugada;              // play label at the time of the sale
    QString especial;            // description of a special play
    int item = 0;                // item number the server gave it
    QString tipo;                // "1" normal procedures, "2" special plays
    QString tipo2;               // play label again (carries the group digit of generators)

    bool sinCupo() const { return !monto.has_value(); }
    // The lottery code: the first three characters of the lottery column, trimmed.
    QString codigoLoteria() const { return loteria.left(3).trimmed(); }
};

// "Sin Cupo": what the amount column shows for an item nothing was sold of.
inline const QString kSinCupo = QStringLiteral("Sin Cupo");

}  // namespace vendura
