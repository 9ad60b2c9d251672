#pragma once
// What the network stands to pay on a draw, number by number, as the office reads it from
// admin.exposicion: the desk's grid and the console's list share it.
#include "office/admin_link.h"
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

// A draw's exposure as the office's lists show it: its numbers, and which figures go beside the
// first prize because the draw has them (its second and third prizes, special plays held).
struct DrawExposure {
    std::vector<NumberExposure> numbers;
    bool segundo = false;
    bool tercero = false;
    bool especial = false;
    Money sold;   // what its numbers hold of their quota, every kind of play on them
    Money worst;  // the most one number would pay if it came out first
};
// The draw's exposure from the server; the lottery's code and the day checked as typed.
Result<DrawExposure> readDrawExposure(AdminLink& link, const QString& lottery, const QString& day);
// A number's row in the console's and the desk's lists, and their captions: number, sold, quota
// left, share of the quota sold, what it pays first, then the figures the draw has apart.
QStringList exposureCaptions(const DrawExposure& draw);
QStringList exposureRow(const DrawExposure& draw, const NumberExposure& n);

}  // namespace vendura::office
