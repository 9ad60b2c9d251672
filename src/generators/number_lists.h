#pragma once

#include "tickets/item_ticket.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vendura {

// The number lists of the play generators, in the order the server numbers their items. The
// server builds the same lists (server/procedures/generators.sql); a test compares them.

// The most numbers one permutation may form for one lottery.
constexpr int kMaxPermutaciones = 500;

// permutaciones: every choice of three positions i < j < m of the digits, in lexical order,
// gives abc, acb, bac, bca, cab, cba when its digits differ; aac, aca, caa (a = b), aba, baa,
// aab (a = c) or abb, bab, bba (b = c) when two are equal; three equal digits give one number
// and end the choices of m for that i and j. Repeats from different choices stay; fewer than
// three digits form nothing.
QStringList permutaciones(const QString& digits);

// The ten numbers of a series: 0 to 9 in front of the one or two ending digits, a one-digit
// ending padded with "0". Nothing for any other ending.
QStringList serieNumbers(const QString& ending);

// A seguidilla: every number from the first to the last, padded to three digits; nothing when
// the first is above the last.
QStringList seguidillaNumbers(int first, int last);
// With a longitudpermuta of 3 a run may span at most 10 numbers (eleven numbers).
bool seguidillaTooLong(int longitudpermuta, int first, int last);

// Posicionados: the digit in position mode "1" (left), "2" (centre) or "3" (right), the two
// other positions running from 00 to 99, the first of them outer. Nothing for another mode.
QStringList posicionados(QChar digit, const QString& mode);

// A digit of the random play from a draw of the random source (1 to 2000000001): the whole
// part of 9 times a value spread evenly over [0, 1), so 0 to 8.
int randomDigit(quint32 draw);

// A three-digit straight play of the ticket whose terminal the terminal generators sell.
struct TerminalSource {
    QString terminal;  // its last two digits and "*": 123 gives "23*"
    Money amount;      // the amount sold of the triple
};
// The terminals of a lottery's triples on the ticket, in ticket order: rows of that lottery
// (code) with something sold, of kind "1", whose number is three digits (one- and two-digit
// plays, shown with "**" and "*", are no triples).
std::vector<TerminalSource> terminalSources(const std::vector<ItemTicket>& rows,
                                            const QString& code);

// The play labels of the generators that label with what was typed.
QString permutaLabel(const QString& digits);   // "Permuta 1234"
QString serieLabel(const QString& ending);     // "Serie 07 - 97", "Serie 025 - 925"
QString seguidillaLabel(const QString& first,  // "Seguidilla 10 - 20"
                        const QString& last);

}  // namespace vendura
