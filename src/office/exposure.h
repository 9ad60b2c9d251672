#pragma once
// What the network stands to pay on a draw, number by number, as the office reads it from
// admin.exposicion: the desk's grid and the console's list share it.
#include "platform/record_set.h"
#include "session/money.h"

#include <QString>

#include <vector>

namespace vendura::office {

struct NumberExposure {
    QString numero;
    Money triple;    // sold on the number itself
    Money terminal;  // sold on its last two digits
    Money digito;    // sold on its last digit
    Money especial;  // held by special plays on it, paid by their variant
    Money pagaPrimero;
    Money pagaSegundo;
    Money pagaTercero;
    Money cupo;
    Money vendido;

    Money quotaLeft() const;
    // The share of its quota sold, in hundredths of a percent (0 to 10000; 10000 with no quota).
    int soldShare() const;
};

// The rows of admin.exposicion; a row whose figures the server did not write as amounts is an
// error naming the number.
Result<std::vector<NumberExposure>> readExposure(const RecordSet& rows);

// The `count` numbers that pay most if they come out first, most first; equal ones in number
// order.
std::vector<NumberExposure> topExposures(std::vector<NumberExposure> numbers, int count);

}  // namespace vendura::office
