#pragma once

#include "platform/result.h"
#include "session/money.h"

#include <QChar>
#include <QString>

namespace vendura {

// What the number and amount fields let through of a typed character.
bool numberFieldAccepts(QChar c);
// Digits, and one "." while the text holds neither "." nor ",".
bool amountFieldAccepts(const QString& text, QChar c);

// The amount the server receives, in Bs.F.: the typed amount as it is, or divided by 1000
// when it was typed in Bs. (montobsf false). One rule for the smallest amount: whole céntimos
// of Bs.F., so a Bs. amount must be a multiple of 10. Refused, with the one message the seller
// sees, when it is no amount, is not above zero, is finer than a céntimo, or needs more
// characters than the procedure's parameter holds: an amount is never cut nor rounded.
Result<Money> amountToSend(const QString& typed, bool montobsf, int maxChars);

// "F9 - Monto Bs.F." or "F9 - Monto Bs.": the caption of the amount unit.
QString amountUnitCaption(bool montobsf);

}  // namespace vendura
