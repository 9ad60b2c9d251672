#pragma once
// What a person of the office types, checked before it goes to the server, with the reason it is
// refused: the console and the desk give the same answer to the same text.
#include "platform/result.h"

#include <QString>

namespace vendura::office {

// A day of the calendar written AAAA-MM-DD.
Result<QString> isoDate(const QString& text);
// An amount like 600 or 12.5 (a "," taken for the "."), as the server reads it.
Result<QString> decimal(const QString& text, const QString& what);
// A whole number of at most six digits.
Result<QString> wholeNumber(const QString& text, const QString& what);
// A winning number: three digits.
Result<QString> threeDigits(const QString& text);

}  // namespace vendura::office
