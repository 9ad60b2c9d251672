#pragma once

#include "platform/database_gateway.h"
#include "session/money.h"
#include "session/server_link.h"

#include <QDate>
#include <QStringList>

#include <optional>

namespace vendura {

class Dialogs;
class ServerLink;

// The day's money movements of the sales point ("gastos"): their kinds, the checks before one is
// saved, and the calls that list and save them.
namespace expenses {

// "0.- Pago Vendedor a Banca" to "4.- Couta diaria Presamo", in the order of the list.
const QStringList& kinds();

// A movement as the edit screen holds it.
struct Movement {
    QString number;
    QString kind;
    QString amount;  // as typed: digits and one "."
    QString observation;
};

// Why a movement cannot be saved, in the seller's words, or nullopt. An empty document number
// first; then an amount that is no number above zero or a kind not in the list; then the
// limits of the server (document number of 10, amount below 10.000.000,00 with two decimals,
// observation of 200).
std::optional<QString> problem(const Movement& movement);

// Whether the amount field takes a typed character: digits, one ".", backspace.
bool amountAccepts(const QString& current, QChar typed);

// The vendor code in the list screen's vendor label ("00012 - AGENCIA ..."): up to its first
// blank.
QString vendorOfLabel(const QString& label);

// dspgastos for a day and vendor; the counter reads its records only.
ProcedureCall listing(const QDate& day, const QString& vendor);

enum class Mode { Add, Modify, Delete };
// ACTGastos: "@xmodo" "0", "1" or "2"; the day is the server's for adding and modifying, the
// list's chosen day for deleting.
ProcedureCall save(Mode mode, const Movement& movement, const QString& day, const QString& vendor);

// The grid shows the listing's columns 1, 3 and 4 under these captions.
const QList<int>& shownColumns();
const QStringList& shownCaptions();

// The expense screens' message for a failed call: the common sentence without number.
void reportFailure(Dialogs& dialogs);
// How a save repeated after a lost answer is read: an addition answered "that number exists"
// with the same kind and amount recorded a moment ago, or a deletion answered "no such
// movement", was done by the save whose answer was lost.
RepeatRule savedBefore(Mode mode, const Movement& movement);
// A call on the session's connection, repeated by the rule after a lost answer; a failure has
// been told with that message.
Result<CallAnswer> call(ServerLink& link, const ProcedureCall& call, const RepeatRule& rule = {});

}  // namespace expenses
}  // namespace vendura
