#pragma once

#include <QString>

namespace vendura {

// The text without its trailing blanks.
QString rightTrimmed(QString text);

// A ticket number as the counter writes it: trimmed, ten digits with zeros in front.
QString tenDigitTicket(const QString& number);

// A played number as tickets show it: one digit gets "**" behind it, two digits "*",
// three digits stay as they are ("7" -> "7**", "12" -> "12*").
QString markNumber(const QString& digits);

// Whole digits grouped in thousands with ".", as amounts are shown ("1234567" -> "1.234.567").
QString groupThousands(const QString& digits);

}  // namespace vendura
