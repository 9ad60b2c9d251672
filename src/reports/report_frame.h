#pragma once

#include "platform/record_set.h"
#include "session/money.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>

#include <optional>

namespace vendura {

class Dialogs;
class Printers;
struct Session;

// What every report shares: its lines as the seller reads them on screen, the header they start
// with, and how they go to paper. On paper a line that begins with four blanks is left out and
// a rule ("====", "----") is cut to 39 characters.
namespace report {

extern const QString kRule;      // the separator: 39 "="
extern const QString kWideRule;  // 40 "=", the prize report's
extern const QString kTitle;     // "<< KALVORA ON LINE >>"

// "dd/mm/yyyy": how a report shows a day and sends it to the server.
QString dateText(const QDate& day);
// An amount of the server ("1260.50", null) as reports show it: "1.260,50", "0,00".
Money amountOf(const FieldValue& value);
QString amountText(const FieldValue& value);

// The seven lines a report starts with: the title line, the report's title, vendor, user, the
// day, the server's time and the separator.
QStringList header(const Session& session, const QString& title, const QString& day);

// A period the reports refuse, with the seller's message; nullopt for a good one (at most a
// year and a day, ending on or after its start).
std::optional<QString> periodProblem(const QDate& from, const QDate& to);

// The lines as they are printed, each with the margin in front, in order.
QStringList paperLines(const QStringList& lines, const QString& margin);

// The bytes PrintReport sends: in port mode with compressed print byte 15 before each line;
// each printed line ends in CR LF; then FilasSalto lines of three blanks; byte 18 at the end
// in compressed print.
QByteArray printBytes(const QStringList& lines, const Session& session, bool portMode);

// PrintReport: to the port ("Impresora No lista" when it is not ready) or, with VelocidadFax
// "Y", to the system printer. False after telling the seller what failed.
bool printReport(Printers& printers, Dialogs& dialogs, const Session& session,
                 const QStringList& lines);

}  // namespace report
}  // namespace vendura
